// What the tray icon shows for a sample: the tip text and which image of its list.
#pragma once

#include "ui/FixedText.h"

namespace quelmo::ui {

inline constexpr int kTrayGradientImages = 15;
inline constexpr int kTrayNumericImages = 101;
// The shell keeps at most 63 characters of a tip.
inline constexpr std::size_t kTrayTipMax = 63;

using TrayTip = FixedText<kTrayTipMax>;

// "CPU: 37%" and, when memory is 0 or more, a carriage return and "Memory: 62%".
void FormatTrayTip(int cpu, int memory, TrayTip& tip);

// cpu x 0.01 x (imageCount - 1), rounded halves to even, held within the list.
int TrayImageIndex(int cpu, int imageCount);

} // namespace quelmo::ui
