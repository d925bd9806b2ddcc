#include "ui/AppMode.h"

#include "app/MyConfig.h"
#include "app/ShellState.h"
#include "ui/Form.h"
#include "ui/MyTrayIcon.h"

namespace quelmo::gui {

namespace {

constexpr int kHotkeyId = 1;

} // namespace

void AppMode::SetAppTrayMode(bool mode, bool atStart) {
    config::AppTrayMode = mode;
    if (atStart) {
        showAtStartup_ = !mode;
    }
    if (mode) {
        trayIcon_.AddIcon();
        window_.Hide();
        return;
    }
    if (!atStart) {
        window_.Show(); // takes its place from the settings
    }
    if (config::HideTrayWhenVisible) {
        trayIcon_.RemoveIcon();
    } else {
        trayIcon_.AddIcon();
    }
}

void AppMode::Toggle() {
    SetAppTrayMode(!config::AppTrayMode, false);
}

void AppMode::RegisterAppModeHotkey() {
    UnregisterAppModeHotkey();
    if (config::AppModeHotkey == 0) {
        return;
    }
    if (::RegisterHotKey(window_.Hwnd(), kHotkeyId, static_cast<UINT>(config::AppModeHotkeyModifiers),
                         static_cast<UINT>(config::AppModeHotkey)) != FALSE) {
        shell::HotkeyRegistered = true;
    } else {
        // Another program holds the combination: the hot key is dropped, and saved so.
        config::AppModeHotkey = 0;
        config::AppModeHotkeyModifiers = 0;
    }
}

void AppMode::UnregisterAppModeHotkey() {
    if (shell::HotkeyRegistered && ::UnregisterHotKey(window_.Hwnd(), kHotkeyId) != FALSE) {
        shell::HotkeyRegistered = false;
    }
}

void AppMode::OnHotKey(WPARAM id) {
    if (id == kHotkeyId) {
        Toggle();
    }
}

} // namespace quelmo::gui
