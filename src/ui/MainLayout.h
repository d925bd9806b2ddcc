// Where the monitor window's controls go for a given client size: the design layout of 257 x 105
// with each control's anchors applied.
#pragma once

#include "widgets/ChartModel.h"

namespace quelmo::ui {

using widgets::PixelRect;

inline constexpr int kDesignClientWidth = 257;
inline constexpr int kDesignClientHeight = 105;

struct MainLayout {
    PixelRect imageMove;         // top-left
    PixelRect sbMenu;            // top-left
    int labelCpuSpeedLeft = 0;   // the two labels keep their relative horizontal place; their width
    int labelMemoryUsedLeft = 0; // follows their text
    int labelTop = 0;
    PixelRect sbHide;  // top-right
    PixelRect sbClose; // top-right
    PixelRect chart;   // all four sides; its right edge depends on HideBarGraph
    PixelRect gauge;   // top, right and bottom
};

MainLayout LayoutMainForm(int clientWidth, int clientHeight, bool hideBarGraph);

} // namespace quelmo::ui
