// Driver commands that give input as a user does: keys and mouse through SendInput, so that they
// pass where hardware input passes (global hot keys, menus' modal loops, focus rules).
#include "Driver.h"

#include <cwctype>
#include <vector>

namespace quelmo::driver::input {
namespace {

struct NamedKey {
    const wchar_t* name;
    WORD key;
};

// clang-format off
const NamedKey kKeys[] = {
    {L"Escape", VK_ESCAPE}, {L"Esc", VK_ESCAPE}, {L"Enter", VK_RETURN}, {L"Return", VK_RETURN},
    {L"Tab", VK_TAB}, {L"Space", VK_SPACE}, {L"Backspace", VK_BACK}, {L"Delete", VK_DELETE},
    {L"Insert", VK_INSERT}, {L"Home", VK_HOME}, {L"End", VK_END}, {L"PageUp", VK_PRIOR},
    {L"PageDown", VK_NEXT}, {L"Up", VK_UP}, {L"Down", VK_DOWN}, {L"Left", VK_LEFT}, {L"Right", VK_RIGHT},
    {L"Apps", VK_APPS}, {L"Pause", VK_PAUSE}, {L"NumAdd", VK_ADD}, {L"NumSubtract", VK_SUBTRACT},
    {L"NumMultiply", VK_MULTIPLY}, {L"NumDivide", VK_DIVIDE}, {L"NumDecimal", VK_DECIMAL},
    {L"Ctrl", VK_CONTROL}, {L"Control", VK_CONTROL}, {L"Alt", VK_MENU}, {L"Shift", VK_SHIFT}, {L"Win", VK_LWIN},
};
// clang-format on

bool IsExtended(WORD key) {
    switch (key) {
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_DIVIDE:
    case VK_APPS:
    case VK_LWIN:
        return true;
    default:
        return false;
    }
}

// One key of a key combination: a name above, a letter or digit, F1-F24 or Num0-Num9.
WORD KeyOf(const std::wstring& name) {
    for (const NamedKey& named : kKeys) {
        if (::lstrcmpiW(name.c_str(), named.name) == 0) {
            return named.key;
        }
    }
    if (name.size() == 1 && std::iswalnum(name[0])) {
        return static_cast<WORD>(std::towupper(name[0]));
    }
    const auto numbered = [&](const wchar_t* prefix, long low, long high) {
        const std::wstring head = prefix;
        if (name.size() <= head.size() || name.compare(0, head.size(), head) != 0) {
            return -1L;
        }
        const std::wstring tail = name.substr(head.size());
        for (const wchar_t c : tail) {
            if (!std::iswdigit(c)) {
                return -1L;
            }
        }
        const long n = Number(tail, L"key number");
        return n >= low && n <= high ? n : -1L;
    };
    if (const long f = numbered(L"F", 1, 24); f > 0) {
        return static_cast<WORD>(VK_F1 + f - 1);
    }
    if (const long n = numbered(L"Num", 0, 9); n >= 0) {
        return static_cast<WORD>(VK_NUMPAD0 + n);
    }
    throw Failure{L"unknown key " + name};
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtended(key) ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

void Send(std::vector<INPUT>& inputs) {
    if (::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size()) {
        throw Failure{L"SendInput refused the input (error " + std::to_wstring(::GetLastError()) + L")"};
    }
    // Lets the receiving thread see the input before the next command looks at its effect.
    ::Sleep(100);
}

// A screen point "X,Y", or the centre of a control or of the current window.
POINT PointOf(const Driver& d, const std::wstring& target) {
    const auto comma = target.find(L',');
    if (comma != std::wstring::npos) {
        return {Number(target.substr(0, comma), L"x"), Number(target.substr(comma + 1), L"y")};
    }
    RECT r{};
    ::GetWindowRect(d.Target(target), &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

INPUT MouseInput(DWORD flags, POINT at) {
    // Absolute coordinates run from 0 to 65535 over the primary screen.
    const LONG width = ::GetSystemMetrics(SM_CXSCREEN);
    const LONG height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (at.x * 65535 + (width - 1) / 2) / (width - 1);
    input.mi.dy = (at.y * 65535 + (height - 1) / 2) / (height - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return input;
}

void MouseAt(POINT at, DWORD down, DWORD up, int clicks) {
    std::vector<INPUT> inputs{MouseInput(0, at)};
    Send(inputs);
    inputs.clear();
    for (int i = 0; i < clicks; ++i) {
        inputs.push_back(MouseInput(down, at));
        inputs.push_back(MouseInput(up, at));
    }
    if (!inputs.empty()) {
        Send(inputs);
    }
}

void Mouse(const Driver& d, const std::wstring& target, DWORD down, DWORD up, int clicks,
           const wchar_t* key) {
    const POINT at = PointOf(d, target);
    MouseAt(at, down, up, clicks);
    Say(std::wstring(key) + L" " + target, std::to_wstring(at.x) + L" " + std::to_wstring(at.y));
}

} // namespace

void Keys(Driver&, Args a) {
    std::vector<WORD> keys;
    for (std::size_t from = 0;;) {
        const std::size_t plus = a[0].find(L'+', from);
        keys.push_back(
            KeyOf(a[0].substr(from, plus == std::wstring::npos ? std::wstring::npos : plus - from)));
        if (plus == std::wstring::npos) {
            break;
        }
        from = plus + 1;
    }
    std::vector<INPUT> inputs;
    inputs.reserve(keys.size() * 2);
    for (const WORD key : keys) {
        inputs.push_back(KeyInput(key, false));
    }
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
        inputs.push_back(KeyInput(*key, true));
    }
    Send(inputs);
    Say(L"keys", a[0]);
}

void Type(Driver&, Args a) {
    std::vector<INPUT> inputs;
    for (const wchar_t c : a[0]) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = c;
        input.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(input);
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    if (!inputs.empty()) {
        Send(inputs);
    }
    Say(L"typed", a[0]);
}

void Click(Driver& d, Args a) {
    Mouse(d, a[0], MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 1, L"click");
}

void RightClick(Driver& d, Args a) {
    Mouse(d, a[0], MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 1, L"right-click");
}

void DoubleClick(Driver& d, Args a) {
    Mouse(d, a[0], MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2, L"double-click");
}

void MoveMouse(Driver& d, Args a) {
    Mouse(d, a[0], 0, 0, 0, L"mouse");
}

void Drag(Driver& d, Args a) {
    const POINT from = PointOf(d, a[0]);
    const auto comma = a[1].find(L',');
    if (comma == std::wstring::npos) {
        throw Failure{L"drag needs a distance DX,DY, not " + a[1]};
    }
    const long dx = Number(a[1].substr(0, comma), L"dx");
    const long dy = Number(a[1].substr(comma + 1), L"dy");
    std::vector<INPUT> inputs{MouseInput(0, from)};
    Send(inputs);
    inputs = {MouseInput(MOUSEEVENTF_LEFTDOWN, from)};
    Send(inputs);
    // In steps, as a hand moves, so that the window follows every part of the way.
    constexpr int kSteps = 5;
    for (int step = 1; step <= kSteps; ++step) {
        inputs = {MouseInput(0, {from.x + dx * step / kSteps, from.y + dy * step / kSteps})};
        Send(inputs);
    }
    const POINT to{from.x + dx, from.y + dy};
    inputs = {MouseInput(MOUSEEVENTF_LEFTUP, to)};
    Send(inputs);
    Say(L"drag " + a[0], std::to_wstring(to.x) + L" " + std::to_wstring(to.y));
}

void ClickAt(POINT at) {
    MouseAt(at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 1);
}

} // namespace quelmo::driver::input
