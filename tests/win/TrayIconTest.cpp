#include "app/MyConfig.h"
#include "ui/MainTray.h"
#include "ui/MyTrayIcon.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace quelmo::gui {
namespace {

// The pixels of a list's icon as the shell gets it, drawn on light grey, as 0xRRGGBB per pixel.
std::vector<COLORREF> IconPixels(TrayImageList& list, int index) {
    const win32::UniqueDc dc(::CreateCompatibleDC(nullptr));
    const win32::UniqueBitmap bitmap(::CreateCompatibleBitmap(win32::GetWindowDc(nullptr).Get(), 16, 16));
    const win32::ScopedSelectObject select(dc.Get(), bitmap.Get());
    const RECT all{0, 0, 16, 16};
    ::SetDCBrushColor(dc.Get(), RGB(192, 192, 192));
    ::FillRect(dc.Get(), &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    ::DrawIconEx(dc.Get(), 0, 0, list.Icon(index), 16, 16, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            pixels.push_back(::GetPixel(dc.Get(), x, y));
        }
    }
    return pixels;
}

COLORREF At(const std::vector<COLORREF>& pixels, int x, int y) {
    return pixels[static_cast<std::size_t>(y * 16 + x)];
}

TEST(TrayImages, ListsHoldOneImagePerLevel) {
    TrayImageList gradient = CreateTrayGradientImages();
    TrayImageList numeric = CreateTrayNumericImages();
    EXPECT_EQ(gradient.Count(), 15);
    EXPECT_EQ(numeric.Count(), 101);
    // Each icon is made once and then reused: a sample never makes a new handle.
    const HICON first = numeric.Icon(37);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(numeric.Icon(37), first);
    EXPECT_NE(numeric.Icon(38), first);
    EXPECT_EQ(gradient.Icon(15), nullptr);
    EXPECT_EQ(gradient.Icon(-1), nullptr);
}

TEST(TrayImages, EachGradientLevelFillsOneMoreRowFromTheBottom) {
    TrayImageList gradient = CreateTrayGradientImages();
    std::set<std::vector<COLORREF>> seen;
    for (int index = 0; index < 15; ++index) {
        const std::vector<COLORREF> pixels = IconPixels(gradient, index);
        EXPECT_TRUE(seen.insert(pixels).second) << "picture " << index << " looks like another";
        int filled = 0;
        for (int y = 1; y < 15; ++y) {
            filled += At(pixels, 8, y) != RGB(192, 192, 192) ? 1 : 0;
        }
        EXPECT_EQ(filled, index);
        EXPECT_EQ(At(pixels, 8, 15 - index), index == 0 ? RGB(128, 128, 128) : At(pixels, 1, 15 - index));
    }
    const std::vector<COLORREF> full = IconPixels(gradient, 14);
    EXPECT_GT(GetGValue(At(full, 8, 14)), GetRValue(At(full, 8, 14))); // green at the bottom
    EXPECT_GT(GetRValue(At(full, 8, 1)), GetGValue(At(full, 8, 1)));   // red at the top
}

TEST(TrayImages, NumericPicturesShowTheirNumbersDigitsInBlack) {
    TrayImageList numeric = CreateTrayNumericImages();
    for (int number = 0; number < 101; ++number) {
        const std::vector<COLORREF> pixels = IconPixels(numeric, number);
        const ui::TrayMask mask = ui::TrayNumberMask(number);
        int wrong = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const bool digit = (mask[static_cast<std::size_t>(y)] >> x & 1) != 0;
                wrong += At(pixels, x, y) != (digit ? RGB(0, 0, 0) : RGB(192, 192, 192)) ? 1 : 0;
            }
        }
        EXPECT_EQ(wrong, 0) << "picture " << number;
    }
}

// The shell as a recorder: each call as "ADD CPU: 5%" (message and tip); the answers can be set.
struct Shell {
    static inline std::vector<std::string> calls;
    static inline bool accepts = true;
    static inline bool lostIcon = false; // a modify fails, as after a restart

    static BOOL WINAPI Notify(DWORD message, PNOTIFYICONDATAW data) {
        const char* names[] = {"ADD", "MODIFY", "DELETE"};
        std::string tip;
        for (const wchar_t* c = data->szTip; *c != 0; ++c) {
            tip += static_cast<char>(*c);
        }
        calls.push_back(std::string(names[message]) + " " + tip);
        const bool refused = !accepts || (message == NIM_MODIFY && lostIcon);
        lostIcon = lostIcon && message != NIM_ADD;
        return refused ? FALSE : TRUE;
    }
    static std::vector<std::string> Take() { return std::exchange(calls, {}); }
};

class TrayShellCalls : public ::testing::Test {
protected:
    void SetUp() override {
        Shell::calls.clear();
        Shell::accepts = true;
        Shell::lostIcon = false;
        config::ResetConfig();
    }
    void TearDown() override { config::ResetConfig(); }
};

TEST_F(TrayShellCalls, TheShellHearsOfPictureChangesAndOfTipsThatCanBeSeen) {
    TrayImageList list = CreateTrayGradientImages();
    TTrayIcon icon(Shell::Notify);
    icon.Initialize(nullptr, 0x47B, list.Icon(0));
    using Calls = std::vector<std::string>;
    icon.Update(true);
    EXPECT_EQ(Shell::Take(), Calls{}); // not shown: no call, and no repair that would show it
    icon.AddIcon();
    EXPECT_EQ(Shell::Take(), Calls{"ADD Quelmo"});
    const struct {
        int picture;
        const char* tip;
        bool tipSeen;
        Calls calls;
    } samples[] = {
        {0, "CPU: 1%", false, {}},                 // only the tip changed, unseen
        {0, "CPU: 2%", false, {}},                 //
        {1, "CPU: 9%", false, {"MODIFY CPU: 9%"}}, // a new picture carries the tip along
        {1, "CPU: 8%", true, {"MODIFY CPU: 8%"}},  // the pointer rests on the icon
        {1, "CPU: 8%", true, {}},                  // nothing new
    };
    for (const auto& sample : samples) {
        icon.SetTip(sample.tip);
        icon.SetIconFromList(list, sample.picture);
        icon.Update(sample.tipSeen);
        EXPECT_EQ(Shell::Take(), sample.calls) << sample.tip;
    }
    // The shell lost the icon: the modify fails and the icon is added again with the same record.
    Shell::lostIcon = true;
    icon.SetIconFromList(list, 2);
    icon.Update(false);
    EXPECT_EQ(Shell::Take(), (Calls{"MODIFY CPU: 8%", "DELETE CPU: 8%", "ADD CPU: 8%"}));
    // A refused call is made again at the next sample, even when nothing changed.
    Shell::accepts = false;
    icon.SetIconFromList(list, 3);
    icon.Update(false);
    Shell::accepts = true;
    Shell::Take();
    icon.Update(false);
    EXPECT_EQ(Shell::Take(), Calls{"MODIFY CPU: 8%"});
    icon.RemoveIcon();
    EXPECT_EQ(Shell::Take(), Calls{"DELETE CPU: 8%"});
}

TEST_F(TrayShellCalls, TheIconComesBackWhenTheShellRestartsIfItIsShown) {
    const HWND window =
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const win32::UniqueWindow owned(window);
    MainTray tray(Shell::Notify);
    tray.Initialize(window, 0x47B, ::LoadIconW(nullptr, IDI_APPLICATION));
    const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    using Calls = std::vector<std::string>;
    EXPECT_TRUE(tray.OnShellRestart(taskbarCreated));
    EXPECT_EQ(Shell::Take(), Calls{}); // not shown: stays away
    EXPECT_FALSE(tray.OnShellRestart(WM_USER + 1));

    tray.Icon().AddIcon();
    tray.UpdateTrayIcon(40, 60);
    Shell::Take();
    EXPECT_TRUE(tray.OnShellRestart(taskbarCreated));
    EXPECT_EQ(Shell::Take(), Calls{"ADD CPU: 40%\rMemory: 60%"});
    // A broadcast while the shell still has the icon: the add is refused, the icon brought up to date.
    Shell::accepts = false;
    tray.OnShellRestart(taskbarCreated);
    EXPECT_EQ(Shell::Take().front(), "ADD CPU: 40%\rMemory: 60%");
    Shell::accepts = true;
}

TEST_F(TrayShellCalls, SamplesAtOneLevelCallTheShellOnceUnlessThePointerIsOverTheIcon) {
    MainTray tray(Shell::Notify);
    tray.Initialize(nullptr, 0x47B, ::LoadIconW(nullptr, IDI_APPLICATION));
    tray.Icon().AddIcon();
    Shell::Take();
    for (int cpu = 29; cpu <= 35; ++cpu) { // all gradient level 4 or 5: 29 -> 4, 30..35 -> 4..5
        tray.UpdateTrayIcon(cpu, 50);
    }
    const std::vector<std::string> calls = Shell::Take();
    EXPECT_EQ(calls.size(), 2u); // the application's icon gives way to level 4, then level 5 at 33
    // The pointer comes over the icon: the tip is made current at once and then at each sample.
    tray.PointerMoved();
    EXPECT_EQ(Shell::Take(), std::vector<std::string>{"MODIFY CPU: 35%\rMemory: 50%"});
    tray.UpdateTrayIcon(34, 51);
    EXPECT_EQ(Shell::Take(), std::vector<std::string>{"MODIFY CPU: 34%\rMemory: 51%"});
}

TEST(TrayIcon, InitializeFillsTheRecordOnceAndTipsAreCut) {
    TTrayIcon icon;
    EXPECT_FALSE(icon.Initialized());
    const HICON app = ::LoadIconW(nullptr, IDI_APPLICATION);
    icon.Initialize(reinterpret_cast<HWND>(0x1234), 0x47B, app);
    const NOTIFYICONDATAW& data = icon.IconData();
    EXPECT_EQ(data.cbSize, NOTIFYICONDATAW_V1_SIZE);
    EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(data.uCallbackMessage, 0x47Bu);
    EXPECT_EQ(data.hIcon, app);
    EXPECT_EQ(std::wstring(data.szTip), L"Quelmo");
    icon.Initialize(nullptr, 0, nullptr); // a second call changes nothing
    EXPECT_EQ(icon.IconData().uCallbackMessage, 0x47Bu);

    icon.SetTip("CPU: 37%\rMemory: 62%");
    EXPECT_EQ(std::wstring(icon.IconData().szTip), L"CPU: 37%\rMemory: 62%");
    icon.SetTip(std::string(100, 'x'));
    EXPECT_EQ(std::wstring(icon.IconData().szTip), std::wstring(63, L'x'));
    EXPECT_FALSE(icon.Added());
}

} // namespace
} // namespace quelmo::gui
