#include "fakes/FakeFiles.h"

#include <cwctype>

namespace quelmo::fakes {

using platform::ReadResult;

std::wstring FakeFiles::Key(const std::wstring& path) {
    std::wstring key = path;
    for (auto& ch : key) {
        ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
    }
    return key;
}

std::wstring FakeFiles::FolderOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

ReadResult FakeFiles::ReadWholeFile(const std::wstring& path, std::string& bytes) {
    const std::lock_guard lock(mutex_);
    ++reads_;
    bytes.clear();
    const auto key = Key(path);
    if (folders_.contains(key)) {
        return ReadResult::Failed;
    }
    const auto it = files_.find(key);
    if (it == files_.end()) {
        return ReadResult::NotFound;
    }
    if (unreadable_.contains(key) || it->second.size() > platform::kMaxReadBytes) {
        return ReadResult::Failed;
    }
    bytes = it->second;
    return ReadResult::Ok;
}

platform::WriteResult FakeFiles::ReplaceFileContent(const std::wstring& path, std::string_view bytes) {
    using platform::WriteResult;
    const std::lock_guard lock(mutex_);
    ++writes_;
    const auto key = Key(path);
    const auto folder = Key(FolderOf(path));
    if (failWrites_ || readOnly_.contains(key) || folders_.contains(key) || !folders_.contains(folder)) {
        return WriteResult::Failed;
    }
    if (refusingFolders_.contains(folder)) {
        return WriteResult::FolderRefused; // the temporary file beside it cannot be made
    }
    files_[key] = std::string(bytes);
    return WriteResult::Ok;
}

bool FakeFiles::RewriteFileContent(const std::wstring& path, std::string_view bytes) {
    const std::lock_guard lock(mutex_);
    ++writes_;
    const auto it = files_.find(Key(path));
    if (failWrites_ || it == files_.end() || readOnly_.contains(it->first)) {
        return false;
    }
    it->second = std::string(bytes);
    return true;
}

void FakeFiles::RefuseNewFiles(const std::wstring& folder) {
    const std::lock_guard lock(mutex_);
    refusingFolders_.insert(Key(folder));
}

void FakeFiles::AddFolder(const std::wstring& path) {
    const std::lock_guard lock(mutex_);
    folders_.insert(Key(path));
}

std::size_t FakeFiles::EntryCount(const std::wstring& path) const {
    const std::lock_guard lock(mutex_);
    const auto folder = Key(path);
    std::size_t count = 0;
    for (const auto& [file, content] : files_) {
        count += FolderOf(file) == folder ? 1 : 0;
    }
    for (const auto& inner : folders_) {
        count += FolderOf(inner) == folder ? 1 : 0;
    }
    return count;
}

void FakeFiles::SetContent(const std::wstring& path, std::string bytes) {
    const std::lock_guard lock(mutex_);
    files_[Key(path)] = std::move(bytes);
}

void FakeFiles::Remove(const std::wstring& path) {
    const std::lock_guard lock(mutex_);
    files_.erase(Key(path));
}

std::optional<std::string> FakeFiles::Content(const std::wstring& path) const {
    const std::lock_guard lock(mutex_);
    const auto it = files_.find(Key(path));
    if (it == files_.end()) {
        return std::nullopt;
    }
    return it->second;
}

void FakeFiles::FailRead(const std::wstring& path, bool fail) {
    const std::lock_guard lock(mutex_);
    if (fail) {
        unreadable_.insert(Key(path));
    } else {
        unreadable_.erase(Key(path));
    }
}

void FakeFiles::SetReadOnly(const std::wstring& path, bool readOnly) {
    const std::lock_guard lock(mutex_);
    if (readOnly) {
        readOnly_.insert(Key(path));
    } else {
        readOnly_.erase(Key(path));
    }
}

void FakeFiles::FailWrites(bool fail) {
    const std::lock_guard lock(mutex_);
    failWrites_ = fail;
}

int FakeFiles::ReadCount() const {
    const std::lock_guard lock(mutex_);
    return reads_;
}

int FakeFiles::WriteCount() const {
    const std::lock_guard lock(mutex_);
    return writes_;
}

} // namespace quelmo::fakes
