#include "ui/Form.h"

#include "sampling/MyWindowMessages.h"

namespace quelmo::gui {

namespace {

int SystemDpi() {
    const win32::UniqueWindowDc screen = win32::GetWindowDc(nullptr);
    const int dpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

// The system's message font: what dialogs and message boxes use.
win32::UniqueFont CreateDialogFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    LOGFONTW font{};
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) != FALSE) {
        font = metrics.lfMessageFont;
    } else {
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    }
    return win32::UniqueFont(::CreateFontIndirectW(&font));
}

BOOL CALLBACK SetFontWhereNone(HWND child, LPARAM font) {
    if (::SendMessageW(child, WM_GETFONT, 0, 0) == 0) {
        ::SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    }
    return TRUE;
}

} // namespace

Form::~Form() {
    DestroyHwnd();
}

bool Form::Create(const FormSpec& spec) {
    dpi_ = SystemDpi();
    centerOnFirstShow_ = spec.centerOnFirstShow;
    dialogFont_ = CreateDialogFont();
    SetFormColors(::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNTEXT));

    RECT frame{0, 0, Scale(spec.clientWidth), Scale(spec.clientHeight)};
    ::AdjustWindowRectEx(&frame, spec.style, FALSE, spec.exStyle);
    WindowClassSpec windowClass;
    windowClass.name = spec.className;
    windowClass.style = spec.classStyle;
    windowClass.icon = spec.icon;
    windowClass.smallIcon = spec.smallIcon;
    WindowCreateSpec create;
    create.exStyle = spec.exStyle;
    create.text = spec.caption;
    create.style = spec.style & ~static_cast<DWORD>(WS_VISIBLE);
    create.width = frame.right - frame.left;
    create.height = frame.bottom - frame.top;
    create.parent = spec.owner;
    // WM_CREATE runs CreateControls.
    if (!CreateHwnd(windowClass, create)) {
        return false;
    }
    ApplyDialogFont();
    FormCreate();
    return true;
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
