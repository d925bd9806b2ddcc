// Driver commands on the system around the programs: registry, files, memory, broadcasts and the
// clipboard.
#include "Driver.h"

#include <winternl.h>

#include <cstring>
#include <vector>

namespace quelmo::driver::host {
namespace {

using win32::UniqueKernelHandle;
using win32::UniqueRegKey;

std::pair<HKEY, std::wstring> SplitKey(const std::wstring& path) {
    const auto cut = path.find(L'\\');
    const std::wstring root = path.substr(0, cut);
    const std::wstring rest = cut == std::wstring::npos ? L"" : path.substr(cut + 1);
    if (root == L"HKLM") {
        return {HKEY_LOCAL_MACHINE, rest};
    }
    if (root == L"HKCU") {
        return {HKEY_CURRENT_USER, rest};
    }
    throw Failure{L"unknown root " + root + L" (HKLM or HKCU)"};
}

// The data as text: strings as they are, DWORDs in decimal, "<missing>" when absent.
std::wstring RegistryValue(const std::wstring& path, const std::wstring& name) {
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

void SetValue(const std::wstring& path, const std::wstring& name, const std::wstring& data, bool dword) {
    const auto [root, sub] = SplitKey(path);
    UniqueRegKey key;
    if (::RegCreateKeyExW(root, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Out(), nullptr) !=
        ERROR_SUCCESS) {
        throw Failure{L"cannot create " + path};
    }
    LONG status = 0;
    if (dword) {
        const auto value = static_cast<DWORD>(Number(data, L"DWORD"));
        status = ::RegSetValueExW(key.Get(), name.c_str(), 0, REG_DWORD,
                                  reinterpret_cast<const BYTE*>(&value), sizeof(value));
    } else {
        status =
            ::RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                             static_cast<DWORD>(data.size() + 1) * sizeof(wchar_t));
    }
    if (status != ERROR_SUCCESS) {
        throw Failure{L"cannot write " + path + L"\\" + name};
    }
    Say(L"set " + path + L"\\" + name, data);
}

// Gives the key a DACL that lets everyone read it but nobody change it, or one that allows
// everything again.
void SetWriteDenied(const std::wstring& path, bool deny) {
    const auto [root, sub] = SplitKey(path);
    UniqueRegKey key;
    if (::RegOpenKeyExW(root, sub.c_str(), 0, READ_CONTROL | WRITE_DAC, key.Out()) != ERROR_SUCCESS) {
        throw Failure{L"cannot open " + path + L" to change its rights"};
    }
    // The well-known "Everyone" SID, S-1-1-0, built in place.
    alignas(SID) BYTE everyone[SECURITY_MAX_SID_SIZE] = {};
    DWORD sidSize = sizeof(everyone);
    ::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &sidSize);
    alignas(ACL) BYTE aclBuffer[256] = {};
    auto* acl = reinterpret_cast<PACL>(aclBuffer);
    ::InitializeAcl(acl, sizeof(aclBuffer), ACL_REVISION);
    ::AddAccessAllowedAce(acl, ACL_REVISION, deny ? (KEY_READ | WRITE_DAC) : KEY_ALL_ACCESS, everyone);
    SECURITY_DESCRIPTOR descriptor{};
    ::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    ::SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    if (::RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, &descriptor) != ERROR_SUCCESS) {
        throw Failure{L"cannot change the rights of " + path};
    }
    Say((deny ? L"denied-writing " : L"allowed-writing ") + path);
}

// The clipboard, open for this scope.
class OpenClipboard {
public:
    OpenClipboard() : open_(::OpenClipboard(nullptr) != FALSE) {}
    ~OpenClipboard() {
        if (open_) {
            ::CloseClipboard();
        }
    }
    OpenClipboard(const OpenClipboard&) = delete;
    OpenClipboard& operator=(const OpenClipboard&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_;
};

std::wstring ClipboardText() {
    const OpenClipboard clipboard;
    if (!clipboard) {
        throw Failure{L"cannot open the clipboard"};
    }
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr) {
        return {};
    }
    const auto* text = static_cast<const wchar_t*>(::GlobalLock(data));
    std::wstring copy = text != nullptr ? std::wstring(text) : std::wstring();
    ::GlobalUnlock(data);
    return copy;
}

// The handle count of process `pid` in the system's process list (0 when it is not there).
DWORD HandleCountFromProcessList(DWORD pid) {
    using Query = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<BYTE> buffer(1 << 20);
    ULONG size = 0;
    constexpr ULONG kSystemProcessInformation = 5;
    if (query == nullptr ||
        query(kSystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &size) != 0) {
        return 0;
    }
    // SYSTEM_PROCESS_INFORMATION (32-bit): NextEntryOffset at 0, UniqueProcessId at 0x44,
    // HandleCount at 0x4C.
    for (std::size_t offset = 0;;) {
        const BYTE* record = buffer.data() + offset;
        ULONG next = 0;
        ULONG_PTR id = 0;
        ULONG count = 0;
        std::memcpy(&next, record, sizeof(next));
        std::memcpy(&id, record + 0x44, sizeof(id));
        std::memcpy(&count, record + 0x4C, sizeof(count));
        if (id == pid) {
            return count;
        }
        if (next == 0) {
            return 0;
        }
        offset += next;
    }
}

// The GDI objects of a process that are not stock objects, counted in its handle table: the
// 32-bit PEB holds the table's address at 0x94, each entry is 24 bytes with its type at 14 (0:
// free) and the stock flag as the top bit of byte 12.
DWORD GdiObjectsFromHandleTable(HANDLE process) {
    using Query = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (query == nullptr || query(process, 0, &basic, sizeof(basic), nullptr) != 0) {
        return 0;
    }
    DWORD table = 0;
    const auto* peb = reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
    if (!::ReadProcessMemory(process, peb + 0x94, &table, sizeof(table), nullptr) || table == 0) {
        return 0;
    }
    constexpr std::size_t kEntries = 0x10000, kEntrySize = 24;
    std::vector<BYTE> entries(kEntries * kEntrySize);
    SIZE_T read = 0;
    ::ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<ULONG_PTR>(table)), entries.data(),
                        entries.size(), &read);
    DWORD count = 0;
    for (std::size_t i = 0; i + kEntrySize <= read; i += kEntrySize) {
        if (entries[i + 14] != 0 && (entries[i + 12] & 0x80) == 0) {
            ++count;
        }
    }
    return count;
}

} // namespace

void RegGet(Driver&, Args a) {
    Say(L"reg " + a[0] + L"\\" + a[1], RegistryValue(a[0], a[1]));
}

// Waits (up to the timeout) for the value: the program under test may write it a moment after the
// input that asks for it.
void ExpectReg(Driver& d, Args a) {
    std::wstring actual;
    if (!d.WaitFor([&] { return (actual = RegistryValue(a[0], a[1])) == a[2]; })) {
        throw Failure{a[0] + L"\\" + a[1] + L" is \"" + actual + L"\", expected \"" + a[2] + L"\""};
    }
    Say(L"reg " + a[0] + L"\\" + a[1], actual);
}

void RegSetString(Driver&, Args a) {
    SetValue(a[0], a[1], a[2], false);
}

void RegSetDword(Driver&, Args a) {
    SetValue(a[0], a[1], a[2], true);
}

void RegDeleteValue(Driver&, Args a) {
    const auto [root, sub] = SplitKey(a[0]);
    UniqueRegKey key;
    if (::RegOpenKeyExW(root, sub.c_str(), 0, KEY_ALL_ACCESS, key.Out()) == ERROR_SUCCESS) {
        ::RegDeleteValueW(key.Get(), a[1].c_str());
    }
    Say(L"deleted " + a[0] + L"\\" + a[1]);
}

void RegDeleteKey(Driver&, Args a) {
    const auto [root, sub] = SplitKey(a[0]);
    ::RegDeleteTreeW(root, sub.c_str());
    ::RegDeleteKeyW(root, sub.c_str());
    Say(L"deleted " + a[0]);
}

void RegDenyWrite(Driver&, Args a) {
    SetWriteDenied(a[0], true);
}

void RegAllowWrite(Driver&, Args a) {
    SetWriteDenied(a[0], false);
}

// Closes the current window and counts how often the program writes the file (a new file or one
// moved over the old one) until it has ended with exit code 0.
void CloseExpectingWrites(Driver& d, Args a) {
    const std::wstring& label = a[0];
    const std::wstring& file = a[1];
    const long expected = Number(a[2], L"count");
    const auto cut = file.find_last_of(L"\\/");
    const std::wstring folder = file.substr(0, cut);
    const std::wstring name = file.substr(cut + 1);
    const win32::UniqueFile directory(::CreateFileW(
        folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
    const UniqueKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!directory || !event) {
        throw Failure{L"cannot watch " + folder};
    }
    alignas(DWORD) static BYTE buffer[64 * 1024];
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.Get();
    const auto watch = [&] {
        ::ResetEvent(event.Get());
        return ::ReadDirectoryChangesW(directory.Get(), buffer, sizeof(buffer), FALSE,
                                       FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE, nullptr,
                                       &overlapped, nullptr) != FALSE;
    };
    if (!watch()) {
        throw Failure{L"cannot watch " + folder};
    }
    ::PostMessageW(d.Current(), WM_CLOSE, 0, 0);
    const HANDLE process = d.Process(label).process.Get();
    long writes = 0;
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
        if (!ended && ::GetTickCount() - start > d.timeoutMs) {
            throw Failure{label + L" did not end"};
        }
    }
    ::CancelIo(directory.Get());
    DWORD code = 0;
    ::GetExitCodeProcess(process, &code);
    d.processes.erase(label);
    if (code != 0) {
        throw Failure{label + L" ended with " + std::to_wstring(code)};
    }
    if (writes != expected) {
        throw Failure{name + L" written " + std::to_wstring(writes) + L" times, expected " + a[2]};
    }
    Say(L"written " + name, std::to_wstring(writes));
}

void Signal(Driver&, Args a) {
    const win32::UniqueFile created(::CreateFileW(a[0].c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!created) {
        throw Failure{L"cannot create " + a[0]};
    }
    Say(L"signalled", a[0]);
}

void WaitFile(Driver& d, Args a) {
    if (!d.WaitFor([&] { return ::GetFileAttributesW(a[0].c_str()) != INVALID_FILE_ATTRIBUTES; }, 100)) {
        throw Failure{L"no " + a[0]};
    }
    Say(L"found", a[0]);
}

// The program's committed private memory, walked region by region.
void PrivateBytes(Driver& d, Args a) {
    const HANDLE process = d.Process(a[0]).process.Get();
    unsigned long long total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const BYTE* address = nullptr;
         ::VirtualQueryEx(process, address, &region, sizeof(region)) == sizeof(region) &&
         region.RegionSize != 0;
         address = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += region.RegionSize;
        }
    }
    Say(L"private-bytes " + a[0], std::to_wstring(total));
}

// The program's kernel handles and GDI objects, as Task Manager counts them. Wine answers 0 to
// GetProcessHandleCount and GetGuiResources for another process, so the handles come from the
// system's process list and the GDI objects from the handle table the process's PEB points to.
void ResourceCounts(Driver& d, Args a) {
    const Started& entry = d.Process(a[0]);
    const HANDLE process = entry.process.Get();
    DWORD handles = 0;
    if (::GetProcessHandleCount(process, &handles) == 0 || handles == 0) {
        handles = HandleCountFromProcessList(::GetProcessId(process));
    }
    DWORD gdi = ::GetGuiResources(process, GR_GDIOBJECTS);
    if (gdi == 0) {
        gdi = GdiObjectsFromHandleTable(process);
    }
    Say(L"handles " + a[0], std::to_wstring(handles));
    Say(L"gdi-objects " + a[0], std::to_wstring(gdi));
}

// As the shell does when it starts: every top-level window gets the message, none is waited for
// longer than the wait limit.
void Broadcast(Driver& d, Args a) {
    const UINT message = ::RegisterWindowMessageW(a[0].c_str());
    DWORD_PTR result = 0;
    if (message == 0 ||
        ::SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, d.timeoutMs, &result) == 0) {
        throw Failure{L"cannot broadcast " + a[0]};
    }
    Say(L"broadcast", a[0]);
}

void Clipboard(Driver&, Args) {
    Say(L"clipboard", ClipboardText());
}

void ExpectClipboard(Driver&, Args a) {
    const std::wstring text = ClipboardText();
    if (text != a[0]) {
        throw Failure{L"the clipboard holds \"" + text + L"\", expected \"" + a[0] + L"\""};
    }
    Say(L"clipboard", text);
}

} // namespace quelmo::driver::host
