// The small shared operations: number formats, rounding, opening documents.
#include "app/MyModules.h"
#include "fakes/FakeProcess.h"

#include <gtest/gtest.h>

#include <cmath>

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

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour) {
    const struct {
        double value;
        int rounded;
    } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {99.5, 100}, {12.4999, 12}, {std::nan(""), 0}, {-0.5, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
    }
}

TEST(OpenDocument, WarnsWithTargetReasonAndCodeOnlyWhenTheShellFails) {
    const struct {
        const wchar_t* target;
        int shellResult;
        const wchar_t* warning; // null: none
    } cases[] = {
        {L"https://quelmo.org/help", 42, nullptr},
        {L"C:\\Program Files\\Quelmo\\History.txt", 33, nullptr},
        {L"C:\\Program Files\\Quelmo\\History.txt", 2,
         L"Could not open the following file:\r\rC:\\Program Files\\Quelmo\\History.txt\r\r"
         L"Error: Reason 2 (2)."},
        {L"100%s %d.txt", 32,
         L"Could not open the following file:\r\r100%s %d.txt\r\rError: Reason 32 (32)."},
        {L"x", 0, L"Could not open the following file:\r\rx\r\rError: Reason 0 (0)."},
    };
    for (const auto& c : cases) {
        fakes::FakeProcess process;
        const platform::ScopedSeam<platform::Process> seam(process);
        process.shellResult = c.shellResult;
        EXPECT_EQ(OpenDocument(c.target), c.warning == nullptr) << c.shellResult;
        EXPECT_EQ(process.opened, std::vector<std::wstring>{c.target});
        ASSERT_EQ(process.shown.size(), c.warning == nullptr ? 0u : 1u) << c.shellResult;
        if (c.warning != nullptr) {
            EXPECT_EQ(process.shown[0].text, c.warning);
            EXPECT_EQ(process.shown[0].caption, L"Quelmo");
            EXPECT_EQ(process.shown[0].kind, platform::MessageKind::Warning);
            EXPECT_EQ(process.shown[0].buttons, platform::MessageButtons::Ok);
        }
    }
}

TEST(OpenDocument, ShippedDocumentsAreBesideTheExecutable) {
    fakes::FakeProcess process;
    const platform::ScopedSeam<platform::Process> seam(process);
    process.executablePath = L"Z:\\work\\new tools\\bin\\Quelmo.exe";
    EXPECT_EQ(BesideExecutable(L"History.txt"), L"Z:\\work\\new tools\\bin\\History.txt");
}

} // namespace
} // namespace quelmo
