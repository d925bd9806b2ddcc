#include "widgets/LinkLabel.h"

#include <windowsx.h>

namespace quelmo::gui {

namespace {

constexpr wchar_t kClassName[] = L"QuelmoLinkLabel";
// Room for the focus rectangle around the text.
constexpr int kPadding = 1;
// The blue of links. (The system's hot-tracking colour is no link colour everywhere: Wine's is grey.)
constexpr COLORREF kLinkColor = RGB(0, 102, 204);

} // namespace

bool LinkLabel::Create(HWND parent, int controlId, std::wstring_view text, int x, int y) {
    text_ = text;
    WindowClassSetup windowClass;
    windowClass.name = kClassName;
    windowClass.cursor = ::LoadCursorW(nullptr, IDC_HAND);
    WindowCreateSetup create;
    create.text = text_.c_str();
    create.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    create.x = x;
    create.y = y;
    create.parent = parent;
    create.idOrMenu = static_cast<UINT_PTR>(controlId);
    if (!CreateHwnd(windowClass, create)) {
        return false;
    }
    MoveTo(x, y);
    return true;
}

SIZE LinkLabel::TextSize() const {
    SIZE size{};
    const win32::UniqueWindowDc dc = win32::GetWindowDc(Hwnd());
    const win32::ScopedSelectObject font(dc.Get(),
                                         font_ != nullptr ? font_ : ::GetStockObject(DEFAULT_GUI_FONT));
    ::GetTextExtentPoint32W(dc.Get(), text_.c_str(), static_cast<int>(text_.size()), &size);
    return size;
}

void LinkLabel::MoveTo(int x, int y) {
    const SIZE size = TextSize();
    ::SetWindowPos(Hwnd(), nullptr, x, y, size.cx + 2 * kPadding, size.cy + 2 * kPadding,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void LinkLabel::SetFont(HFONT font) {
    font_ = font;
    LOGFONTW logFont{};
    if (font != nullptr && ::GetObjectW(font, sizeof(logFont), &logFont) != 0) {
        logFont.lfUnderline = TRUE;
        underlinedFont_.Reset(::CreateFontIndirectW(&logFont));
    } else {
        underlinedFont_.Reset();
    }
    RECT window{};
    ::GetWindowRect(Hwnd(), &window);
    ::MapWindowPoints(nullptr, ::GetParent(Hwnd()), reinterpret_cast<POINT*>(&window), 2);
    MoveTo(window.left, window.top);
}

void LinkLabel::SetHot(bool hot) {
    if (hot == hot_) {
        return;
    }
    hot_ = hot;
    if (hot) {
        // WM_MOUSELEAVE ends the hover.
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Hwnd(), 0};
        ::TrackMouseEvent(&track);
    }
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void LinkLabel::Click() {
    const HWND parent = ::GetParent(Hwnd());
    const int id = ::GetDlgCtrlID(Hwnd());
    ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Hwnd()));
}

void LinkLabel::OnPaint() {
    PAINTSTRUCT ps;
    const HDC dc = ::BeginPaint(Hwnd(), &ps);
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    // The parent's background, as it gives it to its static controls.
    auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(::GetParent(Hwnd()), WM_CTLCOLORSTATIC,
                                                         reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(Hwnd())));
    ::FillRect(dc, &client, brush != nullptr ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
    {
        const HFONT font = hot_ && underlinedFont_ ? underlinedFont_.Get() : font_;
        const win32::ScopedSelectObject selected(dc,
                                                 font != nullptr ? font : ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::IsWindowEnabled(Hwnd()) != FALSE ? kLinkColor : ::GetSysColor(COLOR_GRAYTEXT));
        ::TextOutW(dc, kPadding, kPadding, text_.c_str(), static_cast<int>(text_.size()));
    }
    const auto uiState = static_cast<UINT>(::SendMessageW(Hwnd(), WM_QUERYUISTATE, 0, 0));
    if (::GetFocus() == Hwnd() && (uiState & UISF_HIDEFOCUS) == 0) {
        ::DrawFocusRect(dc, &client);
    }
    ::EndPaint(Hwnd(), &ps);
}

LRESULT LinkLabel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // the paint fills the background
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(wParam));
        if (LOWORD(lParam) != 0) {
            ::InvalidateRect(Hwnd(), nullptr, TRUE);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_GETDLGCODE: {
        // Enter is ours (it opens the link); Tab, Escape and mnemonics stay with the dialog.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        const bool enter = key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON | (enter ? DLGC_WANTMESSAGE : 0);
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_SPACE) {
            Click();
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        ::InvalidateRect(Hwnd(), nullptr, TRUE);
        return 0;
    case WM_UPDATEUISTATE: {
        const LRESULT result = DefaultProc(message, wParam, lParam);
        ::InvalidateRect(Hwnd(), nullptr, TRUE);
        return result;
    }
    case WM_MOUSEMOVE:
        SetHot(true);
        return 0;
    case WM_MOUSELEAVE:
        SetHot(false);
        return 0;
    case WM_LBUTTONDOWN:
        pressed_ = true;
        ::SetCapture(Hwnd());
        return 0;
    case WM_LBUTTONUP: {
        const bool wasPressed = pressed_;
        pressed_ = false;
        if (::GetCapture() == Hwnd()) {
            ::ReleaseCapture();
        }
        RECT client{};
        ::GetClientRect(Hwnd(), &client);
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        // Opens only when the button goes up over the link, as a button clicks.
        if (wasPressed && ::PtInRect(&client, at) != FALSE) {
            Click();
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        return 0;
    default:
        break;
    }
    return WindowBase::OnMessage(message, wParam, lParam);
}

} // namespace quelmo::gui
