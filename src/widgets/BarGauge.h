// The vertical bar gauge: a bar filled from the bottom in proportion to a progress of 0 to 100,
// a fill and a background colour, a one-pixel frame, and the value drawn as "N%" in the gauge's
// own font (the window's text colour does not reach it). The text is drawn twice, each part
// clipped to its side: in the bar colour over the empty part, in black or white over the fill,
// and never in the background colour, which is see-through with Transparency on. The font is made
// smaller, where needed, so that "100%" fits inside the frame. The window text holds the same
// "N%", for automation.
//
// Drawn like the line chart: a persistent back buffer, re-rendered only after a change.
#pragma once

#include "platform/win32/UniqueHandle.h"
#include "widgets/BufferedControl.h"
#include "widgets/GaugeModel.h"

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

    // The colours and the font the value was last drawn with (tests look at them).
    const widgets::GaugeTextColors& TextColors() const { return textColors_; }
    HFONT TextFont() const { return fittedFont_.Get(); }

private:
    void UpdateText();
    void UpdateTextColors();
    // Chooses the font for the value at this inner size: the given one, or a smaller one in which
    // "100%" fits. Runs only when the size or the given font changed.
    void FitFont(HDC dc, const widgets::GaugeLayout& layout);

    int progress_ = 0;
    COLORREF foreColor_ = RGB(0, 0, 128);
    COLORREF backColor_ = RGB(255, 255, 255);
    COLORREF frameColor_ = RGB(0, 0, 0);
    widgets::GaugeTextColors textColors_;
    LOGFONTW font_{};
    bool hasFont_ = false;
    win32::UniqueFont fittedFont_;
    SIZE fittedFor_{}; // the inner size fittedFont_ was chosen for
};

} // namespace quelmo::gui
