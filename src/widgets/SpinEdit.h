// The spin edit: a numeric edit field with up and down arrows (an up-down control attached to
// it). Typing is limited to a number of characters and to what widgets/SpinEditModel lets
// through, pasted text included; the arrows and the Up/Down keys step from the value the text
// holds and stay within the range.
//
// The parent passes on the arrows' UDN_DELTAPOS (OnDeltaPos) and calls TextChanged on the edit's
// EN_CHANGE; the edit's own notifications (EN_CHANGE, EN_KILLFOCUS) reach the parent as usual.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>

namespace quelmo::gui {

struct SpinEditSetup {
    int editId = 0;
    int upDownId = 0;
    int minimum = 0;
    int maximum = 100;
    int maxChars = 3; // typed or pasted characters
};

class SpinEdit {
public:
    SpinEdit() = default;
    SpinEdit(const SpinEdit&) = delete;
    SpinEdit& operator=(const SpinEdit&) = delete;
    ~SpinEdit();

    // The edit and its arrows, visible children of `parent`; placed by SetBounds.
    bool Create(HWND parent, const SpinEditSetup& setup);
    HWND Edit() const { return edit_; }
    HWND UpDown() const { return upDown_; }

    // The whole field, arrows included (parent client coordinates). Can be run again.
    void SetBounds(const RECT& bounds);

    std::wstring Text() const;
    // Replaces the text; the edit sends EN_CHANGE as for typing.
    void SetText(std::wstring_view text);
    // The edit's EN_CHANGE: the arrows follow the value typed.
    void TextChanged();
    // UDN_DELTAPOS: puts the stepped value in the field. Answers what the notification returns
    // (the arrows keep no position of their own).
    LRESULT OnDeltaPos(const NMUPDOWN& change);

private:
    static LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
    void Paste();

    HWND edit_ = nullptr; // children of the parent: they go with it
    HWND upDown_ = nullptr;
    SpinEditSetup setup_;
    wchar_t decimalSeparator_ = L'.';
};

} // namespace quelmo::gui
