// The settings store and the start-up shell's operations.
//
// Every setting is one process-wide value named by its INI key, starting at its default. The user
// interface thread writes them; the sampling threads read some of them at any time, so each is an
// atomic of the stored width and a reader sees either the old or the new value. There is no change
// notification: whoever changes a value applies its effect.
#pragma once

#include "platform/Registry.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace quelmo::config {

// Colours are 0x00BBGGRR values (red in the low byte).
using Color = std::int32_t;

// Section "General".
inline std::atomic<bool> FirstLaunch{true};
inline std::atomic<bool> AlwaysOnTop{true};
inline std::atomic<std::uint16_t> Rate{500};       // milliseconds between samples
inline std::atomic<std::uint16_t> GraphLength{80}; // points kept per graph series
inline std::atomic<bool> AlphaBlend{true};
inline std::atomic<std::uint8_t> AlphaBlendValue{200};
inline std::atomic<bool> Transparency{true};
inline std::atomic<bool> ThickerGraph{true};
inline std::atomic<bool> LockForm{false};
inline std::atomic<bool> UpdateSpeed{true};
inline std::atomic<bool> DisplayMemory{true};
inline std::atomic<bool> MemoryAsPercentage{true};
inline std::atomic<bool> NumericTrayIcons{false};
inline std::atomic<bool> HideTrayWhenVisible{false};
inline std::atomic<bool> AutoHideControls{true};
inline std::atomic<bool> HideBarGraph{false};
inline std::atomic<bool> ShowFreeMemory{false};
inline std::atomic<bool> UsePhysicalMemory{true};
inline std::atomic<bool> DisplayEachCPU{false};
inline std::atomic<bool> AppTrayMode{false};
inline std::atomic<std::int32_t> AppModeHotkey{122};        // virtual key (F11); 0 = none
inline std::atomic<std::int32_t> AppModeHotkeyModifiers{3}; // 1 Alt, 2 Ctrl, 4 Shift, 8 Win

// Section "Location".
inline std::atomic<std::int32_t> PosX{0};
inline std::atomic<std::int32_t> PosY{0};
inline std::atomic<std::int32_t> PosWidth{250};
inline std::atomic<std::int32_t> PosHeight{105};

// Section "Colors".
inline std::atomic<Color> BackgroundColor{16777215}; // white
inline std::atomic<Color> GraphCPUColor1{8388608};   // navy
inline std::atomic<Color> GraphCPUColor2{8388608};
inline std::atomic<Color> GraphCPUColor3{8388608};
inline std::atomic<Color> GraphCPUColor4{8388608};
inline std::atomic<Color> GraphMemoryColor{15780518}; // sky blue
inline std::atomic<Color> BarColor{8388608};
inline std::atomic<Color> TextColor{0}; // black

// Every setting: its section and key in the file and the value it is loaded into, whose type gives
// its width (bool, 8, 16 or 32 bits). In the order the file is written; reading follows it too, as
// each key is read on its own and a read cannot fail half-way once the file is parsed.
using SettingValue = std::variant<std::atomic<bool>*, std::atomic<std::uint8_t>*, std::atomic<std::uint16_t>*,
                                  std::atomic<std::int32_t>*>;
struct Setting {
    std::string_view section;
    std::string_view key;
    SettingValue value;
};
inline constexpr std::string_view kGeneral = "General";
inline constexpr std::string_view kLocation = "Location";
inline constexpr std::string_view kColors = "Colors";
inline constexpr auto kSettings = std::to_array<Setting>({
    {kGeneral, "FirstLaunch", &FirstLaunch},
    {kGeneral, "AlwaysOnTop", &AlwaysOnTop},
    {kGeneral, "Rate", &Rate},
    {kGeneral, "GraphLength", &GraphLength},
    {kGeneral, "AlphaBlend", &AlphaBlend},
    {kGeneral, "AlphaBlendValue", &AlphaBlendValue},
    {kGeneral, "Transparency", &Transparency},
    {kGeneral, "ThickerGraph", &ThickerGraph},
    {kGeneral, "LockForm", &LockForm},
    {kGeneral, "UpdateSpeed", &UpdateSpeed},
    {kGeneral, "DisplayMemory", &DisplayMemory},
    {kGeneral, "MemoryAsPercentage", &MemoryAsPercentage},
    {kGeneral, "HideBarGraph", &HideBarGraph},
    {kGeneral, "NumericTrayIcons", &NumericTrayIcons},
    {kGeneral, "HideTrayWhenVisible", &HideTrayWhenVisible},
    {kGeneral, "AutoHideControls", &AutoHideControls},
    {kGeneral, "ShowFreeMemory", &ShowFreeMemory},
    {kGeneral, "UsePhysicalMemory", &UsePhysicalMemory},
    {kGeneral, "DisplayEachCPU", &DisplayEachCPU},
    {kGeneral, "AppTrayMode", &AppTrayMode},
    {kGeneral, "AppModeHotkey", &AppModeHotkey},
    {kGeneral, "AppModeHotkeyModifiers", &AppModeHotkeyModifiers},
    {kLocation, "PosX", &PosX},
    {kLocation, "PosY", &PosY},
    {kLocation, "PosWidth", &PosWidth},
    {kLocation, "PosHeight", &PosHeight},
    {kColors, "BackgroundColor", &BackgroundColor},
    {kColors, "GraphCPUColor1", &GraphCPUColor1},
    {kColors, "GraphCPUColor2", &GraphCPUColor2},
    {kColors, "GraphCPUColor3", &GraphCPUColor3},
    {kColors, "GraphCPUColor4", &GraphCPUColor4},
    {kColors, "GraphMemoryColor", &GraphMemoryColor},
    {kColors, "BarColor", &BarColor},
    {kColors, "TextColor", &TextColor},
});

// Passed to every FormatThousands call: fixed, never the user's locale. (The shell's run-time state,
// IniFileName and the flags, is in app/ShellState.h.)
inline constexpr char ThousandsSeparator = ',';

inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRelease = 2;

// Unit initialisation: shell::IniFileName from the running executable. Called first thing at start-up.
void InitializeConfig();
// `executablePath` with the extension of its file name replaced by ".ini" (appended when none).
std::wstring IniFileNameFor(std::wstring_view executablePath);

// Reads the settings file; a missing or unreadable file leaves the values as they are.
void LoadSettings();
// Writes every setting into the file, keeping what else it holds; only the first call in a
// process writes, and failures are silent.
void SaveSettings();
// Every setting back to its default and the shell state as at process start, except the mutex
// handle (tests use this between cases).
void ResetConfig();

// A registry failure, with the system's message for it.
class ERegistryError : public std::runtime_error {
public:
    ERegistryError(platform::RegStatus status, std::wstring message);
    platform::RegStatus Status() const { return status_; }
    const std::wstring& Message() const { return message_; }

private:
    platform::RegStatus status_;
    std::wstring message_;
};

// Opens the named mutex, or creates it. True when another process had it already, or when it could
// neither be opened nor created. Start-up stores the answer in shell::InstanceRunning.
bool CheckInstanceMutex(std::wstring_view name);
// Acts on "/install" or "/uninstall" as the first parameter. Returns the exit code when the
// process must end now, nullopt when start-up goes on.
std::optional<int> HandleCommandLine();
// Asks whether to start with Windows and registers on Yes. Returns the exit code: 1 when the
// registration failed (the user has been shown why), else 0.
int InstallAutoRun();
// Removes the registration, then warns when another copy is running.
void UninstallAutoRun();
// Whether the machine-wide Run value names this executable (with or without one pair of quotes,
// letter case aside). Any failure reads as false.
bool IsAutoRunEnabled();
// Writes the Run value (the path quoted when it holds a blank) or deletes it. Writing throws
// ERegistryError when the key cannot be created or the value not written; deleting never fails.
void SetAutoRun(bool enable);

// "2.0.2 Beta".
std::wstring VersionText();
std::chrono::year_month_day BuildDate();

} // namespace quelmo::config
