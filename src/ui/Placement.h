// Where the monitor window goes: its place when shown (centred on the first show, kept on the
// desktop) and the five location presets.
#pragma once

#include <cstdint>

namespace quelmo::ui {

// A rectangle as left, top, width, height (screen coordinates).
struct ScreenBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenBox&, const ScreenBox&) = default;
};

// At least this much of the window stays reachable at the desktop's right and bottom.
inline constexpr int kReachableMargin = 20;

// PosX and PosY are screen pixels; PosWidth and PosHeight are design units (pixels at 96 DPI), so
// a settings file gives the same look at every display scale.
struct PlacementInput {
    bool firstLaunch = false;
    int posX = 0;
    int posY = 0;
    int posWidth = 0; // design units
    int posHeight = 0;
    int dpi = 96;         // of the monitor the window is on
    int primaryWidth = 0; // the primary screen
    int primaryHeight = 0;
    ScreenBox desktop; // the rectangle bounding all monitors
};

// The window's box in pixels when it is shown; its left and top are also the new PosX and PosY.
ScreenBox RestorePlacement(const PlacementInput& input);

// A window size in pixels at `dpi` as PosWidth or PosHeight stores it (design units). At 96 DPI
// and above, a stored size applied and read back is the same number.
int StoredSize(int pixels, int dpi);

enum class LocationPreset { TopLeft, TopRight, BottomLeft, BottomRight, Center };

// The window's new left and top for a preset, within the work area (screen pixels) of the monitor
// the window is on. The work
// area's own left and top are added for every preset, so the right, bottom and centre presets
// are right when the taskbar sits at the left or top.
void MoveToPreset(LocationPreset preset, const ScreenBox& workArea, int width, int height, int& left,
                  int& top);

} // namespace quelmo::ui
