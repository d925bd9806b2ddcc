// The pictures beside the five location items of the pop-up menu: a dotted square outline with a
// black block in the matching corner or in the middle, 15 x 15 pixels at 96 DPI.
//
// The picture is described on its 15 x 15 design grid; a picture of another size (a larger DPI)
// takes each of its pixels from the design pixel under it, so dots and block grow evenly.
#pragma once

#include "ui/MenuModel.h"

namespace quelmo::ui {

inline constexpr int kMenuPictureSize = 15; // design pixels, both ways

// True where the picture of `size` x `size` pixels is black at (x, y); false where it is clear (the
// menu shows through). Outside the picture, and for MenuPicture::None, nothing is black.
bool MenuPictureInk(MenuPicture picture, int x, int y, int size = kMenuPictureSize);

} // namespace quelmo::ui
