#include "ui/TrayPicture.h"

#include <gtest/gtest.h>

namespace quelmo::ui {
namespace {

TEST(TrayPicture, ImageIndexRoundsHalvesToEven) {
    const struct {
        int cpu, images, index;
    } cases[] = {
        {0, 15, 0},    {10, 15, 1},   {11, 15, 2}, {25, 15, 4},     {50, 15, 7}, {75, 15, 10},
        {100, 15, 14}, {37, 101, 37}, {0, 101, 0}, {100, 101, 100}, {-3, 15, 0}, {130, 15, 14},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrayImageIndex(c.cpu, c.images), c.index) << c.cpu << " of " << c.images;
    }
}

TEST(TrayPicture, TipHasAMemoryLineOnlyWhenMemoryIsShown) {
    TrayTip tip;
    FormatTrayTip(37, 62, tip);
    EXPECT_EQ(tip.View(), "CPU: 37%\rMemory: 62%");
    FormatTrayTip(100, -1, tip);
    EXPECT_EQ(tip.View(), "CPU: 100%");
    FormatTrayTip(0, 0, tip);
    EXPECT_EQ(tip.View(), "CPU: 0%\rMemory: 0%");
}

} // namespace
} // namespace quelmo::ui
