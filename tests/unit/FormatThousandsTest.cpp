#include "app/MyModules.h"

#include <gtest/gtest.h>

namespace quelmo {
namespace {

TEST(FormatThousands, GroupsDigitsAndRoundsHalvesToEven) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},          {999, "999"},      {1000, "1,000"},  {1234567, "1,234,567"},
        {2047.5, "2,048"}, {2046.5, "2,046"}, {999.5, "1,000"}, {100000, "100,000"},
        {0.5, "0"},        {1.5, "2"},        {3000, "3,000"},  {4294967296.0, "4,294,967,296"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatThousands(c.value, ','), c.text) << c.value;
    }
}

} // namespace
} // namespace quelmo
