#include "ui/MenuModel.h"

#include "ui/ControlIds.h"
#include "ui/MainFormTexts.h"

namespace quelmo::ui {

namespace {

using H = MenuHandlers;
namespace t = texts::monitor;

constexpr MenuItem Command(int depth, int id, const wchar_t* caption, Shortcut shortcut, MenuHandler handler,
                           MenuPicture picture = MenuPicture::None) {
    return {depth, MenuItemKind::Command, id, caption, shortcut, handler, picture};
}
constexpr MenuItem Submenu(int id, const wchar_t* caption) {
    return {0, MenuItemKind::Submenu, id, caption, {}, nullptr, MenuPicture::None};
}
constexpr MenuItem Separator(int depth) {
    return {depth, MenuItemKind::Separator, 0, nullptr, {}, nullptr, MenuPicture::None};
}

constexpr Shortcut kNone{};

constexpr MenuItem kItems[] = {
    Command(0, ids::kMI_About, t::kMenuAbout, {kShift, Key::F1}, &H::MI_AboutClick),
    Submenu(ids::kMI_HelpMenu, t::kMenuHelp),
    Command(1, ids::kMI_Help, t::kMenuHelpOnline, {0, Key::F1}, &H::MI_HelpClick),
    Command(1, ids::kMI_Forum, t::kMenuForum, kNone, &H::MI_ForumClick),
    Separator(1),
    Command(1, ids::kMI_VersionHistory, t::kMenuVersionHistory, kNone, &H::MI_VersionHistoryClick),
    Command(1, ids::kMI_Copyrights, t::kMenuCopyrights, kNone, &H::MI_CopyrightsClick),
    Separator(0),
    Command(0, ids::kMI_Settings, t::kMenuSettings, {0, Key::F4}, &H::MI_SettingsClick),
    Command(0, ids::kMI_Statistics, t::kMenuStatistics, {0, Key::F5}, &H::MI_StatisticsClick),
    Command(0, ids::kMI_CPUInformation, t::kMenuCpuInformation, {0, Key::F6}, &H::MI_CPUInformationClick),
    Separator(0),
    Submenu(ids::kMI_Location, t::kMenuLocation),
    Command(1, ids::kMI_TopLeft, t::kMenuTopLeft, {kCtrl, Key::Numpad7}, &H::MI_TopLeftClick,
            MenuPicture::TopLeft),
    Command(1, ids::kMI_TopRight, t::kMenuTopRight, {kCtrl, Key::Numpad9}, &H::MI_TopRightClick,
            MenuPicture::TopRight),
    Command(1, ids::kMI_BotomLeft, t::kMenuBottomLeft, {kCtrl, Key::Numpad1}, &H::MI_BotomLeftClick,
            MenuPicture::BottomLeft),
    Command(1, ids::kMI_BotomRight, t::kMenuBottomRight, {kCtrl, Key::Numpad3}, &H::MI_BotomRightClick,
            MenuPicture::BottomRight),
    Command(1, ids::kMI_Center, t::kMenuCenter, {kCtrl, Key::Numpad5}, &H::MI_CenterClick,
            MenuPicture::Center),
    Separator(1),
    Command(1, ids::kMI_LockForm, t::kMenuLockForm, kNone, &H::MI_LockFormClick),
    Command(0, ids::kMI_ShowHide, t::kMenuShowHide, kNone, &H::MI_ShowHideClick),
    Separator(0),
    Command(0, ids::kMI_Exit, t::kMenuExit, {kAlt, Key::F4}, &H::MI_ExitClick),
};

constexpr std::uint8_t kFirstFunctionKey = 0x70; // F1 .. F24
constexpr std::uint8_t kLastFunctionKey = 0x87;
constexpr std::uint8_t kFirstNumpadKey = 0x60; // Num 0 .. Num 9
constexpr std::uint8_t kLastNumpadKey = 0x69;

} // namespace

std::span<const MenuItem> MainMenuItems() {
    return kItems;
}

std::wstring ShortcutText(Shortcut shortcut) {
    const auto key = static_cast<std::uint8_t>(shortcut.key);
    if (key == 0) {
        return {};
    }
    std::wstring text;
    if ((shortcut.modifiers & kShift) != 0) {
        text += t::kKeyShift;
    }
    if ((shortcut.modifiers & kCtrl) != 0) {
        text += t::kKeyCtrl;
    }
    if ((shortcut.modifiers & kAlt) != 0) {
        text += t::kKeyAlt;
    }
    if (key >= kFirstFunctionKey && key <= kLastFunctionKey) {
        text += t::kKeyFunction + std::to_wstring(key - kFirstFunctionKey + 1);
    } else if (key >= kFirstNumpadKey && key <= kLastNumpadKey) {
        text += t::kKeyNumpad + std::to_wstring(key - kFirstNumpadKey);
    } else {
        text += static_cast<wchar_t>(key); // letters and digits are their own codes
    }
    return text;
}

std::wstring MenuItemText(const MenuItem& item) {
    std::wstring text = item.caption != nullptr ? item.caption : L"";
    const std::wstring shortcut = ShortcutText(item.shortcut);
    if (!shortcut.empty()) {
        text += L'\t' + shortcut;
    }
    return text;
}

bool RunMenuCommand(int id, MenuHandlers& handlers) {
    for (const MenuItem& item : kItems) {
        if (item.id == id && item.handler != nullptr) {
            (handlers.*item.handler)();
            return true;
        }
    }
    return false;
}

} // namespace quelmo::ui
