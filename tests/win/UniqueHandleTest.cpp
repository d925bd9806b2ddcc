#include "platform/win32/UniqueHandle.h"

#include <gtest/gtest.h>

#include <utility>

namespace quelmo::win32 {
namespace {

bool IsGdiObject(HGDIOBJ object) {
    return ::GetObjectType(object) != 0;
}

TEST(UniqueHandle, ReleasesOnceWhetherResetMovedOrDestroyed) {
    HPEN raw = ::CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    ASSERT_TRUE(IsGdiObject(raw));
    {
        UniquePen first(raw);
        UniquePen second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), raw);
        UniquePen third;
        third = std::move(second);
        EXPECT_TRUE(IsGdiObject(raw));
    }
    EXPECT_FALSE(IsGdiObject(raw));

    UniqueBrush brush(::CreateSolidBrush(RGB(4, 5, 6)));
    const HBRUSH kept = brush.Release();
    EXPECT_FALSE(brush);
    EXPECT_TRUE(IsGdiObject(kept));
    brush.Reset(kept);
    brush.Reset();
    EXPECT_FALSE(IsGdiObject(kept));
}

TEST(UniqueHandle, FilesTreatBothNoHandleValuesAsEmpty) {
    EXPECT_FALSE(UniqueFile());
    EXPECT_FALSE(UniqueFile(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(UniqueKernelHandle());
    UniqueKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    EXPECT_TRUE(event);
}

TEST(ScopedSelectObject, PutsBackWhatWasSelected) {
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    UniquePen red(::CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    UniquePen blue(::CreatePen(PS_SOLID, 1, RGB(0, 0, 255)));
    const HGDIOBJ original = ::GetCurrentObject(dc.Get(), OBJ_PEN);
    {
        const ScopedSelectObject outer(dc.Get(), red.Get());
        {
            const ScopedSelectObject inner(dc.Get(), blue.Get());
            EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), blue.Get());
        }
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), red.Get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), original);
}

TEST(UniqueHandle, WindowDcGoesBackToItsWindow) {
    const UniqueWindowDc screen = GetWindowDc(nullptr);
    ASSERT_TRUE(screen);
    EXPECT_GT(::GetDeviceCaps(screen.Get(), LOGPIXELSY), 0);
}

} // namespace
} // namespace quelmo::win32
