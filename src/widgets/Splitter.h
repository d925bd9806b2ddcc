// A vertical bar between two panes that the user drags sideways to share the width between
// them. The splitter moves nothing itself: while it is dragged it tells its owner where its left
// edge should go (parent client coordinates), and the owner keeps that within its limits and
// lays the panes out again, the splitter with them.
#pragma once

#include "ui/WindowBase.h"

#include <functional>

namespace quelmo::gui {

class Splitter final : public WindowBase {
public:
    using DragHandler = std::function<void(int left)>;

    Splitter() = default;
    // A child of `parent` with the control ID and bounds (parent client coordinates).
    bool Create(HWND parent, int id, const RECT& bounds, DragHandler onDrag);
    bool Dragging() const { return dragging_; }

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Drag(int x);

    DragHandler onDrag_;
    int grab_ = 0; // where on the bar the pointer took hold
    bool dragging_ = false;
};

} // namespace quelmo::gui
