// The Files contract on the in-memory fake and on the POSIX implementation in a real folder.
#include "contracts/FilesContract.h"
#include "fakes/FakeFiles.h"

#include <gtest/gtest.h>

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
    ~PosixWorld() { fs::remove_all(top_); }
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

private:
    fs::path top_;
};

} // namespace

namespace contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(Fake, FilesContract, FakeWorld);
INSTANTIATE_TYPED_TEST_SUITE_P(Posix, FilesContract, PosixWorld);
} // namespace contracts

} // namespace quelmo
