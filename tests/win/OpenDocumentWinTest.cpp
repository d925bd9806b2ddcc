// The real shell behind OpenDocument.
#include "platform/Process.h"

#include <gtest/gtest.h>

#include <string>

namespace quelmo {
namespace {

// A missing document is refused with a code of 32 or less and the system's reason for it.
TEST(ShellOnWindows, OpeningAMissingDocumentAnswersTheShellsCodeAndReason) {
    platform::Process& process = platform::TheProcess();
    const int code = process.OpenWithShell(L"C:\\no such folder\\History.txt");
    EXPECT_GT(code, 0);
    EXPECT_LE(code, 32);
    const std::wstring reason = process.ErrorText(code);
    EXPECT_FALSE(reason.empty());
    EXPECT_NE(reason.back(), L'\n');
}

} // namespace
} // namespace quelmo
