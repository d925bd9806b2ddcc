// The program's private window messages (values in the WM_USER range, 0x400 upwards).
#pragma once

#include <cstdint>

namespace quelmo {

inline constexpr std::uint32_t kWmUser = 0x0400;

// Posted by a window to itself at the end of its show handler; WParam 0, LParam 0.
inline constexpr std::uint32_t WM_AFTER_SHOW = kWmUser + 1;
// The tray icon's callback; WParam the icon identifier (0), LParam the mouse message.
inline constexpr std::uint32_t WM_TRAY_NOTIFY = kWmUser + 123;
// Posted by the clock thread to the monitor window; WParam the clock in MHz, LParam 0.
inline constexpr std::uint32_t WM_CPU_SPEED = kWmUser + 130;

} // namespace quelmo
