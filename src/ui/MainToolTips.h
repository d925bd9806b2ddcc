// The monitor window's tool tips: "Move", "Menu", "Hide" and "Close" over the move picture and the
// three control buttons. The hints are asked for each time a tool tip is about to show, so none
// shows while a menu is open: a tool tip over a menu would cover its first items and, topmost and
// owned by the form, lift the form above the menu.
#pragma once

#include <windows.h>

namespace quelmo::gui {

class MainToolTips {
public:
    // The tool-tip window, owned by `form` (destroyed with it). The form must have asked to be
    // topmost before: Wine refuses that while a topmost window it owns already exists.
    // `imageMove` lets the mouse through to the form, so its hint is a rectangle of the form that
    // UpdateMoveRect sets.
    void Create(HWND form, HWND imageMove, HWND menu, HWND hide, HWND close);
    // The move picture's hint covers it while it is shown (`shown`), else nothing.
    void UpdateMoveRect(bool shown);
    // A menu opens (a shown tool tip goes, none shows) or closes.
    void SetMenuOpen(bool open);
    // TTN_GETDISPINFO of this tool-tip window answered; false for any other notification.
    bool OnNotify(NMHDR& header) const;

private:
    const wchar_t* HintFor(UINT_PTR tool) const;

    HWND form_ = nullptr;
    HWND toolTips_ = nullptr;
    HWND imageMove_ = nullptr;
    HWND menu_ = nullptr;
    HWND hide_ = nullptr;
    HWND close_ = nullptr;
    bool menuOpen_ = false;
};

} // namespace quelmo::gui
