#include "ui/WindowBase.h"

#include <windowsx.h>

namespace quelmo::gui {

HINSTANCE ThisModule() {
    return ::GetModuleHandleW(nullptr);
}

WindowBase::~WindowBase() {
    if (hwnd_) {
        // The derived part is gone: detach first, so late messages go to DefWindowProc.
        ::SetWindowLongPtrW(hwnd_.Get(), GWLP_USERDATA, 0);
    }
}

bool WindowBase::CreateHwnd(const WindowClassSetup& windowClass, const WindowCreateSetup& create) {
    const HINSTANCE module = ThisModule();
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(module, windowClass.name, &existing) == FALSE) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = windowClass.style;
        wc.lpfnWndProc = StaticWindowProc;
        wc.hInstance = module;
        wc.hCursor = windowClass.cursor != nullptr ? windowClass.cursor : ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = windowClass.icon;
        wc.hIconSm = windowClass.smallIcon;
        // No class brush: every window here paints its whole background itself.
        wc.lpszClassName = windowClass.name;
        if (::RegisterClassExW(&wc) == 0) {
            return false;
        }
    }
    // StaticWindowProc stores the handle at WM_NCCREATE, before CreateWindowEx returns.
    const HWND hwnd = ::CreateWindowExW(create.exStyle, windowClass.name, create.text, create.style, create.x,
                                        create.y, create.width, create.height, create.parent,
                                        reinterpret_cast<HMENU>(create.idOrMenu), module, this);
    return hwnd != nullptr;
}

void WindowBase::DestroyHwnd() {
    if (hwnd_) {
        // WM_NCDESTROY releases hwnd_.
        ::DestroyWindow(hwnd_.Get());
    }
}

LRESULT WindowBase::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY: {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        return OnNotify(static_cast<int>(header.idFrom), header);
    }
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_HSCROLL:
        OnHScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

// The defaults put the message back together for DefWindowProc, which for a child window passes
// WM_CONTEXTMENU on to the parent.
void WindowBase::OnCommand(int id, int code, HWND control) {
    DefaultProc(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

LRESULT WindowBase::OnNotify(int id, NMHDR& header) {
    return DefaultProc(WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
}

void WindowBase::OnTimer(UINT_PTR id) {
    DefaultProc(WM_TIMER, id, 0);
}

void WindowBase::OnHScroll(HWND control, int code) {
    DefaultProc(WM_HSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(control));
}

void WindowBase::OnContextMenu(HWND window, POINT screen) {
    DefaultProc(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(screen.x, screen.y));
}

LRESULT CALLBACK WindowBase::StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<WindowBase*>(create->lpCreateParams);
        self->hwnd_.Reset(hwnd);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        const LRESULT result = self->OnMessage(message, wParam, lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        // The window is gone; nothing is left to destroy.
        self->hwnd_.Release();
        return result;
    }
    return self->OnMessage(message, wParam, lParam);
}

} // namespace quelmo::gui
