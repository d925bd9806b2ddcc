// Driver commands on programs and their windows: start, find, read texts, places, states, styles.
#include "Driver.h"

#include <cwchar>
#include <regex>
#include <vector>

namespace quelmo::driver::windows {
namespace {

struct Search {
    DWORD processId;
    const std::wstring* className;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ClassOf(window) == *search->className &&
        (!search->visibleOnly || ::IsWindowVisible(window))) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The first top-level window of that class that the process owns.
HWND FindWindowOf(DWORD processId, const std::wstring& className, bool visibleOnly) {
    Search search{processId, &className, visibleOnly, nullptr};
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// How a window is named in answers: its control name as the script gave it, or its class.
std::wstring NameOf(const Driver& d, const std::wstring& target) {
    return target == L"." ? ClassOf(d.Current()) : target;
}

void SayWindow(HWND window) {
    Say(L"window " + ClassOf(window),
        (::IsWindowVisible(window) ? L"visible " : L"hidden ") + WindowText(window));
}

void WaitForWindow(Driver& d, const std::wstring& label, const std::wstring& className, bool visibleOnly) {
    const Started& started = d.Process(label);
    HWND found = nullptr;
    bool ended = false;
    const bool ok = d.WaitFor([&] {
        found = FindWindowOf(started.id, className, visibleOnly);
        DWORD code = 0;
        ended =
            found == nullptr && ::GetExitCodeProcess(started.process.Get(), &code) && code != STILL_ACTIVE;
        return found != nullptr || ended;
    });
    if (ended) {
        DWORD code = 0;
        ::GetExitCodeProcess(started.process.Get(), &code);
        throw Failure{label + L" ended with " + std::to_wstring(code) + L" before showing " + className};
    }
    if (!ok) {
        throw Failure{L"no " + className + L" window from " + label};
    }
    d.current = found;
    SayWindow(found);
}

// A message box keeps its text in the static control 0xFFFF; line breaks read as "\n".
std::wstring MessageText(const Driver& d) {
    const HWND text = ::GetDlgItem(d.Current(), 0xFFFF);
    if (text == nullptr) {
        throw Failure{L"the current window has no message text"};
    }
    const std::wstring raw = WindowText(text);
    std::wstring out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        out += raw[i] == L'\r' ? L'\n' : raw[i];
        i += raw[i] == L'\r' && i + 1 < raw.size() && raw[i + 1] == L'\n' ? 1 : 0;
    }
    return out;
}

void ExpectEqual(const std::wstring& key, const std::wstring& actual, const std::wstring& expected) {
    if (actual != expected) {
        throw Failure{key + L" is \"" + actual + L"\", expected \"" + expected + L"\""};
    }
    Say(key, actual);
}

// The system's text for an error code, without its line break (as a program shows it).
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

struct Flag {
    const wchar_t* name;
    ULONG_PTR bits;
};

// clang-format off
const Flag kStyles[] = {
    {L"WS_POPUP", WS_POPUP}, {L"WS_CHILD", WS_CHILD}, {L"WS_MINIMIZE", WS_MINIMIZE},
    {L"WS_VISIBLE", WS_VISIBLE}, {L"WS_DISABLED", WS_DISABLED}, {L"WS_CLIPSIBLINGS", WS_CLIPSIBLINGS},
    {L"WS_CLIPCHILDREN", WS_CLIPCHILDREN}, {L"WS_MAXIMIZE", WS_MAXIMIZE}, {L"WS_CAPTION", WS_CAPTION},
    {L"WS_BORDER", WS_BORDER}, {L"WS_DLGFRAME", WS_DLGFRAME}, {L"WS_VSCROLL", WS_VSCROLL},
    {L"WS_HSCROLL", WS_HSCROLL}, {L"WS_SYSMENU", WS_SYSMENU}, {L"WS_THICKFRAME", WS_THICKFRAME},
    {L"WS_MINIMIZEBOX", WS_MINIMIZEBOX}, {L"WS_MAXIMIZEBOX", WS_MAXIMIZEBOX},
};
const Flag kExStyles[] = {
    {L"WS_EX_DLGMODALFRAME", WS_EX_DLGMODALFRAME}, {L"WS_EX_TOPMOST", WS_EX_TOPMOST},
    {L"WS_EX_TRANSPARENT", WS_EX_TRANSPARENT}, {L"WS_EX_TOOLWINDOW", WS_EX_TOOLWINDOW},
    {L"WS_EX_WINDOWEDGE", WS_EX_WINDOWEDGE}, {L"WS_EX_CLIENTEDGE", WS_EX_CLIENTEDGE},
    {L"WS_EX_CONTROLPARENT", WS_EX_CONTROLPARENT}, {L"WS_EX_STATICEDGE", WS_EX_STATICEDGE},
    {L"WS_EX_APPWINDOW", WS_EX_APPWINDOW}, {L"WS_EX_LAYERED", WS_EX_LAYERED},
    {L"WS_EX_NOACTIVATE", WS_EX_NOACTIVATE},
};
// clang-format on

template <std::size_t N>
std::wstring FlagNames(ULONG_PTR value, const Flag (&flags)[N]) {
    std::wstring names;
    for (const Flag& flag : flags) {
        // WS_CAPTION is two bits; it counts only when both are set.
        if ((value & flag.bits) == flag.bits) {
            names += (names.empty() ? L"" : L" ") + std::wstring(flag.name);
        }
    }
    return names;
}

} // namespace

void Start(Driver& d, Args a) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring commandLine = a[1];
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
        throw Failure{L"cannot start " + a[1] + L" (error " + std::to_wstring(::GetLastError()) + L")"};
    }
    const win32::UniqueKernelHandle thread(info.hThread);
    Started& started = d.processes[a[0]];
    started.process.Reset(info.hProcess);
    started.id = info.dwProcessId;
    ::WaitForInputIdle(info.hProcess, d.timeoutMs);
    Say(L"started " + a[0], std::to_wstring(info.dwProcessId));
}

void Attach(Driver& d, Args a) {
    HWND window = nullptr;
    if (!d.WaitFor([&] { return (window = ::FindWindowW(a[1].c_str(), nullptr)) != nullptr; }, 100)) {
        throw Failure{L"no " + a[1] + L" window"};
    }
    DWORD id = 0;
    ::GetWindowThreadProcessId(window, &id);
    Started& started = d.processes[a[0]];
    started.process.Reset(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                            PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_TERMINATE,
                                        FALSE, id));
    if (!started.process) {
        d.processes.erase(a[0]);
        throw Failure{L"cannot open the process of " + a[1]};
    }
    started.id = id;
    d.current = window;
    Say(L"attached " + a[0], std::to_wstring(id));
}

void UseWindow(Driver& d, Args a) {
    HWND window = nullptr;
    if (!d.WaitFor([&] { return (window = ::FindWindowW(a[0].c_str(), nullptr)) != nullptr; }, 100)) {
        throw Failure{L"no " + a[0] + L" window"};
    }
    d.current = window;
    SayWindow(window);
}

void WaitWindow(Driver& d, Args a) {
    WaitForWindow(d, a[0], a[1], true);
}

void FindAnyWindow(Driver& d, Args a) {
    WaitForWindow(d, a[0], a[1], false);
}

void ExpectNoWindow(Driver& d, Args a) {
    if (const HWND found = FindWindowOf(d.Process(a[0]).id, a[1], false)) {
        throw Failure{a[0] + L" has a " + a[1] + L" window: " + WindowText(found)};
    }
    Say(L"no-window " + a[1]);
}

void ListWindows(Driver& d, Args a) {
    struct Walk {
        static BOOL CALLBACK Print(HWND window, LPARAM param) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == static_cast<DWORD>(param)) {
                SayWindow(window);
            }
            return TRUE;
        }
    };
    ::EnumWindows(Walk::Print, static_cast<LPARAM>(d.Process(a[0]).id));
}

void ListControls(Driver& d, Args) {
    struct Walk {
        static BOOL CALLBACK Print(HWND control, LPARAM) {
            Say(L"control " + std::to_wstring(::GetDlgCtrlID(control)),
                ClassOf(control) + (::IsWindowVisible(control) ? L" visible " : L" hidden ") +
                    WindowText(control));
            return TRUE;
        }
    };
    ::EnumChildWindows(d.Current(), Walk::Print, 0);
}

void WaitControls(Driver& d, Args a) {
    struct Count {
        const std::wstring* className;
        long visible;
        static BOOL CALLBACK Visit(HWND control, LPARAM param) {
            auto* count = reinterpret_cast<Count*>(param);
            count->visible += ClassOf(control) == *count->className && ::IsWindowVisible(control) ? 1 : 0;
            return TRUE;
        }
    };
    const long expected = Number(a[1], L"number of controls");
    Count count{&a[0], 0};
    const bool ok = d.WaitFor([&] {
        count.visible = 0;
        ::EnumChildWindows(d.Current(), Count::Visit, reinterpret_cast<LPARAM>(&count));
        return count.visible == expected;
    });
    if (!ok) {
        throw Failure{ClassOf(d.Current()) + L" shows " + std::to_wstring(count.visible) + L" " + a[0] +
                      L", not " + a[1]};
    }
    Say(L"controls " + a[0], a[1]);
}

void Close(Driver& d, Args) {
    ::PostMessageW(d.Current(), WM_CLOSE, 0, 0);
    Say(L"closed " + ClassOf(d.Current()));
}

void WaitExit(Driver& d, Args a) {
    const long expected = Number(a[1], L"exit code");
    const Started& started = d.Process(a[0]);
    if (::WaitForSingleObject(started.process.Get(), d.timeoutMs) != WAIT_OBJECT_0) {
        throw Failure{a[0] + L" did not end"};
    }
    DWORD code = 0;
    ::GetExitCodeProcess(started.process.Get(), &code);
    d.processes.erase(a[0]);
    if (static_cast<long>(code) != expected) {
        throw Failure{a[0] + L" ended with " + std::to_wstring(code) + L", expected " + a[1]};
    }
    Say(L"exit " + a[0], std::to_wstring(code));
}

void Activate(Driver& d, Args) {
    ::SetForegroundWindow(d.Current());
    Say(L"activated " + ClassOf(d.Current()));
}

void PostCommand(Driver& d, Args a) {
    ::PostMessageW(d.Current(), WM_COMMAND, MAKEWPARAM(ControlId(a[0]), 0), 0);
    Say(L"posted " + a[0]);
}

void GetText(Driver& d, Args a) {
    Say(L"text " + NameOf(d, a[0]), WindowText(d.Target(a[0])));
}

void ExpectText(Driver& d, Args a) {
    ExpectEqual(L"text " + NameOf(d, a[0]), WindowText(d.Target(a[0])), a[1]);
}

void WaitText(Driver& d, Args a) {
    const std::wregex pattern(a[1]);
    std::wstring text;
    if (!d.WaitFor([&] { return std::regex_match(text = WindowText(d.Target(a[0])), pattern); }, 100)) {
        throw Failure{a[0] + L" reads \"" + text + L"\", not " + a[1]};
    }
    Say(L"text " + NameOf(d, a[0]), text);
}

void ReadMessage(Driver& d, Args) {
    Say(L"message", MessageText(d));
}

void ExpectMessage(Driver& d, Args a) {
    ExpectEqual(L"message", MessageText(d), a[0]);
}

void ExpectMessageError(Driver& d, Args a) {
    ExpectEqual(L"message", MessageText(d), SystemMessage(static_cast<DWORD>(Number(a[0], L"error code"))));
}

void ClickButton(Driver& d, Args a) {
    const struct {
        const wchar_t* name;
        int id;
    } kButtons[] = {{L"OK", IDOK}, {L"Cancel", IDCANCEL}, {L"Yes", IDYES}, {L"No", IDNO}};
    int id = -1;
    for (const auto& button : kButtons) {
        id = a[0] == button.name ? button.id : id;
    }
    id = id < 0 ? ControlId(a[0]) : id;
    const HWND dialog = d.Current();
    const HWND button = ::GetDlgItem(dialog, id);
    if (button == nullptr) {
        throw Failure{L"no button " + a[0]};
    }
    // BM_CLICK needs the dialog in front; the notification works in any case.
    ::SetForegroundWindow(dialog);
    ::PostMessageW(button, BM_CLICK, 0, 0);
    const DWORD start = ::GetTickCount();
    while (::IsWindow(dialog) && ::GetTickCount() - start < 1000) {
        ::Sleep(50);
    }
    if (::IsWindow(dialog) && ::IsWindowVisible(dialog)) {
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
    Say(L"clicked " + a[0]);
}

void Rect(Driver& d, Args a) {
    RECT r{};
    ::GetWindowRect(d.Target(a[0]), &r);
    Say(L"rect " + NameOf(d, a[0]), std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
                                        std::to_wstring(r.right - r.left) + L" " +
                                        std::to_wstring(r.bottom - r.top));
}

void Visible(Driver& d, Args a) {
    Say(L"visible " + NameOf(d, a[0]), ::IsWindowVisible(d.Target(a[0])) ? L"1" : L"0");
}

void Checked(Driver& d, Args a) {
    Say(L"checked " + NameOf(d, a[0]),
        ::SendMessageW(d.Target(a[0]), BM_GETCHECK, 0, 0) == BST_CHECKED ? L"1" : L"0");
}

void WaitVisible(Driver& d, Args a) {
    const bool shown = Number(a[1], L"0 or 1") != 0;
    if (!d.WaitFor([&] { return (::IsWindowVisible(d.Target(a[0])) != FALSE) == shown; })) {
        throw Failure{a[0] + (shown ? L" is still hidden" : L" is still shown")};
    }
    Say(L"visible " + NameOf(d, a[0]), shown ? L"1" : L"0");
}

void Layered(Driver& d, Args a) {
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    if (::GetLayeredWindowAttributes(d.Target(a[0]), &key, &alpha, &flags) == FALSE) {
        flags = 0; // not a layered window, or one drawn by UpdateLayeredWindow
    }
    wchar_t colour[8] = L"off";
    if ((flags & LWA_COLORKEY) != 0) {
        ::swprintf(colour, 8, L"#%02X%02X%02X", GetRValue(key), GetGValue(key), GetBValue(key));
    }
    Say(L"layered " + NameOf(d, a[0]),
        L"alpha " + ((flags & LWA_ALPHA) != 0 ? std::to_wstring(alpha) : L"off") + L" colorkey " + colour);
}

void WorkArea(Driver&, Args) {
    RECT r{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    Say(L"work-area", std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
                          std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top));
}

void Styles(Driver& d, Args a) {
    const HWND window = d.Target(a[0]);
    Say(L"style " + NameOf(d, a[0]),
        FlagNames(static_cast<ULONG_PTR>(::GetWindowLongPtrW(window, GWL_STYLE)), kStyles));
    Say(L"exstyle " + NameOf(d, a[0]),
        FlagNames(static_cast<ULONG_PTR>(::GetWindowLongPtrW(window, GWL_EXSTYLE)), kExStyles));
}

void ExpectStyle(Driver& d, Args a) {
    const HWND window = d.Target(a[0]);
    const bool extended = a[1].starts_with(L"WS_EX_");
    const auto value =
        static_cast<ULONG_PTR>(::GetWindowLongPtrW(window, extended ? GWL_EXSTYLE : GWL_STYLE));
    const Flag* flag = nullptr;
    for (const Flag& candidate : kStyles) {
        flag = a[1] == candidate.name ? &candidate : flag;
    }
    for (const Flag& candidate : kExStyles) {
        flag = a[1] == candidate.name ? &candidate : flag;
    }
    if (flag == nullptr || (a[2] != L"on" && a[2] != L"off")) {
        throw Failure{L"expect-style needs a style name of `styles` and on or off, not " + a[1] + L" " +
                      a[2]};
    }
    const bool on = (value & flag->bits) == flag->bits;
    if (on != (a[2] == L"on")) {
        throw Failure{a[1] + L" is " + (on ? L"on" : L"off") + L" for " + NameOf(d, a[0])};
    }
    Say(L"style " + NameOf(d, a[0]) + L" " + a[1], a[2]);
}

} // namespace quelmo::driver::windows
