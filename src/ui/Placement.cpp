#include "ui/Placement.h"

#include "ui/Scaling.h"

#include <algorithm>

namespace quelmo::ui {

ScreenBox RestorePlacement(const PlacementInput& input) {
    const int width = ScaleDesign(input.posWidth, ValidDpi(input.dpi));
    const int height = ScaleDesign(input.posHeight, ValidDpi(input.dpi));
    int x = input.posX;
    int y = input.posY;
    if (input.firstLaunch) {
        // Integer division truncates toward zero, as the placement always has.
        x = (input.primaryWidth - width) / 2;
        y = (input.primaryHeight - height) / 2;
    }
    // Raised to the left edge first, then lowered: a desktop narrower than the margin wins right.
    x = std::min(std::max(x, input.desktop.left),
                 input.desktop.left + input.desktop.width - kReachableMargin);
    y = std::min(std::max(y, input.desktop.top), input.desktop.top + input.desktop.height - kReachableMargin);
    return {x, y, width, height};
}

int StoredSize(int pixels, int dpi) {
    return ToDesign(pixels, dpi);
}

void MoveToPreset(LocationPreset preset, const ScreenBox& workArea, int width, int height, int& left,
                  int& top) {
    const int rightEdge = workArea.left + workArea.width - width;
    const int bottomEdge = workArea.top + workArea.height - height;
    switch (preset) {
    case LocationPreset::TopLeft:
        left = workArea.left;
        top = workArea.top;
        break;
    case LocationPreset::TopRight:
        left = rightEdge;
        top = workArea.top;
        break;
    case LocationPreset::BottomLeft:
        left = workArea.left;
        top = bottomEdge;
        break;
    case LocationPreset::BottomRight:
        left = rightEdge;
        top = bottomEdge;
        break;
    case LocationPreset::Center:
        // Each half truncated on its own.
        left = workArea.left + workArea.width / 2 - width / 2;
        top = workArea.top + workArea.height / 2 - height / 2;
        break;
    }
}

} // namespace quelmo::ui
