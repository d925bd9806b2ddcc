// Every text of the monitor window and its tray icon that a user reads.
#pragma once

namespace quelmo::texts {

// Window caption and start-up banner (the application title).
inline constexpr wchar_t kAppTitle[] = L"Quelmo";

// The labels before the first clock message and the first sample.
inline constexpr wchar_t kClockUnknown[] = L"? MHz";
inline constexpr wchar_t kMemoryUnknown[] = L"? MB";

// Units and parts of the label texts built per sample (UTF-8).
inline constexpr char kMHz[] = "MHz";
inline constexpr char kMB[] = "MB";
inline constexpr char kPercentSuffix[] = " %";

// Tool tips of the control buttons.
inline constexpr wchar_t kHintMove[] = L"Move";
inline constexpr wchar_t kHintMenu[] = L"Menu";
inline constexpr wchar_t kHintHide[] = L"Hide";
inline constexpr wchar_t kHintClose[] = L"Close";

// Tray tip lines: "CPU: 37%" and, after a carriage return, "Memory: 62%".
inline constexpr char kTrayCpu[] = "CPU";
inline constexpr char kTrayMemory[] = "Memory";

} // namespace quelmo::texts
