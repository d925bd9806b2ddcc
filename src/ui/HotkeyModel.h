// The application-mode hot key between the settings and the hot-key control.
//
// The settings keep the key and modifiers the way RegisterHotKey takes them (AppModeHotkey, and
// AppModeHotkeyModifiers with Alt 1, Ctrl 2, Shift 4, Win 8); the hot-key control of the settings
// dialog speaks in its own flags (Shift 1, Ctrl 2, Alt 4, Ext 8) beside the key. Shift and Alt
// trade places; Ctrl stays.
//
// The control's Ext flag says that the key is an extended key (Home, the arrows, Insert...), not
// that the Windows key is held: taken as the Windows key, Ctrl+Alt+Home would be registered as
// Win+Ctrl+Alt+Home, a combination the user never pressed. So Ext never becomes Win. The control
// cannot show the Windows key; a Win modifier in the settings stays there until the user picks
// another key, and the control is given Ext for an extended key, so it names Home "Home" and not
// "Num 7".
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

// Shift, Ctrl and Alt from one encoding to the other; Ext and Win have no counterpart.
std::uint32_t ControlFlagsToModifiers(std::uint32_t controlFlags);
std::uint32_t ModifiersToControlFlags(std::uint32_t modifiers);

// True for the virtual keys that the keyboard sends as extended keys (the control's Ext flag).
bool IsExtendedKey(std::uint32_t virtualKey);

// The settings' form of a hot key.
struct AppModeHotkey {
    std::int32_t key = 0; // virtual key; 0: none
    std::int32_t modifiers = 0;
};

// The hot-key control's value (HKM_GETHOTKEY: key in the low byte, flags in the high byte) and back.
AppModeHotkey FromHotkeyControl(std::uint16_t value);
std::uint16_t ToHotkeyControl(AppModeHotkey hotkey);

} // namespace quelmo::ui
