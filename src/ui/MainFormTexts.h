// Every text of the monitor window and its tray icon that a user reads.
#pragma once

// The application title (window caption, start-up banner), texts::kAppTitle, is the shell's.
#include "app/ShellTexts.h"

namespace quelmo::texts {

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
