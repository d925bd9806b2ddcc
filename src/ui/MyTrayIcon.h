// The notification-area icon: TTrayIcon wraps the shell's icon record; TrayImageList holds the
// pictures it shows (a level indicator or a number per processor load).
#pragma once

#include "platform/win32/UniqueHandle.h"

#include <windows.h>
#include <shellapi.h>

#include <string_view>
#include <vector>

namespace quelmo::gui {

// A 16 x 16 image list and the icons made from its images. Each icon is made once, on first use,
// so switching pictures per sample makes no new handles.
class TrayImageList {
public:
    TrayImageList() = default;
    explicit TrayImageList(win32::UniqueImageList list);

    int Count() const { return static_cast<int>(icons_.size()); }
    HIMAGELIST Handle() const { return list_.Get(); }
    // Null when index is outside the list or the icon cannot be made.
    HICON Icon(int index);

private:
    win32::UniqueImageList list_;
    std::vector<win32::UniqueIcon> icons_;
};

// ImageList_TrayGradient: 15 squares on light grey; 0 empty, then filled from the bottom to a
// height growing with the index, green at the bottom through yellow and orange to red at the top.
TrayImageList CreateTrayGradientImages();
// ImageList_TrayNumeric: 101 images, image i shows the number i in black on light grey.
TrayImageList CreateTrayNumericImages();

class TTrayIcon {
public:
    TTrayIcon() = default;
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;
    ~TTrayIcon();

    // Fills the icon record once: the window that gets the callback message, the application's
    // icon and the tip "Quelmo". Nothing is shown yet.
    void Initialize(HWND window, UINT callbackMessage, HICON appIcon);
    // Shows the icon unless it is shown; counts as shown whatever the shell answered.
    void AddIcon();
    void RemoveIcon();
    // Sends the current picture and tip; when the shell has lost the icon (it restarted), adds it
    // again with the same record.
    void RefreshIcon();
    // The first 63 characters of `text` (UTF-8) become the tip.
    void SetTip(std::string_view text);
    void SetIconFromList(TrayImageList& list, int index);

    bool Added() const { return added_; }
    bool Initialized() const { return initialized_; }
    const NOTIFYICONDATAW& IconData() const { return iconData_; }

private:
    bool added_ = false;
    bool initialized_ = false;
    NOTIFYICONDATAW iconData_{};
};

} // namespace quelmo::gui
