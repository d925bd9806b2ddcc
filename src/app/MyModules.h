// Small operations shared by several windows.
#pragma once

#include <string>

namespace quelmo {

// `value` rounded to an integer (halves to even) in decimal, with `separator` before every third
// digit from the right: 1234567 -> "1,234,567". Values are never negative here.
std::string FormatThousands(double value, char separator);

} // namespace quelmo
