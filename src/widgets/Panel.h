// A plain container for child controls (a tab page, a group of controls on it). It paints the
// background its parent gives static controls and hands its children's notifications
// (WM_COMMAND, WM_NOTIFY, the colour questions) on to its parent, so the form handles every
// control wherever it sits. Dialog keyboard handling (IsDialogMessage) tabs into it.
#pragma once

#include "ui/WindowBase.h"

namespace quelmo::gui {

// The brush `window`'s parent paints static controls with, as a dialog would answer: what a
// container or splitter on that parent fills its background with.
HBRUSH ParentBackground(HWND window, HDC dc);

class Panel final : public WindowBase {
public:
    Panel() = default;
    // A child of `parent` with the control ID and bounds (parent client coordinates).
    bool Create(HWND parent, int id, const RECT& bounds, bool visible = true);

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

} // namespace quelmo::gui
