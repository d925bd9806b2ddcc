// The portable half of the colour box: the colours it lists, each with a name a user reads.
//
// The list starts with the custom entry, which opens the system's colour dialog and shows the
// colour chosen there, followed by the sixteen standard colours and four extended ones. A colour
// that is none of them is shown as the custom entry.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quelmo::widgets {

// 0x00BBGGRR, red in the low byte, as the settings and GDI keep colours.
using ColorValue = std::uint32_t;

constexpr ColorValue MakeColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<ColorValue>(red) | (static_cast<ColorValue>(green) << 8) |
           (static_cast<ColorValue>(blue) << 16);
}

struct NamedColor {
    std::wstring_view name;
    ColorValue value;
};

inline constexpr std::wstring_view kCustomColorName = L"Custom...";

inline constexpr auto kNamedColors = std::to_array<NamedColor>({
    {L"Black", MakeColor(0, 0, 0)},
    {L"Maroon", MakeColor(128, 0, 0)},
    {L"Green", MakeColor(0, 128, 0)},
    {L"Olive", MakeColor(128, 128, 0)},
    {L"Navy", MakeColor(0, 0, 128)},
    {L"Purple", MakeColor(128, 0, 128)},
    {L"Teal", MakeColor(0, 128, 128)},
    {L"Gray", MakeColor(128, 128, 128)},
    {L"Silver", MakeColor(192, 192, 192)},
    {L"Red", MakeColor(255, 0, 0)},
    {L"Lime", MakeColor(0, 255, 0)},
    {L"Yellow", MakeColor(255, 255, 0)},
    {L"Blue", MakeColor(0, 0, 255)},
    {L"Fuchsia", MakeColor(255, 0, 255)},
    {L"Aqua", MakeColor(0, 255, 255)},
    {L"White", MakeColor(255, 255, 255)},
    {L"Money Green", MakeColor(192, 220, 192)},
    {L"Sky Blue", MakeColor(166, 202, 240)},
    {L"Cream", MakeColor(255, 251, 240)},
    {L"Medium Gray", MakeColor(160, 160, 164)},
});

// Positions in the list: the custom entry first, then kNamedColors in order.
inline constexpr int kCustomColorIndex = 0;
inline constexpr int kColorBoxItemCount = static_cast<int>(kNamedColors.size()) + 1;

// The list position that shows `color`: its named entry, or the custom entry. Only the low 24 bits
// count.
int ColorBoxIndexOf(ColorValue color);
// The named colour at a list position; nullopt for the custom entry and positions outside the list.
std::optional<ColorValue> NamedColorAt(int index);
// The name shown at a list position (the custom entry's too); empty outside the list.
std::wstring_view ColorBoxItemName(int index);

} // namespace quelmo::widgets
