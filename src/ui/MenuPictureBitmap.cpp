#include "platform/win32/Dib.h"
#include "ui/MenuPictureBitmap.h"

#include "ui/MenuPictureModel.h"

#include <cstdint>

namespace quelmo::gui {

win32::UniqueBitmap CreateMenuPictureBitmap(ui::MenuPicture picture, int size) {
    std::uint32_t* pixel = nullptr;
    win32::UniqueBitmap bitmap = win32::CreateTopDownDib(size, size, &pixel);
    if (pixel == nullptr) {
        return {};
    }
    constexpr std::uint32_t kOpaqueBlack = 0xFF000000; // alpha in the top byte
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            *pixel++ = ui::MenuPictureInk(picture, x, y, size) ? kOpaqueBlack : 0;
        }
    }
    ::GdiFlush(); // the bits are written before GDI uses the bitmap
    return bitmap;
}

} // namespace quelmo::gui
