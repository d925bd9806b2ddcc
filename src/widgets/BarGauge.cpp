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
    WindowClassSpec windowClass;
    windowClass.name = kClassName;
    WindowCreateSpec create;
    create.style = WS_CHILD | WS_VISIBLE;
    create.x = bounds.left;
    create.y = bounds.top;
    create.width = bounds.right - bounds.left;
    create.height = bounds.bottom - bounds.top;
    create.parent = parent;
    create.idOrMenu = static_cast<UINT_PTR>(controlId);
    if (!CreateHwnd(windowClass, create)) {
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

void BarGauge::Changed() {
    // One invalidation until the next paint renders the buffer: under Wine each is a trip to the
    // server, and a sample changes the control several times.
    if (dirty_) {
        return;
    }
    dirty_ = true;
    if (Hwnd() != nullptr) {
        ::InvalidateRect(Hwnd(), nullptr, FALSE);
    }
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

void BarGauge::Render(HDC dc, int width, int height) const {
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

bool BarGauge::EnsureRendered() {
    RECT client;
    ::GetClientRect(Hwnd(), &client);
    if (!buffer_.IsValid() || buffer_.Width() != client.right || buffer_.Height() != client.bottom) {
        buffer_.Resize(Hwnd(), client.right, client.bottom);
        dirty_ = true;
    }
    if (!buffer_.IsValid()) {
        return false;
    }
    if (dirty_) {
        Render(buffer_.Dc(), buffer_.Width(), buffer_.Height());
        dirty_ = false;
    }
    return true;
}

void BarGauge::OnPaint() {
    PAINTSTRUCT ps;
    const HDC dc = ::BeginPaint(Hwnd(), &ps);
    if (EnsureRendered()) {
        buffer_.CopyTo(dc, ps.rcPaint);
    }
    ::EndPaint(Hwnd(), &ps);
}

LRESULT BarGauge::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_PRINTCLIENT:
        // The whole client area into the caller's DC (PrintWindow, tests).
        if (EnsureRendered()) {
            buffer_.CopyTo(reinterpret_cast<HDC>(wParam), RECT{0, 0, buffer_.Width(), buffer_.Height()});
        }
        return 0;
    case WM_SIZE:
        buffer_.Resize(Hwnd(), LOWORD(lParam), HIWORD(lParam));
        Changed();
        return 0;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

} // namespace quelmo::gui
