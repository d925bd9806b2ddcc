#include "app/MyModules.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace quelmo {

std::string FormatThousands(double value, char separator) {
    // nearbyint rounds halves to even in the default rounding mode.
    const auto rounded = static_cast<std::int64_t>(std::nearbyint(value));
    std::string text = std::to_string(rounded);
    const std::size_t firstDigit = (!text.empty() && text.front() == '-') ? 1 : 0;
    for (std::size_t pos = text.size(); pos > firstDigit + 3;) {
        pos -= 3;
        text.insert(pos, 1, separator);
    }
    return text;
}

} // namespace quelmo
