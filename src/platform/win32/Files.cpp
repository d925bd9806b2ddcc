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

// Creates a new, empty file beside `path` whose name no other writer uses at the same time.
win32::UniqueFile CreateTemporaryBeside(const std::wstring& path, std::wstring& tempPath) {
    const std::wstring stem = path + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = stem + std::to_wstring(attempt) + L".tmp";
        win32::UniqueFile file(::CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file || ::GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return {};
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

    bool ReplaceFileContent(const std::wstring& path, std::string_view bytes) override {
        // Windows refuses to move over a read-only file, but Wine running as root does not: ask first.
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            return false;
        }
        std::wstring tempPath;
        win32::UniqueFile file = CreateTemporaryBeside(path, tempPath);
        if (!file) {
            return false;
        }
        // Everything must be on disk before the move makes it the real file.
        bool ok = WriteAll(file.Get(), bytes) && ::FlushFileBuffers(file.Get());
        file.Reset();
        ok = ok && ::MoveFileExW(tempPath.c_str(), path.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!ok) {
            ::DeleteFileW(tempPath.c_str());
        }
        return ok;
    }
};

} // namespace

template <>
Files& Seam<Files>::Default() {
    static Win32Files instance;
    return instance;
}

} // namespace quelmo::platform
