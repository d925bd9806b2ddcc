// The Win32 menu and shortcut keys built from the menu table hold exactly the table's items; the
// location pictures reach the screen as the picture model draws them, on the menu's own background.
#include "platform/win32/Dib.h"
#include "ui/ControlIds.h"
#include "ui/MainMenu.h"

#include <cstdint>

#include <gtest/gtest.h>

#include <algorithm>
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
    ASSERT_TRUE(menu.Create(15));
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

TEST(MainMenu, PicturesAreDrawnAsModelledOverTheMenuBackground) {
    constexpr int kSize = 2 * ui::kMenuPictureSize; // as at 192 DPI
    constexpr int kWidth = 40;
    constexpr int kHeight = 36;
    constexpr std::uint32_t kHighlight = 0x3399FF; // a selected row's background (0xRRGGBB)
    MainMenu menu;
    ASSERT_TRUE(menu.Create(kSize));
    std::uint32_t* pixels = nullptr;
    const win32::UniqueBitmap target = win32::CreateTopDownDib(kWidth, kHeight, &pixels);
    const win32::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(target && dc);
    const win32::ScopedSelectObject selected(dc.Get(), target.Get());

    MEASUREITEMSTRUCT measure{ODT_MENU, 0, static_cast<UINT>(ids::kMI_Center), 0, 0, 0};
    ASSERT_TRUE(menu.MeasurePicture(measure));
    EXPECT_EQ(measure.itemHeight, static_cast<UINT>(kSize));
    EXPECT_GT(measure.itemWidth, static_cast<UINT>(kSize)); // room before the caption
    measure.itemID = ids::kMI_LockForm;
    EXPECT_FALSE(menu.MeasurePicture(measure));

    const struct {
        int id;
        ui::MenuPicture picture;
    } cases[] = {{ids::kMI_TopLeft, ui::MenuPicture::TopLeft},
                 {ids::kMI_TopRight, ui::MenuPicture::TopRight},
                 {ids::kMI_BotomLeft, ui::MenuPicture::BottomLeft},
                 {ids::kMI_BotomRight, ui::MenuPicture::BottomRight},
                 {ids::kMI_Center, ui::MenuPicture::Center}};
    for (const auto& c : cases) {
        std::fill(pixels, pixels + kWidth * kHeight, kHighlight);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_MENU;
        item.itemID = static_cast<UINT>(c.id);
        item.hDC = dc.Get();
        item.rcItem = {0, 0, kWidth, kHeight}; // the picture is centred upright: top 3
        ASSERT_TRUE(menu.DrawPicture(item));
        ::GdiFlush();
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const bool ink = ui::MenuPictureInk(c.picture, x, y - 3, kSize);
                wrong += (pixels[y * kWidth + x] & 0xFFFFFF) != (ink ? 0u : kHighlight) ? 1 : 0;
            }
        }
        EXPECT_EQ(wrong, 0) << c.id;
    }
    DRAWITEMSTRUCT button{};
    button.CtlType = ODT_BUTTON;
    button.itemID = ids::kMI_TopLeft;
    EXPECT_FALSE(menu.DrawPicture(button)); // a button of the window with the same number
}

} // namespace
} // namespace quelmo::gui
