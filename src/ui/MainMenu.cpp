#include "ui/MainMenu.h"

#include "ui/MenuPictureBitmap.h"

#include <string>

namespace quelmo::gui {

namespace {

// The table's keys are virtual-key codes.
static_assert(static_cast<int>(ui::Key::F1) == VK_F1 && static_cast<int>(ui::Key::F6) == VK_F6);
static_assert(static_cast<int>(ui::Key::Numpad1) == VK_NUMPAD1 &&
              static_cast<int>(ui::Key::Numpad9) == VK_NUMPAD9);

BYTE AcceleratorFlags(std::uint8_t modifiers) {
    BYTE flags = FVIRTKEY;
    flags |= (modifiers & ui::kShift) != 0 ? FSHIFT : 0;
    flags |= (modifiers & ui::kCtrl) != 0 ? FCONTROL : 0;
    flags |= (modifiers & ui::kAlt) != 0 ? FALT : 0;
    return flags;
}

} // namespace

bool MainMenu::Create(int pictureSize) {
    menu_.Reset(::CreatePopupMenu());
    if (!menu_) {
        return false;
    }
    std::vector<ACCEL> shortcuts;
    // A depth-1 item goes into the sub-menu last opened at depth 0; the top menu owns its sub-menus.
    HMENU submenu = nullptr;
    for (const ui::MenuItem& item : ui::MainMenuItems()) {
        const HMENU into = item.depth == 0 ? menu_.Get() : submenu;
        if (into == nullptr) {
            return false;
        }
        const std::wstring text = ui::MenuItemText(item);
        switch (item.kind) {
        case ui::MenuItemKind::Separator:
            ::AppendMenuW(into, MF_SEPARATOR, 0, nullptr);
            break;
        case ui::MenuItemKind::Submenu: {
            win32::UniqueMenu created(::CreatePopupMenu());
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
            info.wID = static_cast<UINT>(item.id);
            info.dwTypeData = const_cast<wchar_t*>(text.c_str());
            info.hSubMenu = created.Get();
            if (!created || ::InsertMenuItemW(into, ::GetMenuItemCount(into), TRUE, &info) == FALSE) {
                return false;
            }
            submenu = created.Release();
            break;
        }
        case ui::MenuItemKind::Command:
            ::AppendMenuW(into, MF_STRING, static_cast<UINT_PTR>(item.id), text.c_str());
            if (item.shortcut.key != ui::Key::None) {
                shortcuts.push_back(ACCEL{AcceleratorFlags(item.shortcut.modifiers),
                                          static_cast<WORD>(item.shortcut.key), static_cast<WORD>(item.id)});
            }
            break;
        }
    }
    shortcuts_.Reset(::CreateAcceleratorTableW(shortcuts.data(), static_cast<int>(shortcuts.size())));
    SetPictureSize(pictureSize);
    return static_cast<bool>(shortcuts_);
}

void MainMenu::SetPictureSize(int pictureSize) {
    pictureSize_ = pictureSize;
    pictures_.clear();
    for (const ui::MenuItem& item : ui::MainMenuItems()) {
        if (item.picture == ui::MenuPicture::None) {
            continue;
        }
        pictures_.push_back({item.id, CreateMenuPictureBitmap(item.picture, pictureSize)});
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_BITMAP;
        info.hbmpItem = HBMMENU_CALLBACK; // measured and drawn by MeasurePicture and DrawPicture
        ::SetMenuItemInfoW(menu_.Get(), static_cast<UINT>(item.id), FALSE, &info);
    }
}

const MainMenu::Picture* MainMenu::PictureOf(UINT type, UINT id) const {
    if (type != ODT_MENU) {
        return nullptr;
    }
    for (const Picture& picture : pictures_) {
        if (static_cast<UINT>(picture.id) == id) {
            return &picture;
        }
    }
    return nullptr;
}

bool MainMenu::MeasurePicture(MEASUREITEMSTRUCT& item) const {
    if (PictureOf(item.CtlType, item.itemID) == nullptr) {
        return false;
    }
    // A fifth of the picture's width keeps the caption clear of it.
    item.itemWidth = static_cast<UINT>(pictureSize_ + pictureSize_ / 5);
    item.itemHeight = static_cast<UINT>(pictureSize_);
    return true;
}

bool MainMenu::DrawPicture(const DRAWITEMSTRUCT& item) const {
    const Picture* picture = PictureOf(item.CtlType, item.itemID);
    if (picture == nullptr) {
        return false;
    }
    if (!picture->bitmap) {
        return true; // no bitmap: the item shows its caption alone
    }
    const win32::UniqueMemoryDc source(::CreateCompatibleDC(item.hDC));
    const win32::ScopedSelectObject selected(source.Get(), picture->bitmap.Get());
    const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - pictureSize_) / 2;
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(item.hDC, item.rcItem.left, top, pictureSize_, pictureSize_, source.Get(), 0, 0,
                    pictureSize_, pictureSize_, blend);
    return true;
}

bool MainMenu::Checked(int id) const {
    const UINT state = ::GetMenuState(menu_.Get(), static_cast<UINT>(id), MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

void MainMenu::SetChecked(int id, bool checked) {
    ::CheckMenuItem(menu_.Get(), static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MainMenu::Popup(HWND owner, POINT screen) const {
    ::TrackPopupMenu(menu_.Get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
    // Lets the menu close properly when it was opened from the tray.
    ::PostMessageW(owner, WM_NULL, 0, 0);
}

bool MainMenu::TranslateShortcut(HWND window, MSG& message) const {
    return shortcuts_ && ::TranslateAcceleratorW(window, shortcuts_.Get(), &message) != 0;
}

} // namespace quelmo::gui
