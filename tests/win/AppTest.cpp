// The application object: the start-up windows, in order and hidden, and the menu's windows shown
// and hidden again the ways a user does it.
#include "app/MyConfig.h"
#include "ui/AboutForm.h"
#include "ui/App.h"
#include "ui/ControlIds.h"
#include "ui/Form.h"
#include "ui/InfoForm.h"
#include "ui/MainForm.h"
#include "ui/SettingsForm.h"
#include "ui/StatisticsForm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quelmo::gui {
namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

std::wstring CaptionOf(HWND window) {
    wchar_t text[64] = {};
    ::GetWindowTextW(window, text, 64);
    return text;
}

// The class names of the forms this thread creates, in creation order.
std::vector<std::wstring> createdForms;
LRESULT CALLBACK RecordForms(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && ClassOf(reinterpret_cast<HWND>(wParam)).starts_with(L"TForm_")) {
        createdForms.push_back(ClassOf(reinterpret_cast<HWND>(wParam)));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        config::ResetConfig();
        config::AppModeHotkey = 0;          // never grab the real hot key from a test
        config::HideTrayWhenVisible = true; // no tray icon: removing it costs Wine's shell seconds
        createdForms.clear();
        const win32::UniqueHook hook(
            ::SetWindowsHookExW(WH_CBT, &RecordForms, nullptr, ::GetCurrentThreadId()));
        ASSERT_TRUE(app_.Create());
    }
    void TearDown() override { config::ResetConfig(); }

    App app_{MainFormOptions{false, false, false}};
};

TEST_F(AppTest, CreatesTheStartUpWindowsHiddenInOrder) {
    EXPECT_EQ(createdForms, (std::vector<std::wstring>{L"TForm_Main", L"TForm_Settings", L"TForm_Statistics",
                                                       L"TForm_About"}));
    EXPECT_EQ(app_.Info(), nullptr); // on first use only
    const struct {
        Form& form;
        const wchar_t* caption;
        int width; // client size at 96 DPI
        int height;
    } forms[] = {{app_.Settings(), L"Quelmo - Settings", 322, 420},
                 {app_.Statistics(), L"Quelmo - Statistics", 241, 387},
                 {app_.About(), L"About", 337, 200}};
    EXPECT_FALSE(app_.MainForm().Visible());
    for (const auto& f : forms) {
        EXPECT_FALSE(f.form.Visible()) << f.caption;
        EXPECT_EQ(CaptionOf(f.form.Hwnd()), f.caption);
        EXPECT_EQ(::GetWindow(f.form.Hwnd(), GW_OWNER), app_.MainForm().Hwnd()) << f.caption;
        RECT client{};
        ::GetClientRect(f.form.Hwnd(), &client);
        EXPECT_EQ(client.right, f.form.Scale(f.width)) << f.caption;
        EXPECT_EQ(client.bottom, f.form.Scale(f.height)) << f.caption;
    }
}

TEST_F(AppTest, MenuShowsEachWindowCentredAndEscapeOrCloseHidesIt) {
    const HWND main = app_.MainForm().Hwnd();
    const struct {
        int command;
        const wchar_t* className;
        bool byEscape; // else the close box
        Form* (*form)(App&);
    } cases[] = {
        {ids::kMI_Settings, L"TForm_Settings", true, [](App& app) -> Form* { return &app.Settings(); }},
        {ids::kMI_Statistics, L"TForm_Statistics", false,
         [](App& app) -> Form* { return &app.Statistics(); }},
        {ids::kMI_About, L"TForm_About", true, [](App& app) -> Form* { return &app.About(); }},
        {ids::kMI_CPUInformation, L"TForm_Info", false, [](App& app) -> Form* { return app.Info(); }}};
    for (const auto& c : cases) {
        ::SendMessageW(main, WM_COMMAND, static_cast<WPARAM>(c.command), 0);
        const Form* form = c.form(app_);
        ASSERT_NE(form, nullptr) << c.className;
        const HWND shown = form->Hwnd();
        EXPECT_EQ(ClassOf(shown), c.className);
        EXPECT_NE(::IsWindowVisible(shown), FALSE) << c.className;
        RECT frame{};
        ::GetWindowRect(shown, &frame);
        EXPECT_NEAR((frame.left + frame.right) / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, 1) << c.className;
        EXPECT_NEAR((frame.top + frame.bottom) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 1) << c.className;
        if (c.byEscape) {
            MSG escape{shown, WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, {}};
            EXPECT_TRUE(app_.PreTranslateMessage(escape)) << c.className;
        } else {
            ::SendMessageW(shown, WM_CLOSE, 0, 0);
        }
        EXPECT_EQ(::IsWindowVisible(shown), FALSE) << c.className;
        EXPECT_NE(::IsWindow(main), FALSE); // only the monitor window's end ends the program
    }
    const Form& info = *app_.Info();
    EXPECT_EQ(CaptionOf(info.Hwnd()), L"CPU Information");
    RECT client{};
    ::GetClientRect(info.Hwnd(), &client);
    EXPECT_EQ(client.right, info.Scale(537));
    EXPECT_EQ(client.bottom, info.Scale(508));
}

} // namespace
} // namespace quelmo::gui
