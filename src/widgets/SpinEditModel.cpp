#include "widgets/SpinEditModel.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace quelmo::widgets {

namespace {

constexpr wchar_t kEnter = L'\r';

} // namespace

bool SpinEditAcceptsChar(wchar_t c, wchar_t decimalSeparator) {
    if (c < L' ') {
        return c != kEnter;
    }
    return (c >= L'0' && c <= L'9') || c == L'+' || c == L'-' || c == decimalSeparator;
}

std::optional<int> ParseSpinEditText(std::wstring_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - L'0');
        if (value > std::int64_t{std::numeric_limits<int>::max()} + 1) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

int SpinEditValue(std::wstring_view text, int minimum) {
    return ParseSpinEditText(text).value_or(minimum);
}

int SpinEditStep(std::wstring_view text, int delta, int minimum, int maximum) {
    const std::int64_t moved = std::int64_t{SpinEditValue(text, minimum)} + delta;
    return static_cast<int>(std::clamp<std::int64_t>(moved, minimum, maximum));
}

} // namespace quelmo::widgets
