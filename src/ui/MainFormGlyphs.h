// The pictures of the monitor window's control buttons, drawn with GDI in any colour.
#pragma once

#include <windows.h>

namespace quelmo::gui {

enum class Glyph {
    MoveArrows, // four-way arrow, 16 x 16 (Image_Move)
    Diamond,    // 12 x 14 (SB_Menu)
    DownArrow,  // 12 x 14 (SB_Hide)
    Cross,      // 16 x 16 (SB_Close)
};

// Draws the glyph centred in `area`.
void DrawGlyph(HDC dc, Glyph glyph, const RECT& area, COLORREF color);

} // namespace quelmo::gui
