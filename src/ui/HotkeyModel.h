// The application-mode hot key between the settings and the hot-key control.
//
// The settings keep the key and modifiers the way RegisterHotKey takes them (AppModeHotkey, and
// AppModeHotkeyModifiers with Alt 1, Ctrl 2, Shift 4, Win 8); the hot-key control of the settings
// dialog speaks in its own flags (Shift 1, Ctrl 2, Alt 4, Ext 8) beside the key. Both conversions
// swap bits 0 and 2 and keep bits 1 and 3.
#pragma once

#include <cstdint>

namespace quelmo::ui {

// Flags of the hot-key control (HOTKEYF_*).
enum HotkeyControlFlag : std::uint32_t {
    kHotkeyShift = 1,
    kHotkeyControl = 2,
    kHotkeyAlt = 4,
    kHotkeyExt = 8,
};

// Modifiers of RegisterHotKey (MOD_*).
enum HotkeyModifier : std::uint32_t {
    kModAlt = 1,
    kModControl = 2,
    kModShift = 4,
    kModWin = 8,
};

std::uint32_t ControlFlagsToModifiers(std::uint32_t controlFlags);
std::uint32_t ModifiersToControlFlags(std::uint32_t modifiers);

// The settings' form of a hot key.
struct AppModeHotkey {
    std::int32_t key = 0; // virtual key; 0: none
    std::int32_t modifiers = 0;
};

// The hot-key control's value (HKM_GETHOTKEY: key in the low byte, flags in the high byte) and back.
AppModeHotkey FromHotkeyControl(std::uint16_t value);
std::uint16_t ToHotkeyControl(AppModeHotkey hotkey);

} // namespace quelmo::ui
