// The state shared by the end-to-end driver's commands: the programs it started, the current
// window, the wait limit, and the helpers every command uses (answers, names, waiting).
#pragma once

#include "platform/win32/UniqueHandle.h"

#include <windows.h>

#include <map>
#include <span>
#include <string>

namespace quelmo::driver {

// A failed command; the text is what the test log shows after "FAIL: ".
struct Failure {
    std::wstring text;
};

std::string Utf8(const std::wstring& text);

// One answer line: "KEY VALUE". Line breaks in the value are shown as "\n", so every answer is
// one line that a script finds by its key.
void Say(const std::wstring& key, const std::wstring& value = {});

std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);

// A whole decimal number, or a failure that names what was expected.
long Number(const std::wstring& text, const wchar_t* what);

// A control or menu identifier: a name of src/ui/ControlIds.h ("Label_Samples", "MI_Exit") or
// a number. Unknown names fail and say so.
int ControlId(const std::wstring& name);

struct Started {
    win32::UniqueKernelHandle process;
    DWORD id = 0;
};

using Args = std::span<const std::wstring>;

class Driver {
public:
    DWORD timeoutMs = 15000;
    std::map<std::wstring, Started> processes;
    HWND current = nullptr;

    // The window found last (wait-window, find-window, attach).
    HWND Current() const;
    // "." or the current window's class name is the current window itself; anything else is one
    // of its controls by name or number.
    HWND Target(const std::wstring& name) const;
    Started& Process(const std::wstring& label);

    // Polls `done` every `intervalMs` until it holds; false when the wait limit passes first.
    template <class Done>
    bool WaitFor(Done done, DWORD intervalMs = 50) const {
        const DWORD start = ::GetTickCount();
        while (!done()) {
            if (::GetTickCount() - start > timeoutMs) {
                return false;
            }
            ::Sleep(intervalMs);
        }
        return true;
    }

    // Ends every program still running and waits until each is gone, so that none outlives the
    // test (a survivor would hold the instance mutex for the tests after it).
    void EndAll();
};

// The commands, by concern. Each takes exactly the arguments its table entry names.
namespace windows {
void Start(Driver& d, Args a);
void Attach(Driver& d, Args a);
void UseWindow(Driver& d, Args a);
void WaitWindow(Driver& d, Args a);
void FindAnyWindow(Driver& d, Args a);
void ExpectNoWindow(Driver& d, Args a);
void ListWindows(Driver& d, Args a);
void ListControls(Driver& d, Args a);
void WaitControls(Driver& d, Args a);
void Close(Driver& d, Args a);
void WaitExit(Driver& d, Args a);
void GetText(Driver& d, Args a);
void ExpectText(Driver& d, Args a);
void WaitText(Driver& d, Args a);
void ReadMessage(Driver& d, Args a);
void ExpectMessage(Driver& d, Args a);
void ExpectMessageError(Driver& d, Args a);
void ClickButton(Driver& d, Args a);
void Rect(Driver& d, Args a);
void Visible(Driver& d, Args a);
void Checked(Driver& d, Args a);
void WaitVisible(Driver& d, Args a);
void Layered(Driver& d, Args a);
void WorkArea(Driver& d, Args a);
void Styles(Driver& d, Args a);
void ExpectStyle(Driver& d, Args a);
void Activate(Driver& d, Args a);
void PostCommand(Driver& d, Args a);
} // namespace windows

namespace input {
void Keys(Driver& d, Args a);
void Type(Driver& d, Args a);
void Click(Driver& d, Args a);
void RightClick(Driver& d, Args a);
void DoubleClick(Driver& d, Args a);
void MoveMouse(Driver& d, Args a);
void Drag(Driver& d, Args a);
// A left click at a screen point, for the commands that find their own place.
void ClickAt(POINT at);
} // namespace input

namespace remote {
void Menu(Driver& d, Args a);
void WaitMenu(Driver& d, Args a);
void ChooseMenu(Driver& d, Args a);
void ListItems(Driver& d, Args a);
void Tree(Driver& d, Args a);
void SelectTree(Driver& d, Args a);
} // namespace remote

namespace host {
void RegGet(Driver& d, Args a);
void ExpectReg(Driver& d, Args a);
void RegSetString(Driver& d, Args a);
void RegSetDword(Driver& d, Args a);
void RegDeleteValue(Driver& d, Args a);
void RegDeleteKey(Driver& d, Args a);
void RegDenyWrite(Driver& d, Args a);
void RegAllowWrite(Driver& d, Args a);
void CloseExpectingWrites(Driver& d, Args a);
void Signal(Driver& d, Args a);
void WaitFile(Driver& d, Args a);
void PrivateBytes(Driver& d, Args a);
void ResourceCounts(Driver& d, Args a);
void Broadcast(Driver& d, Args a);
void Clipboard(Driver& d, Args a);
void ExpectClipboard(Driver& d, Args a);
} // namespace host

namespace tray {
void Icon(Driver& d, Args a);
void WaitIcon(Driver& d, Args a);
void Forget(Driver& d, Args a);
void Area(Driver& d, Args a);
void Tip(Driver& d, Args a);
} // namespace tray

} // namespace quelmo::driver
