#include "platform/Files.h"

#include "platform/posix/Utf8.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace quelmo::platform {
namespace {

// Closes a file descriptor when it goes.
class ScopedFd {
public:
    explicit ScopedFd(int fd) : fd_(fd) {}
    ScopedFd(const ScopedFd&) = delete;
    ScopedFd& operator=(const ScopedFd&) = delete;
    ~ScopedFd() { Close(); }
    int Get() const { return fd_; }
    bool Close() {
        const bool ok = fd_ < 0 || ::close(fd_) == 0;
        fd_ = -1;
        return ok;
    }

private:
    int fd_;
};

// Read-only as Wine shows a file to Windows programs: nobody has the write bit. access(W_OK) would
// answer for this process instead, and to root every file is writable.
bool IsMarkedReadOnly(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// Writes all of `bytes` at the file's position.
bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

class PosixFiles final : public Files {
public:
    ReadResult ReadWholeFile(const std::wstring& path, std::string& bytes) override {
        bytes.clear();
        const ScopedFd fd(::open(posix::ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
        if (fd.Get() < 0) {
            return errno == ENOENT || errno == ENOTDIR ? ReadResult::NotFound : ReadResult::Failed;
        }
        struct stat info {};
        if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
            static_cast<unsigned long long>(info.st_size) > kMaxReadBytes) {
            return ReadResult::Failed;
        }
        std::string content(static_cast<std::size_t>(info.st_size), '\0');
        std::size_t done = 0;
        while (done < content.size()) {
            const ssize_t got = ::read(fd.Get(), content.data() + done, content.size() - done);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                return ReadResult::Failed;
            }
            if (got == 0) {
                break;
            }
            done += static_cast<std::size_t>(got);
        }
        content.resize(done);
        bytes = std::move(content);
        return ReadResult::Ok;
    }

    WriteResult ReplaceFileContent(const std::wstring& path, std::string_view bytes) override {
        const std::string target = posix::ToUtf8(path);
        if (IsMarkedReadOnly(target)) {
            return WriteResult::Failed;
        }
        std::string temp = target + ".XXXXXX";
        ScopedFd fd(::mkstemp(temp.data()));
        if (fd.Get() < 0) {
            return errno == EACCES || errno == EPERM ? WriteResult::FolderRefused : WriteResult::Failed;
        }
        bool ok = WriteAll(fd.Get(), bytes) && ::fchmod(fd.Get(), 0644) == 0 && ::fsync(fd.Get()) == 0;
        ok = fd.Close() && ok;
        ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
        if (!ok) {
            ::unlink(temp.c_str());
        }
        return ok ? WriteResult::Ok : WriteResult::Failed;
    }

    bool RewriteFileContent(const std::wstring& path, std::string_view bytes) override {
        const std::string target = posix::ToUtf8(path);
        if (IsMarkedReadOnly(target)) {
            return false;
        }
        ScopedFd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
        struct stat info {};
        if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
            return false;
        }
        const auto length = static_cast<off_t>(bytes.size());
        // Claiming the space first makes a full disk fail while the old content is still whole.
        bool ok = length <= info.st_size || ::posix_fallocate(fd.Get(), 0, length) == 0;
        ok = ok && WriteAll(fd.Get(), bytes) && ::ftruncate(fd.Get(), length) == 0 && ::fsync(fd.Get()) == 0;
        return fd.Close() && ok;
    }
};

} // namespace

template <>
Files& Seam<Files>::Default() {
    static PosixFiles instance;
    return instance;
}

} // namespace quelmo::platform
