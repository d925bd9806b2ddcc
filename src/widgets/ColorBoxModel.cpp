#include "widgets/ColorBoxModel.h"

namespace quelmo::widgets {

int ColorBoxIndexOf(ColorValue color) {
    const ColorValue rgb = color & 0x00FFFFFFu;
    for (std::size_t i = 0; i < kNamedColors.size(); ++i) {
        if (kNamedColors[i].value == rgb) {
            return static_cast<int>(i) + 1;
        }
    }
    return kCustomColorIndex;
}

std::optional<ColorValue> NamedColorAt(int index) {
    if (index <= kCustomColorIndex || index >= kColorBoxItemCount) {
        return std::nullopt;
    }
    return kNamedColors[static_cast<std::size_t>(index - 1)].value;
}

std::wstring_view ColorBoxItemName(int index) {
    if (index == kCustomColorIndex) {
        return kCustomColorName;
    }
    if (index < 0 || index >= kColorBoxItemCount) {
        return {};
    }
    return kNamedColors[static_cast<std::size_t>(index - 1)].name;
}

} // namespace quelmo::widgets
