#include "ui/MainMenu.h"

#include <string>
#include <vector>

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

bool MainMenu::Create() {
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
    return static_cast<bool>(shortcuts_);
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
