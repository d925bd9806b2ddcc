// The base of every top-level window of the program (the monitor window, settings, statistics,
// About, CPU information).
//
// A form is created hidden from a FormSetup whose client size is given in 96-DPI design units;
// every layout number of a form goes through Scale(), so the form keeps its proportions at any
// DPI. The form keeps the DPI of the monitor its window is on: when the window moves to a monitor
// of another scale (WM_DPICHANGED) it takes the size the system suggests, makes the dialog font
// for the new DPI and runs FormDpiChanged(), where a form lays itself out again and makes its
// fonts and pictures again. What the base does for every form:
// - the dialog font (the system's message font) for every child that has no font of its own;
// - the background brush and the colours of static controls, check boxes and buttons;
// - Escape (IDCANCEL, which IsDialogMessage sends) and the close box only hide the form; the
//   monitor window overrides OnClose, since closing it ends the program;
// - Show() and Hide(); FormShow()/FormHide() run whenever the form is shown or hidden, and at the
//   end of the show handler the form posts WM_AFTER_SHOW to itself, which runs AfterShow() once
//   it is on screen.
//
// A form's life: Create() -> WM_CREATE runs CreateControls() -> the dialog font is given to the
// children -> FormCreate(). The window lives until the program ends or the form object goes; a
// derived form that owns fonts or brushes its controls use calls DestroyHwnd() in its destructor,
// so the window goes before them.
#pragma once

#include "platform/win32/UniqueHandle.h"
#include "ui/WindowBase.h"

#include <windows.h>

namespace quelmo::gui {

// Window styles of a secondary form: a dialog border and a system menu, keyboard navigation
// through nested containers (tab pages) by IsDialogMessage.
inline constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
inline constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

struct FormSetup {
    const wchar_t* className = nullptr; // ids::kForm*
    const wchar_t* caption = L"";
    DWORD style = kDialogStyle;
    DWORD exStyle = kDialogExStyle;
    int clientWidth = 0; // design units (pixels at 96 DPI)
    int clientHeight = 0;
    HWND owner = nullptr; // a secondary form stays above its owner, the monitor window
    bool centerOnFirstShow = true;
    UINT classStyle = 0;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
};

class Form : public WindowBase {
public:
    ~Form() override;

    // Creates the window hidden; false when it could not be made.
    bool Create(const FormSetup& setup);

    // Shows the form (centred the first time, when its setup asks so) and brings it to the front.
    void Show();
    void Hide();
    bool Visible() const;
    // Centres the window on the primary screen.
    void CenterOnScreen();

    // Dots per inch of the monitor the window is on, and a design-unit length in pixels at it.
    int Dpi() const { return dpi_; }
    int Scale(int design) const { return ::MulDiv(design, dpi_, kDesignDpi); }

    // A key message for this form or one of its controls, before the dialog keyboard handling
    // (IsDialogMessage) sees it. True when the form has handled it.
    virtual bool PreTranslateDialogKey(const MSG& /*message*/) { return false; }

    HFONT DialogFont() const { return dialogFont_.Get(); }
    HBRUSH FormBrush() const { return brush_.Get(); }
    COLORREF FormColor() const { return color_; }

protected:
    static constexpr int kDesignDpi = 96;

    Form() = default;

    // The background colour (window, static controls, check boxes) and the text colour.
    void SetFormColors(COLORREF background, COLORREF text);

    // Hooks, called in the order described at the top.
    virtual bool CreateControls() { return true; }
    virtual void FormCreate() {}
    virtual void FormShow() {}
    virtual void FormHide() {}
    virtual void AfterShow() {}
    // The window's DPI changed (Dpi() is the new one, the dialog font is made for it and the
    // window has its new size): lay the controls out again, make fonts and pictures again.
    virtual void FormDpiChanged() {}
    // The close box or WM_CLOSE. A secondary form hides.
    virtual void OnClose() { Hide(); }

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // IDCANCEL (Escape through IsDialogMessage) hides the form.
    void OnCommand(int id, int code, HWND control) override;

private:
    void ApplyDialogFont();
    LRESULT OnCtlColor(HDC dc);
    // The window now shows at `dpi`; `suggested` is the system's new window rectangle, if any.
    void ChangeDpi(int dpi, const RECT* suggested);

    int dpi_ = kDesignDpi;
    bool centerOnFirstShow_ = false;
    bool shownBefore_ = false;
    // WM_AFTER_SHOW shares its number with DM_SETDEFID of the dialog keyboard code: only the
    // message this form posted counts.
    bool afterShowPending_ = false;
    win32::UniqueFont dialogFont_;
    win32::UniqueBrush brush_;
    COLORREF color_ = 0;
    COLORREF textColor_ = 0;
};

} // namespace quelmo::gui
