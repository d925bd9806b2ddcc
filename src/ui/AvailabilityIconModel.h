// The two pictures of the feature list's availability column, drawn by the program itself at
// any size: a grey cross for a feature the processor lacks, a green check for one it has.
#pragma once

#include <cstdint>
#include <vector>

namespace quelmo::ui {

// Also the pictures' indexes in the window's image list.
enum class Availability : std::uint8_t { Absent = 0, Present = 1 };

// The design size of both pictures (pixels at 96 DPI).
inline constexpr int kAvailabilityIconDesignSize = 16;

// A square picture, row by row from the top, each pixel 0xAARRGGBB with straight (not
// premultiplied) alpha.
struct IconPixels {
    int size = 0;
    std::vector<std::uint32_t> argb;
};

// The picture of `kind`, `size` pixels square (at least 1), with smooth edges.
IconPixels DrawAvailabilityIcon(Availability kind, int size);

} // namespace quelmo::ui
