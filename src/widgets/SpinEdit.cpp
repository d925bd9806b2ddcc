#include "widgets/SpinEdit.h"

#include "ui/WindowBase.h"
#include "widgets/SpinEditModel.h"

#include <commctrl.h>

#include <algorithm>

namespace quelmo::gui {

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr WPARAM kCtrlV = 0x16;

wchar_t UserDecimalSeparator() {
    wchar_t separator[4] = {};
    return ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4) > 1 ? separator[0] : L'.';
}

// The clipboard's text, while it is open.
class ClipboardText {
public:
    explicit ClipboardText(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {
        data_ = open_ ? ::GetClipboardData(CF_UNICODETEXT) : nullptr;
        text_ = data_ != nullptr ? static_cast<const wchar_t*>(::GlobalLock(data_)) : nullptr;
    }
    ~ClipboardText() {
        if (text_ != nullptr) {
            ::GlobalUnlock(data_);
        }
        if (open_) {
            ::CloseClipboard();
        }
    }
    ClipboardText(const ClipboardText&) = delete;
    ClipboardText& operator=(const ClipboardText&) = delete;

    const wchar_t* Text() const { return text_; }

private:
    bool open_;
    HANDLE data_ = nullptr;
    const wchar_t* text_ = nullptr;
};

} // namespace

SpinEdit::~SpinEdit() {
    if (edit_ != nullptr) {
        ::RemoveWindowSubclass(edit_, &SpinEdit::EditProc, kSubclassId);
    }
}

bool SpinEdit::Create(HWND parent, const SpinEditSetup& setup) {
    setup_ = setup;
    decimalSeparator_ = UserDecimalSeparator();
    edit_ = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_EDITW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, 0, 0,
        0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(setup.editId)), ThisModule(), nullptr);
    if (edit_ == nullptr) {
        return false;
    }
    ::SendMessageW(edit_, EM_SETLIMITTEXT, static_cast<WPARAM>(setup.maxChars), 0);
    ::SetWindowSubclass(edit_, &SpinEdit::EditProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    // The arrows sit inside the edit's right edge; the Up and Down keys of the edit work them too.
    upDown_ = ::CreateWindowExW(
        0, UPDOWN_CLASSW, L"",
        WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS | UDS_HOTTRACK, 0, 0, 0, 0,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(setup.upDownId)), ThisModule(), nullptr);
    if (upDown_ == nullptr) {
        return false;
    }
    ::SendMessageW(upDown_, UDM_SETRANGE32, static_cast<WPARAM>(setup.minimum), setup.maximum);
    ::SendMessageW(upDown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit_), 0);
    return true;
}

void SpinEdit::SetBounds(const RECT& bounds) {
    ::SetWindowPos(edit_, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                   bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // Attaching again makes room for the arrows inside the new rectangle.
    ::SendMessageW(upDown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit_), 0);
}

std::wstring SpinEdit::Text() const {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(edit_)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(::GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void SpinEdit::SetText(std::wstring_view text) {
    const std::wstring copy(text);
    ::SetWindowTextW(edit_, copy.c_str());
}

void SpinEdit::TextChanged() {
    const int value =
        std::clamp(widgets::SpinEditValue(Text(), setup_.minimum), setup_.minimum, setup_.maximum);
    ::SendMessageW(upDown_, UDM_SETPOS32, 0, value);
}

LRESULT SpinEdit::OnDeltaPos(const NMUPDOWN& change) {
    const int value = widgets::SpinEditStep(Text(), change.iDelta, setup_.minimum, setup_.maximum);
    SetText(std::to_wstring(value));
    ::SendMessageW(edit_, EM_SETSEL, 0, -1);
    return TRUE;
}

// Only text the field takes is pasted, and no more than it holds.
void SpinEdit::Paste() {
    std::wstring accepted;
    {
        const ClipboardText clipboard(edit_);
        for (const wchar_t* c = clipboard.Text(); c != nullptr && *c != L'\0'; ++c) {
            if (*c >= L' ' && widgets::SpinEditAcceptsChar(*c, decimalSeparator_)) {
                accepted.push_back(*c);
            }
        }
    }
    if (accepted.empty()) {
        ::MessageBeep(MB_OK);
        return;
    }
    ::SendMessageW(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(accepted.c_str()));
}

LRESULT CALLBACK SpinEdit::EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR self) {
    auto* spin = reinterpret_cast<SpinEdit*>(self);
    switch (message) {
    case WM_CHAR:
        if (wParam == kCtrlV) {
            spin->Paste();
            return 0;
        }
        if (!widgets::SpinEditAcceptsChar(static_cast<wchar_t>(wParam), spin->decimalSeparator_)) {
            ::MessageBeep(MB_OK);
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_INSERT && ::GetKeyState(VK_SHIFT) < 0 && ::GetKeyState(VK_CONTROL) >= 0) {
            spin->Paste();
            return 0;
        }
        break;
    case WM_PASTE:
        spin->Paste();
        return 0;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(edit, &SpinEdit::EditProc, kSubclassId);
        spin->edit_ = nullptr;
        break;
    default:
        break;
    }
    return ::DefSubclassProc(edit, message, wParam, lParam);
}

} // namespace quelmo::gui
