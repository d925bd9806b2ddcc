#include "platform/Files.h"

#include "platform/win32/UniqueHandle.h"

#include <windows.h>

namespace quelmo::platform {
namespace {

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x100000 ? 0x100000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// Windows refuses to write a read-only file, but Wine running as root does not: ask first.
bool IsMarkedReadOnly(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool SeekTo(HANDLE file, LONGLONG offset) {
    LARGE_INTEGER position{};
    position.QuadPart = offset;
    return ::SetFilePointerEx(file, position, nullptr, FILE_BEGIN);
}

bool EndAt(HANDLE file, LONGLONG length) {
    return SeekTo(file, length) && ::SetEndOfFile(file);
}

// Creates a new, empty file beside `path` whose name no other writer uses at the same time; when
// none can be made, `error` tells why.
win32::UniqueFile CreateTemporaryBeside(const std::wstring& path, std::wstring& tempPath, DWORD& error) {
    const std::wstring stem = path + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-";
    error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
        tempPath = stem + std::to_wstring(attempt) + L".tmp";
        win32::UniqueFile file(::CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            return file;
        }
        error = ::GetLastError();
    }
    return {};
}

// Makes the written temporary file the file at `path`. An existing file is replaced by ReplaceFileW,
// which gives the new file the old one's security and attributes: an administrator's save must not
// take away the users' right to write an installed copy's settings.
bool MoveOver(const std::wstring& tempPath, const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return ::MoveFileExW(tempPath.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH);
    }
    // Windows refuses to replace a folder by a file; Wine's ReplaceFileW does not.
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           ::ReplaceFileW(path.c_str(), tempPath.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                          nullptr);
}

class Win32Files final : public Files {
public:
    ReadResult ReadWholeFile(const std::wstring& path, std::string& bytes) override {
        bytes.clear();
        const win32::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            const DWORD error = ::GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::NotFound
                                                                                  : ReadResult::Failed;
        }
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
            static_cast<unsigned long long>(size.QuadPart) > kMaxReadBytes) {
            return ReadResult::Failed;
        }
        std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
        std::size_t done = 0;
        while (done < content.size()) {
            DWORD got = 0;
            if (!::ReadFile(file.Get(), content.data() + done, static_cast<DWORD>(content.size() - done),
                            &got, nullptr)) {
                return ReadResult::Failed;
            }
            if (got == 0) {
                break; // the file shrank while we read it
            }
            done += got;
        }
        content.resize(done);
        bytes = std::move(content);
        return ReadResult::Ok;
    }

    WriteResult ReplaceFileContent(const std::wstring& path, std::string_view bytes) override {
        if (IsMarkedReadOnly(path)) {
            return WriteResult::Failed;
        }
        std::wstring tempPath;
        DWORD error = 0;
        win32::UniqueFile file = CreateTemporaryBeside(path, tempPath, error);
        if (!file) {
            // A folder the user may not create files in (Program Files, for one) answers "denied".
            return error == ERROR_ACCESS_DENIED ? WriteResult::FolderRefused : WriteResult::Failed;
        }
        // Everything must be on disk before the move makes it the real file.
        bool ok = WriteAll(file.Get(), bytes) && ::FlushFileBuffers(file.Get());
        file.Reset();
        ok = ok && MoveOver(tempPath, path);
        if (!ok) {
            ::DeleteFileW(tempPath.c_str());
        }
        return ok ? WriteResult::Ok : WriteResult::Failed;
    }

    bool RewriteFileContent(const std::wstring& path, std::string_view bytes) override {
        if (IsMarkedReadOnly(path)) {
            return false;
        }
        // OPEN_EXISTING: this never makes a file; a folder cannot be opened without backup semantics.
        const win32::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                                   FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size{};
        if (!file || !::GetFileSizeEx(file.Get(), &size)) {
            return false;
        }
        const auto length = static_cast<LONGLONG>(bytes.size());
        // Growing the file first claims the disk space while the old content is still whole.
        return (length <= size.QuadPart || EndAt(file.Get(), length)) && SeekTo(file.Get(), 0) &&
               WriteAll(file.Get(), bytes) && EndAt(file.Get(), length) && ::FlushFileBuffers(file.Get());
    }
};

} // namespace

template <>
Files& Seam<Files>::Default() {
    static Win32Files instance;
    return instance;
}

} // namespace quelmo::platform
