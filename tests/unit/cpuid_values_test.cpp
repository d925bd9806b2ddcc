#include "cpuid/CpuTexts.h"
#include "cpuid/CpuValues.h"

#include <gtest/gtest.h>

#include <string>

namespace quelmo {
namespace {

// Restores the default separators when a test changed them.
class SeparatorsGuard {
public:
    SeparatorsGuard() : saved_(GetCpuNumberSeparators()) {}
    ~SeparatorsGuard() { SetCpuNumberSeparators(saved_); }
    SeparatorsGuard(const SeparatorsGuard&) = delete;
    SeparatorsGuard& operator=(const SeparatorsGuard&) = delete;

private:
    CpuNumberSeparators saved_;
};

TEST(CpuNumber, AsSizeSwitchesUnitAtEachPowerOf1024) {
    const struct {
        std::uint32_t value;
        const char* text;
    } cases[] = {
        {0, "0 bytes"},
        {1023, "1023 bytes"},
        {1024, "1.0 Kb"},
        {1536, "1.5 Kb"},
        {65536, "64.0 Kb"},
        // Rounds to one decimal, halves away from zero (1280 is exactly 1.25 Kb).
        {1280, "1.3 Kb"},
        {1075, "1.0 Kb"},
        // Just below a megabyte the kilobytes carry a thousands separator.
        {1048575, "1,024.0 Kb"},
        {1048576, "1.0 Mb"},
        {2097152, "2.0 Mb"},
        {272629760, "260.0 Mb"},
        {1073741823, "1,024.0 Mb"},
        {1073741824, "1.0 Gb"},
        {4294967295U, "4.0 Gb"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TCpuNumber(c.value).AsSize(), c.text) << c.value;
    }
}

TEST(CpuNumber, AsSizeUsesTheLibrarySeparators) {
    SeparatorsGuard guard;
    SetCpuNumberSeparators({",", "."});
    EXPECT_EQ(TCpuNumber(1536).AsSize(), "1,5 Kb");
    EXPECT_EQ(TCpuNumber(1048575).AsSize(), "1.024,0 Kb");
    SetCpuNumberSeparators({".", "\xA0"});
    EXPECT_EQ(TCpuNumber(1048575).AsSize(), "1\xA0"
                                            "024.0 Kb");
    EXPECT_EQ(TCpuNumber(1023).AsSize(), "1023 bytes"); // whole bytes have no separators
}

TEST(CpuNumber, AsFrequencyWritesGigahertzFrom1000) {
    const struct {
        std::uint32_t value;
        const char* text;
    } cases[] = {
        {0, "0 Mhz"},      {999, "999 Mhz"},  {1000, "1.0 Ghz"},  {2400, "2.4 Ghz"},        {1050, "1.1 Ghz"},
        {1049, "1.0 Ghz"}, {2933, "2.9 Ghz"}, {9999, "10.0 Ghz"}, {1234567, "1,234.6 Ghz"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TCpuNumber(c.value).AsFrequency(), c.text) << c.value;
    }
}

TEST(CpuNumber, AsVersionAsHexAndAsString) {
    const struct {
        std::uint32_t value;
        const char* version;
        const char* hex;
        const char* decimal;
    } cases[] = {
        {4301, "4.3.01", "$000010CD", "4301"},
        {4000, "4.0.00", "$00000FA0", "4000"},
        {1674, "1.6.74", "$0000068A", "1674"},
        {0, "0.0.00", "$00000000", "0"},
        {4294967295U, "4294967.2.95", "$FFFFFFFF", "4294967295"},
    };
    for (const auto& c : cases) {
        const TCpuNumber number(c.value);
        EXPECT_EQ(number.AsVersion(), c.version) << c.value;
        EXPECT_EQ(number.AsHex(), c.hex) << c.value;
        EXPECT_EQ(number.AsString(), c.decimal) << c.value;
    }
}

TEST(CpuNumber, BitTakesTheIndexModulo32) {
    const TCpuNumber number(0x80000002);
    const struct {
        std::uint32_t index;
        bool set;
    } cases[] = {{0, false}, {1, true},   {31, true}, {30, false},
                 {33, true}, {32, false}, {63, true}, {65, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(number.Bit(c.index)->Value(), c.set) << c.index;
    }
    EXPECT_EQ(number.BitCount(), 2);
    EXPECT_EQ(TCpuNumber(0xFFFFFFFF).BitCount(), 32);
    EXPECT_EQ(TCpuNumber(0).BitCount(), 0);
}

TEST(CpuNumber, WordsAndBytes) {
    const TCpuNumber number(0x12345678);
    EXPECT_EQ(number.HighWord()->Value(), 0x1234);
    EXPECT_EQ(number.LowWord()->Value(), 0x5678);
    EXPECT_EQ(number.HighWord()->HighByte(), 0x12);
    EXPECT_EQ(number.HighWord()->LowByte(), 0x34);
    EXPECT_EQ(number.LowWord()->HighByte(), 0x56);
    EXPECT_EQ(number.LowWord()->LowByte(), 0x78);
}

TEST(CpuNumber, AsCharsGivesFourBytesLowestFirstKeepingZeros) {
    EXPECT_EQ(TCpuNumber(0x756E6547).AsChars(), "Genu");
    EXPECT_EQ(TCpuNumber(0).AsChars(), std::string(4, '\0'));
    EXPECT_EQ(TCpuNumber(0x007A4847).AsChars(), std::string("GHz\0", 4));
    EXPECT_EQ(TCpuNumber(0xFF000041).AsChars(), std::string("A\0\0\xFF", 4));
}

TEST(CpuBoolean, TextsOfBothValues) {
    const TCpuBoolean no(false);
    const TCpuBoolean yes(true);
    EXPECT_EQ(no.AsYesNo(), "No");
    EXPECT_EQ(yes.AsYesNo(), "Yes");
    EXPECT_EQ(no.AsString(), "False");
    EXPECT_EQ(yes.AsString(), "True");
    EXPECT_EQ(no.AsOnOff(), "Off");
    EXPECT_EQ(yes.AsOnOff(), "On");
}

TEST(CpuValues, EveryAnswerIsAFreshObject) {
    const auto number = CpuNumber(7);
    EXPECT_NE(number->HighWord(), number->HighWord());
    EXPECT_NE(number->Bit(0), number->Bit(0));
    EXPECT_EQ(number.use_count(), 1);
}

TEST(FormatText, FillsMarkersInOrderAndLeavesTheRest) {
    EXPECT_EQ(FormatText("x86 Family %d Model %d Stepping %d", {"6", "8", "3"}),
              "x86 Family 6 Model 8 Stepping 3");
    EXPECT_EQ(FormatText("%s Kb", {"1.5"}), "1.5 Kb");
    EXPECT_EQ(FormatText("%d of %d", {"1"}), "1 of %d");
    EXPECT_EQ(FormatText("100% sure %", {"x"}), "100% sure %");
}

} // namespace
} // namespace quelmo
