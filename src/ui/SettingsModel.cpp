#include "ui/SettingsModel.h"

#include "app/ShellTexts.h"
#include "platform/Process.h"
#include "widgets/SpinEditModel.h"

#include <algorithm>

namespace quelmo::ui {

namespace {

template <class Table>
auto FindById(const Table& table, int id) -> decltype(&table[0]) {
    const auto found = std::ranges::find(table, id, &Table::value_type::id);
    return found == table.end() ? nullptr : &*found;
}

template <class Table>
std::size_t IndexOf(const Table& table, int id) {
    return static_cast<std::size_t>(std::ranges::find(table, id, &Table::value_type::id) - table.begin());
}

} // namespace

std::optional<int> SizeToApply(std::wstring_view text, int minimum, int maximum) {
    if (text.empty()) {
        return std::nullopt;
    }
    const int value = widgets::SpinEditValue(text, minimum);
    if (value < minimum || value > maximum) {
        return std::nullopt;
    }
    return value;
}

std::wstring TrackBarLabel(int position) {
    return std::to_wstring(position);
}

std::wstring AutoRunFailedText(std::wstring_view reason) {
    std::wstring text(texts::settings::kAutoRunFailed);
    text.append(L"\r\r").append(texts::settings::kAutoRunError).append(L": ").append(reason);
    text.append(L"\r\r").append(texts::settings::kAutoRunAdvice);
    return text;
}

SettingsValues SettingsModel::Load() const {
    SettingsValues values;
    for (std::size_t i = 0; i < kSettingsCheckBoxes.size(); ++i) {
        const SettingsCheckBox& box = kSettingsCheckBoxes[i];
        switch (box.id) {
        case ids::kCheckBox_AutoRun:
            values.checks[i] = config::IsAutoRunEnabled();
            break;
        case ids::kCheckBox_Transparency:
            values.checks[i] = monitor_.TransparencyOn();
            break;
        case ids::kCheckBox_AlphaBlending:
            values.checks[i] = monitor_.AlphaBlendOn();
            break;
        default:
            values.checks[i] = box.setting->load();
            break;
        }
    }
    values.hotkey = ToHotkeyControl({config::AppModeHotkey, config::AppModeHotkeyModifiers});
    values.sizes = {monitor_.WindowWidth(), monitor_.WindowHeight()};
    for (std::size_t i = 0; i < kSettingsColorBoxes.size(); ++i) {
        values.colors[i] = kSettingsColorBoxes[i].id == ids::kColorBox_BackgroundColor
                               ? monitor_.BackgroundColor()
                               : kSettingsColorBoxes[i].setting->load();
    }
    values.positions = {config::Rate.load(), config::GraphLength.load(), monitor_.AlphaBlendValue()};
    return values;
}

bool SettingsModel::CheckBoxClick(int id, bool checked) {
    const SettingsCheckBox* box = FindById(kSettingsCheckBoxes, id);
    if (loading_ || box == nullptr) {
        return checked;
    }
    switch (id) {
    case ids::kCheckBox_AutoRun:
        return CheckBox_AutoRunClick(checked);
    case ids::kCheckBox_DisplayMemory:
        monitor_.SetDisplayMemory(checked);
        break;
    case ids::kCheckBox_DisplayEachCPU:
        CheckBox_DisplayEachCPUClick(checked);
        break;
    case ids::kCheckBox_TrayMode:
        monitor_.SetAppTrayMode(checked);
        break;
    case ids::kCheckBox_Transparency:
        config::Transparency = checked;
        monitor_.SetTransparency(checked);
        break;
    case ids::kCheckBox_AlphaBlending:
        config::AlphaBlend = checked;
        monitor_.SetAlphaBlend(checked);
        break;
    case ids::kCheckBox_ThickerGraph:
        config::ThickerGraph = checked;
        monitor_.SetGraphLineWidth(checked);
        break;
    case ids::kCheckBox_HideBarGraph:
        config::HideBarGraph = checked;
        monitor_.SetHideBarGraph(checked);
        break;
    case ids::kCheckBox_AutoHideControls:
        monitor_.SetAutoHideControls(checked);
        break;
    case ids::kCheckBox_HideTrayWhenVisible:
        config::HideTrayWhenVisible = checked;
        // In window mode the icon follows the new setting at once.
        monitor_.SetAppTrayMode(config::AppTrayMode);
        break;
    default: // the settings that only take effect where they are read
        box->setting->store(checked);
        break;
    }
    return checked;
}

bool SettingsModel::CheckBox_AutoRunClick(bool checked) {
    try {
        config::SetAutoRun(checked);
    } catch (const config::ERegistryError& error) {
        platform::TheProcess().ShowMessage(texts::kAppTitle, AutoRunFailedText(error.Message()),
                                           platform::MessageKind::Warning, platform::MessageButtons::Ok);
    }
    // The box shows the registration as it really is, whatever happened.
    return config::IsAutoRunEnabled();
}

void SettingsModel::CheckBox_DisplayEachCPUClick(bool checked) {
    config::DisplayEachCPU = checked;
    if (checked) {
        return; // the next sample draws the processors
    }
    // A display step already waiting would otherwise add its points after the lines are cleared.
    monitor_.RunPendingMessages();
    for (const int series : {2, 3, 4}) {
        monitor_.ClearSeries(series);
    }
}

void SettingsModel::HotKey_FastSwitchAppModeChange(std::uint16_t controlValue) {
    if (loading_) {
        return;
    }
    const AppModeHotkey hotkey = FromHotkeyControl(controlValue);
    config::AppModeHotkey = hotkey.key;
    config::AppModeHotkeyModifiers = hotkey.modifiers;
}

void SettingsModel::SpinEditChange(int id, std::wstring_view text) {
    const SettingsSpinEdit* edit = FindById(kSettingsSpinEdits, id);
    if (loading_ || edit == nullptr) {
        return;
    }
    const std::optional<int> size = SizeToApply(text, edit->minimum, edit->maximum);
    if (!size) {
        return;
    }
    edit->setting->store(id == ids::kSpinEdit_MainWindowWidth ? monitor_.SetWindowWidth(*size)
                                                              : monitor_.SetWindowHeight(*size));
}

std::wstring SettingsModel::SpinEditText(int id) const {
    return std::to_wstring(id == ids::kSpinEdit_MainWindowWidth ? monitor_.WindowWidth()
                                                                : monitor_.WindowHeight());
}

std::wstring SettingsModel::TrackBarChange(int id, int position) {
    const SettingsTrackBar* bar = FindById(kSettingsTrackBars, id);
    if (bar == nullptr) {
        return {};
    }
    if (!loading_) {
        const int value = std::clamp(position, bar->minimum, bar->maximum);
        switch (id) {
        case ids::kTrackBar_Rate: // the sampling thread takes it at its next cycle
            config::Rate = static_cast<std::uint16_t>(value);
            break;
        case ids::kTrackBar_GraphLength:
            config::GraphLength = static_cast<std::uint16_t>(value);
            break;
        default:
            config::AlphaBlendValue = static_cast<std::uint8_t>(value);
            monitor_.SetAlphaBlendValue(static_cast<std::uint8_t>(value));
            break;
        }
    }
    return TrackBarLabel(position);
}

void SettingsModel::ColorBoxChange(int id, config::Color color) {
    const SettingsColorBox* box = FindById(kSettingsColorBoxes, id);
    if (loading_ || box == nullptr) {
        return;
    }
    box->setting->store(color);
    switch (id) {
    case ids::kColorBox_BackgroundColor:
        monitor_.SetBackgroundColor(color);
        break;
    case ids::kColorBox_GraphMemoryColor:
        monitor_.SetSeriesColor(0, color);
        break;
    case ids::kColorBox_BarColor:
        monitor_.SetBarColor(color);
        break;
    case ids::kColorBox_TextColor:
        monitor_.SetTextColor(color);
        break;
    default: // the four processor lines are series 1 to 4
        monitor_.SetSeriesColor(static_cast<int>(IndexOf(kSettingsColorBoxes, id)), color);
        break;
    }
}

void SettingsModel::FormHide() {
    monitor_.RegisterAppModeHotkey();
}

} // namespace quelmo::ui
