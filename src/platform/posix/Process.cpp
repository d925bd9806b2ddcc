// Native stand-in for the process services: real executable path and parameters, mutexes known
// only inside this process, and message boxes written to stderr (answered Cancel, or Ok).
#include "platform/Process.h"

#include "platform/posix/Utf8.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <mutex>
#include <set>

namespace quelmo::platform {
namespace {

class PosixProcess final : public Process {
public:
    std::wstring ExecutablePath() override {
        std::string path(4096, '\0');
        const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
        path.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
        return posix::FromUtf8(path);
    }

    std::vector<std::wstring> CommandLineParameters() override {
        std::ifstream in("/proc/self/cmdline", std::ios::binary);
        const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<std::wstring> parameters;
        std::size_t start = 0;
        bool first = true;
        while (start < all.size()) {
            std::size_t end = all.find('\0', start);
            if (end == std::string::npos) {
                end = all.size();
            }
            if (!first) {
                parameters.push_back(posix::FromUtf8(std::string_view(all).substr(start, end - start)));
            }
            first = false;
            start = end + 1;
        }
        return parameters;
    }

    bool OpenNamedMutex(std::wstring_view name) override {
        const std::lock_guard lock(mutex_);
        return names_.contains(std::wstring(name));
    }

    bool CreateNamedMutex(std::wstring_view name) override {
        const std::lock_guard lock(mutex_);
        names_.insert(std::wstring(name));
        return true;
    }

    MessageAnswer ShowMessage(std::wstring_view caption, std::wstring_view text, MessageKind,
                              MessageButtons buttons) override {
        std::fprintf(stderr, "[%s] %s\n", posix::ToUtf8(caption).c_str(), posix::ToUtf8(text).c_str());
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }

    // No shell opens documents here: the answer is "no association" (31).
    int OpenWithShell(std::wstring_view) override { return kNoAssociation; }
    std::wstring ErrorText(int code) override { return L"System error " + std::to_wstring(code) + L"."; }

private:
    static constexpr int kNoAssociation = 31;
    std::mutex mutex_;
    std::set<std::wstring> names_;
};

} // namespace

template <>
Process& Seam<Process>::Default() {
    static PosixProcess instance;
    return instance;
}

} // namespace quelmo::platform
