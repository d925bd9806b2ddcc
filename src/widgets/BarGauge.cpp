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
    Changed();
}

void BarGauge::SetBackColor(COLORREF color) {
    backColor_ = color;
    Changed();
}

void BarGauge::SetFont(const LOGFONTW& font) {
    font_.Reset(::CreateFontIndirectW(&font));
    Changed();
}

void BarGauge::Render(HDC dc, int width, int height) {
    const widgets::GaugeLayout layout = widgets::LayoutGauge(width, height, progress_);
    const RECT frame{layout.frame.left, layout.frame.top, layout.frame.right, layout.frame.bottom};
    ::SetDCBrushColor(dc, fontColor_);
    ::FrameRect(dc, &frame, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    FillSolid(dc, layout.empty, backColor_);
    FillSolid(dc, layout.filled, foreColor_);

    const widgets::GaugeText text(progress_);
    wchar_t wide[8];
    int length = 0;
    for (const char c : text.View()) {
        wide[length++] = static_cast<wchar_t>(c);
    }
    const win32::ScopedSaveDc saved(dc);
    if (font_) {
        ::SelectObject(dc, font_.Get());
    }
    ::SetBkMode(dc, TRANSPARENT);
    RECT inner{layout.inner.left, layout.inner.top, layout.inner.right, layout.inner.bottom};
    // The text twice, each time clipped to one part: font colour over the empty part, the
    // background colour over the filled part.
    const struct {
        const widgets::PixelRect& clip;
        COLORREF color;
    } passes[] = {{layout.empty, fontColor_}, {layout.filled, backColor_}};
    for (const auto& pass : passes) {
        if (pass.clip.IsEmpty()) {
            continue;
        }
        const win32::ScopedSaveDc clipped(dc);
        ::IntersectClipRect(dc, pass.clip.left, pass.clip.top, pass.clip.right, pass.clip.bottom);
        ::SetTextColor(dc, pass.color);
        ::DrawTextW(dc, wide, length, &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

} // namespace quelmo::gui
