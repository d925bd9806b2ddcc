// Lengths in 96-DPI design units: every position, size, margin and line width of the windows is
// given in them and turned into pixels for the DPI the window is shown at.
#pragma once

#include <cstdint>

namespace quelmo::widgets {

inline constexpr int kDesignDpi = 96;

// `design` units in pixels at `dpi`, rounded to the nearest (halves away from zero, as MulDiv).
constexpr int ScaleDesign(int design, int dpi) {
    const std::int64_t product = std::int64_t{design} * dpi;
    const std::int64_t half = kDesignDpi / 2;
    return static_cast<int>((product >= 0 ? product + half : product - half) / kDesignDpi);
}

} // namespace quelmo::widgets
