// Whether an administrator has switched the performance counters off in the registry, globally or
// for the operating system's counter provider, switching them back on, and the start-up prompt
// that offers to.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quelmo {

// Under HKEY_LOCAL_MACHINE.
inline constexpr std::wstring_view kPerflibKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Perflib";
inline constexpr std::wstring_view kServicesKey = L"SYSTEM\\CurrentControlSet\\Services";
inline constexpr std::wstring_view kDisableCountersValue = L"Disable Performance Counters";

// The services whose counters the processor-usage readings need.
inline constexpr std::array<std::wstring_view, 1> CounterServices = {L"PerfOS"};

// "SYSTEM\CurrentControlSet\Services\<service>\Performance".
std::wstring ServicePerformanceKey(std::wstring_view service);

// True when the global switch or the switch of any service in CounterServices is 1. A switch whose
// key or value is missing, unreadable or not a DWORD counts as off.
bool CountersDisabled();

// Writes 0 to the switch of each service, then to the global one, where the key exists and can be
// opened for writing. Never creates a key and reports nothing.
void EnableCounters();

// Asks to enable the performance counters when they are disabled, and does so on Yes. Start-up goes
// on whatever the answer.
void CheckPerformanceCounters();

} // namespace quelmo
