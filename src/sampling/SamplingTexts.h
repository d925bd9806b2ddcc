// The texts of the processor-usage counters (shown in an error box when sampling cannot start).
#pragma once

namespace quelmo::texts {

inline constexpr const char* kNoProcessorObject = "Unable to locate the \"Processor\" performance object";
inline constexpr const char* kNoIdleCounter = "Unable to locate the \"% of CPU usage\" performance counter";
inline constexpr const char* kCannotStartMonitoring = "Unable to start performance monitoring";
inline constexpr const char* kCannotReadPerformanceData = "Unable to read performance data";
inline constexpr const char* kCpuIndexOutOfBounds = "CPU index out of bounds";
inline constexpr const char* kNoWindowsVersion = "Cannot get the Windows version";

} // namespace quelmo::texts
