// The base of every window class of the program: forms and custom-drawn controls.
//
// One static window procedure serves all of them: at WM_NCCREATE it takes the object from
// lpCreateParams and keeps it in GWLP_USERDATA, then hands every message to the object's
// OnMessage, and at WM_NCDESTROY it forgets the object again.
//
// The base OnMessage decodes the notifications (WM_COMMAND, WM_NOTIFY, WM_TIMER, WM_HSCROLL,
// WM_CONTEXTMENU) into the On* handlers below, so no window unpacks them by hand; a form's
// handlers pass them on to methods named after the control and event (SB_CloseClick,
// Timer_HideSplashTimer). A derived class overrides OnMessage for the other messages it wants
// and hands the rest to its base class's OnMessage. There are no message maps.
//
// The object owns its window: destroying the object destroys the window. Children of system
// classes (labels, buttons) are owned by their parent window and go with it.
#pragma once

#include "platform/win32/UniqueHandle.h"

#include <windows.h>

namespace quelmo::gui {

struct WindowClassSetup {
    const wchar_t* name = nullptr;
    UINT style = 0;
    HCURSOR cursor = nullptr; // null: the arrow
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
};

struct WindowCreateSetup {
    DWORD exStyle = 0;
    const wchar_t* text = L"";
    DWORD style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND parent = nullptr;
    UINT_PTR idOrMenu = 0; // a control ID for child windows, a menu handle for top-level ones
};

class WindowBase {
public:
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    WindowBase(WindowBase&&) = delete;
    WindowBase& operator=(WindowBase&&) = delete;
    virtual ~WindowBase();

    HWND Hwnd() const { return hwnd_.Get(); }

protected:
    WindowBase() = default;

    // Registers the class (once per process and name) and creates the window attached to this
    // object. Returns false when the window could not be created.
    bool CreateHwnd(const WindowClassSetup& windowClass, const WindowCreateSetup& create);

    // Destroys the window while the whole object still exists, so the derived class sees its own
    // WM_DESTROY. Classes that care call this from their destructor.
    void DestroyHwnd();

    // Every message of the window: decodes the notifications below, DefWindowProc for the rest.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Decoded notifications. Each default does what DefWindowProc does with the message.
    // A menu item or shortcut key: `control` is null (and `code` 0 or 1).
    virtual void OnCommand(int id, int code, HWND control);
    // Answers what WM_NOTIFY returns.
    virtual LRESULT OnNotify(int id, NMHDR& header);
    virtual void OnTimer(UINT_PTR id);
    // A horizontal track bar or scroll bar; `code` is the TB_* / SB_* code.
    virtual void OnHScroll(HWND control, int code);
    // `window` is the window clicked (this one or a child); `screen` is (-1, -1) from the keyboard.
    virtual void OnContextMenu(HWND window, POINT screen);

    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
        return ::DefWindowProcW(Hwnd(), message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    win32::UniqueWindow hwnd_;
};

// The module of the running program (exe or test exe).
HINSTANCE ThisModule();

} // namespace quelmo::gui
