// The statistics and About windows with their real controls: what their labels read, the refresh
// timer, the reset, the links, the clipboard and the focus, as a user meets them.
#include "fakes/FakeProcess.h"
#include "fakes/FakeUiLink.h"
#include "sampling/CpuUsage.h"
#include "ui/AboutForm.h"
#include "ui/ControlIds.h"
#include "ui/StatisticsForm.h"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>
#include <vector>

namespace quelmo::gui {
namespace {

std::wstring TextOf(HWND window) {
    wchar_t text[128] = {};
    ::SendMessageW(window, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text));
    return text;
}

void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

std::wstring ClipboardText() {
    std::wstring text;
    if (::OpenClipboard(nullptr) == FALSE) {
        return L"<not open>";
    }
    if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT); data != nullptr) {
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data)); chars != nullptr) {
            text = chars;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

void EmptyTheClipboard() {
    ASSERT_NE(::OpenClipboard(nullptr), FALSE);
    ::EmptyClipboard();
    ::CloseClipboard();
}

// Keyboard input as the message loop gives it to the window's dialog keyboard handling.
bool DialogKey(HWND form, HWND target, UINT message, WPARAM key) {
    MSG msg{target, message, key, 0x00010001, 0, {}};
    return ::IsDialogMessageW(form, &msg) != FALSE;
}

// The width of `text` in the label's font, and the label's width.
int TextWidth(HWND label, const std::wstring& text) {
    const win32::UniqueWindowDc dc = win32::GetWindowDc(label);
    const win32::ScopedSelectObject font(dc.Get(),
                                         reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

int ClientWidth(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return client.right;
}

class StatisticsFormTest : public ::testing::Test {
protected:
    void Create(TResMonitor* monitor) {
        StatisticsLinks links;
        links.clearGraph = [this] { ++graphClears_; };
        links.resMonitor = [monitor] { return monitor; };
        ASSERT_TRUE(form_.Create(nullptr, links));
    }
    std::wstring Value(int id) const { return TextOf(::GetDlgItem(form_.Hwnd(), id)); }
    void ClickReset() { ::SendMessageW(::GetDlgItem(form_.Hwnd(), ids::kSpeedButton_Reset), BM_CLICK, 0, 0); }

    TForm_Statistics form_;
    int graphClears_ = 0;
};

TEST_F(StatisticsFormTest, WithoutASamplerEveryValueIsUnknownAndResetDoesNothing) {
    Create(nullptr);
    form_.Show();
    const int values[] = {
        ids::kLabel_CPUUsageMax,    ids::kLabel_CPUUsageAverage,    ids::kLabel_CPUUsageMin,
        ids::kLabel_MemoryUsageMax, ids::kLabel_MemoryUsageAverage, ids::kLabel_MemoryUsageMin,
        ids::kLabel_Samples,        ids::kLabel_StatisticsRate,     ids::kLabel_TimeRuning,
        ids::kLabel_TimeStarted};
    for (const int id : values) {
        EXPECT_EQ(Value(id), L"??") << id;
    }
    for (const int id :
         {ids::kPanel_CPUUsage, ids::kPanel_MemoryUsage, ids::kPanel_Counter, ids::kPanel_Time}) {
        EXPECT_NE(::GetDlgItem(form_.Hwnd(), id), nullptr) << id;
    }
    EXPECT_EQ(Value(ids::kSpeedButton_Reset), L"&Reset Statistics");
    ClickReset();
    EXPECT_EQ(graphClears_, 0);
    form_.Hide();
}

// The refresh timer runs only while the window is shown (KillTimer answers whether it existed).
TEST_F(StatisticsFormTest, RefreshTimerRunsOnlyWhileShown) {
    Create(nullptr);
    EXPECT_EQ(::KillTimer(form_.Hwnd(), ids::kTimer_Statistics), FALSE);
    form_.Show();
    form_.Hide();
    EXPECT_EQ(::KillTimer(form_.Hwnd(), ids::kTimer_Statistics), FALSE);
    form_.Show();
    EXPECT_NE(::KillTimer(form_.Hwnd(), ids::kTimer_Statistics), FALSE);
    form_.Hide();
}

TEST_F(StatisticsFormTest, ResetZeroesTheSamplesAndClearsTheGraph) {
    fakes::FakeUiLink link;
    CpuUsageCounters counters;
    counters.RefreshCounters();
    TResMonitor monitor(link, nullptr, counters); // never resumed: the test takes the samples
    monitor.StartUp();
    for (int i = 0; i < 3; ++i) {
        monitor.ProcessorSample();
        monitor.MemorySample();
        monitor.UpdateStatistics();
    }
    Create(&monitor);
    form_.Show();
    EXPECT_EQ(Value(ids::kLabel_Samples), L"3");
    ClickReset();
    EXPECT_EQ(graphClears_, 1);
    EXPECT_EQ(Value(ids::kLabel_Samples), L"0");
    EXPECT_EQ(Value(ids::kLabel_StatisticsRate), L"--");
    EXPECT_EQ(Value(ids::kLabel_TimeRuning), L"0 secs");
    EXPECT_EQ(Value(ids::kLabel_CPUUsageMin), Value(ids::kLabel_CPUUsageMax));
    // Enter presses the focused button, and only that; Alt+R presses it from anywhere.
    const HWND button = ::GetDlgItem(form_.Hwnd(), ids::kSpeedButton_Reset);
    ::SetFocus(form_.Hwnd());
    DialogKey(form_.Hwnd(), form_.Hwnd(), WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(graphClears_, 1);
    ::SetFocus(button);
    DialogKey(form_.Hwnd(), button, WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(graphClears_, 2);
    ::SetFocus(form_.Hwnd());
    DialogKey(form_.Hwnd(), form_.Hwnd(), WM_SYSCHAR, 'r'); // Alt+R
    EXPECT_EQ(graphClears_, 3);
    form_.Hide();
}

// The longest values a user meets fit their labels with the system's dialog font.
TEST_F(StatisticsFormTest, LongestValuesFitTheirLabels) {
    Create(nullptr);
    const struct {
        int id;
        const wchar_t* text;
    } cases[] = {{ids::kLabel_CPUUsageMax, L"100.00 %"},
                 {ids::kLabel_MemoryUsageAverage, L"100.0 %  (1,048,576 MB)"},
                 {ids::kLabel_Samples, L"4294967295"},
                 {ids::kLabel_StatisticsRate, L"2.000 s"},
                 {ids::kLabel_TimeRuning, L"1193 hours 2 mins 47 secs"},
                 {ids::kLabel_TimeStarted, L"28 Sep 2026, 23:59:59"}};
    for (const auto& c : cases) {
        const HWND label = ::GetDlgItem(form_.Hwnd(), c.id);
        EXPECT_LE(TextWidth(label, c.text), ClientWidth(label)) << c.text;
    }
}

class AboutFormTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(form_.Create(nullptr)); }
    // A control of the form or of its header.
    HWND Item(int id) const {
        const HWND control = ::GetDlgItem(form_.Hwnd(), id);
        return control != nullptr ? control
                                  : ::GetDlgItem(::GetDlgItem(form_.Hwnd(), ids::kPanel_Header), id);
    }

    TForm_About form_;
    fakes::FakeProcess process_;
    platform::ScopedSeam<platform::Process> processSeam_{process_};
};

TEST_F(AboutFormTest, ShowsNameVersionDateAndCreditsOnTop) {
    const struct {
        int id;
        const wchar_t* text;
    } labels[] = {{ids::kLabel_Title, L"Quelmo"},
                  {ids::kLabel_AboutVersion, L"Version: 2.0.2 Beta"},
                  {ids::kLabel_Date, L"Date: 2014-02-11"},
                  {ids::kLabel_Author, L"The Quelmo developers"},
                  {ids::kLabel_Email, L"support@quelmo.org"},
                  {ids::kLabel_Website, L"www.quelmo.org"},
                  {ids::kLabel_Translator, L"---"}};
    for (const auto& label : labels) {
        EXPECT_EQ(TextOf(Item(label.id)), label.text) << label.id;
        EXPECT_LE(TextWidth(Item(label.id), label.text), ClientWidth(Item(label.id))) << label.text;
    }
    EXPECT_NE(::GetWindowLongPtrW(form_.Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    LOGFONTW title{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(Item(ids::kLabel_Title), WM_GETFONT, 0, 0)),
                 sizeof(title), &title);
    EXPECT_EQ(std::wstring(title.lfFaceName), L"Times New Roman");
    EXPECT_EQ(title.lfHeight, -form_.Scale(32));
    RECT header{};
    ::GetClientRect(Item(ids::kPanel_Header), &header);
    EXPECT_EQ(header.right, form_.Scale(337));
    EXPECT_EQ(header.bottom, form_.Scale(97));
    RECT icon{};
    ::GetClientRect(Item(ids::kImage_Icon), &icon);
    EXPECT_EQ(icon.right, form_.Scale(81));
    EXPECT_EQ(icon.bottom, form_.Scale(81));
}

// Only a right click copies, and the clipboard is closed again afterwards (the test opens it).
TEST_F(AboutFormTest, RightClickOnTheHeaderCopiesTheIdentification) {
    EmptyTheClipboard();
    const HWND header = Item(ids::kPanel_Header);
    for (const UINT up : {WM_LBUTTONUP, WM_MBUTTONUP}) {
        ::SendMessageW(header, up, 0, MAKELPARAM(10, 10));
        EXPECT_EQ(ClipboardText(), L"") << up;
    }
    ::SendMessageW(header, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(ClipboardText(), L"Quelmo 2.0.2 Beta (2014-02-11)");
    // A clipboard that another program holds: nothing is copied, nothing hangs.
    EmptyTheClipboard();
    std::promise<void> opened;
    std::promise<void> release;
    std::thread holder([&] {
        const bool open = ::OpenClipboard(nullptr) != FALSE;
        opened.set_value();
        release.get_future().wait();
        if (open) {
            ::CloseClipboard();
        }
    });
    opened.get_future().wait();
    form_.Panel_HeaderMouseUp(WM_RBUTTONUP);
    release.set_value();
    holder.join();
    EXPECT_EQ(ClipboardText(), L"");
}

TEST_F(AboutFormTest, LinksOpenByMouseAndKeyboard) {
    form_.Show();
    Pump();
    const HWND email = Item(ids::kLabel_Email);
    const HWND website = Item(ids::kLabel_Website);
    ::SendMessageW(email, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(email, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    // Alt+W moves to the web site's link; Enter and Space open it.
    DialogKey(form_.Hwnd(), form_.Hwnd(), WM_SYSCHAR, 'w');
    EXPECT_EQ(::GetFocus(), website);
    DialogKey(form_.Hwnd(), website, WM_KEYDOWN, VK_RETURN);
    DialogKey(form_.Hwnd(), website, WM_KEYDOWN, VK_SPACE);
    // Tab goes on to the e-mail link.
    DialogKey(form_.Hwnd(), website, WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(::GetFocus(), email);
    EXPECT_EQ(process_.opened, (std::vector<std::wstring>{L"mailto:support@quelmo.org?subject=Quelmo",
                                                          L"https://quelmo.org/", L"https://quelmo.org/"}));
    EXPECT_TRUE(process_.shown.empty());
    form_.Hide();
}

TEST_F(AboutFormTest, AfterShowingNoControlHasTheFocus) {
    ::SetFocus(Item(ids::kLabel_Email));
    form_.Show();
    Pump(); // WM_AFTER_SHOW
    EXPECT_EQ(::GetFocus(), form_.Hwnd());
    form_.Hide();
}

} // namespace
} // namespace quelmo::gui
