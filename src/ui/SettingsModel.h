// The settings dialog's rules, apart from its window: which controls each tab holds with their
// captions and ranges, what the controls show when the dialog opens, and what each change writes
// into the settings and asks of the monitor window.
//
// The dialog keeps no copy of the settings: every change is written at once and applied to the
// running monitor window (SettingsMonitor). Loading the controls applies nothing: while a
// Loading() guard lives, every change handler returns at once.
#pragma once

#include "app/MyConfig.h"
#include "ui/ControlIds.h"
#include "ui/HotkeyModel.h"
#include "ui/SettingsFormTexts.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quelmo::ui {

enum class SettingsPage : std::uint8_t { General, Display, Colors, Extended };
inline constexpr int kSettingsPageCount = 4;
inline constexpr std::array<const wchar_t*, kSettingsPageCount> kSettingsPageNames = {
    texts::settings::kTabGeneral, texts::settings::kTabDisplay, texts::settings::kTabColors,
    texts::settings::kTabExtended};

// What the dialog reads from and does to the monitor window.
class SettingsMonitor {
public:
    virtual ~SettingsMonitor() = default;

    // The window's present state, which the dialog shows for these settings.
    virtual config::Color BackgroundColor() const = 0;
    virtual bool TransparencyOn() const = 0;
    virtual bool AlphaBlendOn() const = 0;
    virtual std::uint8_t AlphaBlendValue() const = 0;
    virtual int WindowWidth() const = 0;
    virtual int WindowHeight() const = 0;

    virtual void SetDisplayMemory(bool show) = 0; // stores DisplayMemory itself
    virtual void SetHideBarGraph(bool hide) = 0;
    virtual void SetAutoHideControls(bool on) = 0; // stores AutoHideControls itself
    virtual void SetAppTrayMode(bool mode) = 0;    // not at start; stores AppTrayMode itself
    virtual void SetTransparency(bool on) = 0;     // the see-through colour is the window colour
    virtual void SetAlphaBlend(bool on) = 0;
    virtual void SetAlphaBlendValue(std::uint8_t value) = 0;
    virtual void SetGraphLineWidth(bool thicker) = 0;
    virtual void SetBackgroundColor(config::Color color) = 0; // window, see-through colour, gauge
    virtual void SetSeriesColor(int series, config::Color color) = 0;
    virtual void SetBarColor(config::Color color) = 0;
    virtual void SetTextColor(config::Color color) = 0;
    // Resize the window; answer the width (height) it then has.
    virtual int SetWindowWidth(int width) = 0;
    virtual int SetWindowHeight(int height) = 0;
    // Lets the messages run that wait for the user-interface thread (a pending display step).
    virtual void RunPendingMessages() = 0;
    virtual void ClearSeries(int series) = 0;
    virtual void RegisterAppModeHotkey() = 0;
};

struct SettingsCheckBox {
    int id;
    SettingsPage page;
    const wchar_t* caption;
    std::atomic<bool>* setting; // null: "Auto run on startup", which is no setting
};

// In tab order; the group "Application Mode:" and the size group follow the boxes of their tab.
inline constexpr auto kSettingsCheckBoxes = std::to_array<SettingsCheckBox>({
    {ids::kCheckBox_AutoRun, SettingsPage::General, texts::settings::kAutoRun, nullptr},
    {ids::kCheckBox_AlwaysOnTop, SettingsPage::General, texts::settings::kAlwaysOnTop, &config::AlwaysOnTop},
    {ids::kCheckBox_DisplayMemory, SettingsPage::General, texts::settings::kDisplayMemory,
     &config::DisplayMemory},
    {ids::kCheckBox_ShowFreeMemory, SettingsPage::General, texts::settings::kShowFreeMemory,
     &config::ShowFreeMemory},
    {ids::kCheckBox_UsePhysicalMemory, SettingsPage::General, texts::settings::kUsePhysicalMemory,
     &config::UsePhysicalMemory},
    {ids::kCheckBox_MemoryAsPercentage, SettingsPage::General, texts::settings::kMemoryAsPercentage,
     &config::MemoryAsPercentage},
    {ids::kCheckBox_UpdateSpeed, SettingsPage::General, texts::settings::kUpdateSpeed, &config::UpdateSpeed},
    {ids::kCheckBox_DisplayEachCPU, SettingsPage::General, texts::settings::kDisplayEachCPU,
     &config::DisplayEachCPU},
    {ids::kCheckBox_TrayMode, SettingsPage::General, texts::settings::kTrayMode, &config::AppTrayMode},
    {ids::kCheckBox_Transparency, SettingsPage::Display, texts::settings::kTransparency,
     &config::Transparency},
    {ids::kCheckBox_AlphaBlending, SettingsPage::Display, texts::settings::kAlphaBlending,
     &config::AlphaBlend},
    {ids::kCheckBox_ThickerGraph, SettingsPage::Display, texts::settings::kThickerGraph,
     &config::ThickerGraph},
    {ids::kCheckBox_HideBarGraph, SettingsPage::Display, texts::settings::kHideBarGraph,
     &config::HideBarGraph},
    {ids::kCheckBox_AutoHideControls, SettingsPage::Display, texts::settings::kAutoHideControls,
     &config::AutoHideControls},
    {ids::kCheckBox_NumericTrayIcons, SettingsPage::Display, texts::settings::kNumericTrayIcons,
     &config::NumericTrayIcons},
    {ids::kCheckBox_HideTrayWhenVisible, SettingsPage::Display, texts::settings::kHideTrayWhenVisible,
     &config::HideTrayWhenVisible},
    {ids::kCheckBox_LockForm, SettingsPage::Display, texts::settings::kLockForm, &config::LockForm},
});

// A width or height field: an edit with arrows, at most three typed characters.
struct SettingsSpinEdit {
    int id;
    int upDownId;
    int labelId;
    const wchar_t* label;
    int minimum;
    int maximum;
    std::atomic<std::int32_t>* setting;
};
inline constexpr int kSpinEditMaxChars = 3;
inline constexpr auto kSettingsSpinEdits = std::to_array<SettingsSpinEdit>({
    {ids::kSpinEdit_MainWindowWidth, ids::kUpDown_MainWindowWidth, ids::kLabel_MainWindowWidth,
     texts::settings::kWidth, 170, 1000, &config::PosWidth},
    {ids::kSpinEdit_MainWindowHeight, ids::kUpDown_MainWindowHeight, ids::kLabel_MainWindowHeight,
     texts::settings::kHeight, 70, 1000, &config::PosHeight},
});

// A colour box. The four processor colours share one label (the first box carries it).
struct SettingsColorBox {
    int id;
    int labelId; // 0: under the label of the box before
    const wchar_t* label;
    std::atomic<config::Color>* setting;
};
inline constexpr auto kSettingsColorBoxes = std::to_array<SettingsColorBox>({
    {ids::kColorBox_BackgroundColor, ids::kLabel_BackgroundColor, texts::settings::kBackgroundColor,
     &config::BackgroundColor},
    {ids::kColorBox_GraphCPUColor1, ids::kLabel_GraphCPUColor, texts::settings::kGraphCPUColor,
     &config::GraphCPUColor1},
    {ids::kColorBox_GraphCPUColor2, 0, nullptr, &config::GraphCPUColor2},
    {ids::kColorBox_GraphCPUColor3, 0, nullptr, &config::GraphCPUColor3},
    {ids::kColorBox_GraphCPUColor4, 0, nullptr, &config::GraphCPUColor4},
    {ids::kColorBox_GraphMemoryColor, ids::kLabel_GraphMemoryColor, texts::settings::kGraphMemoryColor,
     &config::GraphMemoryColor},
    {ids::kColorBox_BarColor, ids::kLabel_BarColor, texts::settings::kBarColor, &config::BarColor},
    {ids::kColorBox_TextColor, ids::kLabel_TextColor, texts::settings::kTextColor, &config::TextColor},
});

// A track bar in its group, with the value label on its left and the unit on its right.
struct SettingsTrackBar {
    int id;
    int groupId;
    int valueLabelId;
    int unitLabelId;
    const wchar_t* group;
    const wchar_t* unit;
    const wchar_t* tip;
    int minimum;
    int maximum;
    int tick;     // a tick mark every `tick`
    int lineSize; // arrow keys
    int pageSize; // Page Up / Page Down and clicks beside the thumb: one tick
};
inline constexpr auto kSettingsTrackBars = std::to_array<SettingsTrackBar>({
    {ids::kTrackBar_Rate, ids::kGroupBox_Rate, ids::kLabel_Rate, ids::kLabel_RateUnit,
     texts::settings::kGroupRate, texts::settings::kUnitRate, texts::settings::kTipRate, 100, 2000, 50, 10,
     50},
    {ids::kTrackBar_GraphLength, ids::kGroupBox_GraphLength, ids::kLabel_GraphLength,
     ids::kLabel_GraphLengthUnit, texts::settings::kGroupGraphLength, texts::settings::kUnitGraphLength,
     texts::settings::kTipGraphLength, 10, 100, 5, 1, 5},
    {ids::kTrackBar_AlphaBlending, ids::kGroupBox_AlphaBlending, ids::kLabel_AlphaBlending,
     ids::kLabel_AlphaBlendingUnit, texts::settings::kGroupAlphaBlending, texts::settings::kUnitAlphaBlending,
     texts::settings::kTipAlphaBlending, 50, 255, 16, 1, 16},
});

// What every control shows when the dialog opens, in the order of the tables above.
struct SettingsValues {
    std::array<bool, kSettingsCheckBoxes.size()> checks{};
    std::uint16_t hotkey = 0; // the hot-key control's value: key in the low byte, its flags above
    std::array<int, kSettingsSpinEdits.size()> sizes{};
    std::array<config::Color, kSettingsColorBoxes.size()> colors{};
    std::array<int, kSettingsTrackBars.size()> positions{};
};

// The size a width or height text asks for: nothing while it is empty (still being typed) or out
// of range; a text that is no number reads as the minimum.
std::optional<int> SizeToApply(std::wstring_view text, int minimum, int maximum);

// A track bar's value label: the position in decimal.
std::wstring TrackBarLabel(int position);

// The warning shown when start with Windows could not be changed, around the system's reason.
std::wstring AutoRunFailedText(std::wstring_view reason);

class SettingsModel {
public:
    explicit SettingsModel(SettingsMonitor& monitor) : monitor_(monitor) {}

    // The controls' contents; reads, applies nothing.
    SettingsValues Load() const;

    // While it lives, the change handlers below do nothing (the dialog is filling its controls).
    class LoadGuard {
    public:
        explicit LoadGuard(SettingsModel& model) : model_(model), was_(model.loading_) {
            model_.loading_ = true;
        }
        ~LoadGuard() { model_.loading_ = was_; }
        LoadGuard(const LoadGuard&) = delete;
        LoadGuard& operator=(const LoadGuard&) = delete;
        LoadGuard(LoadGuard&&) = delete;
        LoadGuard& operator=(LoadGuard&&) = delete;

    private:
        SettingsModel& model_;
        bool was_;
    };
    [[nodiscard]] bool Loading() const { return loading_; }

    // A check box of kSettingsCheckBoxes changed to `checked`. "Auto run on startup" answers the
    // state its box must show then (the real registration), the others answer `checked`.
    bool CheckBoxClick(int id, bool checked);
    // The hot-key control's new value; stored, registered only when the dialog hides.
    void HotKey_FastSwitchAppModeChange(std::uint16_t controlValue);
    // A width or height field's text changed.
    void SpinEditChange(int id, std::wstring_view text);
    // What a width or height field shows once the user leaves it: the size the window has.
    std::wstring SpinEditText(int id) const;
    // A track bar moved; answers its value label.
    std::wstring TrackBarChange(int id, int position);
    // A colour box's colour changed.
    void ColorBoxChange(int id, config::Color color);
    // The dialog was hidden: the hot key is registered from the settings anew.
    void FormHide();

private:
    bool CheckBox_AutoRunClick(bool checked);
    void CheckBox_DisplayEachCPUClick(bool checked);

    SettingsMonitor& monitor_;
    bool loading_ = false;
};

} // namespace quelmo::ui
