// The Files contract on the Win32 implementation in a real folder, what only Windows does (locks),
// and the process facts the shell relies on.
#include "app/MyConfig.h"
#include "contracts/FilesContract.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/win32/UniqueHandle.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace quelmo {
namespace {

namespace fs = std::filesystem;
using platform::ReadResult;
using platform::TheFiles;

// A fresh folder under the temporary folder, with a blank and "\n"-like names on its path, removed
// with its content afterwards.
class Win32World {
public:
    Win32World() {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        top_ = fs::path(temp) / (L"quelmo files " + std::to_wstring(::GetCurrentProcessId()));
        Remove();
        fs::create_directories(top_ / L"new tools");
    }
    ~Win32World() { Remove(); }
    Win32World(const Win32World&) = delete;
    Win32World& operator=(const Win32World&) = delete;

    platform::Files& Files() { return TheFiles(); }
    std::wstring PathOf(std::wstring_view relative) const {
        std::wstring path = (top_ / L"new tools").wstring() + L"\\" + std::wstring(relative);
        std::replace(path.begin(), path.end(), L'/', L'\\');
        return path;
    }
    void MakeFolder(const std::wstring& path) { ASSERT_TRUE(::CreateDirectoryW(path.c_str(), nullptr)); }
    void MarkReadOnly(const std::wstring& path) {
        ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    void MakeFileOfSize(const std::wstring& path, std::size_t size) {
        const win32::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER end{};
        end.QuadPart = static_cast<LONGLONG>(size);
        ASSERT_TRUE(file && ::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) &&
                    ::SetEndOfFile(file.Get()));
    }
    std::size_t EntryCount() const {
        const fs::path folder = top_ / L"new tools";
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }
    // Wine running as root creates files in any folder, whatever its security says.
    bool RefuseNewFiles() { return false; }

private:
    // Read-only files cannot be deleted: their mark goes first.
    void Remove() const {
        std::error_code error;
        for (const auto& entry : fs::recursive_directory_iterator(top_, error)) {
            ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        fs::remove_all(top_, error);
    }

    fs::path top_;
};

TEST(Win32Files, AFileHeldOpenWithoutSharingCannotBeRead) {
    const Win32World world;
    const std::wstring locked = world.PathOf(L"locked.ini");
    ASSERT_EQ(TheFiles().ReplaceFileContent(locked, "[General]\r\n"), platform::WriteResult::Ok);
    std::string bytes;
    {
        const win32::UniqueFile holder(::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_EQ(TheFiles().ReadWholeFile(locked, bytes), ReadResult::Failed);
    }
    EXPECT_EQ(TheFiles().ReadWholeFile(locked, bytes), ReadResult::Ok);
}

TEST(Win32Process, ExecutablePathNamesThisProgramAndItsSettingsFile) {
    const std::wstring exe = platform::TheProcess().ExecutablePath();
    EXPECT_NE(::GetFileAttributesW(exe.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(exe.substr(exe.size() - 20), L"quelmo_win_tests.exe");
    EXPECT_EQ(config::IniFileNameFor(exe), exe.substr(0, exe.size() - 3) + L"ini");
    const auto parameters = platform::TheProcess().CommandLineParameters();
    for (const auto& parameter : parameters) {
        EXPECT_EQ(parameter.find(L"quelmo_win_tests"), std::wstring::npos); // the program name is not one
    }
}

} // namespace

namespace contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FilesContract, Win32World);
} // namespace contracts

} // namespace quelmo
