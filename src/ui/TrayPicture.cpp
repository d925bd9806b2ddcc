#include "ui/TrayPicture.h"

#include "ui/MainFormTexts.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string_view>

namespace quelmo::ui {

namespace {

constexpr int kGlyphHeight = 9;
constexpr int kGlyphGap = 1;

// The digits, row by row from the top; '#' is drawn.
constexpr std::array<std::array<std::string_view, kGlyphHeight>, 10> kDigits = {{
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
}};

int GlyphWidth(int digit) {
    return static_cast<int>(kDigits[static_cast<std::size_t>(digit)][0].size());
}

void AppendNumber(int value, TrayTip& tip) {
    std::array<char, 16> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    tip.Append(std::string_view(digits.data(), static_cast<std::size_t>(result.ptr - digits.data())));
}

} // namespace

void FormatTrayTip(int cpu, int memory, TrayTip& tip) {
    tip.Clear();
    tip.Append(texts::monitor::kTrayCpu).Append(": ");
    AppendNumber(cpu, tip);
    tip.Append('%');
    if (memory >= 0) {
        tip.Append('\r').Append(texts::monitor::kTrayMemory).Append(": ");
        AppendNumber(memory, tip);
        tip.Append('%');
    }
}

int TrayImageIndex(int cpu, int imageCount) {
    if (imageCount <= 1) {
        return 0;
    }
    // In whole hundredths, so 75 x 14 / 100 = 10.5 is exactly a half and goes to the even 10.
    const long long scaled = static_cast<long long>(cpu) * (imageCount - 1);
    long long index = scaled / 100;
    const long long remainder = scaled % 100;
    if (remainder > 50 || (remainder == 50 && index % 2 != 0)) {
        ++index;
    } else if (remainder < -50 || (remainder == -50 && index % 2 != 0)) {
        --index;
    }
    return static_cast<int>(std::clamp<long long>(index, 0, imageCount - 1));
}

TrayMask TrayNumberMask(int number) {
    number = std::clamp(number, 0, kTrayNumericImages - 1);
    std::array<int, 3> digits{};
    int count = 0;
    do {
        digits[static_cast<std::size_t>(count++)] = number % 10;
        number /= 10;
    } while (number > 0);
    int width = (count - 1) * kGlyphGap;
    for (int i = 0; i < count; ++i) {
        width += GlyphWidth(digits[static_cast<std::size_t>(i)]);
    }
    TrayMask mask{};
    int left = (kTrayImageSize - width) / 2;
    constexpr std::size_t kTop = (kTrayImageSize - kGlyphHeight) / 2;
    // The digits were taken from the right; drawn from the left.
    for (int i = count - 1; i >= 0; --i) {
        const auto& glyph = kDigits[static_cast<std::size_t>(digits[static_cast<std::size_t>(i)])];
        for (std::size_t row = 0; row < glyph.size(); ++row) {
            const std::string_view line = glyph[row];
            for (std::size_t column = 0; column < line.size(); ++column) {
                if (line[column] == '#') {
                    mask[kTop + row] |= static_cast<std::uint16_t>(1u << (left + static_cast<int>(column)));
                }
            }
        }
        left += static_cast<int>(glyph[0].size()) + kGlyphGap;
    }
    return mask;
}

void TrayPointer::MovedOver(int x, int y) {
    known_ = true;
    x_ = x;
    y_ = y;
}

bool TrayPointer::Over(int x, int y, int reach) {
    if (known_ && (std::abs(x - x_) > reach || std::abs(y - y_) > reach)) {
        known_ = false;
    }
    return known_;
}

} // namespace quelmo::ui
