// The feature list's two pictures: a green check for a feature present, a grey cross for one
// absent, on a see-through square, at any size.
#include "ui/AvailabilityIconModel.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quelmo::ui {
namespace {

struct Counts {
    int opaque = 0;   // alpha 255
    int partial = 0;  // smooth edges
    int greenish = 0; // green clearly above red and blue
    int greyish = 0;  // red, green and blue alike
};

Counts CountPixels(const IconPixels& icon) {
    Counts counts;
    for (const std::uint32_t pixel : icon.argb) {
        const std::uint32_t alpha = pixel >> 24;
        const int red = static_cast<int>((pixel >> 16) & 0xFF);
        const int green = static_cast<int>((pixel >> 8) & 0xFF);
        const int blue = static_cast<int>(pixel & 0xFF);
        if (alpha == 0) {
            EXPECT_EQ(pixel, 0U); // see-through pixels carry no colour
            continue;
        }
        counts.opaque += alpha == 255 ? 1 : 0;
        counts.partial += alpha < 255 ? 1 : 0;
        counts.greenish += green > red + 60 && green > blue + 60 ? 1 : 0;
        counts.greyish += std::max({red, green, blue}) - std::min({red, green, blue}) < 10 ? 1 : 0;
    }
    return counts;
}

TEST(AvailabilityIcons, PresentIsAGreenCheckAndAbsentAGreyCross) {
    for (const int size : {16, 20, 32}) {
        SCOPED_TRACE(size);
        const IconPixels present = DrawAvailabilityIcon(Availability::Present, size);
        const IconPixels absent = DrawAvailabilityIcon(Availability::Absent, size);
        ASSERT_EQ(present.size, size);
        ASSERT_EQ(present.argb.size(), static_cast<std::size_t>(size * size));
        ASSERT_EQ(absent.argb.size(), present.argb.size());
        const Counts check = CountPixels(present);
        const Counts cross = CountPixels(absent);
        // Solid strokes with smooth edges, covering a fair part of the square but not all of it.
        EXPECT_GE(check.opaque, size * size / 16);
        EXPECT_GE(cross.opaque, size * size / 20);
        EXPECT_GT(check.partial, 0);
        EXPECT_LT(check.opaque + check.partial, size * size / 2);
        EXPECT_EQ(check.greenish, check.opaque + check.partial);
        EXPECT_EQ(cross.greyish, cross.opaque + cross.partial);
        // The corners show the list behind; the cross meets in the middle, the check does not.
        for (const std::size_t corner : {std::size_t{0}, static_cast<std::size_t>(size - 1),
                                         static_cast<std::size_t>(size * size - 1)}) {
            EXPECT_EQ(present.argb[corner], 0U);
            EXPECT_EQ(absent.argb[corner], 0U);
        }
        const auto middle = static_cast<std::size_t>((size / 2) * size + size / 2);
        EXPECT_EQ(absent.argb[middle] >> 24, 255U);
    }
}

} // namespace
} // namespace quelmo::ui
