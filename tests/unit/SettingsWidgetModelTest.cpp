// The portable halves of the colour box and the spin edit.
#include "widgets/ColorBoxModel.h"
#include "widgets/SpinEditModel.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <set>
#include <string>

namespace quelmo::widgets {
namespace {

TEST(ColorBoxModel, NamesAreUniqueAndReadableAndColorsDistinct) {
    std::set<std::wstring_view> names{kCustomColorName};
    std::set<ColorValue> values;
    for (const NamedColor& color : kNamedColors) {
        EXPECT_TRUE(names.insert(color.name).second) << "a name twice";
        EXPECT_TRUE(values.insert(color.value).second);
        // Words of letters with a capital each, as a user reads them ("Sky Blue", not "clSkyBlue").
        ASSERT_FALSE(color.name.empty());
        bool wordStart = true;
        for (const wchar_t c : color.name) {
            if (c == L' ') {
                wordStart = true;
                continue;
            }
            EXPECT_TRUE(std::iswalpha(static_cast<wint_t>(c)));
            EXPECT_EQ(std::iswupper(static_cast<wint_t>(c)) != 0, wordStart);
            wordStart = false;
        }
    }
    EXPECT_EQ(kColorBoxItemCount, 21);
}

TEST(ColorBoxModel, AStoredColorShowsAsItsNamedEntryOrAsTheCustomOne) {
    const struct {
        ColorValue color;
        std::wstring_view shown;
    } cases[] = {
        {16777215, L"White"},    // the background's default
        {8388608, L"Navy"},      // the graph's and the bar's
        {15780518, L"Sky Blue"}, // the memory line's
        {0, L"Black"},           // the text's
        {0xFF800000, L"Navy"},   // only the colour bytes count
        {MakeColor(1, 2, 3), L"Custom..."},
    };
    for (const auto& c : cases) {
        const int index = ColorBoxIndexOf(c.color);
        EXPECT_EQ(ColorBoxItemName(index), c.shown) << c.color;
        EXPECT_EQ(NamedColorAt(index).has_value(), index != kCustomColorIndex);
    }
    EXPECT_EQ(NamedColorAt(kColorBoxItemCount), std::nullopt);
    EXPECT_EQ(ColorBoxItemName(-1), L"");
}

TEST(SpinEditModel, TakesDigitsSignsAndTheDecimalSeparator) {
    for (const wchar_t c : std::wstring(L"0123456789+-,\b\x16")) {
        EXPECT_TRUE(SpinEditAcceptsChar(c, L',')) << static_cast<int>(c);
    }
    for (const wchar_t c : std::wstring(L"a.$ \r")) {
        EXPECT_FALSE(SpinEditAcceptsChar(c, L',')) << static_cast<int>(c);
    }
    EXPECT_TRUE(SpinEditAcceptsChar(L'.', L'.'));
}

TEST(SpinEditModel, ReadsWholeNumbersAndStepsWithinTheRange) {
    const struct {
        std::wstring_view text;
        int value; // minimum 170
        int up;    // one arrow step up, range 170-1000
    } cases[] = {
        {L"250", 250, 251}, {L"+25", 25, 170},  {L"-5", -5, 170},      {L"-", 170, 171},
        {L"", 170, 171},    {L"1.5", 170, 171}, {L"1000", 1000, 1000}, {L"99999999999", 170, 171},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SpinEditValue(c.text, 170), c.value) << std::wstring(c.text).size();
        EXPECT_EQ(SpinEditStep(c.text, 1, 170, 1000), c.up);
    }
    EXPECT_EQ(ParseSpinEditText(L"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseSpinEditText(L"2147483648"), std::nullopt);
}

} // namespace
} // namespace quelmo::widgets
