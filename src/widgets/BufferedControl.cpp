#include "widgets/BufferedControl.h"

#include "platform/win32/UniqueHandle.h"

namespace quelmo::gui {

bool BufferedControl::CreateControl(const wchar_t* className, HWND parent, int controlId,
                                    const RECT& bounds) {
    WindowClassSetup windowClass;
    windowClass.name = className;
    WindowCreateSetup create;
    create.style = WS_CHILD | WS_VISIBLE;
    create.x = bounds.left;
    create.y = bounds.top;
    create.width = bounds.right - bounds.left;
    create.height = bounds.bottom - bounds.top;
    create.parent = parent;
    create.idOrMenu = static_cast<UINT_PTR>(controlId);
    return CreateHwnd(windowClass, create);
}

void BufferedControl::Changed() {
    // One invalidation until the next paint renders the buffer: under Wine each is a trip to the
    // server, and a sample changes the control several times.
    if (dirty_) {
        return;
    }
    dirty_ = true;
    if (Hwnd() != nullptr) {
        ::InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

bool BufferedControl::EnsureRendered() {
    RECT client;
    ::GetClientRect(Hwnd(), &client);
    if (!buffer_.IsValid() || buffer_.Width() != client.right || buffer_.Height() != client.bottom) {
        buffer_.Resize(Hwnd(), client.right, client.bottom);
        dirty_ = true;
    }
    if (!buffer_.IsValid()) {
        return false;
    }
    if (dirty_) {
        Render(buffer_.Dc(), buffer_.Width(), buffer_.Height());
        dirty_ = false;
    }
    return true;
}

// Without BeginPaint/EndPaint (nothing to erase, no frame, no caret): under Wine, EndPaint
// flushes the window surface when the thread's last wait began 50 ms or more before, and for a
// see-through window each flush rebuilds the window's shape from its pixels. Left to the flush
// Wine makes when the thread next waits, the controls one sample changed reach the screen together.
void BufferedControl::OnPaint() {
    RECT area{};
    ::GetUpdateRect(Hwnd(), &area, FALSE);
    ::ValidateRect(Hwnd(), nullptr);
    if (::IsRectEmpty(&area) == FALSE && EnsureRendered()) {
        const win32::UniqueWindowDc dc = win32::GetWindowDc(Hwnd());
        buffer_.CopyTo(dc.Get(), area);
    }
}

LRESULT BufferedControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_PRINTCLIENT:
        // The whole client area into the caller's DC (PrintWindow, tests).
        if (EnsureRendered()) {
            buffer_.CopyTo(reinterpret_cast<HDC>(wParam), RECT{0, 0, buffer_.Width(), buffer_.Height()});
        }
        return 0;
    case WM_SIZE:
        buffer_.Resize(Hwnd(), LOWORD(lParam), HIWORD(lParam));
        Changed();
        return 0;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

} // namespace quelmo::gui
