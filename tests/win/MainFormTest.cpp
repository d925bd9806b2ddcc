// The monitor window with its real controls, without the settings file or the sampling threads:
// the display step, the clock message and the settings operations, checked through the window
// texts and styles automation sees.
#include "PixelCapture.h"
#include "app/MyConfig.h"
#include "sampling/MyWindowMessages.h"
#include "ui/ControlIds.h"
#include "ui/MainForm.h"
#include "ui/Scaling.h"
#include "widgets/GaugeModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quelmo::gui {
namespace {

std::wstring TextOf(HWND window) {
    wchar_t text[128] = {};
    ::SendMessageW(window, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text));
    return text;
}

RECT ChildRect(HWND parent, HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        config::ResetConfig();
        config::AppModeHotkey = 0; // never grab the real hot key from a test
        // No tray icon unless a test needs one: removing it costs Wine's shell seconds.
        config::HideTrayWhenVisible = !WithTrayIcon();
        TForm_Main::Options options;
        options.useSettingsFile = false;
        options.startSampling = false;
        options.endApplicationOnDestroy = false;
        form_ = std::make_unique<TForm_Main>(options);
        ASSERT_TRUE(form_->Create());
    }
    void TearDown() override {
        form_.reset();
        config::ResetConfig();
    }
    HWND Item(int id) const { return ::GetDlgItem(form_->Hwnd(), id); }
    virtual bool WithTrayIcon() const { return false; }

    std::unique_ptr<TForm_Main> form_;
};

// The same, with the tray icon that window mode shows by default.
class MainFormWithTrayTest : public MainFormTest {
protected:
    bool WithTrayIcon() const override { return true; }
};

TEST_F(MainFormTest, IsABorderlessToolWindowWithEveryControlFindable) {
    const HWND window = form_->Hwnd();
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    EXPECT_EQ(std::wstring(className), L"TForm_Main");
    EXPECT_EQ(TextOf(window), L"Quelmo");
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME), 0);
    EXPECT_NE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    for (const int id : {ids::kImage_Move, ids::kSB_Menu, ids::kLabel_CPUSpeed, ids::kLabel_MemoryUsed,
                         ids::kSB_Hide, ids::kSB_Close, ids::kChart_CPUUsage, ids::kGauge_CPUUsage}) {
        EXPECT_NE(Item(id), nullptr) << id;
    }
    EXPECT_EQ(TextOf(Item(ids::kLabel_CPUSpeed)), L"? MHz");
    EXPECT_EQ(TextOf(Item(ids::kLabel_MemoryUsed)), L"? MB");
    EXPECT_TRUE(form_->TrayIcon().Initialized());
    EXPECT_FALSE(form_->TrayIcon().Added()); // hidden while the window shows
}

TEST_F(MainFormTest, ClockMessageSetsTheClockLabel) {
    ::SendMessageW(form_->Hwnd(), WM_CPU_SPEED, 3000, 0);
    EXPECT_EQ(TextOf(Item(ids::kLabel_CPUSpeed)), L"3,000 MHz");
    ::SendMessageW(form_->Hwnd(), WM_CPU_SPEED, 2394, 0);
    EXPECT_EQ(TextOf(Item(ids::kLabel_CPUSpeed)), L"2,394 MHz");
    // The label grows and shrinks with its text.
    RECT wide = ChildRect(form_->Hwnd(), Item(ids::kLabel_CPUSpeed));
    ::SendMessageW(form_->Hwnd(), WM_CPU_SPEED, 8, 0);
    RECT narrow = ChildRect(form_->Hwnd(), Item(ids::kLabel_CPUSpeed));
    EXPECT_LT(narrow.right - narrow.left, wide.right - wide.left);
    EXPECT_EQ(narrow.left, wide.left);
}

TEST_F(MainFormWithTrayTest, DisplayStepFeedsGaugeGraphLabelAndTray) {
    EXPECT_TRUE(form_->TrayIcon().Added());
    const std::vector<double> each{30.0, 70.0};
    ui::SampleView sample;
    sample.cpuCount = 2;
    sample.cpuUsageEach = each;
    sample.cpuUsageTotal = 50.5;
    sample.memoryUsagePercent = 37.519;
    config::DisplayEachCPU = true;
    config::GraphLength = 80;
    for (std::uint32_t n = 1; n <= 100; ++n) {
        sample.samples = n;
        form_->DisplaySample(sample);
    }
    EXPECT_EQ(form_->Gauge().Progress(), 50);
    const LineChart& chart = form_->Chart();
    EXPECT_EQ(chart.Count(0), 80u);
    EXPECT_EQ(chart.Count(1), 80u);
    EXPECT_EQ(chart.Count(2), 80u);
    EXPECT_EQ(chart.Count(3), 0u);
    EXPECT_EQ(chart.Data().Points(1).Front().x, 21);
    // The user's decimal separator: a point under Wine's default locale.
    EXPECT_EQ(TextOf(Item(ids::kLabel_MemoryUsed)), L"37.52 %");
    EXPECT_EQ(std::wstring(form_->TrayIcon().IconData().szTip), L"CPU: 50%\rMemory: 38%");

    config::MemoryAsPercentage = false;
    sample.memoryUsedMB = 2047.5;
    form_->DisplaySample(sample);
    EXPECT_EQ(TextOf(Item(ids::kLabel_MemoryUsed)), L"2,048 MB");
}

TEST_F(MainFormTest, DisplayMemoryOffHidesLabelAndClearsTheMemorySeries) {
    ui::SampleView sample;
    sample.cpuUsageTotal = 10;
    sample.memoryUsagePercent = 50;
    sample.samples = 1;
    form_->DisplaySample(sample);
    EXPECT_EQ(form_->Chart().Count(0), 1u);
    form_->SetDisplayMemory(false);
    EXPECT_FALSE(config::DisplayMemory);
    EXPECT_EQ(::GetWindowLongPtrW(Item(ids::kLabel_MemoryUsed), GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_EQ(form_->Chart().Count(0), 0u);
    sample.samples = 2;
    form_->DisplaySample(sample);
    EXPECT_EQ(form_->Chart().Count(0), 0u);
}

TEST_F(MainFormTest, HideBarGraphGivesTheGaugesPlaceToTheGraph) {
    const HWND window = form_->Hwnd();
    ::SetWindowPos(window, nullptr, 0, 0, 250, 105, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const HWND chart = Item(ids::kChart_CPUUsage);
    const HWND gauge = Item(ids::kGauge_CPUUsage);
    form_->SetHideBarGraph(true);
    EXPECT_EQ((::GetWindowLongPtrW(gauge, GWL_STYLE) & WS_VISIBLE), 0);
    EXPECT_EQ(ChildRect(window, chart).right, 250);
    form_->SetHideBarGraph(false);
    EXPECT_NE((::GetWindowLongPtrW(gauge, GWL_STYLE) & WS_VISIBLE), 0);
    EXPECT_EQ(ChildRect(window, chart).right, ChildRect(window, gauge).left);
    EXPECT_EQ(ChildRect(window, chart).right, 210);
}

TEST_F(MainFormTest, LayeredStyleFollowsTransparencyAndAlphaBlend) {
    const HWND window = form_->Hwnd();
    // The defaults: see-through white and opacity 200.
    ASSERT_NE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_NE(::GetLayeredWindowAttributes(window, &key, &alpha, &flags), FALSE);
    EXPECT_EQ(key, RGB(255, 255, 255));
    EXPECT_EQ(alpha, 200);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));
    form_->SetBackgroundColor(RGB(0, 64, 0));
    ::GetLayeredWindowAttributes(window, &key, &alpha, &flags);
    EXPECT_EQ(key, RGB(0, 64, 0));
    form_->SetTransparency(false);
    ::GetLayeredWindowAttributes(window, &key, &alpha, &flags);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    form_->SetAlphaBlend(false, 200);
    EXPECT_EQ(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

TEST_F(MainFormTest, ControlButtonsHideAndComeBack) {
    const int buttons[] = {ids::kImage_Move, ids::kSB_Menu, ids::kSB_Hide, ids::kSB_Close};
    form_->ShowControls(false);
    for (const int id : buttons) {
        EXPECT_EQ(::GetWindowLongPtrW(Item(id), GWL_STYLE) & WS_VISIBLE, 0) << id;
    }
    // Mouse movement over the application brings them back.
    MSG move{};
    move.hwnd = Item(ids::kChart_CPUUsage);
    move.message = WM_MOUSEMOVE;
    form_->PreTranslateMessage(move);
    for (const int id : buttons) {
        EXPECT_NE(::GetWindowLongPtrW(Item(id), GWL_STYLE) & WS_VISIBLE, 0) << id;
    }
}

TEST_F(MainFormTest, TextColourReachesTheGraphButNotTheGauge) {
    form_->SetTextColor(RGB(200, 0, 0));
    form_->SetHideBarGraph(false);
    form_->Gauge().SetProgress(0);
    const auto count = [](HWND control, int width, int height, COLORREF color) {
        const win32::UniqueDc dc(::CreateCompatibleDC(nullptr));
        const win32::UniqueBitmap bitmap(
            ::CreateCompatibleBitmap(win32::GetWindowDc(nullptr).Get(), width, height));
        const win32::ScopedSelectObject select(dc.Get(), bitmap.Get());
        ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
        int n = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                n += ::GetPixel(dc.Get(), x, y) == color ? 1 : 0;
            }
        }
        return n;
    };
    EXPECT_GT(count(Item(ids::kChart_CPUUsage), 217, 76, RGB(200, 0, 0)), 20);
    EXPECT_EQ(count(Item(ids::kGauge_CPUUsage), 32, 73, RGB(200, 0, 0)), 0);
}

// With the window's own font and colours, with Transparency on (the background is see-through)
// and off: the value is drawn whole inside the frame and never in the background colour over the
// fill, at every level.
TEST_F(MainFormTest, GaugeValueReadsAtEveryLevelWithAndWithoutTransparency) {
    const HWND window = form_->Hwnd();
    BarGauge& gauge = form_->Gauge();
    RECT client{};
    ::GetClientRect(gauge.Hwnd(), &client);
    Capture capture(client.right, client.bottom);
    for (const bool transparency : {true, false}) {
        form_->SetTransparency(transparency);
        COLORREF key = gauge.BackColor();
        BYTE alpha = 0;
        DWORD flags = 0;
        ::GetLayeredWindowAttributes(window, &key, &alpha, &flags);
        EXPECT_EQ((flags & LWA_COLORKEY) != 0, transparency);
        EXPECT_EQ(key, gauge.BackColor()); // the see-through colour, when on, is the gauge's background
        const widgets::GaugeTextColors colors = gauge.TextColors();
        for (const int level : {0, 50, 100}) {
            SCOPED_TRACE(testing::Message() << "Transparency " << transparency << ", " << level << "%");
            gauge.SetProgress(level);
            capture.Take(gauge.Hwnd());
            const widgets::GaugeLayout layout = widgets::LayoutGauge(client.right, client.bottom, level);
            // The text's box: the pixels in the text's colour of each part.
            RECT box{client.right, client.bottom, 0, 0};
            for (const auto& [part, color] :
                 {std::pair{layout.empty, colors.overEmpty}, std::pair{layout.filled, colors.overFill}}) {
                for (int y = part.top; y < part.bottom; ++y) {
                    for (int x = part.left; x < part.right; ++x) {
                        if (capture.At(x, y) == color) {
                            box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                                   std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
                        }
                    }
                }
            }
            ASSERT_LT(box.left, box.right) << "no text";
            // Inside the frame, with a free column on either side: nothing is cut off.
            EXPECT_GT(box.left, layout.inner.left);
            EXPECT_LT(box.right, layout.inner.right);
            EXPECT_GE(box.top, layout.inner.top);
            EXPECT_LE(box.bottom, layout.inner.bottom);
            const RECT overFill{box.left, std::max<LONG>(box.top, layout.filled.top), box.right, box.bottom};
            EXPECT_EQ(capture.Count(overFill, key), 0) << "see-through pixels in the text over the fill";
        }
    }
}

// The system's WM_DPICHANGED with its suggested window rectangle (the same design size).
void MoveToDpi(TForm_Main& form, int dpi) {
    RECT now{};
    ::GetWindowRect(form.Hwnd(), &now);
    RECT suggested{now.left, now.top, now.left + ::MulDiv(now.right - now.left, dpi, form.Dpi()),
                   now.top + ::MulDiv(now.bottom - now.top, dpi, form.Dpi())};
    ::SendMessageW(form.Hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

// The size of the window (id 0) or of one of its controls.
SIZE PixelsOf(const TForm_Main& form, int id) {
    RECT r{};
    ::GetWindowRect(id == 0 ? form.Hwnd() : ::GetDlgItem(form.Hwnd(), id), &r);
    return {r.right - r.left, r.bottom - r.top};
}

TEST_F(MainFormTest, AMonitorAt150PercentKeepsTheLookAndTheStoredSize) {
    ::SetWindowPos(form_->Hwnd(), nullptr, 0, 0, 250, 105, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const SIZE label96 = PixelsOf(*form_, ids::kLabel_CPUSpeed);
    const SIZE menu96 = PixelsOf(*form_, ids::kSB_Menu);
    MoveToDpi(*form_, 144);
    EXPECT_EQ(form_->Dpi(), 144);
    const SIZE window = PixelsOf(*form_, 0);
    EXPECT_EQ(window.cx, 375);
    EXPECT_EQ(window.cy, 158);
    // The settings dialog still shows and takes design units.
    EXPECT_EQ(form_->WindowSize().cx, 250);
    EXPECT_EQ(form_->WindowSize().cy, 105);
    EXPECT_GE(PixelsOf(*form_, ids::kLabel_CPUSpeed).cy * 2, label96.cy * 3 - 2); // the font is scaled
    EXPECT_EQ(PixelsOf(*form_, ids::kSB_Menu).cx, ui::ScaleDesign(menu96.cx, 144));
    EXPECT_EQ(form_->SetWindowWidth(300), 300);
    EXPECT_EQ(PixelsOf(*form_, 0).cx, 450);
    // Back at 100 % it looks as it did.
    form_->SetWindowWidth(250);
    MoveToDpi(*form_, 96);
    EXPECT_EQ(PixelsOf(*form_, 0).cx, 250);
    EXPECT_EQ(PixelsOf(*form_, 0).cy, 105);
    EXPECT_EQ(PixelsOf(*form_, ids::kLabel_CPUSpeed).cy, label96.cy);
}

} // namespace
} // namespace quelmo::gui
