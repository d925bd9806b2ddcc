// The start-up shell: instance mutex, command-line switches, start with Windows, version.
#include "app/MyConfig.h"
#include "app/ShellState.h"
#include "app/ShellTexts.h"
#include "fakes/ShellFakes.h"

#include <gtest/gtest.h>

namespace quelmo {
namespace {

using namespace platform;
using fakes::ShellFakes;
using fakes::ShownMessage;

constexpr auto kMachine = RegRoot::LocalMachine;
const std::wstring kRunKey(texts::kRunKey);
const std::wstring kExe = L"C:\\Program Files\\Quelmo\\Quelmo.exe";
const std::wstring kMutex(texts::kMutexName);

TEST(CheckInstanceMutex, ReportsAnotherCopyOrAMutexItCannotHave) {
    const struct {
        const char* name;
        bool exists;
        bool refuseOpen;
        bool failCreate;
        bool running;
    } cases[] = {
        {"first copy creates it", false, false, false, false},
        {"second copy opens it", true, false, false, true},
        {"cannot open an existing one", true, true, false, true},
        {"can neither open nor create", false, false, true, true},
    };
    for (const auto& c : cases) {
        ShellFakes fakes;
        if (c.exists) {
            fakes.process.existingMutexes.insert(kMutex);
        }
        fakes.process.refuseOpenMutex = c.refuseOpen;
        fakes.process.failCreateMutex = c.failCreate;
        EXPECT_EQ(config::CheckInstanceMutex(kMutex), c.running) << c.name;
    }
    ShellFakes fakes;
    EXPECT_FALSE(config::CheckInstanceMutex(kMutex));
    EXPECT_EQ(fakes.process.createdMutexes, std::vector<std::wstring>{L"Quelmo [by Ostrel] @ Vantrell"});
    EXPECT_TRUE(config::CheckInstanceMutex(kMutex)); // a later copy sees the first one
}

struct CommandLineCase {
    const char* name;
    std::vector<std::wstring> parameters;
    std::vector<MessageAnswer> answers;
    bool instanceRunning;
    std::optional<std::wstring> runBefore;
    std::optional<int> exitCode;
    std::optional<std::wstring> runAfter;
    std::vector<std::wstring> messages;
};

TEST(HandleCommandLine, ActsOnTheExactFirstParameterOnly) {
    const std::wstring prompt = L"Run Quelmo when Windows starts?";
    const std::wstring warning =
        L"It seems that Quelmo is currently running.\r\rPlease close it, before continuing...";
    const std::wstring quoted = L"\"" + kExe + L"\"";
    const CommandLineCase cases[] = {
        {"no parameters", {}, {}, false, std::nullopt, std::nullopt, std::nullopt, {}},
        {"install, Yes", {L"/install"}, {MessageAnswer::Yes}, false, std::nullopt, 0, quoted, {prompt}},
        {"install, Yes replaces", {L"/install"}, {MessageAnswer::Yes}, false, L"old", 0, quoted, {prompt}},
        {"install, No", {L"/install"}, {MessageAnswer::No}, false, L"old", 0, L"old", {prompt}},
        {"install, Cancel",
         {L"/install"},
         {MessageAnswer::Cancel},
         false,
         std::nullopt,
         0,
         std::nullopt,
         {prompt}},
        {"install, extra parameters",
         {L"/install", L"x"},
         {MessageAnswer::Yes},
         false,
         std::nullopt,
         0,
         quoted,
         {prompt}},
        {"uninstall alone", {L"/uninstall"}, {}, false, quoted, 0, std::nullopt, {}},
        {"uninstall, nothing registered", {L"/uninstall"}, {}, false, std::nullopt, 0, std::nullopt, {}},
        {"uninstall while running", {L"/uninstall"}, {}, true, quoted, 0, std::nullopt, {warning}},
        {"capitals are no switch", {L"/INSTALL"}, {}, false, std::nullopt, std::nullopt, std::nullopt, {}},
        {"mixed case is no switch", {L"/Uninstall"}, {}, false, L"old", std::nullopt, L"old", {}},
        {"second parameter ignored",
         {L"file", L"/install"},
         {},
         false,
         std::nullopt,
         std::nullopt,
         std::nullopt,
         {}},
        {"dash is no switch", {L"-install"}, {}, false, std::nullopt, std::nullopt, std::nullopt, {}},
        {"blank-padded is no switch",
         {L" /install"},
         {},
         false,
         std::nullopt,
         std::nullopt,
         std::nullopt,
         {}},
    };
    for (const auto& c : cases) {
        ShellFakes fakes;
        fakes.process.parameters = c.parameters;
        fakes.process.answers.assign(c.answers.begin(), c.answers.end());
        shell::InstanceRunning = c.instanceRunning;
        fakes.registry.AddKey(kMachine, kRunKey);
        if (c.runBefore) {
            fakes.registry.SetString(kMachine, kRunKey, L"Quelmo", *c.runBefore);
        }
        EXPECT_EQ(config::HandleCommandLine(), c.exitCode) << c.name;
        EXPECT_EQ(fakes.registry.GetString(kMachine, kRunKey, L"Quelmo"), c.runAfter) << c.name;
        std::vector<std::wstring> texts;
        for (const ShownMessage& shown : fakes.process.shown) {
            texts.push_back(shown.text);
            EXPECT_EQ(shown.caption, L"Quelmo");
        }
        EXPECT_EQ(texts, c.messages) << c.name;
        EXPECT_EQ(fakes.registry.OpenHandleCount(), 0) << c.name;
    }
}

TEST(HandleCommandLine, PromptsAreAConfirmationAndAWarning) {
    ShellFakes fakes;
    fakes.process.parameters = {L"/install"};
    config::HandleCommandLine();
    fakes.process.parameters = {L"/uninstall"};
    shell::InstanceRunning = true;
    config::HandleCommandLine();
    ASSERT_EQ(fakes.process.shown.size(), 2U);
    EXPECT_EQ(fakes.process.shown[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(fakes.process.shown[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(fakes.process.shown[1].kind, MessageKind::Warning);
    EXPECT_EQ(fakes.process.shown[1].buttons, MessageButtons::Ok);
}

TEST(HandleCommandLine, FailedInstallShowsTheRegistryErrorAndExitsWithOne) {
    const struct {
        const char* name;
        std::function<void(fakes::FakeRegistry&)> arrange;
        std::wstring text;
    } cases[] = {
        {"Run key may not be written", [](fakes::FakeRegistry& r) { r.RefuseWrite(kMachine, kRunKey); },
         L"Access is denied."},
        {"Run key missing and may not be created",
         [](fakes::FakeRegistry& r) {
             r.RefuseWrite(kMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion");
         },
         L"Access is denied."},
        {"disk full", [](fakes::FakeRegistry& r) { r.FailWrites(112); }, L"Error 112."},
    };
    for (const auto& c : cases) {
        ShellFakes fakes;
        c.arrange(fakes.registry);
        fakes.process.parameters = {L"/install"};
        fakes.process.answers = {MessageAnswer::Yes};
        EXPECT_EQ(config::HandleCommandLine(), 1) << c.name;
        ASSERT_EQ(fakes.process.shown.size(), 2U) << c.name;
        EXPECT_EQ(fakes.process.shown[1].text, c.text) << c.name;
        EXPECT_EQ(fakes.process.shown[1].kind, MessageKind::Error) << c.name;
        EXPECT_FALSE(fakes.registry.HasValue(kMachine, kRunKey, L"Quelmo")) << c.name;
    }
}

TEST(SetAutoRun, QuotesPathsWithBlanksAndThrowsTheRegistryMessage) {
    const struct {
        const wchar_t* exe;
        const wchar_t* value;
    } cases[] = {
        {L"C:\\Program Files\\Quelmo\\Quelmo.exe", L"\"C:\\Program Files\\Quelmo\\Quelmo.exe\""},
        {L"C:\\Tools\\Quelmo.exe", L"C:\\Tools\\Quelmo.exe"},
        {L"D:\\a b\\c d\\Q.exe", L"\"D:\\a b\\c d\\Q.exe\""},
    };
    for (const auto& c : cases) {
        ShellFakes fakes(c.exe);
        config::SetAutoRun(true); // creates the Run key when missing
        EXPECT_EQ(fakes.registry.GetString(kMachine, kRunKey, L"Quelmo"), c.value);
        EXPECT_TRUE(config::IsAutoRunEnabled()) << c.exe;
        config::SetAutoRun(false);
        EXPECT_FALSE(fakes.registry.HasValue(kMachine, kRunKey, L"Quelmo"));
        EXPECT_FALSE(config::IsAutoRunEnabled());
    }
    ShellFakes fakes;
    fakes.registry.RefuseWrite(kMachine, kRunKey);
    try {
        config::SetAutoRun(true);
        ADD_FAILURE() << "no error";
    } catch (const config::ERegistryError& error) {
        EXPECT_EQ(error.Status(), kErrorAccessDenied);
        EXPECT_EQ(error.Message(), L"Access is denied.");
    }
    // Removing never fails, whatever stands in the way.
    fakes.registry.SetString(kMachine, kRunKey, L"Quelmo", kExe);
    EXPECT_NO_THROW(config::SetAutoRun(false));
    EXPECT_TRUE(fakes.registry.HasValue(kMachine, kRunKey, L"Quelmo"));
    fakes.registry.RemoveKey(kMachine, kRunKey);
    EXPECT_NO_THROW(config::SetAutoRun(false));
    EXPECT_FALSE(fakes.registry.HasKey(kMachine, kRunKey)); // not created just to delete from
}

TEST(IsAutoRunEnabled, AcceptsTheExactPathInAnyCaseWithOrWithoutOnePairOfQuotes) {
    const struct {
        std::optional<std::wstring> value;
        bool enabled;
    } cases[] = {
        {kExe, true},
        {L"c:\\PROGRAM FILES\\quelmo\\QUELMO.EXE", true},
        {L"\"" + kExe + L"\"", true},
        {L"\"c:\\program files\\quelmo\\quelmo.exe\"", true},
        {L"\"\"" + kExe + L"\"\"", false},
        {L"\"" + kExe, false},
        {kExe + L"\"", false},
        {kExe + L" /tray", false},
        {L"\"" + kExe + L"\" /tray", false},
        {L"C:\\Program Files\\Quelmo\\Other.exe", false},
        {L"C:\\Program Files\\Quelmo\\Quelmo.exe ", false},
        {L"", false},
        {L"\"\"", false},
        {std::nullopt, false},
    };
    for (const auto& c : cases) {
        ShellFakes fakes;
        fakes.registry.AddKey(kMachine, kRunKey);
        if (c.value) {
            fakes.registry.SetString(kMachine, kRunKey, L"Quelmo", *c.value);
        }
        EXPECT_EQ(config::IsAutoRunEnabled(), c.enabled)
            << (c.value ? std::string(c.value->begin(), c.value->end()) : "(none)");
    }
}

TEST(IsAutoRunEnabled, NeedsOnlyReadRightsAndReadsFailuresAsFalse) {
    const struct {
        const char* name;
        std::function<void(fakes::FakeRegistry&)> arrange;
        bool enabled;
    } cases[] = {
        {"account without write rights", [](fakes::FakeRegistry& r) { r.RefuseWrite(kMachine, kRunKey); },
         true},
        {"account without read rights", [](fakes::FakeRegistry& r) { r.RefuseRead(kMachine, kRunKey); },
         false},
        {"value of another type", [](fakes::FakeRegistry& r) { r.SetDword(kMachine, kRunKey, L"Quelmo", 1); },
         false},
        {"value name in other case",
         [](fakes::FakeRegistry& r) { r.SetString(kMachine, kRunKey, L"QUELMO", kExe); }, true},
        {"expandable string",
         [](fakes::FakeRegistry& r) {
             r.SetString(kMachine, kRunKey, L"Quelmo", kExe, RegType::ExpandString);
         },
         true},
        {"Run key missing", [](fakes::FakeRegistry& r) { r.RemoveKey(kMachine, kRunKey); }, false},
    };
    for (const auto& c : cases) {
        ShellFakes fakes;
        fakes.registry.SetString(kMachine, kRunKey, L"Quelmo", kExe);
        c.arrange(fakes.registry);
        EXPECT_EQ(config::IsAutoRunEnabled(), c.enabled) << c.name;
        EXPECT_EQ(fakes.registry.OpenHandleCount(), 0);
    }
}

TEST(Version, TextAndBuildDate) {
    EXPECT_EQ(config::VersionText(), L"2.0.2 Beta");
    EXPECT_EQ(config::BuildDate(), std::chrono::year_month_day(std::chrono::year(2014), std::chrono::month(2),
                                                               std::chrono::day(11)));
}

} // namespace
} // namespace quelmo
