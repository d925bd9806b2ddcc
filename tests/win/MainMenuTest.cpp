// The Win32 menu and shortcut keys built from the menu table hold exactly the table's items.
#include "ui/ControlIds.h"
#include "ui/MainMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quelmo::gui {
namespace {

// Every item as the table writes it: depth-indented text, "-" for a separator.
void ListItems(HMENU menu, int depth, std::vector<std::wstring>& out) {
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 64;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        const std::wstring indent(static_cast<std::size_t>(depth) * 2, L' ');
        out.push_back(indent + ((info.fType & MFT_SEPARATOR) != 0 ? L"-" : text));
        if (info.hSubMenu != nullptr) {
            ListItems(info.hSubMenu, depth + 1, out);
        }
    }
}

TEST(MainMenu, MenuAndShortcutsComeFromTheTable) {
    MainMenu menu;
    ASSERT_TRUE(menu.Create());
    std::vector<std::wstring> expected;
    std::vector<ACCEL> expectedKeys;
    for (const ui::MenuItem& item : ui::MainMenuItems()) {
        const std::wstring indent(static_cast<std::size_t>(item.depth) * 2, L' ');
        expected.push_back(indent +
                           (item.kind == ui::MenuItemKind::Separator ? L"-" : ui::MenuItemText(item)));
        if (item.shortcut.key != ui::Key::None) {
            const std::uint8_t m = item.shortcut.modifiers;
            const BYTE flags = FVIRTKEY | ((m & ui::kShift) != 0 ? FSHIFT : 0) |
                               ((m & ui::kCtrl) != 0 ? FCONTROL : 0) | ((m & ui::kAlt) != 0 ? FALT : 0);
            expectedKeys.push_back({flags, static_cast<WORD>(item.shortcut.key), static_cast<WORD>(item.id)});
        }
    }
    std::vector<std::wstring> built;
    ListItems(menu.Handle(), 0, built);
    EXPECT_EQ(built, expected);

    std::vector<ACCEL> keys(16);
    keys.resize(static_cast<std::size_t>(
        ::CopyAcceleratorTableW(menu.Shortcuts(), keys.data(), static_cast<int>(keys.size()))));
    ASSERT_EQ(keys.size(), expectedKeys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].fVirt, expectedKeys[i].fVirt) << keys[i].cmd;
        EXPECT_EQ(keys[i].key, expectedKeys[i].key) << keys[i].cmd;
        EXPECT_EQ(keys[i].cmd, expectedKeys[i].cmd);
    }
    menu.SetChecked(ids::kMI_LockForm, true);
    EXPECT_TRUE(menu.Checked(ids::kMI_LockForm));
    menu.SetChecked(ids::kMI_LockForm, false);
    EXPECT_FALSE(menu.Checked(ids::kMI_LockForm));
}

} // namespace
} // namespace quelmo::gui
