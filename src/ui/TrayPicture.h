// What the tray icon shows for a sample: the tip text, which image of its list, the pixels of the
// numeric pictures, and whether the pointer rests on the icon (so the tip can be seen).
#pragma once

#include "ui/FixedText.h"

#include <array>
#include <cstdint>

namespace quelmo::ui {

inline constexpr int kTrayGradientImages = 15;
inline constexpr int kTrayNumericImages = 101;
inline constexpr int kTrayImageSize = 16;
// The shell keeps at most 63 characters of a tip.
inline constexpr std::size_t kTrayTipMax = 63;

using TrayTip = FixedText<kTrayTipMax>;

// "CPU: 37%" and, when memory is 0 or more, a carriage return and "Memory: 62%".
void FormatTrayTip(int cpu, int memory, TrayTip& tip);

// cpu x 0.01 x (imageCount - 1), rounded halves to even, held within the list.
int TrayImageIndex(int cpu, int imageCount);

// A 16 x 16 picture in one colour: bit x of row y is set where pixel (x, y) is drawn.
using TrayMask = std::array<std::uint16_t, kTrayImageSize>;

// The number 0 to 100 in a small bitmap font (digits 9 pixels high, 5 wide and "1" 3 wide, one
// blank column between digits), centred. Drawn from our own font, every machine shows the same
// pixels, and "100" fits in 16 columns. Numbers outside 0 to 100 are held within it.
TrayMask TrayNumberMask(int number);

// Whether the pointer rests on the tray icon. The shell tells the icon's window when the pointer
// moves over the icon but not when it leaves, so the point of the last move is kept and the
// pointer counts as on the icon while it stays within `reach` pixels of it (an icon's size).
class TrayPointer {
public:
    void MovedOver(int x, int y);
    // Where the pointer is now; once it is out of reach the point is forgotten.
    bool Over(int x, int y, int reach);
    bool Known() const { return known_; }

private:
    bool known_ = false;
    int x_ = 0;
    int y_ = 0;
};

} // namespace quelmo::ui
