// The portable half of the bar gauge: where the frame, the filled and the empty part go, and
// the percentage text.
#pragma once

#include "widgets/ChartModel.h"

#include <array>
#include <string_view>

namespace quelmo::widgets {

inline constexpr int kGaugeMin = 0;
inline constexpr int kGaugeMax = 100;
inline constexpr int kGaugeFrameWidth = 1;

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
