// The custom-drawn widgets render into memory DCs; the pixels they leave are checked here.
#include "PixelCapture.h"
#include "platform/win32/UniqueHandle.h"
#include "widgets/BarGauge.h"
#include "widgets/LineChart.h"
#include "ui/WindowBase.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

namespace quelmo::gui {
namespace {

constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kSky = RGB(166, 202, 240);

// A plain hidden top-level window to parent the controls under test.
class TestHost : public WindowBase {
public:
    TestHost() {
        WindowClassSetup windowClass;
        windowClass.name = L"QuelmoWidgetTestHost";
        WindowCreateSetup create;
        create.style = WS_POPUP;
        create.width = 400;
        create.height = 200;
        CreateHwnd(windowClass, create);
    }
    ~TestHost() override { DestroyHwnd(); }
};

LOGFONTW SansSerif(bool bold) {
    LOGFONTW font{};
    font.lfHeight = -11;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfQuality = NONANTIALIASED_QUALITY;
    wcscpy_s(font.lfFaceName, L"MS Sans Serif");
    return font;
}

int GdiObjects() {
    return static_cast<int>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
}

TEST(LineChart, DrawsALevelLineAcrossThePlotInTheSeriesColour) {
    TestHost host;
    LineChart chart;
    ASSERT_TRUE(chart.Create(host.Hwnd(), 7, RECT{0, 24, 217, 100}));
    chart.SetFont(SansSerif(false));
    chart.SetLineWidth(1, 2);
    for (int x = 1; x <= 80; ++x) {
        chart.Append(1, x, 50.0);
    }
    Capture capture(217, 76);
    capture.Take(chart.Hwnd());

    // A 2-pixel navy line across the middle of the plot, nothing navy elsewhere.
    int navyRows = 0;
    for (int y = 0; y < 76; ++y) {
        if (capture.Count(RECT{120, y, 121, y + 1}, kNavy) == 1) {
            ++navyRows;
            EXPECT_NEAR(y, 38, 2);
        }
    }
    EXPECT_EQ(navyRows, 2);
    EXPECT_GT(capture.Count(RECT{200, 30, 215, 45}, kNavy), 20); // reaches the right of the plot
    EXPECT_EQ(capture.Count(RECT{0, 0, 217, 30}, kNavy), 0);
    // The back wall is the window colour, the grid is dotted grey, labels are black.
    EXPECT_EQ(capture.At(216, 75), kWhite);
    EXPECT_GT(capture.Count(RGB(128, 128, 128)), 100);
    EXPECT_GT(capture.Count(RECT{0, 0, 20, 76}, RGB(0, 0, 0)), 20);
    EXPECT_EQ(chart.Count(1), 80u);
}

TEST(LineChart, ScrollsWhenOldPointsGoAndSeriesKeepTheirOwnColours) {
    TestHost host;
    LineChart chart;
    ASSERT_TRUE(chart.Create(host.Hwnd(), 7, RECT{0, 0, 217, 76}));
    chart.SetSeriesColor(0, kSky);
    chart.SetSeriesColor(1, kNavy);
    for (int x = 1; x <= 10; ++x) {
        chart.Append(0, x, 90.0);
        chart.Append(1, x, x <= 5 ? 10.0 : 90.0);
    }
    Capture capture(217, 76);
    capture.Take(chart.Hwnd());
    const int lowNavyBefore = capture.Count(RECT{0, 55, 217, 76}, kNavy);
    EXPECT_GT(lowNavyBefore, 10);
    // Dropping the five low points moves the rest to the full width: no more navy at the bottom.
    for (int i = 0; i < 5; ++i) {
        chart.DeleteFirst(1);
        chart.DeleteFirst(0);
    }
    capture.Take(chart.Hwnd());
    EXPECT_EQ(capture.Count(RECT{0, 55, 217, 76}, kNavy), 0);
    // Series 1 is drawn after series 0 at the same height, so navy covers the sky-blue line.
    EXPECT_GT(capture.Count(kNavy), 100);
    chart.ClearAll();
    capture.Take(chart.Hwnd());
    EXPECT_EQ(capture.Count(kNavy) + capture.Count(kSky), 0);
}

TEST(LineChart, BackBufferFollowsTheSize) {
    TestHost host;
    LineChart chart;
    ASSERT_TRUE(chart.Create(host.Hwnd(), 7, RECT{0, 0, 100, 50}));
    chart.Append(1, 1, 100);
    chart.Append(1, 2, 100);
    ::SetWindowPos(chart.Hwnd(), nullptr, 0, 0, 300, 80, SWP_NOZORDER | SWP_NOACTIVATE);
    Capture capture(300, 80);
    capture.Take(chart.Hwnd());
    EXPECT_GT(capture.Count(RECT{250, 0, 298, 10}, kNavy), 40); // the top line reaches the new right
}

TEST(LineChart, IgnoresEraseAndDrawsBannerRightOfTheSpacer) {
    TestHost host;
    LineChart chart;
    ASSERT_TRUE(chart.Create(host.Hwnd(), 7, RECT{0, 0, 217, 76}));
    EXPECT_EQ(::SendMessageW(chart.Hwnd(), WM_ERASEBKGND, 0, 0), 1);
    chart.SetLabelColor(RGB(255, 0, 0));
    Capture capture(217, 76);
    capture.Take(chart.Hwnd());
    const int redWithoutBanner = capture.Count(RECT{25, 20, 217, 56}, RGB(255, 0, 0));
    chart.SetBanner(L"Quelmo", SansSerif(true), 25);
    capture.Take(chart.Hwnd());
    EXPECT_GT(capture.Count(RECT{60, 20, 180, 56}, RGB(255, 0, 0)), redWithoutBanner + 30);
    chart.HideBanner();
    capture.Take(chart.Hwnd());
    EXPECT_EQ(capture.Count(RECT{25, 20, 217, 56}, RGB(255, 0, 0)), redWithoutBanner);
}

TEST(BarGauge, FillsFromTheBottomAndShowsThePercentage) {
    TestHost host;
    BarGauge gauge;
    ASSERT_TRUE(gauge.Create(host.Hwnd(), 8, RECT{217, 26, 249, 99}));
    gauge.SetFont(SansSerif(true));
    Capture capture(32, 73);
    // Close to white, but not the see-through white of the background.
    constexpr COLORREF kAlmostWhite = RGB(255, 254, 255);

    gauge.SetProgress(0);
    capture.Take(gauge.Hwnd());
    EXPECT_EQ(capture.At(5, 70), kWhite);
    EXPECT_GT(capture.Count(RECT{1, 20, 31, 53}, kNavy), 10); // "0%" in the bar colour

    gauge.SetProgress(50);
    capture.Take(gauge.Hwnd());
    EXPECT_EQ(capture.At(5, 70), kNavy);
    EXPECT_EQ(capture.At(5, 10), kWhite);
    EXPECT_EQ(capture.At(0, 0), RGB(0, 0, 0)); // the frame

    gauge.SetProgress(100);
    capture.Take(gauge.Hwnd());
    EXPECT_GT(capture.Count(RECT{1, 20, 31, 53}, kAlmostWhite), 10);
    EXPECT_EQ(capture.Count(RECT{1, 1, 31, 72}, kWhite), 0);

    gauge.SetProgress(250);
    EXPECT_EQ(gauge.Progress(), 100);
    wchar_t text[16] = {};
    ::GetWindowTextW(gauge.Hwnd(), text, 16);
    EXPECT_EQ(std::wstring(text), L"100%");
    gauge.SetBackColor(RGB(0, 255, 0));
    gauge.SetForeColor(RGB(255, 0, 0));
    gauge.SetProgress(30);
    capture.Take(gauge.Hwnd());
    EXPECT_EQ(capture.At(5, 70), RGB(255, 0, 0));
    EXPECT_EQ(capture.At(5, 5), RGB(0, 255, 0));
}

// Several changes before a paint ask for one paint; a change after the paint asks again, so a
// sample is never left undrawn.
TEST(Widgets, EveryChangeAfterAPaintAsksForTheNextPaint) {
    TestHost host;
    ::ShowWindow(host.Hwnd(), SW_SHOWNOACTIVATE);
    LineChart chart;
    BarGauge gauge;
    ASSERT_TRUE(chart.Create(host.Hwnd(), 7, RECT{0, 24, 217, 100}));
    ASSERT_TRUE(gauge.Create(host.Hwnd(), 8, RECT{217, 26, 249, 99}));
    int n = 0;
    const struct {
        const char* name;
        HWND control;
        std::function<void()> change;
    } cases[] = {
        {"chart append", chart.Hwnd(),
         [&] {
             ++n;
             chart.Append(1, n, n % 100);
         }},
        {"chart delete", chart.Hwnd(),
         [&] {
             chart.Append(0, ++n, 5);
             chart.DeleteFirst(0);
         }},
        {"chart colour", chart.Hwnd(), [&] { chart.SetLabelColor(RGB(0, 0, ++n % 2)); }},
        {"gauge progress", gauge.Hwnd(), [&] { gauge.SetProgress(++n % 100); }},
        {"gauge colour", gauge.Hwnd(), [&] { gauge.SetForeColor(RGB(++n % 2, 0, 128)); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (int round = 0; round < 3; ++round) {
            ::UpdateWindow(host.Hwnd());
            ::RedrawWindow(host.Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            EXPECT_FALSE(::GetUpdateRect(c.control, nullptr, FALSE));
            c.change();
            c.change();
            EXPECT_TRUE(::GetUpdateRect(c.control, nullptr, FALSE)) << "round " << round;
        }
    }
}

// A paint puts the back buffer on the window and leaves nothing to paint.
TEST(Widgets, APaintShowsTheNewPictureOnTheWindow) {
    TestHost host;
    ::ShowWindow(host.Hwnd(), SW_SHOWNOACTIVATE);
    BarGauge gauge;
    ASSERT_TRUE(gauge.Create(host.Hwnd(), 8, RECT{217, 26, 249, 99}));
    for (const int progress : {50, 0, 100}) {
        gauge.SetProgress(progress);
        ::RedrawWindow(host.Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        EXPECT_FALSE(::GetUpdateRect(gauge.Hwnd(), nullptr, FALSE));
        const win32::UniqueWindowDc dc = win32::GetWindowDc(gauge.Hwnd());
        EXPECT_EQ(::GetPixel(dc.Get(), 5, 70), progress == 0 ? kWhite : kNavy) << progress;
    }
}

TEST(Widgets, RepaintingAndRecolouringLeakNoGdiObjects) {
    TestHost host;
    LineChart chart;
    BarGauge gauge;
    ASSERT_TRUE(chart.Create(host.Hwnd(), 7, RECT{0, 24, 217, 100}));
    ASSERT_TRUE(gauge.Create(host.Hwnd(), 8, RECT{217, 26, 249, 99}));
    chart.SetFont(SansSerif(false));
    gauge.SetFont(SansSerif(true));
    Capture capture(217, 76);
    const auto cycle = [&](int n) {
        chart.SetSeriesColor(1, n % 2 == 0 ? kNavy : kSky);
        chart.SetLineWidth(1, 1 + n % 2);
        if (chart.Count(1) >= 80) {
            chart.DeleteFirst(1);
        }
        chart.Append(1, n, n % 100);
        gauge.SetProgress(n % 101);
        capture.Take(chart.Hwnd());
        capture.Take(gauge.Hwnd());
    };
    for (int n = 0; n < 50; ++n) {
        cycle(n);
    }
    const int before = GdiObjects();
    for (int n = 50; n < 550; ++n) {
        cycle(n);
    }
    EXPECT_EQ(GdiObjects(), before);
}

} // namespace
} // namespace quelmo::gui
