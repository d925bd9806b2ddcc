#include "widgets/Splitter.h"

#include "widgets/Panel.h"

#include <windowsx.h>

namespace quelmo::gui {

namespace {

constexpr wchar_t kSplitterClass[] = L"QuelmoSplitter";

} // namespace

bool Splitter::Create(HWND parent, int id, const RECT& bounds, DragHandler onDrag) {
    onDrag_ = std::move(onDrag);
    WindowClassSetup windowClass;
    windowClass.name = kSplitterClass;
    windowClass.cursor = ::LoadCursorW(nullptr, IDC_SIZEWE);
    WindowCreateSetup create;
    create.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    create.x = bounds.left;
    create.y = bounds.top;
    create.width = bounds.right - bounds.left;
    create.height = bounds.bottom - bounds.top;
    create.parent = parent;
    create.idOrMenu = static_cast<UINT_PTR>(id);
    return CreateHwnd(windowClass, create);
}

// `x` is the pointer in the splitter's own coordinates.
void Splitter::Drag(int x) {
    RECT bar{};
    ::GetWindowRect(Hwnd(), &bar);
    ::MapWindowPoints(nullptr, ::GetParent(Hwnd()), reinterpret_cast<POINT*>(&bar), 2);
    if (onDrag_) {
        onDrag_(bar.left + x - grab_);
    }
}

LRESULT Splitter::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        grab_ = GET_X_LPARAM(lParam);
        dragging_ = true;
        ::SetCapture(Hwnd());
        return 0;
    case WM_MOUSEMOVE:
        if (dragging_) {
            Drag(GET_X_LPARAM(lParam));
        }
        return 0;
    case WM_LBUTTONUP:
        if (dragging_) {
            Drag(GET_X_LPARAM(lParam));
            ::ReleaseCapture(); // WM_CAPTURECHANGED ends the drag
        }
        return 0;
    case WM_CAPTURECHANGED:
        dragging_ = false;
        return 0;
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
