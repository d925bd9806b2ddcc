// The portable half of the spin edit: which typed characters it takes and how it reads its text.
//
// Like the classic numeric spin edit, it takes digits, the two signs and the decimal separator
// (and control keys such as Backspace), reads its text as a whole number, and reads a text that
// is no whole number ("-", "+", "1.5") as its minimum. The arrows step from the value read.
#pragma once

#include <optional>
#include <string_view>

namespace quelmo::widgets {

// True for a character the edit lets through: 0-9, "+", "-", the decimal separator, and control
// characters (Backspace, Ctrl+C/V/X...) except Enter.
bool SpinEditAcceptsChar(wchar_t c, wchar_t decimalSeparator);

// The whole number a text holds: an optional sign and one or more decimal digits, nothing else,
// within 32 bits. nullopt otherwise.
std::optional<int> ParseSpinEditText(std::wstring_view text);

// The value as the spin edit reports it: the number, or `minimum` for a text that is none.
int SpinEditValue(std::wstring_view text, int minimum);

// The value one arrow step gives: the text's value moved by `delta`, held within the range.
int SpinEditStep(std::wstring_view text, int delta, int minimum, int maximum);

} // namespace quelmo::widgets
