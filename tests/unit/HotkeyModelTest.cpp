// The hot-key control's modifier flags and RegisterHotKey's modifiers, both ways.
#include "ui/HotkeyModel.h"

#include <gtest/gtest.h>

namespace quelmo::ui {
namespace {

TEST(HotkeyModel, ModifiersConvertBothWays) {
    const struct {
        std::uint32_t control;    // Shift 1, Ctrl 2, Alt 4, Ext 8
        std::uint32_t registered; // Alt 1, Ctrl 2, Shift 4, Win 8
    } cases[] = {
        {0, 0},
        {kHotkeyShift, kModShift},
        {kHotkeyControl, kModControl},
        {kHotkeyAlt, kModAlt},
        {kHotkeyControl | kHotkeyAlt, kModControl | kModAlt}, // the default Ctrl+Alt: 3 stays 3
        {kHotkeyShift | kHotkeyControl, kModShift | kModControl},
        {kHotkeyShift | kHotkeyAlt, kModShift | kModAlt},
        {kHotkeyShift | kHotkeyControl | kHotkeyAlt, kModShift | kModControl | kModAlt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ControlFlagsToModifiers(c.control), c.registered) << c.control;
        EXPECT_EQ(ModifiersToControlFlags(c.registered), c.control) << c.registered;
    }
    // Ext marks an extended key, not the Windows key; the control has no Windows key.
    EXPECT_EQ(ControlFlagsToModifiers(kHotkeyExt | kHotkeyControl), kModControl);
    EXPECT_EQ(ModifiersToControlFlags(kModWin | kModAlt), kHotkeyAlt);
}

TEST(HotkeyModel, ControlValueToSettingsAndBack) {
    const struct {
        std::uint16_t control;
        AppModeHotkey setting;
    } cases[] = {
        {0x037A, {122, 6}},  // Ctrl+Shift+F11
        {0x067A, {122, 3}},  // Ctrl+Alt+F11, the default
        {0x0000, {0, 0}},    // none
        {0x0141, {'A', 4}},  // Shift+A
        {0x0E24, {0x24, 3}}, // Ctrl+Alt+Home: the control marks Home extended, no Windows key
        {0x0E2E, {0x2E, 3}}, // Ctrl+Alt+Delete
        {0x0667, {0x67, 3}}, // Ctrl+Alt+Num 7: the same scan code as Home, not extended
    };
    for (const auto& c : cases) {
        const AppModeHotkey read = FromHotkeyControl(c.control);
        EXPECT_EQ(read.key, c.setting.key) << c.control;
        EXPECT_EQ(read.modifiers, c.setting.modifiers) << c.control;
        EXPECT_EQ(ToHotkeyControl(c.setting), c.control) << c.control;
    }
}

} // namespace
} // namespace quelmo::ui
