// The line chart of the monitor window: five fast line series (plain polylines, no point marks)
// over a fixed left scale 0-100 with whole-number labels and a dashed grid, a hidden bottom axis
// that follows the X range of the points (so the graph scrolls), no legend, title, 3-D, zoom or
// panning, and a back wall in the window colour. Scale labels that would overlap are left out
// (widgets/ChartModel), and the banner is drawn only where it fits.
//
// Drawing goes into a persistent back buffer that is recreated on WM_SIZE and re-rendered only
// when something changed; WM_PAINT copies just the invalid rectangle, WM_ERASEBKGND does nothing.
#pragma once

#include "platform/win32/UniqueHandle.h"
#include "widgets/BufferedControl.h"
#include "widgets/ChartModel.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quelmo::gui {

class LineChart final : public BufferedControl {
public:
    static constexpr wchar_t kClassName[] = L"TQuelmoLineChart";

    LineChart();
    ~LineChart() override;

    bool Create(HWND parent, int controlId, const RECT& bounds);

    // The operations the monitor window uses; a series outside 0..4 is ignored.
    std::size_t Count(int series) const { return data_.Count(series); }
    void DeleteFirst(int series);
    void Append(int series, double x, double y);
    void Clear(int series);
    void ClearAll();
    void SetSeriesColor(int series, COLORREF color);
    void SetLineWidth(int series, int width);
    void SetLabelColor(COLORREF color);
    void SetBackgroundColor(COLORREF color);
    // The scale labels' font.
    void SetFont(const LOGFONTW& font);
    // The DPI the margins are scaled to (widgets/DesignUnits.h).
    void SetDpi(int dpi);

    // A text centred right of a `spacer`-pixel strip at the left, drawn over the graph in the
    // label colour with its own font (the start-up banner).
    void SetBanner(std::wstring_view text, const LOGFONTW& font, int spacer);
    void HideBanner();
    bool BannerVisible() const { return !banner_.empty(); }

    const widgets::ChartData& Data() const { return data_; }
    COLORREF SeriesColor(int series) const { return styles_.at(static_cast<std::size_t>(series)).color; }
    int LineWidth(int series) const { return styles_.at(static_cast<std::size_t>(series)).width; }

    // Draws the whole chart at the given size into `dc` (the paint does this into its buffer).
    void Render(HDC dc, int width, int height) override;

private:
    struct SeriesStyle {
        COLORREF color = RGB(0, 0, 128);
        int width = 1;
        win32::UniquePen pen;
    };

    void RebuildPen(SeriesStyle& style);
    void MeasureLabels();
    void DrawSeries(HDC dc, const widgets::PixelRect& plot, double minX, double maxX);

    widgets::ChartData data_;
    std::array<SeriesStyle, widgets::kChartSeriesCount> styles_;
    COLORREF labelColor_ = RGB(0, 0, 0);
    COLORREF backgroundColor_ = RGB(255, 255, 255);
    win32::UniquePen gridPen_;
    win32::UniqueFont labelFont_;
    int labelWidth_ = 0;
    int textHeight_ = 0;
    int digitHeight_ = 0;
    int dpi_ = widgets::kDesignDpi;
    std::wstring banner_;
    win32::UniqueFont bannerFont_;
    int bannerSpacer_ = 0;
    std::vector<POINT> scratch_; // pixel points of one series, reused by every paint
};

} // namespace quelmo::gui
