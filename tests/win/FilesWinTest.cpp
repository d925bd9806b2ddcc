// The Win32 Files implementation on a real folder, and the process facts the shell relies on.
#include "app/MyConfig.h"
#include "platform/Files.h"
#include "platform/Process.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace quelmo {
namespace {

using platform::ReadResult;
using platform::TheFiles;

// A fresh folder under the temporary folder, removed with its content afterwards.
class ScratchFolder {
public:
    ScratchFolder() {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"quelmo files " + std::to_wstring(::GetCurrentProcessId());
        Remove();
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { Remove(); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::wstring operator/(const wchar_t* name) const { return path_ + L"\\" + name; }
    int EntryCount() const {
        WIN32_FIND_DATAW data{};
        const HANDLE find = ::FindFirstFileW((path_ + L"\\*").c_str(), &data);
        int count = 0;
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = data.cFileName;
                count += (name != L"." && name != L"..") ? 1 : 0;
            } while (::FindNextFileW(find, &data));
            ::FindClose(find);
        }
        return count;
    }

private:
    void Remove() const {
        WIN32_FIND_DATAW data{};
        const HANDLE find = ::FindFirstFileW((path_ + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..") {
                    continue;
                }
                const std::wstring child = path_ + L"\\" + name;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    ::RemoveDirectoryW(child.c_str());
                } else {
                    ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                    ::DeleteFileW(child.c_str());
                }
            } while (::FindNextFileW(find, &data));
            ::FindClose(find);
        }
        ::RemoveDirectoryW(path_.c_str());
    }

    std::wstring path_;
};

TEST(Win32Files, ReplacesTheWholeContentAndLeavesNoTemporaryFile) {
    const ScratchFolder folder;
    const std::wstring path = folder / L"Quelmo.ini";
    ASSERT_TRUE(TheFiles().ReplaceFileContent(path, "first, and longer than the second"));
    ASSERT_TRUE(TheFiles().ReplaceFileContent(path, std::string("two\0x", 5)));
    std::string bytes;
    EXPECT_EQ(TheFiles().ReadWholeFile(path, bytes), ReadResult::Ok);
    EXPECT_EQ(bytes, std::string("two\0x", 5));
    EXPECT_EQ(folder.EntryCount(), 1);
}

TEST(Win32Files, FailuresLeaveTheOldStateAndNoLeftovers) {
    const ScratchFolder folder;
    // A folder where the file should be: the move fails after the temporary file was written.
    const std::wstring blocked = folder / L"Quelmo.ini";
    ASSERT_TRUE(::CreateDirectoryW(blocked.c_str(), nullptr));
    EXPECT_FALSE(TheFiles().ReplaceFileContent(blocked, "data"));
    EXPECT_EQ(::GetFileAttributesW(blocked.c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              DWORD{FILE_ATTRIBUTE_DIRECTORY});
    EXPECT_EQ(folder.EntryCount(), 1);
    // The folder itself is missing.
    EXPECT_FALSE(TheFiles().ReplaceFileContent(folder / L"missing\\Quelmo.ini", "data"));
    EXPECT_EQ(folder.EntryCount(), 1);
    // A read-only file is kept (Wine running as root would move over it).
    const std::wstring readOnly = folder / L"ReadOnly.ini";
    ASSERT_TRUE(TheFiles().ReplaceFileContent(readOnly, "old"));
    ASSERT_TRUE(::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(TheFiles().ReplaceFileContent(readOnly, "new"));
    std::string bytes;
    EXPECT_EQ(TheFiles().ReadWholeFile(readOnly, bytes), ReadResult::Ok);
    EXPECT_EQ(bytes, "old");
    EXPECT_EQ(folder.EntryCount(), 2);
}

TEST(Win32Files, ReadTellsMissingFromUnreadable) {
    const ScratchFolder folder;
    std::string bytes = "stale";
    EXPECT_EQ(TheFiles().ReadWholeFile(folder / L"none.ini", bytes), ReadResult::NotFound);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(TheFiles().ReadWholeFile(folder / L"none\\deeper.ini", bytes), ReadResult::NotFound);
    const std::wstring sub = folder / L"sub.ini";
    ::CreateDirectoryW(sub.c_str(), nullptr);
    EXPECT_EQ(TheFiles().ReadWholeFile(sub, bytes), ReadResult::Failed);
    // A file held open without sharing cannot be read.
    const std::wstring locked = folder / L"locked.ini";
    ASSERT_TRUE(TheFiles().ReplaceFileContent(locked, "[General]\r\n"));
    const HANDLE holder = ::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(TheFiles().ReadWholeFile(locked, bytes), ReadResult::Failed);
    ::CloseHandle(holder);
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
} // namespace quelmo
