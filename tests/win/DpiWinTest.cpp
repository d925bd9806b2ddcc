// Display scale on Windows: what the system says about a DPI, the tray pictures at each scale's
// small-icon size, and the monitor window moved to a monitor of another scale (WM_DPICHANGED).
#include "app/MyConfig.h"
#include "ui/AboutForm.h"
#include "ui/ControlIds.h"
#include "ui/MyTrayIcon.h"
#include "ui/Scaling.h"
#include "ui/WindowDpi.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace quelmo::gui {
namespace {

constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr COLORREF kFrameGrey = RGB(128, 128, 128);

TEST(WindowDpi, SmallIconAndMessageFontFollowTheDpi) {
    EXPECT_EQ(SmallIconSize(96), 16);
    EXPECT_EQ(SmallIconSize(144), 24);
    EXPECT_EQ(SmallIconSize(192), 32);
    const int at96 = MessageFont(96).lfHeight;
    const int at144 = MessageFont(144).lfHeight;
    ASSERT_NE(at96, 0);
    EXPECT_LE(std::abs(at144 - ui::MulDivRound(at96, 3, 2)), 1) << at96 << " " << at144;
    EXPECT_EQ(WindowDpi(::GetDesktopWindow()), SystemDpi());
}

// The pixels of a list's icon drawn at its own size on light grey, row by row.
std::vector<COLORREF> IconPixels(TrayImageList& list, int index, int size) {
    const win32::UniqueDc dc(::CreateCompatibleDC(nullptr));
    const win32::UniqueBitmap bitmap(::CreateCompatibleBitmap(win32::GetWindowDc(nullptr).Get(), size, size));
    const win32::ScopedSelectObject select(dc.Get(), bitmap.Get());
    const RECT all{0, 0, size, size};
    ::SetDCBrushColor(dc.Get(), kLightGrey);
    ::FillRect(dc.Get(), &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    ::DrawIconEx(dc.Get(), 0, 0, list.Icon(index), size, size, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            pixels.push_back(::GetPixel(dc.Get(), x, y));
        }
    }
    return pixels;
}

TEST(TrayImages, PicturesAtTheSmallIconSizeOfEachScaleStaySharp) {
    for (const int size : {20, 24, 32}) {
        TrayImageList gradient = CreateTrayGradientImages(size);
        ASSERT_EQ(gradient.Count(), 15);
        for (const int index : {0, 7, 14}) {
            const std::vector<COLORREF> pixels = IconPixels(gradient, index, size);
            const auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y * size + x)]; };
            int filled = 0;
            for (int y = 1; y < size - 1; ++y) {
                EXPECT_EQ(at(0, y), kFrameGrey) << size << " " << y;
                EXPECT_EQ(at(size - 1, y), kFrameGrey) << size << " " << y;
                // A row is one colour from side to side: no blend at any column.
                EXPECT_EQ(at(1, y), at(size - 2, y)) << size << " " << y;
                filled += at(size / 2, y) != kLightGrey ? 1 : 0;
            }
            EXPECT_EQ(filled, ui::MulDivRound(index, size - 2, 14)) << size << " " << index;
        }
        TrayImageList numeric = CreateTrayNumericImages(size);
        const std::vector<COLORREF> pixels = IconPixels(numeric, 100, size);
        const ui::TrayMask mask = ui::TrayNumberMask(100);
        int wrong = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                // The font pixel whose block holds (x, y).
                int fx = 0;
                int fy = 0;
                while (ui::MulDivRound(fx + 1, size, 16) <= x) {
                    ++fx;
                }
                while (ui::MulDivRound(fy + 1, size, 16) <= y) {
                    ++fy;
                }
                const bool ink = (mask[static_cast<std::size_t>(fy)] >> fx & 1) != 0;
                wrong += pixels[static_cast<std::size_t>(y * size + x)] != (ink ? RGB(0, 0, 0) : kLightGrey)
                             ? 1
                             : 0;
            }
        }
        EXPECT_EQ(wrong, 0) << size;
    }
}

int ChildrenWithFontHeight(HWND parent, int height) {
    int count = 0;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        LOGFONTW used{};
        const auto font = reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0));
        count += font != nullptr && ::GetObjectW(font, sizeof(used), &used) != 0 && used.lfHeight == height
                     ? 1
                     : 0;
    }
    return count;
}

// A secondary window follows too: its client area is its design size at the new DPI and its
// children are laid out again in the new dialog font.
TEST(FormDpi, SecondaryWindowTakesTheSuggestedSizeAndLaysItselfOutAgain) {
    TForm_About about;
    ASSERT_TRUE(about.Create(nullptr));
    RECT client{};
    ::GetClientRect(about.Hwnd(), &client);
    const int width96 = client.right;
    ASSERT_GT(ChildrenWithFontHeight(about.Hwnd(), MessageFont(96).lfHeight), 0);
    const LOGFONTW font144 = MessageFont(144);
    const RECT frame =
        FrameForClient(RECT{0, 0, ui::ScaleDesign(width96, 144), ui::ScaleDesign(client.bottom, 144)},
                       static_cast<DWORD>(::GetWindowLongPtrW(about.Hwnd(), GWL_STYLE)),
                       static_cast<DWORD>(::GetWindowLongPtrW(about.Hwnd(), GWL_EXSTYLE)), 144);
    ::SendMessageW(about.Hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&frame));
    ::GetClientRect(about.Hwnd(), &client);
    EXPECT_EQ(client.right, ui::ScaleDesign(width96, 144));
    LOGFONTW dialog{};
    ::GetObjectW(about.DialogFont(), sizeof(dialog), &dialog);
    EXPECT_EQ(dialog.lfHeight, font144.lfHeight);
    // Every child that showed the dialog font shows the new one.
    EXPECT_EQ(ChildrenWithFontHeight(about.Hwnd(), MessageFont(96).lfHeight), 0);
    EXPECT_GT(ChildrenWithFontHeight(about.Hwnd(), font144.lfHeight), 0);
}

} // namespace
} // namespace quelmo::gui
