// quelmo_menu_probe.dll: reads an open pop-up menu from inside the program that shows it. Wine
// keeps menus private to their process (GetMenuItemInfo on another process's menu fails), so the
// driver hooks the menu's thread with this library; asked by a registered message sent to a menu
// window, it writes every item of the menu tree into the driver's shared memory as lines of
// "path<TAB>caption<TAB>shortcut<TAB>flags<TAB>left top right bottom".
#include "MenuProbe.h"

#include <cwchar>

namespace {

using namespace quelmo::driver::probe;

struct Writer {
    wchar_t* at;
    wchar_t* end;
    void Put(const wchar_t* text) {
        while (*text != L'\0' && at + 1 < end) {
            *at++ = *text++;
        }
        *at = L'\0';
    }
};

void PutMenu(Writer& out, HMENU menu, const wchar_t* path) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[512] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 511;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) {
            continue;
        }
        wchar_t itemPath[128];
        std::swprintf(itemPath, 128, *path != L'\0' ? L"%ls.%d" : L"%ls%d", path, i);
        // The caption and the shortcut text are one string, split at the tab.
        wchar_t* tab = std::wcschr(text, L'\t');
        const wchar_t* shortcut = L"";
        if (tab != nullptr) {
            *tab = L'\0';
            shortcut = tab + 1;
        }
        wchar_t flags[128] = {};
        const auto flag = [&](bool on, const wchar_t* name) {
            if (on) {
                std::wcscat(flags, *flags != L'\0' ? L" " : L"");
                std::wcscat(flags, name);
            }
        };
        const bool separator = (info.fType & MFT_SEPARATOR) != 0;
        flag(separator, L"separator");
        flag((info.fState & MFS_CHECKED) != 0, L"checked");
        flag((info.fState & MFS_DISABLED) != 0, L"disabled");
        flag((info.fState & MFS_DEFAULT) != 0, L"default");
        flag((info.fType & MFT_RADIOCHECK) != 0, L"radio");
        flag(info.hSubMenu != nullptr, L"submenu");
        // Only items of menus on screen have a place.
        RECT r{};
        ::GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r);
        wchar_t line[1400];
        std::swprintf(line, 1400, L"%ls\t%ls\t%ls\t%ls\t%ld %ld %ld %ld\n", itemPath, separator ? L"-" : text,
                      shortcut, flags, r.left, r.top, r.right, r.bottom);
        out.Put(line);
        if (info.hSubMenu != nullptr) {
            PutMenu(out, info.hSubMenu, itemPath);
        }
    }
}

bool IsSubmenuOf(HMENU inner, HMENU outer) {
    const int count = ::GetMenuItemCount(outer);
    for (int i = 0; i < count; ++i) {
        const HMENU sub = ::GetSubMenu(outer, i);
        if (sub != nullptr && (sub == inner || IsSubmenuOf(inner, sub))) {
            return true;
        }
    }
    return false;
}

struct Popups {
    HMENU menus[16];
    int count;
};

BOOL CALLBACK CollectPopup(HWND window, LPARAM param) {
    auto* popups = reinterpret_cast<Popups*>(param);
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (std::wcscmp(name, L"#32768") == 0 && ::IsWindowVisible(window) && popups->count < 16) {
        if (const auto menu = reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0))) {
            popups->menus[popups->count++] = menu;
        }
    }
    return TRUE;
}

// The menu that the open menus hang from: the one no other open menu holds as a submenu.
HMENU RootMenu() {
    Popups popups{};
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectPopup, reinterpret_cast<LPARAM>(&popups));
    for (int i = 0; i < popups.count; ++i) {
        bool inner = false;
        for (int j = 0; j < popups.count; ++j) {
            inner = inner || (i != j && IsSubmenuOf(popups.menus[i], popups.menus[j]));
        }
        if (!inner) {
            return popups.menus[i];
        }
    }
    return nullptr;
}

void Answer(DWORD driverProcess) {
    const quelmo::win32::UniqueKernelHandle mapping(
        ::OpenFileMappingW(FILE_MAP_WRITE, FALSE, MappingName(driverProcess).c_str()));
    if (!mapping) {
        return;
    }
    const MappedView view(mapping.Get(), FILE_MAP_WRITE);
    if (view.Text() != nullptr) {
        Writer out{view.Text(), view.Text() + kAnswerBytes / sizeof(wchar_t)};
        out.Put(L"");
        if (const HMENU root = RootMenu()) {
            PutMenu(out, root, L"");
        }
    }
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK QuelmoMenuProbe(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT request = ::RegisterWindowMessageW(kRequest);
    if (code == HC_ACTION) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (sent->message == request) {
            Answer(static_cast<DWORD>(sent->wParam));
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
