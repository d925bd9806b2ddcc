// The native Files implementation on a real folder: whole-file reads and replacement in one step.
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace quelmo {
namespace {

namespace fs = std::filesystem;
using platform::ReadResult;
using platform::TheFiles;

class PosixFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("quelmo-files-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::wstring PathOf(const char* name) const { return (dir_ / name).wstring(); }
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    fs::path dir_;
};

TEST_F(PosixFiles, ReplacesTheWholeContentAndLeavesNoTemporaryFile) {
    const std::wstring path = PathOf("Quelmo.ini");
    ASSERT_TRUE(TheFiles().ReplaceFileContent(path, "first, and longer than the second"));
    ASSERT_TRUE(TheFiles().ReplaceFileContent(path, std::string("two\0x", 5)));
    std::string bytes;
    EXPECT_EQ(TheFiles().ReadWholeFile(path, bytes), ReadResult::Ok);
    EXPECT_EQ(bytes, std::string("two\0x", 5));
    EXPECT_EQ(EntryCount(), 1U);
}

TEST_F(PosixFiles, FailuresLeaveTheOldFileAndNoLeftovers) {
    // The target is a folder: the move fails after the temporary file was written.
    const std::wstring folder = PathOf("Quelmo.ini");
    fs::create_directory(folder);
    fs::create_directory(dir_ / "Quelmo.ini" / "inner");
    EXPECT_FALSE(TheFiles().ReplaceFileContent(folder, "data"));
    EXPECT_TRUE(fs::is_directory(dir_ / "Quelmo.ini"));
    EXPECT_EQ(EntryCount(), 1U);
    // The folder itself is missing.
    EXPECT_FALSE(TheFiles().ReplaceFileContent(PathOf("missing/Quelmo.ini"), "data"));
    // The file is read-only (no write bit for anyone): kept even for root, who could write it.
    const std::wstring readOnly = PathOf("ReadOnly.ini");
    ASSERT_TRUE(TheFiles().ReplaceFileContent(readOnly, "old"));
    fs::permissions(dir_ / "ReadOnly.ini", fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(TheFiles().ReplaceFileContent(readOnly, "new"));
    std::string bytes;
    EXPECT_EQ(TheFiles().ReadWholeFile(readOnly, bytes), ReadResult::Ok);
    EXPECT_EQ(bytes, "old");
    EXPECT_EQ(EntryCount(), 2U);
}

TEST_F(PosixFiles, ReadTellsMissingFromUnreadable) {
    std::string bytes = "stale";
    EXPECT_EQ(TheFiles().ReadWholeFile(PathOf("none.ini"), bytes), ReadResult::NotFound);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(TheFiles().ReadWholeFile(PathOf("none/deeper.ini"), bytes), ReadResult::NotFound);
    fs::create_directory(dir_ / "folder.ini");
    EXPECT_EQ(TheFiles().ReadWholeFile(PathOf("folder.ini"), bytes), ReadResult::Failed);
    {
        std::ofstream big(dir_ / "big.ini", std::ios::binary);
        big.seekp(static_cast<std::streamoff>(platform::kMaxReadBytes));
        big.put('x');
    }
    EXPECT_EQ(TheFiles().ReadWholeFile(PathOf("big.ini"), bytes), ReadResult::Failed);
    EXPECT_TRUE(bytes.empty());
}

} // namespace
} // namespace quelmo
