#include "ui/MainLayout.h"

#include <algorithm>
#include <cstdint>

namespace quelmo::ui {

namespace {

using widgets::ScaleDesign;

// Design rectangles (left, top, right, bottom) in the 257 x 105 client area.
constexpr PixelRect kImageMove{0, 0, 20, 20};
constexpr PixelRect kSbMenu{21, 0, 37, 20};
constexpr int kLabelCpuSpeedLeft = 64;
constexpr int kLabelMemoryUsedLeft = 146;
constexpr int kLabelTop = 5;
// Between the labels, and between a label and a button.
constexpr int kLabelGap = 6;
constexpr PixelRect kSbHide{220, 0, 236, 20};
constexpr PixelRect kSbClose{237, 0, 257, 20};
constexpr PixelRect kChart{0, 24, 217, 100};
constexpr PixelRect kGauge{217, 26, 249, 99};

class Scaler {
public:
    explicit Scaler(const MainLayoutInput& input) : input_(input) {}

    int operator()(int design) const { return ScaleDesign(design, input_.dpi); }

    // Anchored top-left: the design place.
    PixelRect TopLeft(const PixelRect& design) const {
        return {(*this)(design.left), (*this)(design.top), (*this)(design.right), (*this)(design.bottom)};
    }
    // Anchored top-right: the design distance from the right edge.
    PixelRect TopRight(const PixelRect& design) const {
        const int width = input_.clientWidth;
        return {width - (*this)(kDesignClientWidth - design.left), (*this)(design.top),
                width - (*this)(kDesignClientWidth - design.right), (*this)(design.bottom)};
    }
    // Anchored to the bottom as well: the design distance from the bottom edge, never upside down.
    PixelRect DownToBottom(PixelRect rect, int designBottom) const {
        rect.bottom = std::max(input_.clientHeight - (*this)(kDesignClientHeight - designBottom), rect.top);
        return rect;
    }

private:
    const MainLayoutInput& input_;
};

// Neither left nor right anchor: the place keeps its share of the width.
int Proportional(int designLeft, int width) {
    return static_cast<int>(static_cast<std::int64_t>(designLeft) * width / kDesignClientWidth);
}

struct Label {
    int width = 0;
    int preferred = 0; // left
    int left = 0;
    bool shown = false;
};

// Places the labels in [from, to): both, in order, where they fit with `gap` between them;
// otherwise the second alone; otherwise the first alone.
void PlaceLabels(Label& first, Label& second, int from, int to, int gap) {
    const auto fits = [&](const Label& label) { return label.width > 0 && label.width <= to - from; };
    first.shown = second.shown = false;
    if (fits(first) && fits(second) && first.width + gap + second.width <= to - from) {
        first.left = std::clamp(first.preferred, from, to - first.width - gap - second.width);
        second.left = std::clamp(second.preferred, first.left + first.width + gap, to - second.width);
        first.shown = second.shown = true;
        return;
    }
    Label& alone = fits(second) ? second : first;
    if (fits(alone)) {
        alone.left = std::clamp(alone.preferred, from, to - alone.width);
        alone.shown = true;
    }
}

} // namespace

MainLayout LayoutMainForm(const MainLayoutInput& input) {
    const Scaler scale(input);
    const int width = input.clientWidth;
    MainLayout layout;
    layout.imageMove = scale.TopLeft(kImageMove);
    layout.sbMenu = scale.TopLeft(kSbMenu);
    layout.sbHide = scale.TopRight(kSbHide);
    layout.sbClose = scale.TopRight(kSbClose);
    layout.gauge = scale.DownToBottom(scale.TopRight(kGauge), kGauge.bottom);
    layout.chart = scale.DownToBottom(scale.TopLeft(kChart), kChart.bottom);
    // Without the gauge the graph reaches the right edge, otherwise it ends where the gauge begins.
    layout.chart.right = std::max(input.hideBarGraph ? width : layout.gauge.left, layout.chart.left);

    const int gap = scale(kLabelGap);
    Label cpu{input.cpuSpeedWidth, Proportional(kLabelCpuSpeedLeft, width)};
    Label memory{input.memoryUsedWidth, Proportional(kLabelMemoryUsedLeft, width)};
    PlaceLabels(cpu, memory, layout.sbMenu.right + gap, layout.sbHide.left - gap, gap);
    const int top = scale(kLabelTop);
    layout.labelCpuSpeed = {cpu.left, top, cpu.left + cpu.width, top + input.labelHeight};
    layout.labelMemoryUsed = {memory.left, top, memory.left + memory.width, top + input.labelHeight};
    layout.cpuSpeedShown = cpu.shown;
    layout.memoryUsedShown = memory.shown;
    return layout;
}

} // namespace quelmo::ui
