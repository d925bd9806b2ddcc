// The colour box: an owner-drawn drop-down list of named colours, each with a swatch and a name
// (widgets/ColorBoxModel), and a custom entry at the top that opens the system's colour dialog
// and then shows the colour chosen there.
//
// The box is a plain combo box; its parent passes on the box's notifications (OnCommand) and its
// WM_DRAWITEM (DrawItem). A choice counts once it is final: a colour picked in the open list when
// the list closes, a colour reached with the arrow keys in the closed box at once, and the custom
// entry once the colour dialog has been answered (Cancel goes back to the colour before).
#pragma once

#include "widgets/ColorBoxModel.h"

#include <windows.h>

#include <optional>

namespace quelmo::gui {

class ColorBox {
public:
    ColorBox() = default;
    ColorBox(const ColorBox&) = delete;
    ColorBox& operator=(const ColorBox&) = delete;

    // A visible child of `parent` with the control ID; placed by SetBounds.
    bool Create(HWND parent, int controlId);
    HWND Hwnd() const { return hwnd_; }

    // The closed box's rectangle (parent client coordinates) and the height of one entry, in
    // pixels; the open list shows up to twelve entries. Can be run again.
    void SetBounds(const RECT& bounds, int itemHeight);

    // Shows `color` (its named entry, or the custom entry with it) without a notification.
    void SetColor(COLORREF color);
    COLORREF Color() const { return committed_; }

    // The box's WM_COMMAND notification. Answers the new colour when the user's choice is final;
    // the colour dialog is owned by `dialogOwner`.
    std::optional<COLORREF> OnCommand(int code, HWND dialogOwner);

    // WM_DRAWITEM for this box: the swatch and the name, highlighted when selected.
    void DrawItem(const DRAWITEMSTRUCT& item) const;

private:
    std::optional<COLORREF> Settle(HWND dialogOwner);
    std::optional<COLORREF> ChooseCustom(HWND dialogOwner);
    void Select(int index);

    HWND hwnd_ = nullptr; // a child control: it goes with its parent
    COLORREF committed_ = 0;
    int committedIndex_ = widgets::kCustomColorIndex;
    std::optional<COLORREF> custom_; // what the custom entry shows, once there is one
    bool picked_ = false;            // an entry was picked in the open list
    bool choosing_ = false;          // the colour dialog is open
};

} // namespace quelmo::gui
