// A text link: blue text with a hand cursor that opens something. A tab stop; a click, Enter or
// Space sends the parent WM_COMMAND with the control ID and BN_CLICKED, as a button does. The
// text is underlined while the mouse is over it; the focus rectangle shows only while keyboard
// cues are on (WM_QUERYUISTATE), so it appears after keyboard use, not after a click.
#pragma once

#include "platform/win32/UniqueHandle.h"
#include "ui/WindowBase.h"

#include <string>
#include <string_view>

namespace quelmo::gui {

class LinkLabel final : public WindowBase {
public:
    LinkLabel() = default;
    ~LinkLabel() override { DestroyHwnd(); }

    // A visible child of `parent` at (x, y) with the control ID; its size follows its text and
    // font (MoveTo, WM_SETFONT).
    bool Create(HWND parent, int controlId, std::wstring_view text, int x, int y);
    // Places the control with its top left at (x, y), sized to the text.
    void MoveTo(int x, int y);

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint();
    void SetFont(HFONT font);
    void SetHot(bool hot);
    void Click();
    SIZE TextSize() const;

    std::wstring text_;
    HFONT font_ = nullptr;             // the parent's (dialog) font; not owned
    win32::UniqueFont underlinedFont_; // the same, underlined, while the mouse is over the link
    bool hot_ = false;
    bool pressed_ = false;
};

} // namespace quelmo::gui
