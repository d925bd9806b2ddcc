// Driver commands on the notification area: whether the shell knows the current window's tray icon,
// making the shell lose it (as when the shell restarts), where the icons are shown and the tip the
// shell shows. Without a desktop taskbar Wine's shell (explorer.exe, window "Shell_TrayWnd", then
// hidden) hands the icons to Wine's X11 driver, which shows them in its own "Wine System Tray"
// window when no system tray of the X desktop takes them; the tips are the shell's tool tips.
#include "Driver.h"

#include <shellapi.h>

#include <algorithm>

namespace quelmo::driver::tray {
namespace {

// The shell's record of the current window's icon (identifier 0); no flags, so a modify changes
// nothing and only tells whether the shell has the icon.
NOTIFYICONDATAW IconOf(const Driver& d) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = d.Current();
    data.uID = 0;
    return data;
}

bool ShellHasIcon(const Driver& d) {
    NOTIFYICONDATAW data = IconOf(d);
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

HWND ShellTray() {
    return ::FindWindowW(L"Shell_TrayWnd", nullptr);
}

// Where the icons are shown: the shell's tray window when it shows itself (a taskbar), else the
// window Wine's X11 driver makes for them when no system tray of the X desktop takes them.
HWND ShownTray() {
    const HWND shell = ShellTray();
    if (shell != nullptr && ::IsWindowVisible(shell)) {
        return shell;
    }
    const HWND standalone = ::FindWindowW(L"__winex11_standalone_tray", nullptr);
    return standalone != nullptr && ::IsWindowVisible(standalone) ? standalone : nullptr;
}

// A tool tip's window text is the tip it shows; asked by message, which crosses processes.
std::wstring TipText(HWND tip) {
    wchar_t text[256] = {};
    DWORD_PTR length = 0;
    if (::SendMessageTimeoutW(tip, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000,
                              &length) == 0) {
        return {};
    }
    return std::wstring(text, std::min<std::size_t>(length, 255));
}

} // namespace

void Icon(Driver& d, Args) {
    Say(L"tray-icon", ShellHasIcon(d) ? L"1" : L"0");
}

void WaitIcon(Driver& d, Args a) {
    const bool shown = Number(a[0], L"0 or 1") != 0;
    if (!d.WaitFor([&] { return ShellHasIcon(d) == shown; }, 100)) {
        throw Failure{shown ? L"the shell has no icon of the window"
                            : L"the shell still has the window's icon"};
    }
    Say(L"tray-icon", shown ? L"1" : L"0");
}

void Forget(Driver& d, Args) {
    NOTIFYICONDATAW data = IconOf(d);
    if (::Shell_NotifyIconW(NIM_DELETE, &data) == FALSE) {
        throw Failure{L"the shell has no icon of the window to lose"};
    }
    Say(L"tray-forgotten", ClassOf(d.Current()));
}

// The client area of the shell's tray window on the screen.
void Area(Driver& d, Args) {
    HWND tray = nullptr;
    if (!d.WaitFor([&] { return (tray = ShownTray()) != nullptr; }, 100)) {
        throw Failure{L"no notification area is shown"};
    }
    RECT client{};
    ::GetClientRect(tray, &client);
    ::MapWindowPoints(tray, nullptr, reinterpret_cast<POINT*>(&client), 2);
    Say(L"tray-area", std::to_wstring(client.left) + L" " + std::to_wstring(client.top) + L" " +
                          std::to_wstring(client.right - client.left) + L" " +
                          std::to_wstring(client.bottom - client.top));
}

// Waits for a tip the shell shows (a visible tool-tip window of the shell's process) and answers its
// text; the pointer must rest on an icon.
void Tip(Driver& d, Args) {
    DWORD shell = 0;
    ::GetWindowThreadProcessId(ShellTray(), &shell);
    struct Search {
        DWORD process;
        std::wstring text;
        bool found = false;
        static BOOL CALLBACK Visit(HWND window, LPARAM param) {
            auto& search = *reinterpret_cast<Search*>(param);
            DWORD process = 0;
            ::GetWindowThreadProcessId(window, &process);
            if (process == search.process && ::IsWindowVisible(window) &&
                ClassOf(window) == L"tooltips_class32") {
                search.text = TipText(window);
                search.found = !search.text.empty();
            }
            return search.found ? FALSE : TRUE;
        }
    } search{shell, {}};
    if (shell == 0 || !d.WaitFor([&] {
            search.found = false;
            ::EnumWindows(Search::Visit, reinterpret_cast<LPARAM>(&search));
            return search.found;
        })) {
        throw Failure{L"the shell shows no tip"};
    }
    Say(L"tray-tip", search.text);
}

} // namespace quelmo::driver::tray
