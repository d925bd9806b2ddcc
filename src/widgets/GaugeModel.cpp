#include "widgets/GaugeModel.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace quelmo::widgets {

int ClampProgress(int progress) {
    return std::clamp(progress, kGaugeMin, kGaugeMax);
}

GaugeLayout LayoutGauge(int width, int height, int progress) {
    GaugeLayout layout;
    layout.frame = {0, 0, std::max(width, 0), std::max(height, 0)};
    layout.inner = {kGaugeFrameWidth, kGaugeFrameWidth, std::max(width - kGaugeFrameWidth, kGaugeFrameWidth),
                    std::max(height - kGaugeFrameWidth, kGaugeFrameWidth)};
    const int innerHeight = layout.inner.Height();
    const int filledHeight = (innerHeight * ClampProgress(progress) + kGaugeMax / 2) / kGaugeMax;
    const int split = layout.inner.bottom - filledHeight;
    layout.filled = {layout.inner.left, split, layout.inner.right, layout.inner.bottom};
    layout.empty = {layout.inner.left, layout.inner.top, layout.inner.right, split};
    return layout;
}

namespace {

constexpr Rgb kBlack = 0x000000;
constexpr Rgb kWhite = 0xFFFFFF;
// Closer than this in brightness (0..255), the bar colour does not read on the background.
constexpr int kMinimumBrightnessGap = 80;

// Perceived brightness, 0..255.
int Brightness(Rgb color) {
    const int red = static_cast<int>(color & 0xFF);
    const int green = static_cast<int>((color >> 8) & 0xFF);
    const int blue = static_cast<int>((color >> 16) & 0xFF);
    return (red * 299 + green * 587 + blue * 114) / 1000;
}

Rgb StandOutFrom(Rgb color) {
    return Brightness(color) >= 128 ? kBlack : kWhite;
}

// One step of green away from the see-through colour: the same to the eye, but drawn.
Rgb NotTheKey(Rgb color, Rgb key) {
    return color != key ? color : color ^ 0x000100;
}

} // namespace

GaugeTextColors ChooseGaugeTextColors(Rgb bar, Rgb background) {
    bar &= 0xFFFFFF;
    background &= 0xFFFFFF;
    const bool barReads = std::abs(Brightness(bar) - Brightness(background)) >= kMinimumBrightnessGap;
    GaugeTextColors colors;
    colors.overEmpty = NotTheKey(barReads ? bar : StandOutFrom(background), background);
    colors.overFill = NotTheKey(StandOutFrom(bar), background);
    return colors;
}

PixelRect GaugeTextBox(const GaugeLayout& layout, int textWidth, int textHeight) {
    const PixelRect& inner = layout.inner;
    const int left = inner.left + (inner.Width() - textWidth) / 2;
    const int top = inner.top + (inner.Height() - textHeight) / 2;
    return {left, top, left + textWidth, top + textHeight};
}

bool GaugeTextFits(const GaugeLayout& layout, int textWidth, int textHeight) {
    return textWidth + 2 * kGaugeTextMargin <= layout.inner.Width() && textHeight <= layout.inner.Height();
}

GaugeText::GaugeText(int progress) {
    char* const begin = chars_.data();
    // Three digits and a percent sign always fit.
    char* end = std::to_chars(begin, begin + chars_.size() - 1, ClampProgress(progress)).ptr;
    *end++ = '%';
    length_ = static_cast<std::size_t>(end - begin);
}

} // namespace quelmo::widgets
