// A custom-drawn child control with a persistent back buffer: the derived control renders its
// whole picture into the buffer after a change, and every paint only copies the buffer to the
// screen. The background is never erased separately, so nothing flickers.
#pragma once

#include "widgets/BackBuffer.h"
#include "ui/WindowBase.h"

namespace quelmo::gui {

class BufferedControl : public WindowBase {
public:
    // Draws the whole control at the given size into `dc`.
    virtual void Render(HDC dc, int width, int height) = 0;

protected:
    // A visible child of `parent` with the control ID and bounds (parent client coordinates).
    bool CreateControl(const wchar_t* className, HWND parent, int controlId, const RECT& bounds);
    // The picture is out of date: it is rendered again at the next paint.
    void Changed();
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Re-renders the back buffer when something changed; false when the control has no area.
    bool EnsureRendered();
    void OnPaint();

    BackBuffer buffer_;
    bool dirty_ = true;
};

} // namespace quelmo::gui
