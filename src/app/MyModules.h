// Small operations shared by several windows.
#pragma once

#include <string>
#include <string_view>

namespace quelmo {

// `value` rounded to an integer (halves to even) in decimal, with `separator` before every third
// digit from the right: 1234567 -> "1,234,567". Values are never negative here.
std::string FormatThousands(double value, char separator);

// A measured value as a whole number: the nearest integer, halves to the even neighbour (2.5 -> 2,
// 3.5 -> 4); not a number gives 0, and values beyond the int range give its ends.
int RoundHalfEven(double value);

// Asks the shell to open `target` (a file or a web address) with the verb "open". When it cannot,
// a warning names the target, the system's reason and the shell's code. True when it opened.
bool OpenDocument(std::wstring_view target);

// The full path of `fileName` in the executable's folder: the documents shipped beside the program
// are found there whatever the current folder is.
std::wstring BesideExecutable(std::wstring_view fileName);

} // namespace quelmo
