// Whole-file reading and replacing, for the settings file. Paths are full paths.
#pragma once

#include "platform/Seam.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace quelmo::platform {

enum class ReadResult { Ok, NotFound, Failed };
// FolderRefused: the folder takes no new file (no rights to create one there), so nothing was
// written; the file itself may still be writable (see RewriteFileContent).
enum class WriteResult { Ok, Failed, FolderRefused };

// Files larger than this are not read (ReadResult::Failed): no settings file comes near it, and
// the limit keeps a runaway file from exhausting a 32-bit process.
inline constexpr std::size_t kMaxReadBytes = 16 * 1024 * 1024;

class Files {
public:
    virtual ~Files() = default;
    // The whole content of the file. NotFound when there is no such file (or folder), Failed when it
    // exists but cannot be read or is larger than kMaxReadBytes; `bytes` is then left empty.
    virtual ReadResult ReadWholeFile(const std::wstring& path, std::string& bytes) = 0;
    // Writes `bytes` to a new temporary file in the folder of `path`, flushes it to disk and moves it
    // over `path` in one step, so that `path` holds either its old or its new content, never a part.
    // A file marked read-only is never replaced. On failure the temporary file is removed and `path`
    // is untouched.
    virtual WriteResult ReplaceFileContent(const std::wstring& path, std::string_view bytes) = 0;
    // Writes `bytes` into the existing file at `path` itself, for a folder that takes no new files:
    // the space is reserved first (a full disk fails before anything changed), then the bytes are
    // written from the start, the file cut to their length and flushed. Only a crash during those
    // writes can leave a part. Never creates the file; a file marked read-only is left alone.
    virtual bool RewriteFileContent(const std::wstring& path, std::string_view bytes) = 0;
};

// Defined by the platform's implementation file.
template <>
Files& Seam<Files>::Default();

inline Files& TheFiles() {
    return Seam<Files>::Get();
}

} // namespace quelmo::platform
