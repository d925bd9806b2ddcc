// Driver commands that read controls of another process: list views and trees through memory
// lent in that process (their messages carry pointers that Wine does not carry across), and pop-up
// menus through quelmo_menu_probe.dll, hooked into the menu's thread.
#include "Driver.h"
#include "MenuProbe.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace quelmo::driver::remote {
namespace {

// A block of memory in the process that owns `window`, freed with the object.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, std::size_t size) {
        DWORD id = 0;
        ::GetWindowThreadProcessId(window, &id);
        process_.Reset(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id));
        address_ = process_ ? ::VirtualAllocEx(process_.Get(), nullptr, size, MEM_COMMIT | MEM_RESERVE,
                                               PAGE_READWRITE)
                            : nullptr;
        if (address_ == nullptr) {
            throw Failure{L"cannot lend memory in the process of " + ClassOf(window)};
        }
    }
    ~RemoteBuffer() { ::VirtualFreeEx(process_.Get(), address_, 0, MEM_RELEASE); }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    LPARAM At(std::size_t offset) const {
        return reinterpret_cast<LPARAM>(static_cast<BYTE*>(address_) + offset);
    }
    void Write(std::size_t offset, const void* data, std::size_t size) const {
        ::WriteProcessMemory(process_.Get(), static_cast<BYTE*>(address_) + offset, data, size, nullptr);
    }
    std::wstring ReadText(std::size_t offset, std::size_t characters) const {
        std::wstring text(characters, L'\0');
        ::ReadProcessMemory(process_.Get(), static_cast<BYTE*>(address_) + offset, text.data(),
                            characters * sizeof(wchar_t), nullptr);
        text.resize(text.find(L'\0') == std::wstring::npos ? characters : text.find(L'\0'));
        return text;
    }

private:
    win32::UniqueKernelHandle process_;
    void* address_ = nullptr;
};

constexpr std::size_t kTextCharacters = 1024;

std::wstring ListText(HWND list, const RemoteBuffer& buffer, int item, int column) {
    LVITEMW request{};
    request.iSubItem = column;
    request.pszText = reinterpret_cast<wchar_t*>(buffer.At(sizeof(LVITEMW)));
    request.cchTextMax = kTextCharacters;
    buffer.Write(0, &request, sizeof(request));
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), buffer.At(0));
    return buffer.ReadText(sizeof(LVITEMW), kTextCharacters);
}

std::wstring TreeText(HWND tree, const RemoteBuffer& buffer, HTREEITEM item) {
    TVITEMW request{};
    request.mask = TVIF_TEXT | TVIF_HANDLE;
    request.hItem = item;
    request.pszText = reinterpret_cast<wchar_t*>(buffer.At(sizeof(TVITEMW)));
    request.cchTextMax = kTextCharacters;
    buffer.Write(0, &request, sizeof(request));
    ::SendMessageW(tree, TVM_GETITEMW, 0, buffer.At(0));
    return buffer.ReadText(sizeof(TVITEMW), kTextCharacters);
}

HTREEITEM TreeNext(HWND tree, HTREEITEM item, WPARAM relation) {
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

void PrintTree(HWND tree, const RemoteBuffer& buffer, const std::wstring& name, HTREEITEM item, int depth) {
    for (; item != nullptr; item = TreeNext(tree, item, TVGN_NEXT)) {
        Say(L"node " + name, std::to_wstring(depth) + L" " + TreeText(tree, buffer, item));
        PrintTree(tree, buffer, name, TreeNext(tree, item, TVGN_CHILD), depth + 1);
    }
}

// "Processors/CPU #0" from a tree item up to its root.
std::wstring TreePath(HWND tree, const RemoteBuffer& buffer, HTREEITEM item) {
    std::wstring path;
    for (; item != nullptr; item = TreeNext(tree, item, TVGN_PARENT)) {
        std::wstring step = TreeText(tree, buffer, item);
        if (!path.empty()) {
            step += L'/';
        }
        path.insert(0, step);
    }
    return path;
}

// One item of an open menu, as the probe reports it.
struct MenuItem {
    std::wstring path, caption, shortcut, flags;
    RECT place{};
};

std::vector<std::wstring> Split(const std::wstring& text, wchar_t at) {
    std::vector<std::wstring> parts;
    for (std::size_t from = 0;;) {
        const std::size_t cut = text.find(at, from);
        parts.push_back(text.substr(from, cut == std::wstring::npos ? std::wstring::npos : cut - from));
        if (cut == std::wstring::npos) {
            return parts;
        }
        from = cut + 1;
    }
}

HWND OpenMenuWindow() {
    HWND popup = nullptr;
    while ((popup = ::FindWindowExW(nullptr, popup, L"#32768", nullptr)) != nullptr) {
        if (::IsWindowVisible(popup)) {
            return popup;
        }
    }
    return nullptr;
}

// Every item of the open menu tree, read in the menu's own thread by the probe library.
std::vector<MenuItem> ReadMenu(const Driver& d) {
    const HWND popup = OpenMenuWindow();
    if (popup == nullptr) {
        throw Failure{L"no pop-up menu is open"};
    }
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring library = self;
    library = library.substr(0, library.find_last_of(L"\\/") + 1) + probe::kLibrary;
    // The library stays loaded for the driver's life, as the hook needs it.
    static const HMODULE module = ::LoadLibraryW(library.c_str());
    const auto procedure = module != nullptr ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                                   ::GetProcAddress(module, probe::kHookProcedure)))
                                             : nullptr;
    if (procedure == nullptr) {
        throw Failure{L"cannot load " + library};
    }
    const DWORD self_id = ::GetCurrentProcessId();
    const win32::UniqueKernelHandle mapping(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr,
                                                                 PAGE_READWRITE, 0, probe::kAnswerBytes,
                                                                 probe::MappingName(self_id).c_str()));
    const probe::MappedView view(mapping.Get(), FILE_MAP_READ | FILE_MAP_WRITE);
    if (view.Text() == nullptr) {
        throw Failure{L"cannot share memory with the menu probe"};
    }
    view.Text()[0] = L'\0';
    const win32::UniqueHook hook(
        ::SetWindowsHookExW(WH_CALLWNDPROC, procedure, module, ::GetWindowThreadProcessId(popup, nullptr)));
    DWORD_PTR result = 0;
    if (!hook || ::SendMessageTimeoutW(popup, ::RegisterWindowMessageW(probe::kRequest), self_id, 0,
                                       SMTO_NORMAL, d.timeoutMs, &result) == 0) {
        throw Failure{L"the menu probe did not answer"};
    }
    std::vector<MenuItem> items;
    const std::wstring answer(view.Text());
    for (const std::wstring& line : Split(answer, L'\n')) {
        const std::vector<std::wstring> fields = Split(line, L'\t');
        if (fields.size() == 5) {
            MenuItem& item = items.emplace_back(MenuItem{fields[0], fields[1], fields[2], fields[3]});
            std::swscanf(fields[4].c_str(), L"%ld %ld %ld %ld", &item.place.left, &item.place.top,
                         &item.place.right, &item.place.bottom);
        }
    }
    return items;
}

// A caption as the user reads it: without the "&" that marks the access key.
std::wstring Plain(const std::wstring& caption) {
    std::wstring out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        i += caption[i] == L'&' && i + 1 < caption.size() ? 1 : 0;
        out += caption[i];
    }
    return out;
}

} // namespace

void Menu(Driver& d, Args) {
    for (const MenuItem& item : ReadMenu(d)) {
        Say(L"item " + item.path, item.caption + L"\t" + item.shortcut + L"\t" + item.flags);
    }
}

void WaitMenu(Driver& d, Args) {
    if (!d.WaitFor([] { return OpenMenuWindow() != nullptr; })) {
        throw Failure{L"no pop-up menu opened"};
    }
    Say(L"menu open");
}

void ChooseMenu(Driver& d, Args a) {
    std::wstring parent;
    const std::vector<std::wstring> steps = Split(a[0], L'/');
    for (std::size_t level = 0; level < steps.size();) {
        // A caption may hold a "/" itself ("Show/Hide"): the longest run of steps that names an
        // item of this level is that item.
        MenuItem chosen;
        std::size_t taken = 0;
        // A submenu is on screen (its items have a place) a moment after its parent was clicked.
        const bool placed = d.WaitFor([&] {
            taken = 0;
            for (const MenuItem& item : ReadMenu(d)) {
                const auto cut = item.path.find_last_of(L'.');
                const std::wstring itemParent = cut == std::wstring::npos ? L"" : item.path.substr(0, cut);
                std::wstring caption;
                for (std::size_t count = 1; itemParent == parent && level + count <= steps.size(); ++count) {
                    caption += (count == 1 ? L"" : L"/") + steps[level + count - 1];
                    if (Plain(item.caption) == caption && count > taken) {
                        chosen = item;
                        taken = count;
                    }
                }
            }
            return taken > 0 && chosen.place.right > chosen.place.left;
        });
        if (!placed) {
            throw Failure{L"the open menu has no item " + steps[level] + L" on screen"};
        }
        input::ClickAt(
            {(chosen.place.left + chosen.place.right) / 2, (chosen.place.top + chosen.place.bottom) / 2});
        parent = chosen.path;
        level += taken;
    }
    Say(L"chose", a[0]);
}

void ListItems(Driver& d, Args a) {
    const HWND list = d.Target(a[0]);
    const RemoteBuffer buffer(list, sizeof(LVITEMW) + kTextCharacters * sizeof(wchar_t));
    const auto header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns =
        header != nullptr ? std::max<int>(1, static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)))
                          : 1;
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) {
        std::wstring row;
        for (int column = 0; column < columns; ++column) {
            row += (column == 0 ? L"" : L"\t") + ListText(list, buffer, item, column);
        }
        const std::wstring key = a[0] + L" " + std::to_wstring(item);
        Say(L"row " + key, row);
        const auto state = static_cast<UINT>(::SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item),
                                                            LVIS_SELECTED | LVIS_STATEIMAGEMASK));
        if ((state & LVIS_SELECTED) != 0) {
            Say(L"selected " + key);
        }
        // With check boxes, state image 2 is the checked box.
        if ((state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2)) {
            Say(L"checked " + key);
        }
    }
    Say(L"rows " + a[0], std::to_wstring(count));
}

void Tree(Driver& d, Args a) {
    const HWND tree = d.Target(a[0]);
    const RemoteBuffer buffer(tree, sizeof(TVITEMW) + kTextCharacters * sizeof(wchar_t));
    PrintTree(tree, buffer, a[0], TreeNext(tree, nullptr, TVGN_ROOT), 0);
    Say(L"selected " + a[0], TreePath(tree, buffer, TreeNext(tree, nullptr, TVGN_CARET)));
}

void SelectTree(Driver& d, Args a) {
    const HWND tree = d.Target(a[0]);
    const RemoteBuffer buffer(tree, sizeof(TVITEMW) + kTextCharacters * sizeof(wchar_t));
    HTREEITEM item = TreeNext(tree, nullptr, TVGN_ROOT);
    HTREEITEM found = nullptr;
    for (const std::wstring& step : Split(a[1], L'/')) {
        while (item != nullptr && TreeText(tree, buffer, item) != step) {
            item = TreeNext(tree, item, TVGN_NEXT);
        }
        if (item == nullptr) {
            throw Failure{a[0] + L" has no item " + a[1] + L" (no " + step + L")"};
        }
        found = item;
        // Opened as a user opens it, so that trees filled on demand have the next level.
        ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        item = TreeNext(tree, item, TVGN_CHILD);
    }
    // As a click does: the parent window hears TVN_SELCHANGING and TVN_SELCHANGED.
    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(found));
    Say(L"selected " + a[0], TreePath(tree, buffer, TreeNext(tree, nullptr, TVGN_CARET)));
}

} // namespace quelmo::driver::remote
