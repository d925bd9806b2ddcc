// The texts of the processor-usage counters (shown in an error box when sampling cannot start) and
// of the start-up prompt about disabled performance counters.
#pragma once

#include <string_view>

namespace quelmo::texts {

inline constexpr const char* kNoProcessorObject = "Unable to locate the \"Processor\" performance object";
inline constexpr const char* kNoIdleCounter = "Unable to locate the \"% of CPU usage\" performance counter";
inline constexpr const char* kCannotStartMonitoring = "Unable to start performance monitoring";
inline constexpr const char* kCannotReadPerformanceData = "Unable to read performance data";
inline constexpr const char* kCpuIndexOutOfBounds = "CPU index out of bounds";
inline constexpr const char* kNoWindowsVersion = "Cannot get the Windows version";

inline constexpr std::wstring_view kCountersDisabledPrompt =
    L"Performance counters are disabled. Application cannot function correctly.\r\r"
    L"Try to enable performance counters?";

} // namespace quelmo::texts
