// quelmo_driver: drives Windows programs for the end-to-end tests, under Wine like the programs
// themselves. It runs the commands given on its command line in order and stops at the first
// that fails (exit code 1, the reason on stderr), ending every program it started. See README.md.
#include "platform/win32/UniqueHandle.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <functional>
#include <map>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using quelmo::win32::UniqueKernelHandle;
using quelmo::win32::UniqueRegKey;

// A failed command; the message is what the test log shows.
struct Failure : std::runtime_error {
    explicit Failure(const std::wstring& message) : std::runtime_error("failure"), text(message) {}
    std::wstring text;
};

std::string Utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                          nullptr);
    return out;
}

// Line breaks as "\n" whatever the window used ("\r\n" or a lone "\r").
std::wstring Normalised(std::wstring text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r') {
            out.push_back(L'\n');
            if (i + 1 < text.size() && text[i + 1] == L'\n') {
                ++i;
            }
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// "\n" in a command argument stands for a line break.
std::wstring Unescaped(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'n') {
            out.push_back(L'\n');
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// The system's text for an error code, without its line break (as the program shows it).
std::wstring SystemMessage(DWORD code) {
    wchar_t buffer[512] = {};
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                          code, 0, buffer, 512, nullptr);
    std::wstring text(buffer, length);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.pop_back();
    }
    return text;
}

void Say(const std::wstring& line) {
    std::printf("%s\n", Utf8(line).c_str());
    std::fflush(stdout);
}

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    ::GetClassNameW(hwnd, name, 256);
    return name;
}

struct Started {
    UniqueKernelHandle process;
    DWORD id = 0;
};

class Driver {
public:
    int Run(std::vector<std::wstring> args) {
        std::size_t at = 0;
        const auto next = [&](const wchar_t* what) {
            if (at >= args.size()) {
                throw Failure(std::wstring(L"missing ") + what);
            }
            return args[at++];
        };
        try {
            while (at < args.size()) {
                const std::wstring verb = args[at++];
                Execute(verb, next);
            }
        } catch (const Failure& failure) {
            std::fprintf(stderr, "FAIL: %s\n", Utf8(failure.text).c_str());
            EndAll();
            return 1;
        }
        return 0;
    }

private:
    void Execute(const std::wstring& verb, const std::function<std::wstring(const wchar_t*)>& next) {
        if (verb == L"timeout") {
            timeoutMs_ = std::stoul(next(L"milliseconds"));
        } else if (verb == L"sleep") {
            ::Sleep(std::stoul(next(L"milliseconds")));
        } else if (verb == L"start") {
            const std::wstring label = next(L"label");
            Start(label, next(L"command line"));
        } else if (verb == L"wait-window") {
            const std::wstring label = next(L"label");
            WaitWindow(label, next(L"class"));
        } else if (verb == L"expect-no-window") {
            const std::wstring label = next(L"label");
            const std::wstring className = next(L"class");
            if (const HWND found = FindWindowOf(ProcessId(label), className, false)) {
                throw Failure(label + L" has a " + className + L" window: " + WindowText(found));
            }
            Say(L"no " + className + L" window in " + label);
        } else if (verb == L"list-windows") {
            ListWindows(ProcessId(next(L"label")));
        } else if (verb == L"get-text") {
            Say(WindowText(Current()));
        } else if (verb == L"get-message") {
            Say(MessageText());
        } else if (verb == L"expect-text") {
            ExpectEqual(L"window text", WindowText(Current()), next(L"text"));
        } else if (verb == L"expect-message") {
            ExpectEqual(L"message", MessageText(), next(L"text"));
        } else if (verb == L"expect-message-error") {
            ExpectEqual(L"message", MessageText(), SystemMessage(std::stoul(next(L"error code"))));
        } else if (verb == L"click-button") {
            ClickButton(next(L"button"));
        } else if (verb == L"get-child-text") {
            Say(WindowText(Child(std::stoi(next(L"control id")))));
        } else if (verb == L"expect-child-text") {
            const int id = std::stoi(next(L"control id"));
            ExpectEqual(L"control " + std::to_wstring(id), WindowText(Child(id)), next(L"text"));
        } else if (verb == L"wait-child-text") {
            const int id = std::stoi(next(L"control id"));
            WaitChildText(id, next(L"pattern"));
        } else if (verb == L"child-rect") {
            PrintChildRect(std::stoi(next(L"control id")));
        } else if (verb == L"close-expecting-writes") {
            const std::wstring label = next(L"label");
            const std::wstring file = next(L"file");
            CloseExpectingWrites(label, file, std::stoi(next(L"count")));
        } else if (verb == L"signal") {
            Signal(next(L"file"));
        } else if (verb == L"wait-file") {
            WaitFile(next(L"file"));
        } else if (verb == L"attach") {
            const std::wstring label = next(L"label");
            Attach(label, next(L"class"));
        } else if (verb == L"private-bytes") {
            PrintPrivateBytes(next(L"label"));
        } else if (verb == L"close") {
            ::PostMessageW(Current(), WM_CLOSE, 0, 0);
            Say(L"closed " + ClassOf(Current()));
        } else if (verb == L"wait-exit") {
            const std::wstring label = next(L"label");
            WaitExit(label, std::stoi(next(L"exit code")));
        } else if (verb == L"reg-get") {
            const std::wstring path = next(L"key");
            Say(RegistryValue(path, next(L"value name")));
        } else if (verb == L"expect-reg") {
            const std::wstring path = next(L"key");
            const std::wstring name = next(L"value name");
            ExpectEqual(path + L"\\" + name, RegistryValue(path, name), next(L"data"));
        } else if (verb == L"reg-set-string" || verb == L"reg-set-dword") {
            const std::wstring path = next(L"key");
            const std::wstring name = next(L"value name");
            SetRegistryValue(path, name, next(L"data"), verb == L"reg-set-dword");
        } else if (verb == L"reg-delete-value") {
            const std::wstring path = next(L"key");
            DeleteRegistryValue(path, next(L"value name"));
        } else if (verb == L"reg-delete-key") {
            const std::wstring path = next(L"key");
            const auto [root, sub] = SplitKey(path);
            ::RegDeleteTreeW(root, sub.c_str());
            ::RegDeleteKeyW(root, sub.c_str());
            Say(L"deleted " + path);
        } else if (verb == L"reg-deny-write" || verb == L"reg-allow-write") {
            SetWriteDenied(next(L"key"), verb == L"reg-deny-write");
        } else {
            throw Failure(L"unknown command " + verb);
        }
    }

    void Start(const std::wstring& label, const std::wstring& commandLine) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        std::wstring mutableLine = commandLine;
        if (!::CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &info)) {
            throw Failure(L"cannot start " + commandLine + L" (error " + std::to_wstring(::GetLastError()) +
                          L")");
        }
        ::CloseHandle(info.hThread);
        Started& started = processes_[label];
        started.process.Reset(info.hProcess);
        started.id = info.dwProcessId;
        ::WaitForInputIdle(info.hProcess, timeoutMs_);
        Say(L"started " + label);
    }

    DWORD ProcessId(const std::wstring& label) const {
        const auto it = processes_.find(label);
        if (it == processes_.end()) {
            throw Failure(L"no process " + label);
        }
        return it->second.id;
    }

    struct Search {
        DWORD processId;
        const std::wstring* className;
        bool visibleOnly;
        HWND found;
    };

    static BOOL CALLBACK Visit(HWND hwnd, LPARAM param) {
        auto* search = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        if (owner == search->processId && ClassOf(hwnd) == *search->className &&
            (!search->visibleOnly || ::IsWindowVisible(hwnd))) {
            search->found = hwnd;
            return FALSE;
        }
        return TRUE;
    }

    // The first top-level window of that class that the process owns.
    static HWND FindWindowOf(DWORD processId, const std::wstring& className, bool visibleOnly) {
        Search search{processId, &className, visibleOnly, nullptr};
        ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    static BOOL CALLBACK Print(HWND hwnd, LPARAM param) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        if (owner == static_cast<DWORD>(param)) {
            Say(ClassOf(hwnd) + (::IsWindowVisible(hwnd) ? L" visible \"" : L" hidden \"") +
                WindowText(hwnd) + L"\"");
        }
        return TRUE;
    }

    static void ListWindows(DWORD processId) { ::EnumWindows(Print, static_cast<LPARAM>(processId)); }

    void WaitWindow(const std::wstring& label, const std::wstring& className) {
        const DWORD id = ProcessId(label);
        const DWORD start = ::GetTickCount();
        for (;;) {
            if (const HWND found = FindWindowOf(id, className, true)) {
                current_ = found;
                Say(L"window " + className + L" \"" + WindowText(found) + L"\"");
                return;
            }
            DWORD code = 0;
            if (::GetExitCodeProcess(processes_[label].process.Get(), &code) && code != STILL_ACTIVE) {
                throw Failure(label + L" ended with " + std::to_wstring(code) + L" before showing " +
                              className);
            }
            if (::GetTickCount() - start > timeoutMs_) {
                throw Failure(L"no " + className + L" window from " + label);
            }
            ::Sleep(50);
        }
    }

    HWND Current() const {
        if (current_ == nullptr || !::IsWindow(current_)) {
            throw Failure(L"no current window (wait-window first)");
        }
        return current_;
    }

    // A message box keeps its text in the static control 0xFFFF.
    std::wstring MessageText() const {
        const HWND text = ::GetDlgItem(Current(), 0xFFFF);
        if (text == nullptr) {
            throw Failure(L"the current window has no message text");
        }
        return Normalised(WindowText(text));
    }

    static void ExpectEqual(const std::wstring& what, const std::wstring& actual,
                            const std::wstring& expected) {
        if (actual != Unescaped(expected)) {
            throw Failure(what + L" is \"" + actual + L"\", expected \"" + Unescaped(expected) + L"\"");
        }
        Say(what + L" ok");
    }

    void ClickButton(const std::wstring& name) {
        static const std::map<std::wstring, int> kNames = {
            {L"OK", IDOK}, {L"Cancel", IDCANCEL}, {L"Yes", IDYES}, {L"No", IDNO}};
        const auto named = kNames.find(name);
        const int id = named != kNames.end() ? named->second : std::stoi(name);
        const HWND dialog = Current();
        const HWND button = ::GetDlgItem(dialog, id);
        if (button == nullptr) {
            throw Failure(L"no button " + name);
        }
        // BM_CLICK needs the dialog in front; the notification works in any case.
        ::SetForegroundWindow(dialog);
        ::PostMessageW(button, BM_CLICK, 0, 0);
        const DWORD start = ::GetTickCount();
        while (::IsWindow(dialog) && ::GetTickCount() - start < 1000) {
            ::Sleep(50);
        }
        if (::IsWindow(dialog)) {
            ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        }
        Say(L"clicked " + name);
    }

    void WaitExit(const std::wstring& label, int expected) {
        const auto it = processes_.find(label);
        if (it == processes_.end()) {
            throw Failure(L"no process " + label);
        }
        if (::WaitForSingleObject(it->second.process.Get(), timeoutMs_) != WAIT_OBJECT_0) {
            throw Failure(label + L" did not end");
        }
        DWORD code = 0;
        ::GetExitCodeProcess(it->second.process.Get(), &code);
        processes_.erase(it);
        if (static_cast<int>(code) != expected) {
            throw Failure(label + L" ended with " + std::to_wstring(code) + L", expected " +
                          std::to_wstring(expected));
        }
        Say(label + L" exit " + std::to_wstring(code));
    }

    // Ends every program still running, and waits until each is gone so that none outlives the
    // test (a survivor would hold the instance mutex for the tests after it).
    void EndAll() {
        for (auto& [label, started] : processes_) {
            ::TerminateProcess(started.process.Get(), 99);
            if (::WaitForSingleObject(started.process.Get(), 10000) != WAIT_OBJECT_0) {
                std::fprintf(stderr, "could not end %s (process %lu)\n", Utf8(label).c_str(),
                             static_cast<unsigned long>(started.id));
            }
        }
        processes_.clear();
    }

    static std::pair<HKEY, std::wstring> SplitKey(const std::wstring& path) {
        const auto cut = path.find(L'\\');
        const std::wstring root = path.substr(0, cut);
        const std::wstring rest = cut == std::wstring::npos ? L"" : path.substr(cut + 1);
        if (root == L"HKLM") {
            return {HKEY_LOCAL_MACHINE, rest};
        }
        if (root == L"HKCU") {
            return {HKEY_CURRENT_USER, rest};
        }
        throw Failure(L"unknown root " + root);
    }

    // The data as text: strings as they are, DWORDs in decimal, "<missing>" when absent.
    static std::wstring RegistryValue(const std::wstring& path, const std::wstring& name) {
        const auto [root, sub] = SplitKey(path);
        UniqueRegKey key;
        if (::RegOpenKeyExW(root, sub.c_str(), 0, KEY_READ, key.Out()) != ERROR_SUCCESS) {
            return L"<missing>";
        }
        DWORD type = 0;
        DWORD size = 0;
        if (::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
            return L"<missing>";
        }
        std::vector<BYTE> data(size + sizeof(wchar_t));
        ::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, data.data(), &size);
        if (type == REG_DWORD) {
            DWORD value = 0;
            std::memcpy(&value, data.data(), sizeof(value));
            return std::to_wstring(value);
        }
        return std::wstring(reinterpret_cast<const wchar_t*>(data.data()));
    }

    static void SetRegistryValue(const std::wstring& path, const std::wstring& name, const std::wstring& data,
                                 bool dword) {
        const auto [root, sub] = SplitKey(path);
        UniqueRegKey key;
        if (::RegCreateKeyExW(root, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Out(),
                              nullptr) != ERROR_SUCCESS) {
            throw Failure(L"cannot create " + path);
        }
        LONG status = 0;
        if (dword) {
            const DWORD value = std::stoul(data);
            status = ::RegSetValueExW(key.Get(), name.c_str(), 0, REG_DWORD,
                                      reinterpret_cast<const BYTE*>(&value), sizeof(value));
        } else {
            status = ::RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ,
                                      reinterpret_cast<const BYTE*>(data.c_str()),
                                      static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
        }
        if (status != ERROR_SUCCESS) {
            throw Failure(L"cannot write " + path + L"\\" + name);
        }
        Say(L"set " + path + L"\\" + name);
    }

    static void DeleteRegistryValue(const std::wstring& path, const std::wstring& name) {
        const auto [root, sub] = SplitKey(path);
        UniqueRegKey key;
        if (::RegOpenKeyExW(root, sub.c_str(), 0, KEY_ALL_ACCESS, key.Out()) == ERROR_SUCCESS) {
            ::RegDeleteValueW(key.Get(), name.c_str());
        }
        Say(L"deleted " + path + L"\\" + name);
    }

    // Gives the key a DACL that lets everyone read it but nobody change it, or a DACL that allows
    // everything again.
    static void SetWriteDenied(const std::wstring& path, bool deny) {
        const auto [root, sub] = SplitKey(path);
        UniqueRegKey key;
        if (::RegOpenKeyExW(root, sub.c_str(), 0, READ_CONTROL | WRITE_DAC, key.Out()) != ERROR_SUCCESS) {
            throw Failure(L"cannot open " + path + L" to change its rights");
        }
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        ::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
        std::vector<BYTE> aclBuffer(256);
        auto* acl = reinterpret_cast<PACL>(aclBuffer.data());
        ::InitializeAcl(acl, static_cast<DWORD>(aclBuffer.size()), ACL_REVISION);
        ::AddAccessAllowedAce(acl, ACL_REVISION, deny ? (KEY_READ | WRITE_DAC) : KEY_ALL_ACCESS, everyone);
        SECURITY_DESCRIPTOR descriptor{};
        ::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        ::SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
        const LONG status = ::RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, &descriptor);
        ::FreeSid(everyone);
        if (status != ERROR_SUCCESS) {
            throw Failure(L"cannot change the rights of " + path);
        }
        Say((deny ? L"denied writing " : L"allowed writing ") + path);
    }

    // A control of the current window, by its fixed control ID.
    HWND Child(int id) const {
        const HWND child = ::GetDlgItem(Current(), id);
        if (child == nullptr) {
            throw Failure(L"the current window has no control " + std::to_wstring(id));
        }
        return child;
    }

    // Waits until the control's whole text matches the (ECMAScript) pattern.
    void WaitChildText(int id, const std::wstring& pattern) const {
        const std::wregex expected(pattern);
        const DWORD start = ::GetTickCount();
        std::wstring text;
        for (;;) {
            text = WindowText(Child(id));
            if (std::regex_match(text, expected)) {
                Say(L"control " + std::to_wstring(id) + L" \"" + text + L"\"");
                return;
            }
            if (::GetTickCount() - start > timeoutMs_) {
                throw Failure(L"control " + std::to_wstring(id) + L" reads \"" + text + L"\", not " +
                              pattern);
            }
            ::Sleep(100);
        }
    }

    // "left top width height" of the control on the screen.
    void PrintChildRect(int id) const {
        RECT r{};
        ::GetWindowRect(Child(id), &r);
        Say(std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
            std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top));
    }

    // Closes the current window and counts how often the program writes `file` (a new file or
    // one moved over the old one) until it has ended with exit code 0.
    void CloseExpectingWrites(const std::wstring& label, const std::wstring& file, int expected) {
        const auto cut = file.find_last_of(L"\\/");
        const std::wstring folder = file.substr(0, cut);
        const std::wstring name = file.substr(cut + 1);
        const quelmo::win32::UniqueFile directory(::CreateFileW(
            folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
        const UniqueKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!directory || !event) {
            throw Failure(L"cannot watch " + folder);
        }
        alignas(DWORD) static BYTE buffer[64 * 1024];
        OVERLAPPED overlapped{};
        overlapped.hEvent = event.Get();
        const auto watch = [&] {
            ::ResetEvent(event.Get());
            return ::ReadDirectoryChangesW(directory.Get(), buffer, sizeof(buffer), FALSE,
                                           FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE,
                                           nullptr, &overlapped, nullptr) != FALSE;
        };
        if (!watch()) {
            throw Failure(L"cannot watch " + folder);
        }
        ::PostMessageW(Current(), WM_CLOSE, 0, 0);
        const HANDLE process = processes_.at(label).process.Get();
        int writes = 0;
        bool ended = false;
        const DWORD start = ::GetTickCount();
        // After the end, one more quiet half second for late notifications.
        for (DWORD quietSince = 0;;) {
            const HANDLE handles[] = {event.Get(), process};
            const DWORD woken = ::WaitForMultipleObjects(ended ? 1 : 2, handles, FALSE, 100);
            if (woken == WAIT_OBJECT_0) {
                DWORD bytes = 0;
                ::GetOverlappedResult(directory.Get(), &overlapped, &bytes, FALSE);
                for (DWORD offset = 0; bytes != 0;) {
                    const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + offset);
                    const std::wstring changed(info->FileName, info->FileNameLength / sizeof(wchar_t));
                    if (::lstrcmpiW(changed.c_str(), name.c_str()) == 0 &&
                        (info->Action == FILE_ACTION_ADDED || info->Action == FILE_ACTION_RENAMED_NEW_NAME)) {
                        ++writes;
                    }
                    if (info->NextEntryOffset == 0) {
                        break;
                    }
                    offset += info->NextEntryOffset;
                }
                watch();
                quietSince = ::GetTickCount();
            } else if (woken == WAIT_OBJECT_0 + 1) {
                ended = true;
                quietSince = ::GetTickCount();
            } else if (ended && ::GetTickCount() - quietSince > 500) {
                break;
            }
            if (!ended && ::GetTickCount() - start > timeoutMs_) {
                throw Failure(label + L" did not end");
            }
        }
        ::CancelIo(directory.Get());
        DWORD code = 0;
        ::GetExitCodeProcess(process, &code);
        processes_.erase(label);
        if (code != 0) {
            throw Failure(label + L" ended with " + std::to_wstring(code));
        }
        if (writes != expected) {
            throw Failure(name + L" written " + std::to_wstring(writes) + L" times, expected " +
                          std::to_wstring(expected));
        }
        Say(name + L" written " + std::to_wstring(writes) + L" times");
    }

    // Creates `file`, so a script waiting for it can act (take a screenshot) meanwhile.
    static void Signal(const std::wstring& file) {
        const quelmo::win32::UniqueFile created(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr,
                                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!created) {
            throw Failure(L"cannot create " + file);
        }
        Say(L"signalled " + file);
    }

    // Waits until `file` exists (the script has done its part).
    void WaitFile(const std::wstring& file) const {
        const DWORD start = ::GetTickCount();
        while (::GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
            if (::GetTickCount() - start > timeoutMs_) {
                throw Failure(L"no " + file);
            }
            ::Sleep(100);
        }
        Say(L"found " + file);
    }

    // Takes a program this driver did not start, by a visible window of its, under `label`.
    void Attach(const std::wstring& label, const std::wstring& className) {
        const DWORD start = ::GetTickCount();
        HWND window = nullptr;
        while ((window = ::FindWindowW(className.c_str(), nullptr)) == nullptr) {
            if (::GetTickCount() - start > timeoutMs_) {
                throw Failure(L"no " + className + L" window");
            }
            ::Sleep(100);
        }
        DWORD id = 0;
        ::GetWindowThreadProcessId(window, &id);
        Started& started = processes_[label];
        started.process.Reset(::OpenProcess(
            SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE, FALSE, id));
        if (!started.process) {
            processes_.erase(label);
            throw Failure(L"cannot open the process of " + className);
        }
        started.id = id;
        current_ = window;
        Say(L"attached " + label + L" (process " + std::to_wstring(id) + L")");
    }

    // The program's committed private memory, walked region by region.
    void PrintPrivateBytes(const std::wstring& label) const {
        const auto it = processes_.find(label);
        if (it == processes_.end()) {
            throw Failure(L"no process " + label);
        }
        unsigned long long total = 0;
        MEMORY_BASIC_INFORMATION region{};
        for (const BYTE* address = nullptr;
             ::VirtualQueryEx(it->second.process.Get(), address, &region, sizeof(region)) == sizeof(region);
             address = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize) {
            if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
                total += region.RegionSize;
            }
            if (region.RegionSize == 0) {
                break;
            }
        }
        Say(L"private bytes " + std::to_wstring(total));
    }

    std::map<std::wstring, Started> processes_;
    HWND current_ = nullptr;
    DWORD timeoutMs_ = 15000;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fprintf(stderr,
                     "usage: quelmo_driver COMMAND ARGS... [COMMAND ARGS...]  (see tests/e2e/README.md)\n");
        return 2;
    }
    return Driver().Run(std::move(args));
}
