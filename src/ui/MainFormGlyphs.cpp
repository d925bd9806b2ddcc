#include "ui/MainFormGlyphs.h"

#include "platform/win32/UniqueHandle.h"
#include "ui/Scaling.h"

#include <array>
#include <span>

namespace quelmo::gui {

namespace {

struct GlyphShape {
    int width;
    int height;
    std::span<const POINT> outline;
};

// Outlines on each glyph's own grid, clockwise from the top.
constexpr std::array<POINT, 24> kMoveArrows{{
    {8, 0},  {11, 3}, {9, 3},  {9, 7},   {13, 7}, {13, 5}, {16, 8}, {13, 11},
    {13, 9}, {9, 9},  {9, 13}, {11, 13}, {8, 16}, {5, 13}, {7, 13}, {7, 9},
    {3, 9},  {3, 11}, {0, 8},  {3, 5},   {3, 7},  {7, 7},  {7, 3},  {5, 3},
}};
constexpr std::array<POINT, 4> kDiamond{{{6, 3}, {10, 7}, {6, 11}, {2, 7}}};
constexpr std::array<POINT, 3> kDownArrow{{{1, 4}, {11, 4}, {6, 9}}};
constexpr std::array<POINT, 12> kCross{{
    {3, 4},
    {4, 3},
    {8, 7},
    {12, 3},
    {13, 4},
    {9, 8},
    {13, 12},
    {12, 13},
    {8, 9},
    {4, 13},
    {3, 12},
    {7, 8},
}};

GlyphShape ShapeOf(Glyph glyph) {
    switch (glyph) {
    case Glyph::MoveArrows:
        return {16, 16, kMoveArrows};
    case Glyph::Diamond:
        return {12, 14, kDiamond};
    case Glyph::DownArrow:
        return {12, 14, kDownArrow};
    case Glyph::Cross:
        return {16, 16, kCross};
    }
    return {0, 0, {}};
}

} // namespace

void DrawGlyph(HDC dc, Glyph glyph, const RECT& area, COLORREF color, int dpi) {
    const GlyphShape shape = ShapeOf(glyph);
    const int left = area.left + (area.right - area.left - ui::ScaleDesign(shape.width, dpi)) / 2;
    const int top = area.top + (area.bottom - area.top - ui::ScaleDesign(shape.height, dpi)) / 2;
    std::array<POINT, 24> points{};
    for (std::size_t i = 0; i < shape.outline.size(); ++i) {
        points[i] = {ui::ScaleDesign(static_cast<int>(shape.outline[i].x), dpi) + left,
                     ui::ScaleDesign(static_cast<int>(shape.outline[i].y), dpi) + top};
    }
    ::SetDCBrushColor(dc, color);
    ::SetDCPenColor(dc, color);
    const win32::ScopedSelectObject brush(dc, ::GetStockObject(DC_BRUSH));
    const win32::ScopedSelectObject pen(dc, ::GetStockObject(DC_PEN));
    ::Polygon(dc, points.data(), static_cast<int>(shape.outline.size()));
}

} // namespace quelmo::gui
