#include "widgets/Panel.h"

namespace quelmo::gui {

namespace {

constexpr wchar_t kPanelClass[] = L"QuelmoPanel";

} // namespace

HBRUSH ParentBackground(HWND window, HDC dc) {
    const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(::GetParent(window), WM_CTLCOLORSTATIC,
                                                               reinterpret_cast<WPARAM>(dc),
                                                               reinterpret_cast<LPARAM>(window)));
    return brush != nullptr ? brush : ::GetSysColorBrush(COLOR_BTNFACE);
}

bool Panel::Create(HWND parent, int id, const RECT& bounds, bool visible) {
    WindowClassSetup windowClass;
    windowClass.name = kPanelClass;
    WindowCreateSetup create;
    create.exStyle = WS_EX_CONTROLPARENT;
    create.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0);
    create.x = bounds.left;
    create.y = bounds.top;
    create.width = bounds.right - bounds.left;
    create.height = bounds.bottom - bounds.top;
    create.parent = parent;
    create.idOrMenu = static_cast<UINT_PTR>(id);
    return CreateHwnd(windowClass, create);
}

LRESULT Panel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return ::SendMessageW(::GetParent(Hwnd()), message, wParam, lParam);
    case WM_ERASEBKGND: {
        const auto dc = reinterpret_cast<HDC>(wParam);
        RECT client{};
        ::GetClientRect(Hwnd(), &client);
        ::FillRect(dc, &client, ParentBackground(Hwnd(), dc));
        return 1;
    }
    default:
        return WindowBase::OnMessage(message, wParam, lParam);
    }
}

} // namespace quelmo::gui
