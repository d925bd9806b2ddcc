#include "ui/Placement.h"

#include <algorithm>

namespace quelmo::ui {

ScreenBox RestorePlacement(const PlacementInput& input) {
    int x = input.posX;
    int y = input.posY;
    if (input.firstLaunch) {
        // Integer division truncates toward zero, as the placement always has.
        x = (input.primaryWidth - input.posWidth) / 2;
        y = (input.primaryHeight - input.posHeight) / 2;
    }
    // Raised to the left edge first, then lowered: a desktop narrower than the margin wins right.
    x = std::min(std::max(x, input.desktop.left),
                 input.desktop.left + input.desktop.width - kReachableMargin);
    y = std::min(std::max(y, input.desktop.top), input.desktop.top + input.desktop.height - kReachableMargin);
    return {x, y, input.posWidth, input.posHeight};
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
