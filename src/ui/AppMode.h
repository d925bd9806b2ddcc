// Window mode and tray mode, and the global hot key that switches between them.
//
// In window mode the monitor window is shown (and the tray icon too unless HideTrayWhenVisible);
// in tray mode only the icon is. The hot key (identifier 1) is registered on the monitor window
// from the settings AppModeHotkey and AppModeHotkeyModifiers; a combination that another program
// holds is dropped from the settings, so it is saved as none.
#pragma once

#include <windows.h>

namespace quelmo::gui {

class Form;
class TTrayIcon;

class AppMode {
public:
    AppMode(Form& window, TTrayIcon& trayIcon) : window_(window), trayIcon_(trayIcon) {}

    // Sets AppTrayMode. At start-up it only decides whether the window shows when the message loop
    // starts; later it shows (and brings to the front) or hides the window. The icon follows.
    void SetAppTrayMode(bool mode, bool atStart);
    // The other mode, as the hot key, the tray icon's double-click and "Show/Hide" ask.
    void Toggle();
    bool ShowAtStartup() const { return showAtStartup_; }

    // (Re-)registers the hot key from the settings; clears them when the system refuses.
    void RegisterAppModeHotkey();
    void UnregisterAppModeHotkey();
    // WM_HOTKEY: the application-mode hot key toggles the mode; other identifiers are ignored.
    void OnHotKey(WPARAM id);

private:
    Form& window_;
    TTrayIcon& trayIcon_;
    bool showAtStartup_ = true;
};

} // namespace quelmo::gui
