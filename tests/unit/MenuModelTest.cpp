// The pop-up menu's one table: what the user reads, in order; that each item runs its own handler.
#include "ui/ControlIds.h"
#include "ui/MenuModel.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace quelmo::ui {
namespace {

TEST(MenuModel, CaptionsAndShortcutTextsInMenuOrder) {
    // Sub-menu items indented by two blanks; "-" a separator.
    const std::vector<std::wstring> expected{
        L"About\tShift+F1",
        L"Help",
        L"  Help (online)\tF1",
        L"  Forum (online)",
        L"  -",
        L"  Version History",
        L"  Copyrights",
        L"-",
        L"Settings\tF4",
        L"Statistics\tF5",
        L"CPU Information\tF6",
        L"-",
        L"Location...",
        L"  Top-Left\tCtrl+Num 7",
        L"  Top-Right\tCtrl+Num 9",
        L"  Botom-Left\tCtrl+Num 1",
        L"  Botom-Right\tCtrl+Num 3",
        L"  Center\tCtrl+Num 5",
        L"  -",
        L"  Lock the Form",
        L"Show/Hide",
        L"-",
        L"Exit\tAlt+F4",
    };
    std::vector<std::wstring> shown;
    for (const MenuItem& item : MainMenuItems()) {
        const std::wstring indent(static_cast<std::size_t>(item.depth) * 2, L' ');
        shown.push_back(indent + (item.kind == MenuItemKind::Separator ? L"-" : MenuItemText(item)));
    }
    EXPECT_EQ(shown, expected);
}

TEST(MenuModel, ItemsHaveUniqueIdsAndOnlyCommandsHaveHandlers) {
    std::set<int> ids;
    std::vector<MenuPicture> pictures;
    for (const MenuItem& item : MainMenuItems()) {
        EXPECT_EQ(item.handler != nullptr, item.kind == MenuItemKind::Command) << item.id;
        if (item.kind == MenuItemKind::Separator) {
            EXPECT_EQ(item.id, 0);
            continue;
        }
        EXPECT_TRUE(ids.insert(item.id).second) << item.id;
        EXPECT_GE(item.id, ids::kMI_About);
        EXPECT_LE(item.id, ids::kMI_Exit);
        if (item.picture != MenuPicture::None) {
            pictures.push_back(item.picture);
        }
    }
    EXPECT_EQ(ids.size(), 18u); // every kMI_* of ControlIds.h
    EXPECT_EQ(pictures, (std::vector{MenuPicture::TopLeft, MenuPicture::TopRight, MenuPicture::BottomLeft,
                                     MenuPicture::BottomRight, MenuPicture::Center}));
}

// Records which handler ran.
class RecordingHandlers final : public MenuHandlers {
public:
    std::vector<std::string> ran;
    void MI_AboutClick() override { ran.emplace_back("About"); }
    void MI_HelpClick() override { ran.emplace_back("Help"); }
    void MI_ForumClick() override { ran.emplace_back("Forum"); }
    void MI_VersionHistoryClick() override { ran.emplace_back("VersionHistory"); }
    void MI_CopyrightsClick() override { ran.emplace_back("Copyrights"); }
    void MI_SettingsClick() override { ran.emplace_back("Settings"); }
    void MI_StatisticsClick() override { ran.emplace_back("Statistics"); }
    void MI_CPUInformationClick() override { ran.emplace_back("CPUInformation"); }
    void MI_TopLeftClick() override { ran.emplace_back("TopLeft"); }
    void MI_TopRightClick() override { ran.emplace_back("TopRight"); }
    void MI_BotomLeftClick() override { ran.emplace_back("BotomLeft"); }
    void MI_BotomRightClick() override { ran.emplace_back("BotomRight"); }
    void MI_CenterClick() override { ran.emplace_back("Center"); }
    void MI_LockFormClick() override { ran.emplace_back("LockForm"); }
    void MI_ShowHideClick() override { ran.emplace_back("ShowHide"); }
    void MI_ExitClick() override { ran.emplace_back("Exit"); }
};

TEST(MenuModel, EachCommandRunsItsOwnHandler) {
    const struct {
        int id;
        const char* handler; // empty: no command
    } cases[] = {
        {ids::kMI_About, "About"},
        {ids::kMI_Help, "Help"},
        {ids::kMI_Forum, "Forum"},
        {ids::kMI_VersionHistory, "VersionHistory"},
        {ids::kMI_Copyrights, "Copyrights"},
        {ids::kMI_Settings, "Settings"},
        {ids::kMI_Statistics, "Statistics"},
        {ids::kMI_CPUInformation, "CPUInformation"},
        {ids::kMI_TopLeft, "TopLeft"},
        {ids::kMI_TopRight, "TopRight"},
        {ids::kMI_BotomLeft, "BotomLeft"},
        {ids::kMI_BotomRight, "BotomRight"},
        {ids::kMI_Center, "Center"},
        {ids::kMI_LockForm, "LockForm"},
        {ids::kMI_ShowHide, "ShowHide"},
        {ids::kMI_Exit, "Exit"},
        {ids::kMI_HelpMenu, ""},
        {ids::kMI_Location, ""},
        {0, ""},
        {ids::kSB_Menu, ""},
    };
    for (const auto& c : cases) {
        RecordingHandlers handlers;
        const bool ran = RunMenuCommand(c.id, handlers);
        EXPECT_EQ(ran, *c.handler != '\0') << c.id;
        EXPECT_EQ(handlers.ran, ran ? std::vector<std::string>{c.handler} : std::vector<std::string>{})
            << c.id;
    }
}

} // namespace
} // namespace quelmo::ui
