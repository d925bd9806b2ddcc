// Files kept in memory for tests, with paths compared without regard to case (as on Windows),
// folders that must exist for a file to be written into them, and switches that make reading or
// replacing fail. tests/contracts/FilesContract.h holds it to what the real implementations do.
#pragma once

#include "platform/Files.h"

#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace quelmo::fakes {

class FakeFiles final : public platform::Files {
public:
    platform::ReadResult ReadWholeFile(const std::wstring& path, std::string& bytes) override;
    platform::WriteResult ReplaceFileContent(const std::wstring& path, std::string_view bytes) override;
    bool RewriteFileContent(const std::wstring& path, std::string_view bytes) override;

    // A folder at `path` (its own folder need not exist).
    void AddFolder(const std::wstring& path);
    // Sets a file's content; its folder need not exist.
    void SetContent(const std::wstring& path, std::string bytes);
    void Remove(const std::wstring& path);
    std::optional<std::string> Content(const std::wstring& path) const;
    // The files and folders directly in the folder at `path`.
    std::size_t EntryCount(const std::wstring& path) const;
    // Reading this path answers Failed although the file may exist (no rights, a lock).
    void FailRead(const std::wstring& path, bool fail = true);
    // Every later replace or rewrite fails and leaves the files as they are (a full disk).
    void FailWrites(bool fail = true);
    // The folder at `path` takes no new files (as Program Files for a user): replacing a file in it
    // answers FolderRefused, rewriting one that is there works.
    void RefuseNewFiles(const std::wstring& folder);
    // The file carries the read-only mark: replacing it fails, reading it works.
    void SetReadOnly(const std::wstring& path, bool readOnly = true);
    int ReadCount() const;
    int WriteCount() const; // replace and rewrite attempts, failed ones included

    // The folder part of `path` (before the last "\" or "/"), empty when it has none.
    static std::wstring FolderOf(const std::wstring& path);

private:
    static std::wstring Key(const std::wstring& path);

    mutable std::mutex mutex_;
    std::map<std::wstring, std::string> files_;
    std::set<std::wstring> folders_;
    std::set<std::wstring> unreadable_;
    std::set<std::wstring> readOnly_;
    std::set<std::wstring> refusingFolders_;
    bool failWrites_ = false;
    int reads_ = 0;
    int writes_ = 0;
};

} // namespace quelmo::fakes
