// The vertical bar gauge: a bar filled from the bottom in proportion to a progress of 0 to 100,
// a fill and a background colour, a one-pixel frame, and the value drawn as "N%" in the gauge's
// own font (the window's text colour does not reach it). Where the text lies over the filled
// part it is drawn in the background colour, so it stays readable at any level. The window text
// holds the same "N%", for automation.
//
// Drawn like the line chart: a persistent back buffer, re-rendered only after a change.
#pragma once

#include "platform/win32/UniqueHandle.h"
#include "widgets/BufferedControl.h"

namespace quelmo::gui {

class BarGauge final : public BufferedControl {
public:
    static constexpr wchar_t kClassName[] = L"TQuelmoBarGauge";

    BarGauge() = default;
    ~BarGauge() override;

    bool Create(HWND parent, int controlId, const RECT& bounds);

    // Clamped to 0..100.
    void SetProgress(int progress);
    int Progress() const { return progress_; }
    void SetForeColor(COLORREF color);
    void SetBackColor(COLORREF color);
    COLORREF ForeColor() const { return foreColor_; }
    COLORREF BackColor() const { return backColor_; }
    void SetFont(const LOGFONTW& font);

    // Draws the whole gauge at the given size into `dc`.
    void Render(HDC dc, int width, int height) override;

private:
    void UpdateText();

    int progress_ = 0;
    COLORREF foreColor_ = RGB(0, 0, 128);
    COLORREF backColor_ = RGB(255, 255, 255);
    COLORREF fontColor_ = RGB(0, 0, 0);
    win32::UniqueFont font_;
};

} // namespace quelmo::gui
