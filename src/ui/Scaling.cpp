#include "ui/Scaling.h"

namespace quelmo::ui {

DesignSize ScaleSize(DesignSize design, int dpi) {
    return {ScaleDesign(design.width, dpi), ScaleDesign(design.height, dpi)};
}

widgets::PixelRect ScaleRect(const widgets::PixelRect& design, int dpi) {
    return {ScaleDesign(design.left, dpi), ScaleDesign(design.top, dpi), ScaleDesign(design.right, dpi),
            ScaleDesign(design.bottom, dpi)};
}

int ScaledSmallIconSize(int systemSize, int systemDpi, int dpi) {
    return MulDivRound(systemSize, ValidDpi(dpi), ValidDpi(systemDpi));
}

} // namespace quelmo::ui
