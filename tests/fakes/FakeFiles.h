// Files kept in memory for tests, with paths compared without regard to case (as on Windows),
// and switches that make reading or replacing fail.
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
    bool ReplaceFileContent(const std::wstring& path, std::string_view bytes) override;

    void SetContent(const std::wstring& path, std::string bytes);
    void Remove(const std::wstring& path);
    std::optional<std::string> Content(const std::wstring& path) const;
    // Reading this path answers Failed although the file may exist (no rights, a lock).
    void FailRead(const std::wstring& path, bool fail = true);
    // Every later replace fails and leaves the files as they are (full disk, read-only folder).
    void FailWrites(bool fail = true);
    // The file carries the read-only mark: replacing it fails, reading it works.
    void SetReadOnly(const std::wstring& path, bool readOnly = true);
    int ReadCount() const;
    int WriteCount() const; // replace attempts, failed ones included

private:
    static std::wstring Key(const std::wstring& path);

    mutable std::mutex mutex_;
    std::map<std::wstring, std::string> files_;
    std::set<std::wstring> unreadable_;
    std::set<std::wstring> readOnly_;
    bool failWrites_ = false;
    int reads_ = 0;
    int writes_ = 0;
};

} // namespace quelmo::fakes
