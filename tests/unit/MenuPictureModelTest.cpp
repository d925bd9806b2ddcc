// The location items' pictures: the dotted outline with the block in the item's corner, the same
// shape in every corner, and larger pictures that keep the shape.
#include "ui/MenuPictureModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quelmo::ui {
namespace {

// '#' black, '.' clear; row by row.
std::vector<std::string> Art(MenuPicture picture, int size = kMenuPictureSize) {
    std::vector<std::string> rows;
    for (int y = 0; y < size; ++y) {
        std::string& row = rows.emplace_back();
        for (int x = 0; x < size; ++x) {
            row += MenuPictureInk(picture, x, y, size) ? '#' : '.';
        }
    }
    return rows;
}

TEST(MenuPictureModel, TopLeftAndCenterAsDrawn) {
    const std::vector<std::string> topLeft{
        "#.#.#.#.#.#.#.#", //
        "...............", //
        "#.#####.......#", //
        "..#####........", //
        "#.#####.......#", //
        "..#####........", //
        "#.#####.......#", //
        "...............", //
        "#.............#", //
        "...............", //
        "#.............#", //
        "...............", //
        "#.............#", //
        "...............", //
        "#.#.#.#.#.#.#.#", //
    };
    const std::vector<std::string> center{
        "#.#.#.#.#.#.#.#", //
        "...............", //
        "#.............#", //
        "...............", //
        "#.............#", //
        ".....#####.....", //
        "#....#####....#", //
        ".....#####.....", //
        "#....#####....#", //
        ".....#####.....", //
        "#.............#", //
        "...............", //
        "#.............#", //
        "...............", //
        "#.#.#.#.#.#.#.#", //
    };
    EXPECT_EQ(Art(MenuPicture::TopLeft), topLeft);
    EXPECT_EQ(Art(MenuPicture::Center), center);
}

TEST(MenuPictureModel, EachCornerIsTheTopLeftMirrored) {
    const struct {
        MenuPicture picture;
        bool mirrorX;
        bool mirrorY;
    } cases[] = {
        {MenuPicture::TopRight, true, false},
        {MenuPicture::BottomLeft, false, true},
        {MenuPicture::BottomRight, true, true},
    };
    constexpr int kLast = kMenuPictureSize - 1;
    for (const auto& c : cases) {
        for (int y = 0; y < kMenuPictureSize; ++y) {
            for (int x = 0; x < kMenuPictureSize; ++x) {
                EXPECT_EQ(MenuPictureInk(c.picture, x, y),
                          MenuPictureInk(MenuPicture::TopLeft, c.mirrorX ? kLast - x : x,
                                         c.mirrorY ? kLast - y : y))
                    << static_cast<int>(c.picture) << " at " << x << "," << y;
            }
        }
    }
}

TEST(MenuPictureModel, DoubleSizeDoublesEveryPixelAndNothingLiesOutside) {
    const std::vector<std::string> design = Art(MenuPicture::BottomRight);
    const std::vector<std::string> doubled = Art(MenuPicture::BottomRight, 2 * kMenuPictureSize);
    for (int y = 0; y < 2 * kMenuPictureSize; ++y) {
        for (int x = 0; x < 2 * kMenuPictureSize; ++x) {
            EXPECT_EQ(doubled[y][x], design[y / 2][x / 2]) << x << "," << y;
        }
    }
    EXPECT_FALSE(MenuPictureInk(MenuPicture::TopLeft, -1, 0));
    EXPECT_FALSE(MenuPictureInk(MenuPicture::TopLeft, 0, kMenuPictureSize));
    EXPECT_FALSE(MenuPictureInk(MenuPicture::None, 0, 0));
    EXPECT_FALSE(MenuPictureInk(MenuPicture::Center, 0, 0, 0));
}

} // namespace
} // namespace quelmo::ui
