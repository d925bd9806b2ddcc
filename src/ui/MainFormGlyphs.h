// The pictures of the monitor window's control buttons, drawn with GDI in any colour. Outlines
// are in design units and drawn at the window's DPI.
#pragma once

#include <windows.h>

namespace quelmo::gui {

enum class Glyph {
    MoveArrows, // four-way arrow, 16 x 16 (Image_Move)
    Diamond,    // 12 x 14 (SB_Menu)
    DownArrow,  // 12 x 14 (SB_Hide)
    Cross,      // 16 x 16 (SB_Close)
};

// Draws the glyph centred in `area`, scaled to `dpi`.
void DrawGlyph(HDC dc, Glyph glyph, const RECT& area, COLORREF color, int dpi);

} // namespace quelmo::gui
