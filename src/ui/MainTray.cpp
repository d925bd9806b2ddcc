#include "ui/MainTray.h"

#include "app/MyConfig.h"

namespace quelmo::gui {

void MainTray::Initialize(HWND window, UINT callbackMessage, HICON appIcon) {
    icon_.Initialize(window, callbackMessage, appIcon);
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    // Run as administrator, the window would not hear the shell's broadcast otherwise.
    if (taskbarCreated_ != 0 && window != nullptr) {
        ::ChangeWindowMessageFilterEx(window, taskbarCreated_, MSGFLT_ALLOW, nullptr);
    }
}

void MainTray::UpdateTrayIcon(int cpu, int memory) {
    TrayImageList& list = config::NumericTrayIcons ? numeric_ : gradient_;
    if (list.Count() == 0) {
        // Drawn on first use; kept for the life of the window.
        list = config::NumericTrayIcons ? CreateTrayNumericImages(iconSize_)
                                        : CreateTrayGradientImages(iconSize_);
    }
    lastCpu_ = cpu;
    lastMemory_ = memory;
    ui::FormatTrayTip(cpu, memory, tip_);
    icon_.SetTip(tip_.View());
    icon_.SetIconFromList(list, ui::TrayImageIndex(cpu, list.Count()));
    icon_.Update(TipSeen());
}

void MainTray::SetIconSize(int size) {
    if (size <= 0 || size == iconSize_) {
        return;
    }
    iconSize_ = size;
    // The old pictures stay until the shell has the new one.
    const TrayImageList oldGradient = std::move(gradient_);
    const TrayImageList oldNumeric = std::move(numeric_);
    gradient_ = {};
    numeric_ = {};
    if (lastCpu_ >= 0) {
        UpdateTrayIcon(lastCpu_, lastMemory_);
    }
}

void MainTray::PointerMoved() {
    POINT cursor{};
    if (::GetCursorPos(&cursor) != FALSE) {
        pointer_.MovedOver(cursor.x, cursor.y);
        icon_.Update(true);
    }
}

bool MainTray::TipSeen() {
    // Asked only after the pointer came over the icon, so most samples make no call for it.
    POINT cursor{};
    return pointer_.Known() && ::GetCursorPos(&cursor) != FALSE &&
           pointer_.Over(cursor.x, cursor.y, iconSize_);
}

bool MainTray::OnShellRestart(UINT message) {
    if (message != taskbarCreated_ || taskbarCreated_ == 0) {
        return false;
    }
    icon_.Restore();
    return true;
}

} // namespace quelmo::gui
