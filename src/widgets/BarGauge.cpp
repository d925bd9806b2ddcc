#include "widgets/BarGauge.h"

#include "widgets/GaugeModel.h"

namespace quelmo::gui {

namespace {

void FillSolid(HDC dc, const widgets::PixelRect& area, COLORREF color) {
    if (area.IsEmpty()) {
        return;
    }
    const RECT rect{area.left, area.top, area.right, area.bottom};
    ::SetDCBrushColor(dc, color);
    ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

} // namespace

BarGauge::~BarGauge() {
    DestroyHwnd();
}

bool BarGauge::Create(HWND parent, int controlId, const RECT& bounds) {
    if (!CreateControl(kClassName, parent, controlId, bounds)) {
        return false;
    }
    UpdateTextColors();
    UpdateText();
    return true;
}

// The window text is what the gauge shows, so automation reads the value like a label's.
void BarGauge::UpdateText() {
    if (Hwnd() == nullptr) {
        return;
    }
    const widgets::GaugeText text(progress_);
    wchar_t wide[8] = {};
    std::size_t length = 0;
    for (const char c : text.View()) {
        wide[length++] = static_cast<wchar_t>(c);
    }
    ::SetWindowTextW(Hwnd(), wide);
}

void BarGauge::SetProgress(int progress) {
    progress = widgets::ClampProgress(progress);
    if (progress != progress_) {
        progress_ = progress;
        UpdateText();
        Changed();
    }
}

void BarGauge::SetForeColor(COLORREF color) {
    foreColor_ = color;
    UpdateTextColors();
    Changed();
}

void BarGauge::SetBackColor(COLORREF color) {
    backColor_ = color;
    UpdateTextColors();
    Changed();
}

void BarGauge::UpdateTextColors() {
    textColors_ = widgets::ChooseGaugeTextColors(foreColor_, backColor_);
}

void BarGauge::SetFont(const LOGFONTW& font) {
    font_ = font;
    hasFont_ = true;
    fittedFont_.Reset();
    fittedFor_ = {};
    Changed();
}

void BarGauge::FitFont(HDC dc, const widgets::GaugeLayout& layout) {
    const SIZE inner{layout.inner.Width(), layout.inner.Height()};
    if (fittedFont_ && inner.cx == fittedFor_.cx && inner.cy == fittedFor_.cy) {
        return;
    }
    fittedFor_ = inner;
    LOGFONTW candidate = font_;
    if (!hasFont_) {
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(candidate), &candidate);
    }
    wchar_t widest[8];
    int length = 0;
    for (const char c : widgets::kWidestGaugeText) {
        widest[length++] = static_cast<wchar_t>(c);
    }
    // The font as given, then not bold, then ever smaller: the first in which "100%" fits.
    const LONG height = candidate.lfHeight;
    for (int step = 0; step <= 6; ++step) {
        if (step == 1) {
            candidate.lfWeight = FW_NORMAL;
        } else if (step > 1) {
            candidate.lfHeight = ::MulDiv(height, 11 - step, 10);
        }
        fittedFont_.Reset(::CreateFontIndirectW(&candidate));
        const win32::ScopedSelectObject select(dc, fittedFont_.Get());
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, widest, length, &extent);
        if (widgets::GaugeTextFits(layout, extent.cx, extent.cy)) {
            return;
        }
    }
}

void BarGauge::Render(HDC dc, int width, int height) {
    const widgets::GaugeLayout layout = widgets::LayoutGauge(width, height, progress_);
    const RECT frame{layout.frame.left, layout.frame.top, layout.frame.right, layout.frame.bottom};
    ::SetDCBrushColor(dc, frameColor_);
    ::FrameRect(dc, &frame, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    FillSolid(dc, layout.empty, backColor_);
    FillSolid(dc, layout.filled, foreColor_);

    const widgets::GaugeText text(progress_);
    wchar_t wide[8];
    int length = 0;
    for (const char c : text.View()) {
        wide[length++] = static_cast<wchar_t>(c);
    }
    FitFont(dc, layout);
    const win32::ScopedSaveDc saved(dc);
    ::SelectObject(dc, fittedFont_.Get());
    ::SetBkMode(dc, TRANSPARENT);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, wide, length, &extent);
    const widgets::PixelRect box = widgets::GaugeTextBox(layout, extent.cx, extent.cy);
    // The text twice, each time clipped to one part.
    const struct {
        const widgets::PixelRect& clip;
        COLORREF color;
    } passes[] = {{layout.empty, textColors_.overEmpty}, {layout.filled, textColors_.overFill}};
    for (const auto& pass : passes) {
        if (pass.clip.IsEmpty()) {
            continue;
        }
        const win32::ScopedSaveDc clipped(dc);
        ::IntersectClipRect(dc, pass.clip.left, pass.clip.top, pass.clip.right, pass.clip.bottom);
        ::SetTextColor(dc, pass.color);
        ::ExtTextOutW(dc, box.left, box.top, 0, nullptr, wide, static_cast<UINT>(length), nullptr);
    }
}

} // namespace quelmo::gui
