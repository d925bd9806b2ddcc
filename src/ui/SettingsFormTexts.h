// Every text of the settings dialog that a user reads. An "&" marks the letter that Alt plus that
// letter reaches (no two alike on one tab); it is not shown.
#pragma once

#include <string_view>

namespace quelmo::texts::settings {

inline constexpr wchar_t kCaption[] = L"Quelmo - Settings";
inline constexpr wchar_t kHint[] = L"Any changes will have a real-time effect!";

// The tabs.
inline constexpr wchar_t kTabGeneral[] = L"General";
inline constexpr wchar_t kTabDisplay[] = L"Display";
inline constexpr wchar_t kTabColors[] = L"Colors";
inline constexpr wchar_t kTabExtended[] = L"Extended";

// "General"
inline constexpr wchar_t kAutoRun[] = L"&Auto run on startup";
inline constexpr wchar_t kAlwaysOnTop[] = L"Always on &top (requires a restart)";
inline constexpr wchar_t kDisplayMemory[] = L"&Display memory usage";
inline constexpr wchar_t kShowFreeMemory[] = L"Show &free memory, instead of used";
inline constexpr wchar_t kUsePhysicalMemory[] = L"Show &physical memory, instead of virtual";
inline constexpr wchar_t kMemoryAsPercentage[] = L"Show memory usage as per&centage";
inline constexpr wchar_t kUpdateSpeed[] = L"&Update processor speed continuously ";
inline constexpr wchar_t kDisplayEachCPU[] = L"Display &each processor/core separately";
inline constexpr wchar_t kGroupAppMode[] = L"Application Mode:";
inline constexpr wchar_t kTrayMode[] = L"T&ray mode";
inline constexpr wchar_t kFastSwitchHotkey[] = L"Fast switch &Hotkey:";

// "Display"
inline constexpr wchar_t kTransparency[] = L"&Transparency";
inline constexpr wchar_t kAlphaBlending[] = L"&Alpha-blending";
inline constexpr wchar_t kThickerGraph[] = L"Thic&ker graph lines";
inline constexpr wchar_t kHideBarGraph[] = L"Hide &bar graph";
inline constexpr wchar_t kAutoHideControls[] = L"Hide &control buttons when inactive";
inline constexpr wchar_t kNumericTrayIcons[] = L"&Numeric tray icons";
inline constexpr wchar_t kHideTrayWhenVisible[] = L"Hide tray &icon when main window is visible";
inline constexpr wchar_t kLockForm[] = L"&Lock main window";
inline constexpr wchar_t kGroupMainWindowSize[] = L"Main Window Size:";
inline constexpr wchar_t kWidth[] = L"&Width:";
inline constexpr wchar_t kHeight[] = L"&Height:";

// "Colors"
inline constexpr wchar_t kBackgroundColor[] = L"&Background Color:";
inline constexpr wchar_t kGraphCPUColor[] = L"Graph &CPU Color:";
inline constexpr wchar_t kGraphMemoryColor[] = L"Graph &Memory Color:";
inline constexpr wchar_t kBarColor[] = L"Ba&r Color:";
inline constexpr wchar_t kTextColor[] = L"&Text Color:";

// "Extended"
inline constexpr wchar_t kGroupRate[] = L"Update &Rate:";
inline constexpr wchar_t kGroupGraphLength[] = L"&Graph Length:";
inline constexpr wchar_t kGroupAlphaBlending[] = L"&Alpha-blending:";
inline constexpr wchar_t kUnitRate[] = L"(milliseconds)";
inline constexpr wchar_t kUnitGraphLength[] = L"(points)";
inline constexpr wchar_t kUnitAlphaBlending[] = L"(value)";

// Tool tips.
inline constexpr wchar_t kTipHotkey[] = L"Press the keys that switch between the window and the tray icon "
                                        L"(Backspace: none). The new keys work once this window is closed.";
inline constexpr wchar_t kTipWidth[] = L"Width of the main window in pixels, 170 to 1000";
inline constexpr wchar_t kTipHeight[] = L"Height of the main window in pixels, 70 to 1000";
inline constexpr wchar_t kTipRate[] = L"Time between two samples";
inline constexpr wchar_t kTipGraphLength[] = L"Points each graph line keeps";
inline constexpr wchar_t kTipAlphaBlending[] = L"Opacity of the main window, 50 (faint) to 255 (opaque)";

// When start with Windows could not be changed: these parts around the system's reason.
inline constexpr std::wstring_view kAutoRunFailed = L"Failed to apply system settings.";
inline constexpr std::wstring_view kAutoRunError = L"Error";
inline constexpr std::wstring_view kAutoRunAdvice =
    L"(Try to start the program as administrator to apply these settings)";

} // namespace quelmo::texts::settings
