#include "platform/Process.h"

#include "platform/win32/SystemText.h"
#include "platform/win32/UniqueHandle.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace quelmo::platform {
namespace {

// MessageBox breaks lines at "\n"; our texts use a lone "\r" as the line break.
std::wstring WithLineBreaks(std::wstring_view text) {
    std::wstring result;
    result.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        result.push_back(text[i]);
        if (text[i] == L'\r' && (i + 1 == text.size() || text[i + 1] != L'\n')) {
            result.push_back(L'\n');
        }
    }
    return result;
}

class Win32Process final : public Process {
public:
    std::wstring ExecutablePath() override {
        std::wstring path(MAX_PATH, L'\0');
        for (;;) {
            const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
            if (length == 0) {
                return {};
            }
            // A full buffer means the path may have been cut; long paths need a bigger one.
            if (length < path.size() || path.size() >= 32768) {
                path.resize(length);
                return path;
            }
            path.resize(path.size() * 2);
        }
    }

    std::vector<std::wstring> CommandLineParameters() override {
        int count = 0;
        LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
        const win32::UniqueLocalMemory owner(static_cast<HLOCAL>(argv));
        std::vector<std::wstring> parameters;
        for (int i = 1; argv != nullptr && i < count; ++i) {
            parameters.emplace_back(argv[i]);
        }
        return parameters;
    }

    bool OpenNamedMutex(std::wstring_view name) override {
        const std::wstring mutexName(name);
        return Keep(::OpenMutexW(MUTEX_ALL_ACCESS, FALSE, mutexName.c_str()));
    }

    bool CreateNamedMutex(std::wstring_view name) override {
        const std::wstring mutexName(name);
        const HANDLE handle = ::CreateMutexW(nullptr, FALSE, mutexName.c_str());
        // Another copy may have created it since our open failed: then it is theirs, not ours.
        const bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
        return Keep(handle) && !existed;
    }

    MessageAnswer ShowMessage(std::wstring_view caption, std::wstring_view text, MessageKind kind,
                              MessageButtons buttons) override {
        UINT flags = MB_TASKMODAL | MB_SETFOREGROUND;
        switch (kind) {
        case MessageKind::Information:
            flags |= MB_ICONINFORMATION;
            break;
        case MessageKind::Confirmation:
            flags |= MB_ICONQUESTION;
            break;
        case MessageKind::Warning:
            flags |= MB_ICONWARNING;
            break;
        case MessageKind::Error:
            flags |= MB_ICONERROR;
            break;
        }
        switch (buttons) {
        case MessageButtons::Ok:
            flags |= MB_OK;
            break;
        case MessageButtons::YesNo:
            flags |= MB_YESNO;
            break;
        case MessageButtons::YesNoCancel:
            flags |= MB_YESNOCANCEL;
            break;
        }
        const std::wstring captionText(caption);
        const std::wstring body = WithLineBreaks(text);
        switch (::MessageBoxW(nullptr, body.c_str(), captionText.c_str(), flags)) {
        case IDOK:
            return MessageAnswer::Ok;
        case IDYES:
            return MessageAnswer::Yes;
        case IDNO:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Cancel;
        }
    }

    int OpenWithShell(std::wstring_view target) override {
        const std::wstring path(target);
        const auto result = reinterpret_cast<INT_PTR>(
            ::ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        return static_cast<int>(result);
    }

    std::wstring ErrorText(int code) override { return win32::SystemErrorText(static_cast<DWORD>(code)); }

private:
    // Mutex handles stay open for the life of the process; the system closes them at its end.
    bool Keep(HANDLE handle) {
        if (handle == nullptr) {
            return false;
        }
        mutexes_.emplace_back(handle);
        return true;
    }

    std::vector<win32::UniqueKernelHandle> mutexes_;
};

} // namespace

template <>
Process& Seam<Process>::Default() {
    static Win32Process instance;
    return instance;
}

} // namespace quelmo::platform
