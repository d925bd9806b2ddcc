// Every text of the statistics window that a user reads. Captions are wide strings for the
// controls; the parts of the values are UTF-8, which the model joins (ui/StatisticsModel).
#pragma once

namespace quelmo::texts::statistics {

inline constexpr wchar_t kCaption[] = L"Quelmo - Statistics";

// The four panels and the captions of their rows.
inline constexpr wchar_t kPanelCPUUsage[] = L"CPU Usage";
inline constexpr wchar_t kPanelMemoryUsage[] = L"Memory Usage";
inline constexpr wchar_t kPanelCounter[] = L"Counter";
inline constexpr wchar_t kPanelTime[] = L"Time";
inline constexpr wchar_t kMax[] = L"Max:";
inline constexpr wchar_t kAverage[] = L"Average:";
inline constexpr wchar_t kMin[] = L"Min:";
inline constexpr wchar_t kSamples[] = L"Samples:";
inline constexpr wchar_t kActualRate[] = L"Actual Rate:";
inline constexpr wchar_t kRunning[] = L"Running:";
inline constexpr wchar_t kStarted[] = L"Started:";
// "&" marks the Alt mnemonic; it is not shown.
inline constexpr wchar_t kResetStatistics[] = L"&Reset Statistics";

// Units and parts of the values.
inline constexpr char kMB[] = "MB";
inline constexpr char kSecs[] = "secs";
inline constexpr char kMins[] = "mins";
inline constexpr char kHours[] = "hours";
inline constexpr char kSecondUnit[] = "s";
inline constexpr char kPercentSuffix[] = " %";
inline constexpr char kMemoryOpen[] = "  (";
inline constexpr char kMemoryClose[] = ")";
// No rate yet (no samples), and no sampling thread at all.
inline constexpr char kNoRate[] = "--";
inline constexpr char kUnknown[] = "??";

// Month abbreviations when the locale gives none.
inline constexpr const char* kShortMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

} // namespace quelmo::texts::statistics
