// The start-up shell against the real registry and real mutexes (under Wine: the test prefix's).
#include "app/MyConfig.h"
#include "app/ShellTexts.h"
#include "fakes/FakeProcess.h"
#include "platform/Process.h"
#include "platform/win32/UniqueHandle.h"
#include "sampling/MyPerfLib.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwctype>
#include <optional>
#include <string>

namespace quelmo {
namespace {

using win32::UniqueKernelHandle;
using win32::UniqueRegKey;

const std::wstring kRunKey(texts::kRunKey);

std::optional<std::wstring> ReadRunValue() {
    UniqueRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey.c_str(), 0, KEY_READ, key.Out()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    wchar_t data[1024] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(key.Get(), L"Quelmo", nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(data);
}

void WriteRunValue(const std::wstring& text) {
    UniqueRegKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                key.Out(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(key.Get(), L"Quelmo", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

// Puts back whatever the Run value was before the test.
class RunValueGuard {
public:
    RunValueGuard() : saved_(ReadRunValue()) {}
    ~RunValueGuard() {
        if (saved_) {
            WriteRunValue(*saved_);
        } else {
            config::SetAutoRun(false);
        }
    }
    RunValueGuard(const RunValueGuard&) = delete;
    RunValueGuard& operator=(const RunValueGuard&) = delete;

private:
    std::optional<std::wstring> saved_;
};

std::wstring Upper(std::wstring text) {
    for (auto& ch : text) {
        ch = static_cast<wchar_t>(std::towupper(ch));
    }
    return text;
}

TEST(ShellOnWindows, RunValueIsWrittenReadInAnyCaseOrQuotedAndRemoved) {
    const RunValueGuard guard;
    // A path without blanks goes in as it is (the clone's own path may hold blanks).
    fakes::FakeProcess process;
    process.executablePath = L"C:\\Tools\\Quelmo\\Quelmo.exe";
    const platform::ScopedSeam<platform::Process> seam(process);
    const std::wstring exe = process.executablePath;
    config::SetAutoRun(true);
    EXPECT_EQ(ReadRunValue(), exe);
    EXPECT_TRUE(config::IsAutoRunEnabled());

    const struct {
        std::wstring value;
        bool enabled;
    } cases[] = {
        {Upper(exe), true},      {L"\"" + exe + L"\"", true},
        {exe + L" /min", false}, {L"\"" + exe + L"\" /min", false},
        {exe + L"x", false},
    };
    for (const auto& c : cases) {
        WriteRunValue(c.value);
        EXPECT_EQ(config::IsAutoRunEnabled(), c.enabled) << std::string(c.value.begin(), c.value.end());
    }
    config::SetAutoRun(false);
    EXPECT_EQ(ReadRunValue(), std::nullopt);
    EXPECT_FALSE(config::IsAutoRunEnabled());
    config::SetAutoRun(false); // nothing left to delete: still no error
}

TEST(ShellOnWindows, PathWithABlankIsQuotedInTheRealRegistry) {
    const RunValueGuard guard;
    fakes::FakeProcess process;
    process.executablePath = L"C:\\Program Files\\Quelmo Test\\Quelmo.exe";
    const platform::ScopedSeam<platform::Process> seam(process);
    config::SetAutoRun(true);
    EXPECT_EQ(ReadRunValue(), L"\"C:\\Program Files\\Quelmo Test\\Quelmo.exe\"");
    EXPECT_TRUE(config::IsAutoRunEnabled());
}

// A key created for the test, deleted afterwards unless it was there before; a value it sets
// is restored.
class ScopedSwitch {
public:
    explicit ScopedSwitch(std::wstring path) : path_(std::move(path)) {
        UniqueRegKey probe;
        existed_ =
            ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, KEY_READ, probe.Out()) == ERROR_SUCCESS;
        if (existed_) {
            DWORD value = 0;
            DWORD size = sizeof(value);
            if (::RegQueryValueExW(probe.Get(), kDisableCountersValue.data(), nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS) {
                saved_ = value;
            }
        }
    }
    ~ScopedSwitch() {
        if (!existed_) {
            ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, path_.c_str());
            ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, path_.c_str());
        } else if (saved_) {
            Set(*saved_);
        } else {
            ClearExisting();
        }
    }
    ScopedSwitch(const ScopedSwitch&) = delete;
    ScopedSwitch& operator=(const ScopedSwitch&) = delete;

    void Set(DWORD value) const {
        UniqueRegKey key;
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          key.Out(), nullptr);
        ::RegSetValueExW(key.Get(), kDisableCountersValue.data(), 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&value), sizeof(value));
    }
    // The key without the value.
    void Clear() const {
        UniqueRegKey key;
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          key.Out(), nullptr);
        ::RegDeleteValueW(key.Get(), kDisableCountersValue.data());
    }
    void ClearExisting() const {
        UniqueRegKey key;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, KEY_ALL_ACCESS, key.Out()) ==
            ERROR_SUCCESS) {
            ::RegDeleteValueW(key.Get(), kDisableCountersValue.data());
        }
    }
    void RemoveKey() const {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, path_.c_str());
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, path_.c_str());
    }
    bool Exists() const {
        UniqueRegKey key;
        return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, KEY_READ, key.Out()) == ERROR_SUCCESS;
    }
    std::optional<DWORD> Get() const {
        UniqueRegKey key;
        DWORD value = 0;
        DWORD size = sizeof(value);
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, KEY_READ, key.Out()) != ERROR_SUCCESS ||
            ::RegQueryValueExW(key.Get(), kDisableCountersValue.data(), nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        return value;
    }

private:
    std::wstring path_;
    bool existed_ = false;
    std::optional<DWORD> saved_;
};

TEST(ShellOnWindows, PerformanceCounterSwitchesAreReadAndCleared) {
    const ScopedSwitch global{std::wstring(kPerflibKey)};
    const ScopedSwitch service{ServicePerformanceKey(L"PerfOS")};

    global.Set(1);
    service.Clear();
    EXPECT_TRUE(CountersDisabled());
    EnableCounters();
    EXPECT_EQ(global.Get(), 0U);
    EXPECT_EQ(service.Get(), 0U); // written although it was absent: its key exists
    EXPECT_FALSE(CountersDisabled());

    service.Set(1);
    EXPECT_TRUE(CountersDisabled());
    global.Set(2);
    service.Set(0);
    EXPECT_FALSE(CountersDisabled());

    // A missing service key is not created just to clear it.
    service.RemoveKey();
    global.Set(1);
    EnableCounters();
    EXPECT_FALSE(service.Exists());
    EXPECT_EQ(global.Get(), 0U);
}

// Runs this test program again as a second process that checks the mutex `name` and expects
// `running`; the answer is the child's exit code (0: as expected).
DWORD RunMutexChild(const std::wstring& name, bool running) {
    ::SetEnvironmentVariableW(L"QUELMO_CHILD_MUTEX", name.c_str());
    ::SetEnvironmentVariableW(L"QUELMO_CHILD_EXPECT", running ? L"1" : L"0");
    std::wstring commandLine = L"\"" + platform::TheProcess().ExecutablePath() +
                               L"\" --gtest_filter=MutexChild.* --gtest_also_run_disabled_tests";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const BOOL started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                          nullptr, &startup, &info);
    ::SetEnvironmentVariableW(L"QUELMO_CHILD_MUTEX", nullptr);
    if (!started) {
        return 1000;
    }
    const UniqueKernelHandle process(info.hProcess);
    const UniqueKernelHandle thread(info.hThread);
    if (::WaitForSingleObject(process.Get(), 120000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.Get(), 1001);
        return 1001;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process.Get(), &code);
    return code;
}

TEST(ShellOnWindows, TheMutexIsSeenFromASecondProcess) {
    const std::wstring held = L"Quelmo test mutex " + std::to_wstring(::GetCurrentProcessId());
    EXPECT_FALSE(config::CheckInstanceMutex(held)); // the first copy creates it
    EXPECT_TRUE(config::CheckInstanceMutex(held));  // and sees it as anyone's from then on
    EXPECT_EQ(RunMutexChild(held, true), 0U);
    EXPECT_EQ(RunMutexChild(held + L" unused", false), 0U);
}

// The second process of the test above; does nothing when run on its own.
TEST(MutexChild, ChecksTheMutexAsStartUpDoes) {
    const wchar_t* name = _wgetenv(L"QUELMO_CHILD_MUTEX");
    const wchar_t* expect = _wgetenv(L"QUELMO_CHILD_EXPECT");
    if (name == nullptr || expect == nullptr) {
        GTEST_SKIP() << "runs as the second process of TheMutexIsSeenFromASecondProcess";
    }
    EXPECT_EQ(config::CheckInstanceMutex(name), std::wstring(expect) == L"1");
}

} // namespace
} // namespace quelmo
