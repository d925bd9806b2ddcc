// The monitor window's tray icon: its pictures, what a sample shows, when the shell hears of it,
// and the icon's return after the shell restarts. TForm_Main feeds it each sample and routes the
// icon's callback and the shell's "TaskbarCreated" broadcast to it; AppMode adds and removes it.
//
// A sample calls the shell only when the picture changes. The tip changes with every whole
// percent, but it is only seen while the pointer rests on the icon, so it is sent along with a
// picture change, when the pointer comes over the icon, and on each sample while it stays there.
#pragma once

#include "ui/MyTrayIcon.h"
#include "ui/TrayPicture.h"

#include <windows.h>

namespace quelmo::gui {

class MainTray {
public:
    explicit MainTray(TTrayIcon::ShellNotify notify = ::Shell_NotifyIconW) : icon_(notify) {}

    // Fills the icon record (nothing is shown yet) and asks for the shell's "TaskbarCreated".
    void Initialize(HWND window, UINT callbackMessage, HICON appIcon);
    TTrayIcon& Icon() { return icon_; }

    // UpdateTrayIcon: the picture and tip for processor usage `cpu` and memory usage `memory`
    // (whole percentages, memory -1 when not shown).
    void UpdateTrayIcon(int cpu, int memory);
    // The pictures' size in pixels (the small-icon size at the window's DPI). A new size draws
    // them again, and the icon shows the new picture at once.
    void SetIconSize(int size);
    int IconSize() const { return iconSize_; }
    // WM_MOUSEMOVE through the callback: the pointer is over the icon, so the tip must be current.
    void PointerMoved();
    // True (and the icon is added again) when `message` is the shell's "TaskbarCreated".
    bool OnShellRestart(UINT message);

private:
    bool TipSeen();

    TTrayIcon icon_;
    TrayImageList gradient_;
    TrayImageList numeric_;
    ui::TrayTip tip_; // reused by every sample
    ui::TrayPointer pointer_;
    UINT taskbarCreated_ = 0;
    int iconSize_ = ui::kTrayImageSize;
    int lastCpu_ = -1; // the last sample shown, -1 before the first
    int lastMemory_ = -1;
};

} // namespace quelmo::gui
