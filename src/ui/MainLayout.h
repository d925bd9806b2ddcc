// Where the monitor window's controls go for a given client size and DPI: the design layout of
// 257 x 105 (96-DPI design units) with each control's anchors applied, and the two labels placed
// between the control buttons so that nothing overlaps at any size the settings allow.
#pragma once

#include "widgets/ChartModel.h"
#include "widgets/DesignUnits.h"

namespace quelmo::ui {

using widgets::PixelRect;

inline constexpr int kDesignClientWidth = 257;
inline constexpr int kDesignClientHeight = 105;
// The sizes the settings dialog offers for the window.
inline constexpr int kMinimumClientWidth = 170;
inline constexpr int kMinimumClientHeight = 70;
inline constexpr int kMaximumClientSize = 1000;

struct MainLayoutInput {
    int clientWidth = kDesignClientWidth; // pixels
    int clientHeight = kDesignClientHeight;
    int dpi = widgets::kDesignDpi;
    bool hideBarGraph = false;
    // The labels' texts as measured in their font, in pixels; a width of 0 leaves a label out.
    int cpuSpeedWidth = 0;
    int memoryUsedWidth = 0;
    int labelHeight = 0;
};

struct MainLayout {
    PixelRect imageMove; // top-left
    PixelRect sbMenu;    // top-left
    PixelRect sbHide;    // top-right
    PixelRect sbClose;   // top-right
    PixelRect chart;     // all four sides; its right edge depends on HideBarGraph
    PixelRect gauge;     // top, right and bottom
    // The labels keep their relative horizontal place where there is room; between the menu and
    // the hide button they move aside for each other, and when both do not fit the clock label is
    // left out (then the memory label, should even that not fit).
    PixelRect labelCpuSpeed;
    PixelRect labelMemoryUsed;
    bool cpuSpeedShown = false;
    bool memoryUsedShown = false;
};

MainLayout LayoutMainForm(const MainLayoutInput& input);

} // namespace quelmo::ui
