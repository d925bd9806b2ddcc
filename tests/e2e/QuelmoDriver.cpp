// quelmo_driver: drives Windows programs for the end-to-end tests, under Wine like the programs
// themselves. It runs the commands given on its command line in order and stops at the first
// that fails (exit code 1, the reason on stderr), ending every program it started. Every answer
// is one line that starts with its key. `quelmo_driver help` lists the commands.
#include "Driver.h"
#include "ui/ControlIds.h"

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <vector>

namespace quelmo::driver {
namespace {

struct Command {
    const wchar_t* name;
    const wchar_t* arguments; // one word per argument
    void (*handler)(Driver&, Args);
    const wchar_t* help;
};

void Help(Driver& d, Args a);

void Timeout(Driver& d, Args a) {
    d.timeoutMs = static_cast<DWORD>(Number(a[0], L"milliseconds"));
    Say(L"timeout", a[0]);
}

void Pause(Driver&, Args a) {
    ::Sleep(static_cast<DWORD>(Number(a[0], L"milliseconds")));
    Say(L"slept", a[0]);
}

// clang-format off
const Command kCommands[] = {
    {L"help", L"", Help, L"lists the commands"},
    {L"timeout", L"MS", Timeout, L"how long the waits below wait (default 15000)"},
    {L"sleep", L"MS", Pause, L"pauses"},
    // Programs and their windows.
    {L"start", L"LABEL COMMANDLINE", windows::Start, L"starts a program (one argument; quote the path in it)"},
    {L"attach", L"LABEL CLASS", windows::Attach, L"takes a program it did not start, by a window of CLASS"},
    {L"use-window", L"CLASS", windows::UseWindow, L"makes a window of CLASS of any program current, without taking the program"},
    {L"wait-window", L"LABEL CLASS", windows::WaitWindow, L"waits for a visible window of CLASS and makes it current"},
    {L"find-window", L"LABEL CLASS", windows::FindAnyWindow, L"the same, shown or hidden"},
    {L"expect-no-window", L"LABEL CLASS", windows::ExpectNoWindow, L"fails if the program has a window of CLASS"},
    {L"list-windows", L"LABEL", windows::ListWindows, L"the program's top-level windows"},
    {L"list-controls", L"", windows::ListControls, L"the current window's controls: id, class, state, text"},
    {L"wait-controls", L"CLASS N", windows::WaitControls, L"waits until the current window shows N controls of CLASS"},
    {L"close", L"", windows::Close, L"sends WM_CLOSE to the current window"},
    {L"wait-exit", L"LABEL CODE", windows::WaitExit, L"waits for the program to end with exit code CODE"},
    {L"activate", L"", windows::Activate, L"brings the current window to the front"},
    {L"post-command", L"ID", windows::PostCommand, L"posts WM_COMMAND ID to the current window"},
    // Texts, places and states of the current window (TARGET "." or its class) and its controls.
    {L"get-text", L"TARGET", windows::GetText, L"the text of a control or window"},
    {L"expect-text", L"TARGET TEXT", windows::ExpectText, L"fails unless the text is TEXT"},
    {L"wait-text", L"TARGET PATTERN", windows::WaitText, L"waits until the whole text matches the ECMAScript PATTERN"},
    {L"get-message", L"", windows::ReadMessage, L"the text of the current message box"},
    {L"expect-message", L"TEXT", windows::ExpectMessage, L"fails unless the message box reads TEXT"},
    {L"expect-message-error", L"CODE", windows::ExpectMessageError, L"the message box shows the system's text for error CODE"},
    {L"click-button", L"BUTTON", windows::ClickButton, L"BM_CLICK on a button that closes the current dialog: Yes, No, OK, Cancel or a control"},
    {L"rect", L"TARGET", windows::Rect, L"screen rectangle: left top width height"},
    {L"visible", L"TARGET", windows::Visible, L"1 when shown, else 0"},
    {L"wait-visible", L"TARGET 0|1", windows::WaitVisible, L"waits until hidden (0) or shown (1)"},
    {L"layered", L"TARGET", windows::Layered, L"the layered window's opacity and see-through colour (or off)"},
    {L"work-area", L"", windows::WorkArea, L"the primary monitor's work area: left top width height"},
    {L"checked", L"TARGET", windows::Checked, L"1 when a check box is checked, else 0"},
    {L"styles", L"TARGET", windows::Styles, L"the window styles and extended styles by name"},
    {L"expect-style", L"TARGET STYLE on|off", windows::ExpectStyle, L"fails unless STYLE (WS_EX_TOPMOST ...) is on or off"},
    // Input as a user gives it, through SendInput.
    {L"keys", L"KEYS", input::Keys, L"presses a key with modifiers: Ctrl+Alt+F11, Escape, Ctrl+Num7"},
    {L"type", L"TEXT", input::Type, L"types TEXT into the focused control"},
    {L"click", L"TARGET", input::Click, L"left click at the centre of TARGET, or at a screen point X,Y"},
    {L"right-click", L"TARGET", input::RightClick, L"right click, as for click"},
    {L"double-click", L"TARGET", input::DoubleClick, L"double click, as for click"},
    {L"move-mouse", L"TARGET", input::MoveMouse, L"moves the mouse to TARGET, as for click"},
    {L"drag", L"TARGET DX,DY", input::Drag, L"presses the left button on TARGET, moves DX,DY and releases"},
    // Controls of other programs: menus, list views, trees.
    {L"menu", L"", remote::Menu, L"the open pop-up menu: path, caption, shortcut, flags per item"},
    {L"wait-menu", L"", remote::WaitMenu, L"waits until a pop-up menu is open"},
    {L"choose-menu", L"PATH", remote::ChooseMenu, L"clicks the items of the open menu along PATH (Location/Top Left)"},
    {L"list-items", L"TARGET", remote::ListItems, L"a list view's rows: index, selected, columns"},
    {L"tree", L"TARGET", remote::Tree, L"a tree view's items with their depth, and the selected path"},
    {L"select-tree", L"TARGET PATH", remote::SelectTree, L"selects the tree item at PATH (Processors/CPU #0)"},
    // The system: registry, files, memory, broadcasts, clipboard.
    {L"reg-get", L"KEY NAME", host::RegGet, L"a registry value (DWORDs in decimal, <missing> when absent)"},
    {L"expect-reg", L"KEY NAME DATA", host::ExpectReg, L"waits until the value is DATA; fails at the timeout"},
    {L"reg-set-string", L"KEY NAME DATA", host::RegSetString, L"writes a string value (the key is created)"},
    {L"reg-set-dword", L"KEY NAME N", host::RegSetDword, L"writes a DWORD value (the key is created)"},
    {L"reg-delete-value", L"KEY NAME", host::RegDeleteValue, L"removes a value"},
    {L"reg-delete-key", L"KEY", host::RegDeleteKey, L"removes a key and everything below it"},
    {L"reg-deny-write", L"KEY", host::RegDenyWrite, L"a DACL that lets everyone read the key but nobody change it"},
    {L"reg-allow-write", L"KEY", host::RegAllowWrite, L"a DACL that allows everything again"},
    {L"close-expecting-writes", L"LABEL FILE N", host::CloseExpectingWrites, L"closes the current window; FILE must be written N times before exit 0"},
    {L"signal", L"FILE", host::Signal, L"creates FILE (a script waiting for it acts)"},
    {L"wait-file", L"FILE", host::WaitFile, L"waits until FILE exists"},
    {L"private-bytes", L"LABEL", host::PrivateBytes, L"the program's committed private memory"},
    {L"resources", L"LABEL", host::ResourceCounts, L"the program's handle and GDI object counts"},
    {L"broadcast", L"MESSAGE", host::Broadcast, L"broadcasts a registered message (TaskbarCreated) to all top-level windows"},
    {L"clipboard", L"", host::Clipboard, L"the clipboard's text"},
    {L"expect-clipboard", L"TEXT", host::ExpectClipboard, L"fails unless the clipboard holds TEXT"},
    // The notification area: the current window's tray icon as the shell has it.
    {L"tray-icon", L"", tray::Icon, L"1 when the shell has the current window's tray icon, else 0"},
    {L"wait-tray-icon", L"0|1", tray::WaitIcon, L"waits until the shell has (1) or has not (0) that icon"},
    {L"tray-forget", L"", tray::Forget, L"makes the shell lose that icon, as a restart of the shell does"},
    {L"tray-area", L"", tray::Area, L"screen rectangle of the window that shows the tray icons: left top width height"},
    {L"tray-tip", L"", tray::Tip, L"waits for the tip the shell shows (the pointer on an icon) and answers it"},
};
// clang-format on

std::size_t ArgumentCount(const Command& command) {
    const std::wstring words = command.arguments;
    return words.empty() ? 0 : static_cast<std::size_t>(std::count(words.begin(), words.end(), L' ')) + 1;
}

void Help(Driver&, Args) {
    for (const Command& command : kCommands) {
        std::wstring line = command.name;
        if (*command.arguments != L'\0') {
            line += std::wstring(L" ") + command.arguments;
        }
        line.resize(std::max<std::size_t>(line.size() + 1, 36), L' ');
        std::printf("%s%s\n", Utf8(line).c_str(), Utf8(command.help).c_str());
    }
}

// Names of src/ui/ControlIds.h, made from the header by CMake.
struct NamedId {
    const wchar_t* name;
    int id;
};
using namespace ids;
const NamedId kControlNames[] = {
#include "ControlNames.inc"
};

int Run(const std::vector<std::wstring>& args) {
    Driver driver;
    std::size_t at = 0;
    try {
        while (at < args.size()) {
            const std::wstring& verb = args[at++];
            const auto* command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                               [&](const Command& c) { return verb == c.name; });
            if (command == std::end(kCommands)) {
                throw Failure{L"unknown command " + verb + L" (quelmo_driver help lists them)"};
            }
            const std::size_t count = ArgumentCount(*command);
            if (args.size() - at < count) {
                throw Failure{verb + L" needs " + command->arguments};
            }
            command->handler(driver, Args(args.data() + at, count));
            at += count;
        }
    } catch (const Failure& failure) {
        std::fprintf(stderr, "FAIL: %s\n", Utf8(failure.text).c_str());
        driver.EndAll();
        return 1;
    }
    return 0;
}

} // namespace

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

void Say(const std::wstring& key, const std::wstring& value) {
    std::wstring line = key;
    if (!value.empty()) {
        line += L' ';
    }
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == L'\r' || value[i] == L'\n') {
            line += L"\\n";
            i += value[i] == L'\r' && i + 1 < value.size() && value[i + 1] == L'\n' ? 1 : 0;
        } else {
            line += value[i];
        }
    }
    std::printf("%s\n", Utf8(line).c_str());
    std::fflush(stdout);
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return name;
}

long Number(const std::wstring& text, const wchar_t* what) {
    std::size_t used = 0;
    long value = 0;
    try {
        value = std::stol(text, &used, 10);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size()) {
        throw Failure{std::wstring(L"\"") + text + L"\" is not a number (" + what + L")"};
    }
    return value;
}

int ControlId(const std::wstring& name) {
    for (const NamedId& named : kControlNames) {
        if (name == named.name) {
            return named.id;
        }
    }
    if (!name.empty() && std::all_of(name.begin(), name.end(), [](wchar_t c) { return std::iswdigit(c); })) {
        return static_cast<int>(Number(name, L"control id"));
    }
    throw Failure{L"no control or menu item named " + name + L" in ControlIds.h"};
}

HWND Driver::Current() const {
    if (current == nullptr || !::IsWindow(current)) {
        throw Failure{L"no current window (wait-window first)"};
    }
    return current;
}

HWND Driver::Target(const std::wstring& name) const {
    const HWND window = Current();
    if (name == L"." || name == ClassOf(window)) {
        return window;
    }
    // A direct child first, else any descendant (controls on tab pages and panels).
    struct Search {
        int id;
        HWND found;
        static BOOL CALLBACK Visit(HWND control, LPARAM param) {
            auto* search = reinterpret_cast<Search*>(param);
            search->found = ::GetDlgCtrlID(control) == search->id ? control : nullptr;
            return search->found == nullptr;
        }
    };
    Search search{ControlId(name), ::GetDlgItem(window, ControlId(name))};
    if (search.found == nullptr) {
        ::EnumChildWindows(window, Search::Visit, reinterpret_cast<LPARAM>(&search));
    }
    const HWND child = search.found;
    if (child == nullptr) {
        throw Failure{L"the current window (" + ClassOf(window) + L") has no control " + name};
    }
    return child;
}

Started& Driver::Process(const std::wstring& label) {
    const auto it = processes.find(label);
    if (it == processes.end()) {
        throw Failure{L"no process " + label};
    }
    return it->second;
}

void Driver::EndAll() {
    for (auto& [label, started] : processes) {
        ::TerminateProcess(started.process.Get(), 99);
        if (::WaitForSingleObject(started.process.Get(), 10000) != WAIT_OBJECT_0) {
            std::fprintf(stderr, "could not end %s (process %lu)\n", Utf8(label).c_str(),
                         static_cast<unsigned long>(started.id));
        }
    }
    processes.clear();
}

} // namespace quelmo::driver

int wmain(int argc, wchar_t** argv) {
    // Plain "\n" line ends, whatever the C runtime's text mode would make of them.
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<std::wstring> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fprintf(stderr,
                     "usage: quelmo_driver COMMAND ARGS... [COMMAND ARGS...]  (quelmo_driver help)\n");
        return 2;
    }
    return quelmo::driver::Run(args);
}
