// The monitor window's pop-up menu as one table: every item's place (top level or inside a
// sub-menu), identity, caption, shortcut key, the handler it runs and, for the location items, the
// picture beside it. ui/MainMenu builds the Win32 menu and the shortcut keys from this table and
// nothing else, so an item is added, moved or renamed here and only here.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quelmo::ui {

// Keys of the menu's shortcuts; the values are the Windows virtual-key codes.
enum class Key : std::uint8_t {
    None = 0,
    Numpad1 = 0x61,
    Numpad3 = 0x63,
    Numpad5 = 0x65,
    Numpad7 = 0x67,
    Numpad9 = 0x69,
    F1 = 0x70,
    F4 = 0x73,
    F5 = 0x74,
    F6 = 0x75,
};

// Modifier flags of a shortcut.
enum ShortcutModifier : std::uint8_t { kShift = 1, kCtrl = 2, kAlt = 4 };

struct Shortcut {
    std::uint8_t modifiers = 0;
    Key key = Key::None;
};

// "Shift+F1", "F4", "Ctrl+Num 7"; empty for no key.
std::wstring ShortcutText(Shortcut shortcut);

// The 15 x 15 picture of a location item: a dotted square with a block in that corner or the middle.
enum class MenuPicture : std::uint8_t { None, TopLeft, TopRight, BottomLeft, BottomRight, Center };

// What the menu's items do; the monitor window implements it.
class MenuHandlers {
public:
    virtual void MI_AboutClick() = 0;
    virtual void MI_HelpClick() = 0;
    virtual void MI_ForumClick() = 0;
    virtual void MI_VersionHistoryClick() = 0;
    virtual void MI_CopyrightsClick() = 0;
    virtual void MI_SettingsClick() = 0;
    virtual void MI_StatisticsClick() = 0;
    virtual void MI_CPUInformationClick() = 0;
    virtual void MI_TopLeftClick() = 0;
    virtual void MI_TopRightClick() = 0;
    virtual void MI_BotomLeftClick() = 0;
    virtual void MI_BotomRightClick() = 0;
    virtual void MI_CenterClick() = 0;
    virtual void MI_LockFormClick() = 0;
    virtual void MI_ShowHideClick() = 0;
    virtual void MI_ExitClick() = 0;

protected:
    ~MenuHandlers() = default;
};

using MenuHandler = void (MenuHandlers::*)();

enum class MenuItemKind : std::uint8_t { Command, Submenu, Separator };

struct MenuItem {
    int depth = 0; // 0: the pop-up menu; 1: inside the sub-menu of the nearest depth-0 item above
    MenuItemKind kind = MenuItemKind::Separator;
    int id = 0;                       // ids::kMI_*; 0 for a separator
    const wchar_t* caption = nullptr; // null for a separator
    Shortcut shortcut;
    MenuHandler handler = nullptr; // a command's only
    MenuPicture picture = MenuPicture::None;
};

// The items from top to bottom, each sub-menu's items right after it.
std::span<const MenuItem> MainMenuItems();

// The text a menu shows: the caption, then a tab and the shortcut text when there is one.
std::wstring MenuItemText(const MenuItem& item);

// Runs the handler of the command `id`; false when no command has that id.
bool RunMenuCommand(int id, MenuHandlers& handlers);

} // namespace quelmo::ui
