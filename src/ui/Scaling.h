// Design units to pixels: every length of the windows is given in 96-DPI design units and turned
// into pixels at the DPI of the monitor the window is on, with one rounding rule (MulDiv's: to the
// nearest, halves away from zero). Lines and pens keep at least one pixel at any DPI.
#pragma once

#include "widgets/ChartModel.h"
#include "widgets/DesignUnits.h"

namespace quelmo::ui {

using widgets::kDesignDpi;
using widgets::ScaleDesign;

// A DPI the system gave, or 96 where it gave none.
constexpr int ValidDpi(int dpi) {
    return dpi > 0 ? dpi : kDesignDpi;
}

// A line or pen width: at least one pixel when the design asks for a line at all.
constexpr int ScaleLine(int design, int dpi) {
    const int pixels = ScaleDesign(design, dpi);
    return design > 0 && pixels < 1 ? 1 : pixels;
}

// value x numerator / denominator (denominator > 0), to the nearest, halves away from zero.
constexpr int MulDivRound(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>((product >= 0 ? product + half : product - half) / denominator);
}

// A font's LOGFONT height (negative: the character height) for `points` at `dpi`.
constexpr int FontHeightForPoints(int points, int dpi) {
    return -MulDivRound(points, dpi, 72);
}

// Pixels at `dpi` back to design units, with the same rounding.
constexpr int ToDesign(int pixels, int dpi) {
    return MulDivRound(pixels, kDesignDpi, ValidDpi(dpi));
}

struct DesignSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const DesignSize&, const DesignSize&) = default;
};

DesignSize ScaleSize(DesignSize design, int dpi);
// Each edge scaled on its own, so rectangles that touch in design units touch in pixels.
widgets::PixelRect ScaleRect(const widgets::PixelRect& design, int dpi);

// The small-icon size at `dpi` where the system cannot say it for a DPI: the size it gives for
// its own DPI, scaled.
int ScaledSmallIconSize(int systemSize, int systemDpi, int dpi);

} // namespace quelmo::ui
