#pragma once
// 32-bit top-down device-independent bitmaps: the pictures and captures whose pixels the program
// reads or writes itself (0xAARRGGBB, first row at the top).
#include "platform/win32/UniqueHandle.h"

#include <windows.h>

#include <cstdint>

namespace quelmo::win32 {

// A `width` x `height` bitmap with its pixels at `*bits` (null when it could not be made).
inline UniqueBitmap CreateTopDownDib(int width, int height, std::uint32_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    *bits = bitmap ? static_cast<std::uint32_t*>(pixels) : nullptr;
    return bitmap;
}

} // namespace quelmo::win32
