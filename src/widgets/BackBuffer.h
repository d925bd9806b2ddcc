// A persistent off-screen bitmap a control renders into and copies to the screen from, so the
// screen never shows a half-drawn frame. Recreated only when the control's size changes.
#pragma once

#include "platform/win32/UniqueHandle.h"

#include <windows.h>

namespace quelmo::gui {

class BackBuffer {
public:
    BackBuffer() = default;
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;
    ~BackBuffer() { SelectOriginal(); }

    // Makes the buffer width x height, compatible with `window`'s screen. An empty size frees
    // the bitmap. Returns whether a usable buffer exists afterwards.
    bool Resize(HWND window, int width, int height) {
        if (width == width_ && height == height_ && bitmap_) {
            return true;
        }
        width_ = width;
        height_ = height;
        SelectOriginal();
        bitmap_.Reset();
        if (width <= 0 || height <= 0) {
            return false;
        }
        const win32::UniqueWindowDc screen = win32::GetWindowDc(window);
        if (!dc_) {
            dc_.Reset(::CreateCompatibleDC(screen.Get()));
        }
        bitmap_.Reset(::CreateCompatibleBitmap(screen.Get(), width, height));
        if (!dc_ || !bitmap_) {
            bitmap_.Reset();
            return false;
        }
        original_ = ::SelectObject(dc_.Get(), bitmap_.Get());
        return true;
    }

    bool IsValid() const { return static_cast<bool>(bitmap_); }
    HDC Dc() const { return dc_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Copies `area` (client coordinates) to the same place on `target`.
    void CopyTo(HDC target, const RECT& area) const {
        ::BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_.Get(),
                 area.left, area.top, SRCCOPY);
    }

private:
    // The bitmap may only be deleted once it is no longer selected.
    void SelectOriginal() {
        if (original_ != nullptr) {
            ::SelectObject(dc_.Get(), original_);
            original_ = nullptr;
        }
    }

    // Declared before the bitmap, so the bitmap goes first.
    win32::UniqueMemoryDc dc_;
    win32::UniqueBitmap bitmap_;
    HGDIOBJ original_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

} // namespace quelmo::gui
