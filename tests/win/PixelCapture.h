// What a control paints, as pixels: a 32-bit top-down DIB the size of the control, filled by
// WM_PRINTCLIENT (the custom-drawn widgets answer it from their back buffers).
#pragma once

#include "platform/win32/Dib.h"
#include "platform/win32/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace quelmo::gui {

class Capture {
public:
    Capture(int width, int height) : width_(width), height_(height) {
        std::uint32_t* bits = nullptr;
        dc_.Reset(::CreateCompatibleDC(nullptr));
        bitmap_ = win32::CreateTopDownDib(width, height, &bits);
        bits_ = bits;
        select_.emplace(dc_.Get(), bitmap_.Get());
    }
    void Take(HWND control) {
        ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.Get()), PRF_CLIENT);
        ::GdiFlush();
    }
    COLORREF At(int x, int y) const {
        const std::uint32_t p = bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Count(const RECT& area, COLORREF color) const {
        int count = 0;
        for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, height_); ++y) {
            for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, width_); ++x) {
                count += At(x, y) == color ? 1 : 0;
            }
        }
        return count;
    }
    int Count(COLORREF color) const { return Count(RECT{0, 0, width_, height_}, color); }

private:
    int width_;
    int height_;
    win32::UniqueMemoryDc dc_;
    win32::UniqueBitmap bitmap_;
    const std::uint32_t* bits_ = nullptr;
    std::optional<win32::ScopedSelectObject> select_;
};

} // namespace quelmo::gui
