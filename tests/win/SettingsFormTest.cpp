// The settings dialog with its real controls over a real monitor window (no settings file, no
// sampling threads): what the pages hold, what showing loads, what a change does to the monitor
// window, the keyboard, and the display step that waits while the processor lines are cleared.
#include "app/MyConfig.h"
#include "app/ShellState.h"
#include "ui/ControlIds.h"
#include "ui/MainForm.h"
#include "ui/SettingsForm.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace quelmo::gui {
namespace {

std::wstring TextOf(HWND window) {
    wchar_t text[128] = {};
    ::GetWindowTextW(window, text, 128);
    return text;
}

bool Shown(HWND window) {
    return (::GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// A stand-in for the sampling thread's display step: WM_APP adds a point to processor line 2.
LRESULT CALLBACK DisplayStep(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR chart) {
    if (message == WM_APP) {
        reinterpret_cast<LineChart*>(chart)->Append(2, 1, 50);
        return 0;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

class SettingsFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        config::ResetConfig();
        config::AppModeHotkey = 0;          // never grab the real hot key from a test
        config::HideTrayWhenVisible = true; // no tray icon: removing it costs Wine's shell seconds
        main_ = std::make_unique<TForm_Main>(TForm_Main::Options{false, false, false});
        ASSERT_TRUE(main_->Create());
        settings_ = std::make_unique<TForm_Settings>(*main_);
        ASSERT_TRUE(settings_->Create(main_->Hwnd()));
    }
    void TearDown() override {
        settings_.reset();
        main_.reset();
        config::ResetConfig();
    }
    HWND Item(int id) const { return settings_->Control(id); }
    // What a control's own notification does, sent the way the control sends it.
    void Notify(int id, int code) const {
        ::SendMessageW(::GetParent(Item(id)), WM_COMMAND, MAKEWPARAM(id, code),
                       reinterpret_cast<LPARAM>(Item(id)));
    }
    void Click(int id) const { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }
    bool Checked(int id) const { return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

    std::unique_ptr<TForm_Main> main_;
    std::unique_ptr<TForm_Settings> settings_;
};

TEST_F(SettingsFormTest, PagesHoldEveryControlWithItsCaptionAndRange) {
    const HWND tabs = Item(ids::kPageControl_Settings);
    ASSERT_EQ(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 4);
    RECT tab{};
    ::SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
    EXPECT_EQ(tab.right - tab.left, settings_->Scale(75));
    RECT client{};
    ::GetClientRect(settings_->Hwnd(), &client);
    EXPECT_EQ(client.right, settings_->Scale(322));
    EXPECT_EQ(client.bottom, settings_->Scale(420));
    EXPECT_EQ(TextOf(settings_->Hwnd()), L"Quelmo - Settings");
    for (const ui::SettingsCheckBox& box : ui::kSettingsCheckBoxes) {
        EXPECT_EQ(TextOf(Item(box.id)), box.caption) << box.id;
        // A box is shown exactly when its page is.
        EXPECT_EQ(Shown(::GetParent(Item(box.id))), box.page == ui::SettingsPage::General) << box.id;
    }
    for (const ui::SettingsTrackBar& bar : ui::kSettingsTrackBars) {
        EXPECT_EQ(::SendMessageW(Item(bar.id), TBM_GETRANGEMIN, 0, 0), bar.minimum);
        EXPECT_EQ(::SendMessageW(Item(bar.id), TBM_GETRANGEMAX, 0, 0), bar.maximum);
        EXPECT_EQ(TextOf(Item(bar.unitLabelId)), bar.unit);
    }
    EXPECT_EQ(::SendMessageW(Item(ids::kSpinEdit_MainWindowWidth), EM_GETLIMITTEXT, 0, 0), 3);
    EXPECT_EQ(::SendMessageW(Item(ids::kColorBox_TextColor), CB_GETCOUNT, 0, 0), 21);
}

TEST_F(SettingsFormTest, ShowingLoadsWithoutApplyingAndHidingRegistersTheHotKey) {
    main_->SetAlphaBlend(true, 123); // the window's state is what the dialog shows
    main_->SetWindowWidth(321);
    config::Rate = 1500;
    config::BarColor = 0x123456; // no named colour
    config::DisplayEachCPU = true;
    config::AppModeHotkey = 0x87; // Ctrl+Alt+Shift+F24, which nothing else holds
    config::AppModeHotkeyModifiers = 7;
    settings_->Show();
    EXPECT_EQ(TextOf(Item(ids::kLabel_Rate)), L"1500");
    EXPECT_EQ(TextOf(Item(ids::kLabel_AlphaBlending)), L"123");
    EXPECT_EQ(TextOf(Item(ids::kSpinEdit_MainWindowWidth)), L"321");
    EXPECT_TRUE(Checked(ids::kCheckBox_DisplayEachCPU));
    EXPECT_EQ(::SendMessageW(Item(ids::kColorBox_BarColor), CB_GETCURSEL, 0, 0), 0); // the custom entry
    EXPECT_EQ(::SendMessageW(Item(ids::kHotKey_FastSwitchAppMode), HKM_GETHOTKEY, 0, 0), 0x0787);
    // Nothing was written back or applied.
    EXPECT_EQ(config::AlphaBlendValue.load(), 200);
    EXPECT_EQ(config::PosWidth.load(), 250);
    EXPECT_EQ(main_->Gauge().ForeColor(), RGB(0, 0, 128));
    EXPECT_FALSE(shell::HotkeyRegistered.load());

    settings_->Hide();
    EXPECT_TRUE(shell::HotkeyRegistered.load());
    EXPECT_EQ(config::AppModeHotkey.load(), 0x87);
}

TEST_F(SettingsFormTest, ChangesReachTheMonitorWindowAtOnce) {
    Click(ids::kCheckBox_HideBarGraph);
    EXPECT_TRUE(config::HideBarGraph.load());
    EXPECT_FALSE(Shown(main_->Gauge().Hwnd()));

    const HWND alpha = Item(ids::kTrackBar_AlphaBlending);
    ::SendMessageW(alpha, TBM_SETPOS, TRUE, 100);
    ::SendMessageW(::GetParent(alpha), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 100),
                   reinterpret_cast<LPARAM>(alpha));
    EXPECT_EQ(TextOf(Item(ids::kLabel_AlphaBlending)), L"100");
    EXPECT_EQ(main_->AlphaBlendValue(), 100);

    ::SendMessageW(Item(ids::kColorBox_BarColor), CB_SETCURSEL, 10, 0); // "Red"
    Notify(ids::kColorBox_BarColor, CBN_SELCHANGE);
    EXPECT_EQ(main_->Gauge().ForeColor(), RGB(255, 0, 0));
    EXPECT_EQ(config::BarColor.load(), 255);

    // The field takes digits only (here), three of them; the arrows step from what it holds.
    const HWND width = Item(ids::kSpinEdit_MainWindowWidth);
    ::SetWindowTextW(width, L"250");
    ::SendMessageW(width, WM_CHAR, L'x', 0);
    EXPECT_EQ(TextOf(width), L"250");
    EXPECT_EQ(main_->WindowSize().cx, 250);
    NMUPDOWN up{{Item(ids::kUpDown_MainWindowWidth), ids::kUpDown_MainWindowWidth, UDN_DELTAPOS}, 250, 1};
    ::SendMessageW(::GetParent(width), WM_NOTIFY, up.hdr.idFrom, reinterpret_cast<LPARAM>(&up));
    EXPECT_EQ(TextOf(width), L"251");
    EXPECT_EQ(main_->WindowSize().cx, 251);
    EXPECT_EQ(config::PosWidth.load(), 251);
    // Leaving a field that holds no size shows the window's.
    ::SetWindowTextW(width, L"2");
    Notify(ids::kSpinEdit_MainWindowWidth, EN_KILLFOCUS);
    EXPECT_EQ(TextOf(width), L"251");
}

TEST_F(SettingsFormTest, ProcessorLinesAreClearedAfterADisplayStepThatWaits) {
    ::SendMessageW(Item(ids::kCheckBox_DisplayEachCPU), BM_SETCHECK, BST_CHECKED, 0);
    config::DisplayEachCPU = true;
    // A stand-in for the sampling thread's display step: sent to a window of this thread.
    const win32::UniqueWindow target(
        ::CreateWindowExW(0, WC_STATICW, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    LineChart& chart = main_->Chart();
    ::SetWindowSubclass(target.Get(), &DisplayStep, 1, reinterpret_cast<DWORD_PTR>(&chart));
    std::atomic<bool> stepped{false};
    std::thread sampler([&] {
        ::SendMessageW(target.Get(), WM_APP, 0, 0);
        stepped = true;
    });
    while (HIWORD(::GetQueueStatus(QS_SENDMESSAGE)) == 0) {
        ::Sleep(1);
    }
    Click(ids::kCheckBox_DisplayEachCPU);
    // Had the step not run inside the click, it would run now, after the clearing.
    MSG message{};
    while (!stepped) {
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    sampler.join();
    EXPECT_FALSE(config::DisplayEachCPU.load());
    EXPECT_EQ(chart.Count(2), 0u);
    ::RemoveWindowSubclass(target.Get(), &DisplayStep, 1);
}

TEST_F(SettingsFormTest, CtrlTabAndCtrlPageKeysSwitchTabsBothWays) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    const auto press = [this](WPARAM key) {
        MSG message{};
        message.hwnd = Item(ids::kPageControl_Settings);
        message.message = WM_KEYDOWN;
        message.wParam = key;
        return settings_->PreTranslateDialogKey(message);
    };
    EXPECT_TRUE(press(VK_TAB));
    EXPECT_EQ(settings_->ActivePage(), 1);
    EXPECT_TRUE(Shown(::GetParent(Item(ids::kCheckBox_LockForm))));
    EXPECT_FALSE(Shown(::GetParent(Item(ids::kCheckBox_AutoRun))));
    EXPECT_TRUE(press(VK_PRIOR));
    EXPECT_TRUE(press(VK_PRIOR));
    EXPECT_EQ(settings_->ActivePage(), 3);
    EXPECT_TRUE(press(VK_NEXT));
    EXPECT_EQ(settings_->ActivePage(), 0);
    EXPECT_EQ(::SendMessageW(Item(ids::kPageControl_Settings), TCM_GETCURSEL, 0, 0), 0);
    EXPECT_FALSE(press('A'));
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_FALSE(press(VK_TAB)); // a plain Tab is the dialog's
}

// The rate track bar through to the real sampling thread: one display step a second at 1000.
TEST(SettingsFormSampling, RateTrackBarSetsTheSamplingPeriod) {
    config::ResetConfig();
    config::AppModeHotkey = 0;
    config::HideTrayWhenVisible = true;
    TForm_Main main(TForm_Main::Options{false, true, false});
    ASSERT_TRUE(main.Create());
    TForm_Settings settings(main);
    ASSERT_TRUE(settings.Create(main.Hwnd()));
    const HWND rate = settings.Control(ids::kTrackBar_Rate);
    ::SendMessageW(rate, TBM_SETPOS, TRUE, 1000);
    ::SendMessageW(::GetParent(rate), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(rate));
    ASSERT_EQ(config::Rate.load(), 1000);
    // The samples' numbers, once the cycle that was waiting with the old period is over.
    const auto samplesAfter = [&main](DWORD milliseconds) {
        const DWORD start = ::GetTickCount();
        MSG message{};
        while (::GetTickCount() - start < milliseconds) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
                ::DispatchMessageW(&message);
            }
        }
        const auto& points = main.Chart().Data().Points(1);
        return points.Count() == 0 ? 0.0 : points.Back().x;
    };
    const double first = samplesAfter(1500);
    const double last = samplesAfter(4000);
    EXPECT_GE(last - first, 3) << "too few samples: is sampling running?";
    EXPECT_LE(last - first, 5) << "faster than one sample a second";
    config::ResetConfig();
}

} // namespace
} // namespace quelmo::gui
