#include "widgets/LineChart.h"

#include <algorithm>

namespace quelmo::gui {

namespace {

constexpr COLORREF kGridColor = RGB(128, 128, 128);
constexpr std::size_t kInitialScratch = 128;

void FillSolid(HDC dc, const RECT& area, COLORREF color) {
    ::SetDCBrushColor(dc, color);
    ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

// The scale labels are plain ASCII digits.
int WidenAscii(std::string_view text, wchar_t* out, int capacity) {
    const int length = std::min(static_cast<int>(text.size()), capacity);
    for (int i = 0; i < length; ++i) {
        out[i] = static_cast<wchar_t>(text[static_cast<std::size_t>(i)]);
    }
    return length;
}

} // namespace

LineChart::LineChart() {
    scratch_.resize(kInitialScratch);
    for (auto& style : styles_) {
        RebuildPen(style);
    }
    gridPen_.Reset(::CreatePen(PS_DOT, 1, kGridColor));
}

LineChart::~LineChart() {
    DestroyHwnd();
}

bool LineChart::Create(HWND parent, int controlId, const RECT& bounds) {
    if (!CreateControl(kClassName, parent, controlId, bounds)) {
        return false;
    }
    MeasureLabels();
    return true;
}

void LineChart::DeleteFirst(int series) {
    data_.DeleteFirst(series);
    Changed();
}

void LineChart::Append(int series, double x, double y) {
    data_.Append(series, x, y);
    Changed();
}

void LineChart::Clear(int series) {
    data_.Clear(series);
    Changed();
}

void LineChart::ClearAll() {
    data_.ClearAll();
    Changed();
}

void LineChart::RebuildPen(SeriesStyle& style) {
    // A geometric pen with flat joins keeps 2-pixel lines from growing blobs at sharp turns.
    LOGBRUSH brush{BS_SOLID, style.color, 0};
    style.pen.Reset(::ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                                   static_cast<DWORD>(style.width), &brush, 0, nullptr));
}

void LineChart::SetSeriesColor(int series, COLORREF color) {
    if (!widgets::ChartData::IsSeries(series)) {
        return;
    }
    auto& style = styles_[static_cast<std::size_t>(series)];
    if (style.color != color) {
        style.color = color;
        RebuildPen(style);
        Changed();
    }
}

void LineChart::SetLineWidth(int series, int width) {
    if (!widgets::ChartData::IsSeries(series)) {
        return;
    }
    auto& style = styles_[static_cast<std::size_t>(series)];
    width = std::max(width, 1);
    if (style.width != width) {
        style.width = width;
        RebuildPen(style);
        Changed();
    }
}

void LineChart::SetLabelColor(COLORREF color) {
    labelColor_ = color;
    Changed();
}

void LineChart::SetBackgroundColor(COLORREF color) {
    backgroundColor_ = color;
    Changed();
}

void LineChart::SetDpi(int dpi) {
    if (dpi > 0 && dpi != dpi_) {
        dpi_ = dpi;
        Changed();
    }
}

void LineChart::SetFont(const LOGFONTW& font) {
    labelFont_.Reset(::CreateFontIndirectW(&font));
    MeasureLabels();
    Changed();
}

void LineChart::SetBanner(std::wstring_view text, const LOGFONTW& font, int spacer) {
    banner_.assign(text);
    bannerFont_.Reset(::CreateFontIndirectW(&font));
    bannerSpacer_ = spacer;
    Changed();
}

void LineChart::HideBanner() {
    banner_.clear();
    bannerFont_.Reset();
    Changed();
}

void LineChart::MeasureLabels() {
    if (Hwnd() == nullptr) {
        return;
    }
    const win32::UniqueWindowDc dc = win32::GetWindowDc(Hwnd());
    const win32::ScopedSelectObject font(dc.Get(), labelFont_ ? static_cast<HGDIOBJ>(labelFont_.Get())
                                                              : ::GetStockObject(DEFAULT_GUI_FONT));
    labelWidth_ = 0;
    textHeight_ = 0;
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.Get(), &metrics);
    digitHeight_ = static_cast<int>(metrics.tmAscent - metrics.tmInternalLeading);
    for (int i = 0; i < widgets::kScaleLabelCount; ++i) {
        wchar_t text[8];
        const int length = WidenAscii(widgets::ScaleLabelText(i), text, 8);
        SIZE size{};
        ::GetTextExtentPoint32W(dc.Get(), text, length, &size);
        labelWidth_ = std::max(labelWidth_, static_cast<int>(size.cx));
        textHeight_ = std::max(textHeight_, static_cast<int>(size.cy));
    }
}

void LineChart::Render(HDC dc, int width, int height) {
    const RECT client{0, 0, width, height};
    FillSolid(dc, client, backgroundColor_);
    const widgets::ChartLayout layout =
        widgets::LayoutChart(width, height, labelWidth_, textHeight_, dpi_, digitHeight_);
    const widgets::PixelRect& plot = layout.plot;

    const win32::ScopedSaveDc saved(dc);
    ::SetBkMode(dc, TRANSPARENT);
    if (!plot.IsEmpty()) {
        // Dashed grid at every label, then the axis line.
        {
            const win32::ScopedSelectObject pen(dc, gridPen_.Get());
            for (const auto& label : layout.labels) {
                ::MoveToEx(dc, plot.left, label.gridY, nullptr);
                ::LineTo(dc, plot.right, label.gridY);
            }
        }
        ::SetDCPenColor(dc, labelColor_);
        const win32::ScopedSelectObject pen(dc, ::GetStockObject(DC_PEN));
        ::MoveToEx(dc, layout.axisX, plot.top, nullptr);
        ::LineTo(dc, layout.axisX, plot.bottom);
    }

    {
        const win32::ScopedSelectObject font(dc, labelFont_ ? static_cast<HGDIOBJ>(labelFont_.Get())
                                                            : ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetTextColor(dc, labelColor_);
        ::SetTextAlign(dc, TA_RIGHT); // top-aligned, current position unused: both flags are 0
        for (int i = 0; i < widgets::kScaleLabelCount; ++i) {
            const auto& label = layout.labels[static_cast<std::size_t>(i)];
            if (!label.shown) {
                continue;
            }
            wchar_t text[8];
            const int length = WidenAscii(widgets::ScaleLabelText(i), text, 8);
            ::ExtTextOutW(dc, label.text.right, label.text.top, 0, nullptr, text, static_cast<UINT>(length),
                          nullptr);
        }
    }

    double minX = 0;
    double maxX = 0;
    if (!plot.IsEmpty() && data_.XRange(minX, maxX)) {
        DrawSeries(dc, plot, minX, maxX);
    }

    if (!banner_.empty()) {
        const win32::ScopedSelectObject font(dc, bannerFont_.Get());
        // Right of the spacer and of the scale, and only where it fits whole.
        RECT area{std::max(bannerSpacer_, layout.plot.left), 0, width, height};
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, banner_.c_str(), static_cast<int>(banner_.size()), &extent);
        if (extent.cx <= area.right - area.left && extent.cy <= area.bottom - area.top) {
            ::SetTextColor(dc, labelColor_);
            ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
            ::DrawTextW(dc, banner_.c_str(), static_cast<int>(banner_.size()), &area,
                        DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
}

void LineChart::DrawSeries(HDC dc, const widgets::PixelRect& plot, double minX, double maxX) {
    const win32::ScopedSaveDc saved(dc);
    ::IntersectClipRect(dc, plot.left, plot.top, plot.right, plot.bottom);
    // Index order: the processors are drawn over the memory line.
    for (int series = 0; series < widgets::kChartSeriesCount; ++series) {
        const widgets::SeriesPoints& points = data_.Points(series);
        const std::size_t count = points.Count();
        if (count < 2) {
            continue;
        }
        if (scratch_.size() < count) {
            scratch_.resize(count);
        }
        for (std::size_t i = 0; i < count; ++i) {
            const widgets::ChartPoint& p = points[i];
            scratch_[i] = {widgets::XToPixel(plot, minX, maxX, p.x), widgets::ValueToY(plot, p.y)};
        }
        const win32::ScopedSelectObject pen(dc, styles_[static_cast<std::size_t>(series)].pen.Get());
        ::Polyline(dc, scratch_.data(), static_cast<int>(count));
    }
}

} // namespace quelmo::gui
