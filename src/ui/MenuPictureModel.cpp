#include "ui/MenuPictureModel.h"

namespace quelmo::ui {

namespace {

constexpr int kLast = kMenuPictureSize - 1;
constexpr int kBlock = 5; // the block's side; 2 pixels from the outline in a corner
constexpr int kNear = 2;
constexpr int kFar = kLast - kNear - (kBlock - 1);
constexpr int kMiddle = (kMenuPictureSize - kBlock) / 2;

struct Corner {
    int left;
    int top;
};

constexpr Corner BlockCorner(MenuPicture picture) {
    switch (picture) {
    case MenuPicture::TopLeft:
        return {kNear, kNear};
    case MenuPicture::TopRight:
        return {kFar, kNear};
    case MenuPicture::BottomLeft:
        return {kNear, kFar};
    case MenuPicture::BottomRight:
        return {kFar, kFar};
    case MenuPicture::Center:
    case MenuPicture::None:
        break;
    }
    return {kMiddle, kMiddle};
}

// The design grid: every other pixel of the outline (the corners included), and the block.
bool DesignInk(MenuPicture picture, int x, int y) {
    const bool onOutline = x == 0 || y == 0 || x == kLast || y == kLast;
    if (onOutline) {
        return (x + y) % 2 == 0;
    }
    const Corner block = BlockCorner(picture);
    return x >= block.left && x < block.left + kBlock && y >= block.top && y < block.top + kBlock;
}

} // namespace

bool MenuPictureInk(MenuPicture picture, int x, int y, int size) {
    if (picture == MenuPicture::None || size <= 0 || x < 0 || y < 0 || x >= size || y >= size) {
        return false;
    }
    return DesignInk(picture, x * kMenuPictureSize / size, y * kMenuPictureSize / size);
}

} // namespace quelmo::ui
