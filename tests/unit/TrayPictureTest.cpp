#include "ui/TrayPicture.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

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
    for (int cpu = 0; cpu <= 100; ++cpu) {
        EXPECT_EQ(TrayImageIndex(cpu, kTrayNumericImages), cpu); // the numeric picture is the usage
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

// Digits as a reader expects them, 9 rows from the top ('#' drawn), kept apart from the product's
// table: reading every numeric picture back with them catches a wrong, clipped or merged digit.
const char* const kReference[10][9] = {
    {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."},
    {".#.", "##.", ".#.", ".#.", ".#.", ".#.", ".#.", ".#.", "###"},
    {".###.", "#...#", "....#", "....#", "...#.", "..#..", ".#...", "#....", "#####"},
    {".###.", "#...#", "....#", "....#", "..##.", "....#", "....#", "#...#", ".###."},
    {"...#.", "..##.", ".#.#.", "#..#.", "#..#.", "#####", "...#.", "...#.", "...#."},
    {"#####", "#....", "#....", "####.", "....#", "....#", "....#", "#...#", ".###."},
    {".###.", "#....", "#....", "####.", "#...#", "#...#", "#...#", "#...#", ".###."},
    {"#####", "....#", "....#", "...#.", "...#.", "..#..", "..#..", "..#..", "..#.."},
    {".###.", "#...#", "#...#", "#...#", ".###.", "#...#", "#...#", "#...#", ".###."},
    {".###.", "#...#", "#...#", "#...#", ".####", "....#", "....#", "....#", ".###."},
};

bool Lit(const TrayMask& mask, int x, int y) {
    return (mask[static_cast<std::size_t>(y)] >> x & 1) != 0;
}

// Reads a picture: runs of columns with drawn pixels are digits, each compared with the reference
// at the rows the digits use. "?" for a run that is no reference digit.
std::string ReadNumber(const TrayMask& mask, int top) {
    std::string number;
    int x = 0;
    while (x < kTrayImageSize) {
        const auto columnLit = [&](int column) {
            for (int y = 0; y < kTrayImageSize; ++y) {
                if (Lit(mask, column, y)) {
                    return true;
                }
            }
            return false;
        };
        if (!columnLit(x)) {
            ++x;
            continue;
        }
        const int start = x;
        while (x < kTrayImageSize && columnLit(x)) {
            ++x;
        }
        char read = '?';
        for (int digit = 0; digit < 10 && read == '?'; ++digit) {
            bool same = static_cast<int>(std::string(kReference[digit][0]).size()) == x - start;
            for (int y = 0; y < kTrayImageSize && same; ++y) {
                for (int column = start; column < x && same; ++column) {
                    const bool inGlyph = y >= top && y < top + 9;
                    same = Lit(mask, column, y) ==
                           (inGlyph && kReference[digit][y - top][column - start] == '#');
                }
            }
            read = same ? static_cast<char>('0' + digit) : '?';
        }
        number += read;
    }
    return number;
}

TEST(TrayPicture, EveryNumericPictureReadsAsItsNumberAndNoTwoAreAlike) {
    std::set<TrayMask> seen;
    for (int number = 0; number < kTrayNumericImages; ++number) {
        const TrayMask mask = TrayNumberMask(number);
        EXPECT_EQ(ReadNumber(mask, 3), std::to_string(number));
        EXPECT_TRUE(seen.insert(mask).second) << number << " looks like another picture";
    }
    // Centred: "8" has five blank columns on each side, "100" fills fifteen of the sixteen.
    EXPECT_TRUE(Lit(TrayNumberMask(8), 5, 3) == false && Lit(TrayNumberMask(8), 6, 3));
    EXPECT_TRUE(Lit(TrayNumberMask(100), 0, 4) && !Lit(TrayNumberMask(100), 15, 4));
    EXPECT_EQ(TrayNumberMask(250), TrayNumberMask(100));
}

TEST(TrayPicture, PointerIsOverTheIconUntilItLeavesItsReach) {
    TrayPointer pointer;
    EXPECT_FALSE(pointer.Over(100, 100, 16)); // never seen over the icon
    pointer.MovedOver(100, 100);
    const struct {
        int x, y;
        bool over;
    } steps[] = {{100, 100, true}, {116, 84, true}, {117, 100, false}, {100, 100, false}};
    for (const auto& step : steps) {
        EXPECT_EQ(pointer.Over(step.x, step.y, 16), step.over) << step.x << "," << step.y;
    }
    EXPECT_FALSE(pointer.Known()); // forgotten once it left: a later return needs a new move
}

} // namespace
} // namespace quelmo::ui
