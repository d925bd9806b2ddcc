#include "widgets/GaugeModel.h"

#include <algorithm>
#include <charconv>

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

GaugeText::GaugeText(int progress) {
    char* const begin = chars_.data();
    // Three digits and a percent sign always fit.
    char* end = std::to_chars(begin, begin + chars_.size() - 1, ClampProgress(progress)).ptr;
    *end++ = '%';
    length_ = static_cast<std::size_t>(end - begin);
}

} // namespace quelmo::widgets
