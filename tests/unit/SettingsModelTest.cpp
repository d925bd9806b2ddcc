// The settings dialog's rules: what each change writes and asks of the monitor window, what the
// controls show when the dialog opens, the size fields' text rules, the hot key, auto run.
#include "ui/SettingsModel.h"

#include "app/ShellTexts.h"
#include "fakes/ShellFakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quelmo::ui {
namespace {

using Calls = std::vector<std::string>;

// Records every operation; answers a window state the test sets.
class RecordingMonitor final : public SettingsMonitor {
public:
    config::Color background = 0x123456;
    bool transparency = false;
    bool alphaBlend = true;
    std::uint8_t alphaValue = 99;
    int width = 300;
    int height = 120;
    Calls calls;

    config::Color BackgroundColor() const override { return background; }
    bool TransparencyOn() const override { return transparency; }
    bool AlphaBlendOn() const override { return alphaBlend; }
    std::uint8_t AlphaBlendValue() const override { return alphaValue; }
    int WindowWidth() const override { return width; }
    int WindowHeight() const override { return height; }

    void SetDisplayMemory(bool show) override { Call("SetDisplayMemory", show); }
    void SetHideBarGraph(bool hide) override { Call("SetHideBarGraph", hide); }
    void SetAutoHideControls(bool on) override { Call("SetAutoHideControls", on); }
    void SetAppTrayMode(bool mode) override { Call("SetAppTrayMode", mode); }
    void SetTransparency(bool on) override { Call("SetTransparency", on); }
    void SetAlphaBlend(bool on) override { Call("SetAlphaBlend", on); }
    void SetAlphaBlendValue(std::uint8_t value) override { Call("SetAlphaBlendValue", value); }
    void SetGraphLineWidth(bool thicker) override { Call("SetGraphLineWidth", thicker); }
    void SetBackgroundColor(config::Color color) override { Call("SetBackgroundColor", color); }
    void SetSeriesColor(int series, config::Color color) override {
        Call("SetSeriesColor" + std::to_string(series), color);
    }
    void SetBarColor(config::Color color) override { Call("SetBarColor", color); }
    void SetTextColor(config::Color color) override { Call("SetTextColor", color); }
    // The window is 1 pixel narrower than asked, so the stored size is visibly the window's.
    int SetWindowWidth(int w) override { return Call("SetWindowWidth", w), width = w - 1; }
    int SetWindowHeight(int h) override { return Call("SetWindowHeight", h), height = h - 1; }
    void RunPendingMessages() override { calls.emplace_back("RunPendingMessages"); }
    void ClearSeries(int series) override { Call("ClearSeries", series); }
    void RegisterAppModeHotkey() override { calls.emplace_back("RegisterAppModeHotkey"); }

private:
    void Call(const std::string& name, long long value) {
        calls.push_back(name + "(" + std::to_string(value) + ")");
    }
};

class SettingsModelTest : public ::testing::Test {
protected:
    fakes::ShellFakes shell_;
    RecordingMonitor monitor_;
    SettingsModel model_{monitor_};
};

TEST_F(SettingsModelTest, EachCheckBoxStoresItsSettingAndCallsItsOperation) {
    const struct {
        int id;
        std::atomic<bool>* stored; // null: the operation stores it (the fake does not)
        Calls calls;
    } cases[] = {
        {ids::kCheckBox_AlwaysOnTop, &config::AlwaysOnTop, {}},
        {ids::kCheckBox_DisplayMemory, nullptr, {"SetDisplayMemory(1)"}},
        {ids::kCheckBox_ShowFreeMemory, &config::ShowFreeMemory, {}},
        {ids::kCheckBox_UsePhysicalMemory, &config::UsePhysicalMemory, {}},
        {ids::kCheckBox_MemoryAsPercentage, &config::MemoryAsPercentage, {}},
        {ids::kCheckBox_UpdateSpeed, &config::UpdateSpeed, {}},
        {ids::kCheckBox_DisplayEachCPU, &config::DisplayEachCPU, {}},
        {ids::kCheckBox_TrayMode, nullptr, {"SetAppTrayMode(1)"}},
        {ids::kCheckBox_Transparency, &config::Transparency, {"SetTransparency(1)"}},
        {ids::kCheckBox_AlphaBlending, &config::AlphaBlend, {"SetAlphaBlend(1)"}},
        {ids::kCheckBox_ThickerGraph, &config::ThickerGraph, {"SetGraphLineWidth(1)"}},
        {ids::kCheckBox_HideBarGraph, &config::HideBarGraph, {"SetHideBarGraph(1)"}},
        {ids::kCheckBox_AutoHideControls, nullptr, {"SetAutoHideControls(1)"}},
        {ids::kCheckBox_NumericTrayIcons, &config::NumericTrayIcons, {}},
        // The icon follows at once: the mode is set again as it is (window mode here).
        {ids::kCheckBox_HideTrayWhenVisible, &config::HideTrayWhenVisible, {"SetAppTrayMode(0)"}},
        {ids::kCheckBox_LockForm, &config::LockForm, {}},
    };
    for (const auto& c : cases) {
        for (const bool checked : {true, false}) {
            monitor_.calls.clear();
            if (c.stored != nullptr) {
                c.stored->store(!checked);
            }
            EXPECT_EQ(model_.CheckBoxClick(c.id, checked), checked) << c.id;
            if (c.stored != nullptr) {
                EXPECT_EQ(c.stored->load(), checked) << c.id;
            }
            if (checked) {
                EXPECT_EQ(monitor_.calls, c.calls) << c.id;
            }
        }
    }
}

TEST_F(SettingsModelTest, DisplayEachCpuOffRunsThePendingStepThenClearsProcessorsTwoToFour) {
    model_.CheckBoxClick(ids::kCheckBox_DisplayEachCPU, false);
    EXPECT_EQ(monitor_.calls,
              (Calls{"RunPendingMessages", "ClearSeries(2)", "ClearSeries(3)", "ClearSeries(4)"}));
}

TEST_F(SettingsModelTest, ColorsTrackBarsAndHideReachTheirSettingAndOperation) {
    const struct {
        int id;
        std::atomic<config::Color>* stored;
        std::string call;
    } colors[] = {
        {ids::kColorBox_BackgroundColor, &config::BackgroundColor, "SetBackgroundColor(255)"},
        {ids::kColorBox_GraphCPUColor1, &config::GraphCPUColor1, "SetSeriesColor1(255)"},
        {ids::kColorBox_GraphCPUColor2, &config::GraphCPUColor2, "SetSeriesColor2(255)"},
        {ids::kColorBox_GraphCPUColor3, &config::GraphCPUColor3, "SetSeriesColor3(255)"},
        {ids::kColorBox_GraphCPUColor4, &config::GraphCPUColor4, "SetSeriesColor4(255)"},
        {ids::kColorBox_GraphMemoryColor, &config::GraphMemoryColor, "SetSeriesColor0(255)"},
        {ids::kColorBox_BarColor, &config::BarColor, "SetBarColor(255)"},
        {ids::kColorBox_TextColor, &config::TextColor, "SetTextColor(255)"},
    };
    for (const auto& c : colors) {
        monitor_.calls.clear();
        model_.ColorBoxChange(c.id, 255);
        EXPECT_EQ(c.stored->load(), 255) << c.id;
        EXPECT_EQ(monitor_.calls, Calls{c.call}) << c.id;
    }

    // Each track bar's label reads its position; only opacity reaches the window at once.
    monitor_.calls.clear();
    EXPECT_EQ(model_.TrackBarChange(ids::kTrackBar_Rate, 1000), L"1000");
    EXPECT_EQ(config::Rate.load(), 1000);
    EXPECT_EQ(model_.TrackBarChange(ids::kTrackBar_GraphLength, 10), L"10");
    EXPECT_EQ(config::GraphLength.load(), 10);
    EXPECT_TRUE(monitor_.calls.empty());
    EXPECT_EQ(model_.TrackBarChange(ids::kTrackBar_AlphaBlending, 255), L"255");
    EXPECT_EQ(config::AlphaBlendValue.load(), 255);
    EXPECT_EQ(monitor_.calls, Calls{"SetAlphaBlendValue(255)"});

    // The hot key is stored while the dialog is open and registered when it hides.
    monitor_.calls.clear();
    model_.HotKey_FastSwitchAppModeChange(0x037A); // Ctrl+Shift+F11
    EXPECT_EQ(config::AppModeHotkey.load(), 122);
    EXPECT_EQ(config::AppModeHotkeyModifiers.load(), 6);
    EXPECT_TRUE(monitor_.calls.empty());
    model_.FormHide();
    EXPECT_EQ(monitor_.calls, Calls{"RegisterAppModeHotkey"});
}

TEST_F(SettingsModelTest, LoadingShowsWindowStateAndSettingsAndAppliesNothing) {
    config::Transparency = true; // the window's state wins for these
    config::AlphaBlend = false;
    config::Rate = 750;
    config::TextColor = 0x00FF00;
    config::AppModeHotkey = 0x24; // Ctrl+Alt+Home, saved by an older version with the Windows key
    config::AppModeHotkeyModifiers = 3 | 8;
    shell_.registry.SetString(platform::RegRoot::LocalMachine, texts::kRunKey, texts::kRunValue,
                              shell_.process.executablePath);

    const SettingsValues values = model_.Load();
    const auto check = [&](int id) {
        return values.checks[static_cast<std::size_t>(
            std::ranges::find(kSettingsCheckBoxes, id, &SettingsCheckBox::id) - kSettingsCheckBoxes.begin())];
    };
    EXPECT_TRUE(check(ids::kCheckBox_AutoRun));
    EXPECT_FALSE(check(ids::kCheckBox_Transparency));
    EXPECT_TRUE(check(ids::kCheckBox_AlphaBlending));
    EXPECT_TRUE(check(ids::kCheckBox_ThickerGraph));
    EXPECT_EQ(values.hotkey, 0x0E24); // Ctrl, Alt and the extended-key flag
    EXPECT_EQ(values.sizes, (std::array<int, 2>{300, 120}));
    EXPECT_EQ(values.colors[0], 0x123456);
    EXPECT_EQ(values.colors[7], 0x00FF00);
    EXPECT_EQ(values.positions, (std::array<int, 3>{750, 80, 99}));

    // While the controls are filled, their handlers write and call nothing.
    const SettingsModel::LoadGuard guard(model_);
    for (const SettingsCheckBox& box : kSettingsCheckBoxes) {
        model_.CheckBoxClick(box.id, false);
    }
    model_.SpinEditChange(ids::kSpinEdit_MainWindowWidth, L"250");
    model_.ColorBoxChange(ids::kColorBox_BackgroundColor, 0);
    model_.HotKey_FastSwitchAppModeChange(0);
    EXPECT_EQ(model_.TrackBarChange(ids::kTrackBar_Rate, 100), L"100"); // the label still follows
    EXPECT_TRUE(monitor_.calls.empty());
    EXPECT_TRUE(shell_.registry.HasValue(platform::RegRoot::LocalMachine, texts::kRunKey, texts::kRunValue));
    EXPECT_EQ(config::Rate.load(), 750);
    EXPECT_TRUE(config::ThickerGraph.load());
    EXPECT_EQ(config::AppModeHotkey.load(), 0x24);
    EXPECT_EQ(config::BackgroundColor.load(), 16777215);
}

TEST_F(SettingsModelTest, SizeFieldsApplyOnlyWholeTextsInRange) {
    const struct {
        int id;
        std::wstring_view text;
        std::optional<int> applied;
    } cases[] = {
        {ids::kSpinEdit_MainWindowWidth, L"", std::nullopt},     // still typing
        {ids::kSpinEdit_MainWindowWidth, L"2", std::nullopt},    // below 170
        {ids::kSpinEdit_MainWindowWidth, L"250", 250},           //
        {ids::kSpinEdit_MainWindowWidth, L"-", 170},             // no number: the minimum
        {ids::kSpinEdit_MainWindowWidth, L"1.5", 170},           //
        {ids::kSpinEdit_MainWindowWidth, L"1001", std::nullopt}, // above 1000
        {ids::kSpinEdit_MainWindowWidth, L"+999", 999},          //
        {ids::kSpinEdit_MainWindowHeight, L"", std::nullopt},    //
        {ids::kSpinEdit_MainWindowHeight, L"2", std::nullopt},   // below 70
        {ids::kSpinEdit_MainWindowHeight, L"70", 70},            //
        {ids::kSpinEdit_MainWindowHeight, L"-", 70},             //
        {ids::kSpinEdit_MainWindowHeight, L"1001", std::nullopt},
    };
    for (const auto& c : cases) {
        monitor_.calls.clear();
        config::PosWidth = 1;
        config::PosHeight = 1;
        model_.SpinEditChange(c.id, c.text);
        const bool width = c.id == ids::kSpinEdit_MainWindowWidth;
        const std::string name = width ? "SetWindowWidth" : "SetWindowHeight";
        if (c.applied) {
            EXPECT_EQ(monitor_.calls, Calls{name + "(" + std::to_string(*c.applied) + ")"}) << c.id;
            // The window's resulting size is stored, and shown once the user leaves the field.
            EXPECT_EQ((width ? config::PosWidth : config::PosHeight).load(), *c.applied - 1);
            EXPECT_EQ(model_.SpinEditText(c.id), std::to_wstring(*c.applied - 1));
        } else {
            EXPECT_TRUE(monitor_.calls.empty()) << c.id;
            EXPECT_EQ((width ? config::PosWidth : config::PosHeight).load(), 1);
        }
    }
}

TEST_F(SettingsModelTest, AutoRunFailureWarnsWithTheSystemsReasonAndShowsTheRealState) {
    shell_.registry.RefuseWrite(platform::RegRoot::LocalMachine, texts::kRunKey);
    EXPECT_FALSE(model_.CheckBoxClick(ids::kCheckBox_AutoRun, true));
    ASSERT_EQ(shell_.process.shown.size(), 1u);
    EXPECT_EQ(shell_.process.shown[0].text,
              L"Failed to apply system settings.\r\rError: Access is denied.\r\r"
              L"(Try to start the program as administrator to apply these settings)");
    EXPECT_EQ(shell_.process.shown[0].kind, platform::MessageKind::Warning);
    EXPECT_EQ(shell_.process.shown[0].buttons, platform::MessageButtons::Ok);

    shell_.registry.RefuseWrite(platform::RegRoot::LocalMachine, texts::kRunKey, false);
    EXPECT_TRUE(model_.CheckBoxClick(ids::kCheckBox_AutoRun, true));
    EXPECT_FALSE(model_.CheckBoxClick(ids::kCheckBox_AutoRun, false));
    EXPECT_EQ(shell_.process.shown.size(), 1u);
}

} // namespace
} // namespace quelmo::ui
