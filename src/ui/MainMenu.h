// The monitor window's pop-up menu and its shortcut keys, built from the one table of
// ui/MenuModel: the HMENU with its sub-menus, the pictures of the location items, and the
// accelerator table of every item that has a shortcut (they act while the monitor window is active).
//
// The pictures are bitmaps with a clear background. A menu that is given such a bitmap directly
// draws it as it is on Wine (the clear pixels come out black), so the items ask their owner to draw
// them (HBMMENU_CALLBACK): the window that opens the menu passes WM_MEASUREITEM and WM_DRAWITEM to
// MeasurePicture and DrawPicture, which blend the bitmap onto the menu's own background.
#pragma once

#include "platform/win32/UniqueHandle.h"
#include "ui/MenuModel.h"
#include "ui/MenuPictureModel.h"

#include <windows.h>

#include <vector>

namespace quelmo::gui {

class MainMenu {
public:
    // Builds the menu, its pictures (`pictureSize` pixels square, the window's scaled 15) and the
    // shortcut table; false when the menu or the table could not be made.
    bool Create(int pictureSize);
    // Draws the location items' pictures again at another size (the window's DPI changed).
    void SetPictureSize(int pictureSize);

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

    // WM_MEASUREITEM and WM_DRAWITEM of the menu's owner: true when the item was a picture of this
    // menu (and has been measured or drawn), false when the message is someone else's.
    bool MeasurePicture(MEASUREITEMSTRUCT& item) const;
    bool DrawPicture(const DRAWITEMSTRUCT& item) const;

private:
    struct Picture {
        int id = 0;
        win32::UniqueBitmap bitmap;
    };
    const Picture* PictureOf(UINT type, UINT id) const;

    int pictureSize_ = ui::kMenuPictureSize;
    std::vector<Picture> pictures_;
    win32::UniqueMenu menu_;
    win32::UniqueAccel shortcuts_;
};

} // namespace quelmo::gui
