#include "ui/HotkeyModel.h"

namespace quelmo::ui {

namespace {

// Bits 0 and 2 (Shift and Alt) trade places; bit 1 (Ctrl) stays; bit 3 (Ext or Win) goes.
constexpr std::uint32_t SwapShiftAndAlt(std::uint32_t flags) {
    return (flags & 0b0010u) | ((flags & 0b0001u) << 2) | ((flags & 0b0100u) >> 2);
}

} // namespace

std::uint32_t ControlFlagsToModifiers(std::uint32_t controlFlags) {
    return SwapShiftAndAlt(controlFlags);
}

std::uint32_t ModifiersToControlFlags(std::uint32_t modifiers) {
    return SwapShiftAndAlt(modifiers);
}

bool IsExtendedKey(std::uint32_t virtualKey) {
    // Break; Page Up, Page Down, End, Home and the arrows; Print Screen, Insert, Delete; the Windows
    // and Applications keys; the numeric keypad's "/"; Num Lock.
    const auto within = [virtualKey](std::uint32_t first, std::uint32_t last) {
        return virtualKey >= first && virtualKey <= last;
    };
    return virtualKey == 0x03 || within(0x21, 0x28) || within(0x2C, 0x2E) || within(0x5B, 0x5D) ||
           virtualKey == 0x6F || virtualKey == 0x90;
}

AppModeHotkey FromHotkeyControl(std::uint16_t value) {
    const std::uint32_t key = value & 0xFFu;
    const std::uint32_t flags = value >> 8;
    return {static_cast<std::int32_t>(key), static_cast<std::int32_t>(ControlFlagsToModifiers(flags))};
}

std::uint16_t ToHotkeyControl(AppModeHotkey hotkey) {
    const auto key = static_cast<std::uint32_t>(hotkey.key) & 0xFFu;
    std::uint32_t flags = ModifiersToControlFlags(static_cast<std::uint32_t>(hotkey.modifiers));
    if (IsExtendedKey(key)) {
        flags |= kHotkeyExt;
    }
    return static_cast<std::uint16_t>(key | (flags << 8));
}

} // namespace quelmo::ui
