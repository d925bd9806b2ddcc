#include "ui/MenuPictureBitmap.h"

#include "ui/MenuPictureModel.h"

#include <cstdint>

namespace quelmo::gui {

win32::UniqueBitmap CreateMenuPictureBitmap(ui::MenuPicture picture, int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win32::UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) {
        return {};
    }
    constexpr std::uint32_t kOpaqueBlack = 0xFF000000; // alpha in the top byte
    auto* pixel = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            *pixel++ = ui::MenuPictureInk(picture, x, y, size) ? kOpaqueBlack : 0;
        }
    }
    ::GdiFlush(); // the bits are written before GDI uses the bitmap
    return bitmap;
}

} // namespace quelmo::gui
