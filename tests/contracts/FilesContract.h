// Behaviour that every implementation of platform::Files shares. The native tests run it on
// FakeFiles and on the POSIX implementation, the Windows tests on the Win32 one under Wine, so the
// fake cannot drift from what the settings store meets on a real disk.
//
// Each implementation's test instantiates the suite with a World: one fresh, empty folder per test
// and the few arrangements that Files itself cannot make.
//   platform::Files& Files();
//   std::wstring PathOf(std::wstring_view relative);  // "a/b.ini" inside the folder, as a full path
//   void MakeFolder(const std::wstring& path);
//   void MarkReadOnly(const std::wstring& path);       // as the user would, in Explorer or with chmod
//   void MakeFileOfSize(const std::wstring& path, std::size_t size);
//   std::size_t EntryCount();                          // files and folders in the folder
//   bool RefuseNewFiles();  // the folder takes no new files, its files stay writable (an installed
//                           // copy's folder); false when the world cannot arrange it
#pragma once

#include "platform/Files.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace quelmo::contracts {

template <class World>
class FilesContract : public ::testing::Test {
protected:
    World world;
};

TYPED_TEST_SUITE_P(FilesContract);

using platform::WriteResult;

// The content of `path` as read back, "<unreadable>" when it cannot be.
template <class World>
std::string ContentOf(World& world, const std::wstring& path) {
    std::string bytes;
    return world.Files().ReadWholeFile(path, bytes) == platform::ReadResult::Ok ? bytes : "<unreadable>";
}

TYPED_TEST_P(FilesContract, ReplacesTheWholeContentAndLeavesNoTemporaryFile) {
    auto& world = this->world;
    const std::wstring path = world.PathOf(L"Quelmo.ini");
    ASSERT_EQ(world.Files().ReplaceFileContent(path, "first, and longer than the second"), WriteResult::Ok);
    ASSERT_EQ(world.Files().ReplaceFileContent(path, std::string("two\0x", 5)), WriteResult::Ok);
    std::string bytes;
    EXPECT_EQ(world.Files().ReadWholeFile(path, bytes), platform::ReadResult::Ok);
    EXPECT_EQ(bytes, std::string("two\0x", 5));
    EXPECT_EQ(world.EntryCount(), 1U);
}

TYPED_TEST_P(FilesContract, AFailedReplaceLeavesWhatWasThereAndNoLeftovers) {
    auto& world = this->world;
    // A folder where the file should be: the move fails after the temporary file was written.
    const std::wstring blocked = world.PathOf(L"Quelmo.ini");
    world.MakeFolder(blocked);
    EXPECT_EQ(world.Files().ReplaceFileContent(blocked, "data"), WriteResult::Failed);
    EXPECT_FALSE(world.Files().RewriteFileContent(blocked, "data"));
    std::string bytes;
    EXPECT_EQ(world.Files().ReadWholeFile(blocked, bytes), platform::ReadResult::Failed); // still a folder
    EXPECT_EQ(world.EntryCount(), 1U);
    // The folder itself is missing.
    EXPECT_EQ(world.Files().ReplaceFileContent(world.PathOf(L"missing/Quelmo.ini"), "data"),
              WriteResult::Failed);
    EXPECT_EQ(world.EntryCount(), 1U);
}

// Windows refuses to replace such a file; an implementation that could (Wine running as root, POSIX)
// must refuse too, or a user's write-protected settings would be overwritten.
TYPED_TEST_P(FilesContract, AFileMarkedReadOnlyIsReadButNeverReplaced) {
    auto& world = this->world;
    const std::wstring path = world.PathOf(L"Quelmo.ini");
    ASSERT_EQ(world.Files().ReplaceFileContent(path, "old"), WriteResult::Ok);
    world.MarkReadOnly(path);
    EXPECT_EQ(world.Files().ReplaceFileContent(path, "new"), WriteResult::Failed);
    EXPECT_FALSE(world.Files().RewriteFileContent(path, "new"));
    std::string bytes;
    EXPECT_EQ(world.Files().ReadWholeFile(path, bytes), platform::ReadResult::Ok);
    EXPECT_EQ(bytes, "old");
    EXPECT_EQ(world.EntryCount(), 1U);
}

TYPED_TEST_P(FilesContract, RewriteChangesAnExistingFileInPlaceAndNeverMakesOne) {
    auto& world = this->world;
    const std::wstring path = world.PathOf(L"Quelmo.ini");
    EXPECT_FALSE(world.Files().RewriteFileContent(path, "data"));
    EXPECT_EQ(world.EntryCount(), 0U);
    ASSERT_EQ(world.Files().ReplaceFileContent(path, "the old content, longer than the new"),
              WriteResult::Ok);
    // Shorter (the rest is cut off), longer than the file ever was, empty.
    const std::string contents[] = {std::string("two\0x", 5), "grown past where the old content ended", ""};
    for (const std::string& content : contents) {
        EXPECT_TRUE(world.Files().RewriteFileContent(path, content));
        EXPECT_EQ(ContentOf(world, path), content);
    }
    EXPECT_EQ(world.EntryCount(), 1U);
}

// What an installed copy meets: its folder takes no new file, its settings file may be written.
TYPED_TEST_P(FilesContract, AFolderThatRefusesNewFilesIsToldApartAndItsFilesCanBeRewritten) {
    auto& world = this->world;
    const std::wstring path = world.PathOf(L"Quelmo.ini");
    ASSERT_EQ(world.Files().ReplaceFileContent(path, "[General]\r\n"), WriteResult::Ok);
    if (!world.RefuseNewFiles()) {
        GTEST_SKIP() << "this world lets every folder take new files";
    }
    EXPECT_EQ(world.Files().ReplaceFileContent(path, "new"), WriteResult::FolderRefused);
    EXPECT_EQ(ContentOf(world, path), "[General]\r\n");
    EXPECT_TRUE(world.Files().RewriteFileContent(path, "new"));
    EXPECT_EQ(ContentOf(world, path), "new");
    const std::wstring other = world.PathOf(L"other.ini");
    EXPECT_EQ(world.Files().ReplaceFileContent(other, "x"), WriteResult::FolderRefused);
    EXPECT_FALSE(world.Files().RewriteFileContent(other, "x"));
    EXPECT_EQ(world.EntryCount(), 1U);
}

TYPED_TEST_P(FilesContract, ReadTellsMissingFromUnreadable) {
    using platform::ReadResult;
    auto& world = this->world;
    std::string bytes = "stale";
    EXPECT_EQ(world.Files().ReadWholeFile(world.PathOf(L"none.ini"), bytes), ReadResult::NotFound);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(world.Files().ReadWholeFile(world.PathOf(L"none/deeper.ini"), bytes), ReadResult::NotFound);
    const std::wstring folder = world.PathOf(L"folder.ini");
    world.MakeFolder(folder);
    EXPECT_EQ(world.Files().ReadWholeFile(folder, bytes), ReadResult::Failed);
    const std::wstring big = world.PathOf(L"big.ini");
    world.MakeFileOfSize(big, platform::kMaxReadBytes + 1);
    bytes = "stale";
    EXPECT_EQ(world.Files().ReadWholeFile(big, bytes), ReadResult::Failed);
    EXPECT_TRUE(bytes.empty());
}

REGISTER_TYPED_TEST_SUITE_P(FilesContract, ReplacesTheWholeContentAndLeavesNoTemporaryFile,
                            AFailedReplaceLeavesWhatWasThereAndNoLeftovers,
                            AFileMarkedReadOnlyIsReadButNeverReplaced,
                            RewriteChangesAnExistingFileInPlaceAndNeverMakesOne,
                            AFolderThatRefusesNewFilesIsToldApartAndItsFilesCanBeRewritten,
                            ReadTellsMissingFromUnreadable);

} // namespace quelmo::contracts
