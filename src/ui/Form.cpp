#include "ui/Form.h"

#include "sampling/MyWindowMessages.h"
#include "ui/WindowDpi.h"

namespace quelmo::gui {

namespace {

BOOL CALLBACK SetFontWhereNone(HWND child, LPARAM font) {
    if (::SendMessageW(child, WM_GETFONT, 0, 0) == 0) {
        ::SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    }
    return TRUE;
}

// Children that show the old dialog font get the new one.
struct FontSwap {
    HFONT from;
    HFONT to;
};

BOOL CALLBACK SwapFont(HWND child, LPARAM swap) {
    const auto& fonts = *reinterpret_cast<const FontSwap*>(swap);
    if (reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)) == fonts.from) {
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.to), TRUE);
    }
    return TRUE;
}

} // namespace

Form::~Form() {
    DestroyHwnd();
}

bool Form::Create(const FormSetup& setup) {
    // Made on the primary monitor first; a window that comes up elsewhere is scaled below.
    dpi_ = SystemDpi();
    centerOnFirstShow_ = setup.centerOnFirstShow;
    const LOGFONTW dialogFont = MessageFont(dpi_);
    dialogFont_.Reset(::CreateFontIndirectW(&dialogFont));
    SetFormColors(::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNTEXT));

    RECT frame{0, 0, Scale(setup.clientWidth), Scale(setup.clientHeight)};
    ::AdjustWindowRectEx(&frame, setup.style, FALSE, setup.exStyle);
    WindowClassSetup windowClass;
    windowClass.name = setup.className;
    windowClass.style = setup.classStyle;
    windowClass.icon = setup.icon;
    windowClass.smallIcon = setup.smallIcon;
    WindowCreateSetup create;
    create.exStyle = setup.exStyle;
    create.text = setup.caption;
    create.style = setup.style & ~static_cast<DWORD>(WS_VISIBLE);
    create.width = frame.right - frame.left;
    create.height = frame.bottom - frame.top;
    create.parent = setup.owner;
    // WM_CREATE runs CreateControls.
    if (!CreateHwnd(windowClass, create)) {
        return false;
    }
    ApplyDialogFont();
    if (const int dpi = WindowDpi(Hwnd()); dpi != dpi_) {
        ChangeDpi(dpi, nullptr);
    }
    FormCreate();
    return true;
}

void Form::ChangeDpi(int dpi, const RECT* suggested) {
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    const int oldDpi = dpi_;
    dpi_ = dpi;
    const LOGFONTW logFont = MessageFont(dpi);
    win32::UniqueFont font(::CreateFontIndirectW(&logFont));
    if (font) {
        FontSwap swap{dialogFont_.Get(), font.Get()};
        ::EnumChildWindows(Hwnd(), &SwapFont, reinterpret_cast<LPARAM>(&swap));
        dialogFont_ = std::move(font);
    }
    RECT frame{};
    if (suggested != nullptr) {
        frame = *suggested;
    } else {
        // The same client area in design units, at the new DPI.
        ::GetWindowRect(Hwnd(), &frame);
        const RECT scaled = FrameForClient(
            RECT{0, 0, ::MulDiv(client.right, dpi, oldDpi), ::MulDiv(client.bottom, dpi, oldDpi)},
            static_cast<DWORD>(::GetWindowLongPtrW(Hwnd(), GWL_STYLE)),
            static_cast<DWORD>(::GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE)), dpi);
        frame.right = frame.left + scaled.right - scaled.left;
        frame.bottom = frame.top + scaled.bottom - scaled.top;
    }
    ::SetWindowPos(Hwnd(), nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    FormDpiChanged();
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

// Children that chose a font keep it; the others get the dialog font.
void Form::ApplyDialogFont() {
    ::EnumChildWindows(Hwnd(), &SetFontWhereNone, reinterpret_cast<LPARAM>(dialogFont_.Get()));
}

void Form::SetFormColors(COLORREF background, COLORREF text) {
    if (!brush_ || background != color_) {
        brush_.Reset(::CreateSolidBrush(background));
    }
    color_ = background;
    textColor_ = text;
}

void Form::Show() {
    if (centerOnFirstShow_ && !shownBefore_) {
        CenterOnScreen();
    }
    shownBefore_ = true;
    ::ShowWindow(Hwnd(), SW_SHOW);
    ::SetForegroundWindow(Hwnd());
}

void Form::Hide() {
    ::ShowWindow(Hwnd(), SW_HIDE);
}

bool Form::Visible() const {
    return Hwnd() != nullptr && ::IsWindowVisible(Hwnd()) != FALSE;
}

void Form::CenterOnScreen() {
    RECT window{};
    ::GetWindowRect(Hwnd(), &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    ::SetWindowPos(Hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Form::OnCtlColor(HDC dc) {
    ::SetTextColor(dc, textColor_);
    ::SetBkColor(dc, color_);
    return reinterpret_cast<LRESULT>(brush_.Get());
}

void Form::OnCommand(int id, int code, HWND control) {
    if (id == IDCANCEL) {
        Hide();
        return;
    }
    WindowBase::OnCommand(id, code, control);
}

LRESULT Form::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return CreateControls() ? 0 : -1;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_SHOWWINDOW:
        // lParam 0: ShowWindow on this form (not its owner being minimised or restored).
        if (lParam == 0 && wParam != FALSE) {
            FormShow();
            afterShowPending_ = true;
            ::PostMessageW(Hwnd(), WM_AFTER_SHOW, 0, 0);
        } else if (lParam == 0) {
            FormHide();
        }
        break;
    case WM_ERASEBKGND: {
        RECT client{};
        ::GetClientRect(Hwnd(), &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, brush_.Get());
        return 1;
    }
    case WM_NEXTDLGCTL: {
        // Wine's IsDialogMessage moves the focus with this dialog message (a label's Alt mnemonic
        // focuses the label, then the control after it); a form is no dialog, so it does it here.
        const HWND focus = ::GetFocus();
        const HWND next = LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam)
                                              : ::GetNextDlgTabItem(Hwnd(), focus, wParam != 0);
        if (next != nullptr) {
            ::SetFocus(next);
        }
        return 0;
    }
    case WM_DPICHANGED:
        ChangeDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CTLCOLORSTATIC: // labels, check boxes, group boxes
    case WM_CTLCOLORBTN:
        return OnCtlColor(reinterpret_cast<HDC>(wParam));
    default:
        if (message == WM_AFTER_SHOW && afterShowPending_) {
            afterShowPending_ = false;
            AfterShow();
            return 0;
        }
        break;
    }
    return WindowBase::OnMessage(message, wParam, lParam);
}

} // namespace quelmo::gui
