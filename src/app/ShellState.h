// Process-wide state of the start-up shell: facts of this run, never settings and never saved.
// The flags are atomics because the sampling threads may look at them while the user-interface
// thread changes them.
#pragma once

#include <atomic>
#include <string>

namespace quelmo::shell {

inline std::atomic<bool> InstanceRunning{false};  // another copy held the mutex at start-up
inline std::atomic<bool> HotkeyRegistered{false}; // the application-mode hot key is registered
inline std::atomic<bool> SettingsSaved{false};    // SaveSettings has run (it writes once per process)

// The full path of the settings file, set once by config::InitializeConfig before any other thread
// exists; empty before.
const std::wstring& IniFileName();
void SetIniFileName(std::wstring path);

// Everything as at process start (tests use this between cases).
void ResetShellState();

} // namespace quelmo::shell
