// The portable half of the bar gauge: where the frame, the filled and the empty part go, and
// the percentage text.
#pragma once

#include "widgets/ChartModel.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace quelmo::widgets {

inline constexpr int kGaugeMin = 0;
inline constexpr int kGaugeMax = 100;
inline constexpr int kGaugeFrameWidth = 1;
// Free columns between the value's text and the frame on either side.
inline constexpr int kGaugeTextMargin = 1;

struct GaugeLayout {
    PixelRect frame;  // the whole control; a one-pixel frame is drawn along its edge
    PixelRect inner;  // inside the frame
    PixelRect filled; // the bottom part, in proportion to the progress
    PixelRect empty;  // the rest of the inside
};

// Progress outside 0..100 is held at the ends.
int ClampProgress(int progress);

// The filled part's height is the inner height times progress / 100, rounded half up.
GaugeLayout LayoutGauge(int width, int height, int progress);

// A colour as Win32 keeps it: 0x00BBGGRR.
using Rgb = std::uint32_t;

// The value's colours. Over the empty part the text is in the bar colour (or, when that is too
// close to the background, in black or white, whichever stands out); over the fill in black or
// white, whichever stands out from the bar. Neither is ever exactly the background colour: with
// Transparency on that colour is see-through, and text in it would be a hole.
struct GaugeTextColors {
    Rgb overEmpty = 0;
    Rgb overFill = 0;
};
GaugeTextColors ChooseGaugeTextColors(Rgb bar, Rgb background);

// Where the value's text of the given extent goes: centred on the inside of the frame.
PixelRect GaugeTextBox(const GaugeLayout& layout, int textWidth, int textHeight);
// Whether a text of that extent fits inside the frame, with kGaugeTextMargin free at the sides.
bool GaugeTextFits(const GaugeLayout& layout, int textWidth, int textHeight);

// The widest value the gauge shows: its font is chosen so that this fits.
inline constexpr std::string_view kWidestGaugeText = "100%";

// "N%" for the clamped progress, kept in the object (no allocation).
class GaugeText {
public:
    explicit GaugeText(int progress);
    std::string_view View() const { return {chars_.data(), length_}; }

private:
    std::array<char, 8> chars_{};
    std::size_t length_ = 0;
};

} // namespace quelmo::widgets
