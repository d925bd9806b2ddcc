#include "ui/MainLayout.h"

#include <algorithm>
#include <cstdint>

namespace quelmo::ui {

namespace {

// Design positions (left, top, width, height) in the 257 x 105 client area.
constexpr PixelRect kImageMove{0, 0, 20, 20};
constexpr PixelRect kSbMenu{21, 0, 37, 20};
constexpr int kLabelCpuSpeedLeft = 64;
constexpr int kLabelMemoryUsedLeft = 146;
constexpr int kLabelTop = 5;
constexpr PixelRect kSbHide{220, 0, 236, 20};
constexpr PixelRect kSbClose{237, 0, 257, 20};
constexpr PixelRect kChart{0, 24, 217, 100};
constexpr PixelRect kGauge{217, 26, 249, 99};

// A control anchored to the right keeps its distance from the right edge.
PixelRect AnchorRight(const PixelRect& design, int width) {
    const int shift = width - kDesignClientWidth;
    return {design.left + shift, design.top, design.right + shift, design.bottom};
}

// Neither left nor right anchor: the position scales with the width.
int Proportional(int designLeft, int width) {
    return static_cast<int>(static_cast<std::int64_t>(designLeft) * width / kDesignClientWidth);
}

} // namespace

MainLayout LayoutMainForm(int clientWidth, int clientHeight, bool hideBarGraph) {
    const int heightShift = clientHeight - kDesignClientHeight;
    MainLayout layout;
    layout.imageMove = kImageMove;
    layout.sbMenu = kSbMenu;
    layout.labelCpuSpeedLeft = Proportional(kLabelCpuSpeedLeft, clientWidth);
    layout.labelMemoryUsedLeft = Proportional(kLabelMemoryUsedLeft, clientWidth);
    layout.labelTop = kLabelTop;
    layout.sbHide = AnchorRight(kSbHide, clientWidth);
    layout.sbClose = AnchorRight(kSbClose, clientWidth);
    layout.gauge = AnchorRight(kGauge, clientWidth);
    layout.gauge.bottom = std::max(kGauge.bottom + heightShift, layout.gauge.top);
    layout.chart = kChart;
    layout.chart.bottom = std::max(kChart.bottom + heightShift, kChart.top);
    // Without the gauge the graph reaches the right edge, otherwise it ends where the gauge begins.
    layout.chart.right = std::max(hideBarGraph ? clientWidth : layout.gauge.left, kChart.left);
    return layout;
}

} // namespace quelmo::ui
