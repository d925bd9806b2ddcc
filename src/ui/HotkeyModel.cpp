#include "ui/HotkeyModel.h"

namespace quelmo::ui {

namespace {

// Bits 0 and 2 trade places; 1 and 3 stay.
constexpr std::uint32_t SwapBits0And2(std::uint32_t flags) {
    return (flags & 0b1010u) | ((flags & 0b0001u) << 2) | ((flags & 0b0100u) >> 2);
}

} // namespace

std::uint32_t ControlFlagsToModifiers(std::uint32_t controlFlags) {
    return SwapBits0And2(controlFlags & 0xFu);
}

std::uint32_t ModifiersToControlFlags(std::uint32_t modifiers) {
    return SwapBits0And2(modifiers & 0xFu);
}

AppModeHotkey FromHotkeyControl(std::uint16_t value) {
    const std::uint32_t key = value & 0xFFu;
    const std::uint32_t flags = value >> 8;
    return {static_cast<std::int32_t>(key), static_cast<std::int32_t>(ControlFlagsToModifiers(flags))};
}

std::uint16_t ToHotkeyControl(AppModeHotkey hotkey) {
    const auto key = static_cast<std::uint32_t>(hotkey.key) & 0xFFu;
    const std::uint32_t flags = ModifiersToControlFlags(static_cast<std::uint32_t>(hotkey.modifiers));
    return static_cast<std::uint16_t>(key | (flags << 8));
}

} // namespace quelmo::ui
