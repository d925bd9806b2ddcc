// The monitor window's pop-up menu and its shortcut keys, built from the one table of
// ui/MenuModel: the HMENU with its sub-menus, and the accelerator table of every item that has a
// shortcut (they act while the monitor window is active).
#pragma once

#include "platform/win32/UniqueHandle.h"
#include "ui/MenuModel.h"

#include <windows.h>

namespace quelmo::gui {

class MainMenu {
public:
    // Builds the menu and the shortcut table; false when either could not be made.
    bool Create();

    HMENU Handle() const { return menu_.Get(); }
    HACCEL Shortcuts() const { return shortcuts_.Get(); }
    bool Checked(int id) const;
    void SetChecked(int id, bool checked);

    // Opens the menu at a screen point; the chosen item arrives at `owner` as WM_COMMAND.
    void Popup(HWND owner, POINT screen) const;
    // A shortcut key of the menu becomes its item's WM_COMMAND to `window`. True when it did.
    bool TranslateShortcut(HWND window, MSG& message) const;
    // Runs the handler of the item `id`; false when no item has that id.
    static bool Dispatch(int id, ui::MenuHandlers& handlers) { return ui::RunMenuCommand(id, handlers); }

private:
    win32::UniqueMenu menu_;
    win32::UniqueAccel shortcuts_;
};

} // namespace quelmo::gui
