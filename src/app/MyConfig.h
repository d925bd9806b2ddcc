// The settings store and the process-wide shell state.
//
// Every setting is one process-wide value named by its INI key, starting at its default. The user
// interface thread writes them; the sampling threads read some of them at any time, so each is an
// atomic of the stored width and a reader sees either the old or the new value. There is no change
// notification: whoever changes a value applies its effect.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace quelmo::config {

// Colours are 0x00BBGGRR values (red in the low byte).
using Color = std::int32_t;

// Section "General".
inline std::atomic<bool> FirstLaunch{true};
inline std::atomic<bool> AlwaysOnTop{true};
inline std::atomic<std::uint16_t> Rate{500};       // milliseconds between samples
inline std::atomic<std::uint16_t> GraphLength{80}; // points kept per graph series
inline std::atomic<bool> AlphaBlend{true};
inline std::atomic<std::uint8_t> AlphaBlendValue{200};
inline std::atomic<bool> Transparency{true};
inline std::atomic<bool> ThickerGraph{true};
inline std::atomic<bool> LockForm{false};
inline std::atomic<bool> UpdateSpeed{true};
inline std::atomic<bool> DisplayMemory{true};
inline std::atomic<bool> MemoryAsPercentage{true};
inline std::atomic<bool> NumericTrayIcons{false};
inline std::atomic<bool> HideTrayWhenVisible{false};
inline std::atomic<bool> AutoHideControls{true};
inline std::atomic<bool> HideBarGraph{false};
inline std::atomic<bool> ShowFreeMemory{false};
inline std::atomic<bool> UsePhysicalMemory{true};
inline std::atomic<bool> DisplayEachCPU{false};
inline std::atomic<bool> AppTrayMode{false};
inline std::atomic<std::int32_t> AppModeHotkey{122};        // virtual key (F11); 0 = none
inline std::atomic<std::int32_t> AppModeHotkeyModifiers{3}; // 1 Alt, 2 Ctrl, 4 Shift, 8 Win

// Section "Location".
inline std::atomic<std::int32_t> PosX{0};
inline std::atomic<std::int32_t> PosY{0};
inline std::atomic<std::int32_t> PosWidth{250};
inline std::atomic<std::int32_t> PosHeight{105};

// Section "Colors".
inline std::atomic<Color> BackgroundColor{16777215}; // white
inline std::atomic<Color> GraphCPUColor1{8388608};   // navy
inline std::atomic<Color> GraphCPUColor2{8388608};
inline std::atomic<Color> GraphCPUColor3{8388608};
inline std::atomic<Color> GraphCPUColor4{8388608};
inline std::atomic<Color> GraphMemoryColor{15780518}; // sky blue
inline std::atomic<Color> BarColor{8388608};
inline std::atomic<Color> TextColor{0}; // black

} // namespace quelmo::config
