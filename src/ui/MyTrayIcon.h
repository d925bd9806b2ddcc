// The notification-area icon: TTrayIcon wraps the shell's icon record; TrayImageList holds the
// pictures it shows (a level indicator or a number per processor load).
//
// TTrayIcon keeps what the shell was last given (picture and tip) and calls the shell only when
// there is something new to show: Update sends the record when the picture changed, or when the
// tip changed while the user can see it. Every call carries the whole record, so a tip that
// changed unseen goes along with the next call.
#pragma once

#include "platform/win32/UniqueHandle.h"
#include "ui/TrayPicture.h"

#include <windows.h>
#include <shellapi.h>

#include <array>
#include <string_view>
#include <vector>

namespace quelmo::gui {

// An image list of square pictures (the small-icon size) and the icons made from its images. Each icon is
// made once, on first use, so switching pictures per sample makes no new handles.
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

// ImageList_TrayGradient: 15 squares on light grey in a grey frame; 0 empty, then filled from the
// bottom one row per image (14 rows: every image differs), green at the bottom through yellow and
// orange to red at the top. Drawn `size` pixels square (16: the design); the frame stays one pixel.
TrayImageList CreateTrayGradientImages(int size = ui::kTrayImageSize);
// ImageList_TrayNumeric: 101 images, image i shows the number i in black on light grey, in the
// bitmap font of ui::TrayNumberMask, each of its pixels a block of whole pixels at `size`.
TrayImageList CreateTrayNumericImages(int size = ui::kTrayImageSize);

class TTrayIcon {
public:
    // The shell's entry point; tests pass a recorder.
    using ShellNotify = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);

    explicit TTrayIcon(ShellNotify notify = ::Shell_NotifyIconW) : notify_(notify) {}
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
    // RefreshIcon when the picture differs from the shell's, or the tip does and `tipSeen`.
    void Update(bool tipSeen);
    // The shell started again ("TaskbarCreated") and knows no icons: adds ours again if shown.
    void Restore();
    // The first 63 characters of `text` (UTF-8) become the tip.
    void SetTip(std::string_view text);
    void SetIconFromList(TrayImageList& list, int index);

    bool Added() const { return added_; }
    bool Initialized() const { return initialized_; }
    const NOTIFYICONDATAW& IconData() const { return iconData_; }

private:
    bool Notify(DWORD message);

    ShellNotify notify_;
    bool added_ = false;
    bool initialized_ = false;
    NOTIFYICONDATAW iconData_{};
    // What the shell shows, as far as it accepted our calls.
    bool shellKnows_ = false;
    HICON shellIcon_ = nullptr;
    std::array<wchar_t, 64> shellTip_{};
};

} // namespace quelmo::gui
