#include "ui/WindowDpi.h"

#include "platform/win32/UniqueHandle.h"
#include "ui/Scaling.h"

namespace quelmo::gui {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

template <class Fn>
Fn Lookup(HMODULE module, const char* name) {
    return module == nullptr
               ? nullptr
               : reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

HMODULE User32() {
    static const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32;
}

// shcore.dll exists from Windows 8.1 on; loaded once, from the system folder only, and kept.
GetDpiForMonitorFn DpiForMonitor() {
    static const HMODULE shcore = ::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    static const auto function = Lookup<GetDpiForMonitorFn>(shcore, "GetDpiForMonitor");
    return function;
}

int MonitorDpi(HMONITOR monitor) {
    constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI
    UINT x = 0;
    UINT y = 0;
    const GetDpiForMonitorFn function = DpiForMonitor();
    if (function != nullptr && monitor != nullptr && SUCCEEDED(function(monitor, kEffectiveDpi, &x, &y)) &&
        y > 0) {
        return static_cast<int>(y);
    }
    return SystemDpi();
}

} // namespace

int SystemDpi() {
    const win32::UniqueWindowDc screen = win32::GetWindowDc(nullptr);
    return ui::ValidDpi(screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0);
}

int WindowDpi(HWND window) {
    static const auto forWindow = Lookup<GetDpiForWindowFn>(User32(), "GetDpiForWindow");
    if (forWindow != nullptr && window != nullptr) {
        const auto dpi = static_cast<int>(forWindow(window));
        if (dpi > 0) {
            return dpi;
        }
    }
    return window != nullptr ? MonitorDpi(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST))
                             : SystemDpi();
}

int DpiAtRect(const RECT& screen) {
    return MonitorDpi(::MonitorFromRect(&screen, MONITOR_DEFAULTTONEAREST));
}

int SmallIconSize(int dpi) {
    static const auto forDpi = Lookup<GetSystemMetricsForDpiFn>(User32(), "GetSystemMetricsForDpi");
    if (forDpi != nullptr) {
        const int size = forDpi(SM_CXSMICON, static_cast<UINT>(ui::ValidDpi(dpi)));
        if (size > 0) {
            return size;
        }
    }
    const int system = ::GetSystemMetrics(SM_CXSMICON);
    return ui::ScaledSmallIconSize(system > 0 ? system : 16, SystemDpi(), dpi);
}

LOGFONTW MessageFont(int dpi) {
    static const auto forDpi = Lookup<SystemParametersInfoForDpiFn>(User32(), "SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (forDpi != nullptr && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0,
                                    static_cast<UINT>(ui::ValidDpi(dpi))) != FALSE) {
        return metrics.lfMessageFont;
    }
    LOGFONTW font{};
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) != FALSE) {
        font = metrics.lfMessageFont;
    } else {
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    }
    // The system gives it for its own DPI.
    font.lfHeight = ui::MulDivRound(font.lfHeight, ui::ValidDpi(dpi), SystemDpi());
    return font;
}

RECT FrameForClient(const RECT& client, DWORD style, DWORD exStyle, int dpi) {
    static const auto forDpi = Lookup<AdjustWindowRectExForDpiFn>(User32(), "AdjustWindowRectExForDpi");
    RECT frame = client;
    if (forDpi == nullptr ||
        forDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(ui::ValidDpi(dpi))) == FALSE) {
        frame = client;
        ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return frame;
}

RECT MonitorWorkArea(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info) != FALSE) {
        return info.rcWork;
    }
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

} // namespace quelmo::gui
