// The bitmap of a location item's picture (ui/MenuPictureModel), for MENUITEMINFO's hbmpItem.
#pragma once

#include "platform/win32/UniqueHandle.h"
#include "ui/MenuModel.h"

namespace quelmo::gui {

// A `size` x `size` 32-bit bitmap with premultiplied alpha: the picture's black pixels opaque,
// the rest fully clear, so the menu's own background (plain or highlighted) shows through.
// Empty when the bitmap could not be made.
win32::UniqueBitmap CreateMenuPictureBitmap(ui::MenuPicture picture, int size);

} // namespace quelmo::gui
