#include "ui/MyTrayIcon.h"

#include <gtest/gtest.h>

#include <string>

namespace quelmo::gui {
namespace {

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

TEST(TrayImages, GradientFillsFromTheBottom) {
    TrayImageList gradient = CreateTrayGradientImages();
    const auto pixel = [&](int index, int x, int y) {
        const win32::UniqueDc dc(::CreateCompatibleDC(nullptr));
        const win32::UniqueBitmap bitmap(::CreateCompatibleBitmap(win32::GetWindowDc(nullptr).Get(), 16, 16));
        const win32::ScopedSelectObject select(dc.Get(), bitmap.Get());
        ::ImageList_Draw(gradient.Handle(), index, dc.Get(), 0, 0, ILD_NORMAL);
        return ::GetPixel(dc.Get(), x, y);
    };
    EXPECT_EQ(pixel(0, 8, 12), RGB(192, 192, 192)); // empty inside
    const COLORREF bottom = pixel(14, 8, 13);
    const COLORREF top = pixel(14, 8, 2);
    EXPECT_GT(GetGValue(bottom), GetRValue(bottom)); // green at the bottom
    EXPECT_GT(GetRValue(top), GetGValue(top));       // red at the top
    EXPECT_EQ(pixel(7, 8, 2), RGB(192, 192, 192));   // half full: nothing at the top
    EXPECT_NE(pixel(7, 8, 13), RGB(192, 192, 192));
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
