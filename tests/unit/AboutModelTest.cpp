// The About window's texts: the header, the identification a right-click copies, the translator
// rule and the mail link.
#include "ui/AboutModel.h"

#include <gtest/gtest.h>

namespace quelmo::ui {
namespace {

TEST(AboutTexts, HeaderAndIdentificationOfTheBuild) {
    EXPECT_EQ(VersionLabel(), L"Version: 2.0.2 Beta");
    EXPECT_EQ(DateLabel(), L"Date: 2014-02-11");
    EXPECT_EQ(IdentificationText(), L"Quelmo 2.0.2 Beta (2014-02-11)");
    using namespace std::chrono;
    EXPECT_EQ(FormatIsoDate(year_month_day{year{987}, December, day{1}}), L"0987-12-01");
}

TEST(AboutTexts, TranslatorRowShowsDashesForADesignCaption) {
    const struct {
        const wchar_t* caption;
        const wchar_t* shown;
    } cases[] = {
        {L"#Translator#", L"---"}, {L"#", L"---"}, {L"Jana Nov\u00e1kov\u00e1", L"Jana Nov\u00e1kov\u00e1"},
        {L" #x", L" #x"},          {L"x#", L"x#"}, {L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TranslatorText(c.caption), c.shown) << c.caption;
    }
}

TEST(AboutTexts, MailLinkCarriesTheSubject) {
    EXPECT_EQ(MailtoLink(L"support@quelmo.org"), L"mailto:support@quelmo.org?subject=Quelmo");
}

} // namespace
} // namespace quelmo::ui
