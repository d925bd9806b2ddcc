// The Files contract on the in-memory fake and on the POSIX implementation in a real folder.
#include "contracts/FilesContract.h"
#include "fakes/FakeFiles.h"

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace quelmo {
namespace {

namespace fs = std::filesystem;

class FakeWorld {
public:
    FakeWorld() { files_.AddFolder(kFolder); }
    platform::Files& Files() { return files_; }
    std::wstring PathOf(std::wstring_view relative) const { return kFolder + L"\\" + std::wstring(relative); }
    void MakeFolder(const std::wstring& path) { files_.AddFolder(path); }
    void MarkReadOnly(const std::wstring& path) { files_.SetReadOnly(path); }
    void MakeFileOfSize(const std::wstring& path, std::size_t size) {
        files_.SetContent(path, std::string(size, 'x'));
    }
    std::size_t EntryCount() const { return files_.EntryCount(kFolder); }
    bool RefuseNewFiles() {
        files_.RefuseNewFiles(kFolder);
        return true;
    }

private:
    // Separators of both kinds, as the program may meet them.
    static inline const std::wstring kFolder = L"C:\\Program Files/new tools";
    fakes::FakeFiles files_;
};

// A fresh folder under the temporary folder, with a blank and "\n"-like names on its path.
class PosixWorld {
public:
    PosixWorld() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        top_ =
            fs::temp_directory_path() / ("quelmo files " + std::to_string(::getpid()) + " " + test->name());
        fs::remove_all(top_);
        fs::create_directories(top_ / "new tools");
    }
    ~PosixWorld() {
        if (asNobody_) {
            ::setfsuid(0);
        }
        std::error_code error;
        fs::permissions(top_ / "new tools", fs::perms::owner_all, fs::perm_options::add, error);
        fs::remove_all(top_);
    }
    PosixWorld(const PosixWorld&) = delete;
    PosixWorld& operator=(const PosixWorld&) = delete;

    platform::Files& Files() { return platform::TheFiles(); }
    std::wstring PathOf(std::wstring_view relative) const {
        return (top_ / "new tools" / fs::path(relative)).wstring();
    }
    void MakeFolder(const std::wstring& path) { fs::create_directory(path); }
    // No write bit for anyone: what Wine shows to Windows programs as the read-only mark.
    void MarkReadOnly(const std::wstring& path) {
        fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
    void MakeFileOfSize(const std::wstring& path, std::size_t size) {
        std::ofstream file(fs::path(path), std::ios::binary);
        file.seekp(static_cast<std::streamoff>(size - 1));
        file.put('x');
    }
    std::size_t EntryCount() const {
        const fs::path folder = top_ / "new tools";
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    // No write bit on the folder, everyone's on its files, as the installer leaves an installed
    // copy. Root may create files anywhere, so this thread then checks rights as nobody would.
    bool RefuseNewFiles() {
        const fs::path folder = top_ / "new tools";
        for (const auto& entry : fs::directory_iterator(folder)) {
            fs::permissions(entry.path(), fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                                              ~fs::perms::others_exec);
        }
        const auto readAndEnter = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
        fs::permissions(top_, readAndEnter | fs::perms::owner_write);
        fs::permissions(folder, readAndEnter);
        if (::geteuid() == 0) {
            constexpr uid_t kNobody = 65534;
            ::setfsuid(kNobody);
            asNobody_ = ::setfsuid(kNobody) == static_cast<int>(kNobody);
            return asNobody_;
        }
        return true;
    }

private:
    fs::path top_;
    bool asNobody_ = false;
};

} // namespace

namespace contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(Fake, FilesContract, FakeWorld);
INSTANTIATE_TYPED_TEST_SUITE_P(Posix, FilesContract, PosixWorld);
} // namespace contracts

} // namespace quelmo
