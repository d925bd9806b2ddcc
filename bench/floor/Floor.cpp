// quelmo_floor: the least a monitor like Quelmo can cost. At the given rate (milliseconds, default
// 500) it reads the processor times and the memory status, repaints a 250 x 105 layered window
// (white see-through, opacity 200) with a memory label and a graph of the last 80 samples, and
// changes its tray picture (15 load levels) only when the level changes. Benchmarks run it beside
// Quelmo.exe; `quelmo_floor.exe [RATE] [LEFT TOP]`, closed with WM_CLOSE.
//
// The graph is drawn as the monitor draws it (scale labels, a dotted line at each, the axis, a
// processor and a memory line): under Wine a see-through colour costs in proportion to what is
// drawn, since every repaint makes Wine's X11 driver rebuild the window's shape from its pixels.
#include "platform/win32/UniqueHandle.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cwchar>

namespace {

using namespace quelmo;

constexpr wchar_t kClassName[] = L"QuelmoFloor";
constexpr int kWidth = 250;
constexpr int kHeight = 105;
constexpr int kPoints = 80;
constexpr int kLevels = 15;
constexpr UINT kTimerId = 1;
constexpr UINT kTrayMessage = WM_USER + 123;
constexpr COLORREF kSeeThrough = RGB(255, 255, 255);

using NtQuerySystemInformationFn = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);

struct ProcessorPerformance {
    LARGE_INTEGER idleTime;
    LARGE_INTEGER kernelTime;
    LARGE_INTEGER userTime;
    LARGE_INTEGER dpcTime;
    LARGE_INTEGER interruptTime;
    ULONG interruptCount;
};

class Floor {
public:
    bool Create(int rate, int left, int top);
    void Sample();
    void Paint(HDC dc);
    void Close();

private:
    double ProcessorUsage();
    void MakeTrayPictures();

    win32::UniqueWindow window_;
    win32::UniqueMemoryDc buffer_;
    win32::UniqueBitmap bufferBitmap_;
    win32::UniqueFont font_;
    win32::UniqueFont boldFont_;
    win32::UniquePen gridPen_;
    win32::UniquePen cpuPen_;
    win32::UniquePen memoryPen_;
    std::array<win32::UniqueIcon, kLevels> pictures_;
    NOTIFYICONDATAW tray_{};
    int level_ = -1;
    NtQuerySystemInformationFn query_ = nullptr;
    std::int64_t busy_ = 0;
    std::int64_t total_ = 0;
    std::array<int, kPoints> cpu_{};
    std::array<int, kPoints> memory_{};
    int count_ = 0;
    std::array<wchar_t, 32> label_{};
};

double Floor::ProcessorUsage() {
    std::array<ProcessorPerformance, 64> records{};
    ULONG returned = 0;
    if (query_ == nullptr || query_(8, records.data(), sizeof(records), &returned) < 0) {
        return 0;
    }
    std::int64_t busy = 0;
    std::int64_t total = 0;
    for (std::size_t i = 0; i < returned / sizeof(ProcessorPerformance) && i < records.size(); ++i) {
        // Kernel time includes idle time.
        const std::int64_t all = records[i].kernelTime.QuadPart + records[i].userTime.QuadPart;
        total += all;
        busy += all - records[i].idleTime.QuadPart;
    }
    const std::int64_t busyDelta = busy - busy_;
    const std::int64_t totalDelta = total - total_;
    busy_ = busy;
    total_ = total;
    return totalDelta > 0
               ? std::clamp(100.0 * static_cast<double>(busyDelta) / static_cast<double>(totalDelta), 0.0,
                            100.0)
               : 0.0;
}

// Level pictures: a grey square filled from the bottom, green to red.
void Floor::MakeTrayPictures() {
    const win32::UniqueWindowDc screen = win32::GetWindowDc(nullptr);
    const win32::UniqueMemoryDc dc(::CreateCompatibleDC(screen.Get()));
    for (int level = 0; level < kLevels; ++level) {
        win32::UniqueBitmap color(::CreateCompatibleBitmap(screen.Get(), 16, 16));
        win32::UniqueBitmap mask(::CreateBitmap(16, 16, 1, 1, nullptr));
        {
            const win32::ScopedSelectObject select(dc.Get(), color.Get());
            const RECT all{0, 0, 16, 16};
            ::SetDCBrushColor(dc.Get(), RGB(128, 128, 128));
            ::FillRect(dc.Get(), &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
            for (int row = 0; row < level; ++row) {
                const RECT line{1, 14 - row, 15, 15 - row};
                ::SetDCBrushColor(dc.Get(), RGB(row * 255 / 13, 255 - row * 255 / 13, 0));
                ::FillRect(dc.Get(), &line, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
            }
        }
        {
            const win32::ScopedSelectObject select(dc.Get(), mask.Get());
            ::PatBlt(dc.Get(), 0, 0, 16, 16, BLACKNESS); // all opaque
        }
        ICONINFO info{TRUE, 0, 0, mask.Get(), color.Get()};
        pictures_[static_cast<std::size_t>(level)].Reset(::CreateIconIndirect(&info));
    }
}

bool Floor::Create(int rate, int left, int top) {
    query_ = reinterpret_cast<NtQuerySystemInformationFn>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    window_.Reset(::CreateWindowExW(WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName,
                                    L"Quelmo floor", WS_POPUP, left, top, kWidth, kHeight, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), this));
    if (!window_) {
        return false;
    }
    ::SetLayeredWindowAttributes(window_.Get(), kSeeThrough, 200, LWA_COLORKEY | LWA_ALPHA);
    const win32::UniqueWindowDc screen = win32::GetWindowDc(window_.Get());
    buffer_.Reset(::CreateCompatibleDC(screen.Get()));
    bufferBitmap_.Reset(::CreateCompatibleBitmap(screen.Get(), kWidth, kHeight));
    ::SelectObject(buffer_.Get(), bufferBitmap_.Get()); // for the buffer's life
    // "MS Sans Serif" at 8 points, without smoothing (no fringe of the see-through colour).
    LOGFONTW logFont{};
    logFont.lfHeight = -11;
    logFont.lfQuality = NONANTIALIASED_QUALITY;
    std::wcscpy(logFont.lfFaceName, L"MS Sans Serif");
    font_.Reset(::CreateFontIndirectW(&logFont));
    logFont.lfWeight = FW_BOLD;
    boldFont_.Reset(::CreateFontIndirectW(&logFont));
    gridPen_.Reset(::CreatePen(PS_DOT, 1, RGB(128, 128, 128)));
    cpuPen_.Reset(::CreatePen(PS_SOLID, 1, RGB(0, 0, 128)));
    memoryPen_.Reset(::CreatePen(PS_SOLID, 1, RGB(166, 202, 240)));
    MakeTrayPictures();
    tray_.cbSize = NOTIFYICONDATAW_V1_SIZE;
    tray_.hWnd = window_.Get();
    tray_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    tray_.uCallbackMessage = kTrayMessage;
    tray_.hIcon = pictures_[0].Get();
    std::wcscpy(tray_.szTip, L"Quelmo floor");
    ::Shell_NotifyIconW(NIM_ADD, &tray_);
    ProcessorUsage();
    ::ShowWindow(window_.Get(), SW_SHOWNOACTIVATE);
    ::SetTimer(window_.Get(), kTimerId, static_cast<UINT>(rate), nullptr);
    return true;
}

void Floor::Sample() {
    const double cpu = ProcessorUsage();
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    ::GlobalMemoryStatusEx(&status);
    const auto usedMb = static_cast<long long>((status.ullTotalPhys - status.ullAvailPhys) >> 20);
    // The graph scrolls: the oldest point leaves at the left.
    std::copy(cpu_.begin() + 1, cpu_.end(), cpu_.begin());
    std::copy(memory_.begin() + 1, memory_.end(), memory_.begin());
    cpu_.back() = static_cast<int>(cpu + 0.5);
    memory_.back() = static_cast<int>(status.dwMemoryLoad);
    count_ = std::min(count_ + 1, kPoints);
    std::swprintf(label_.data(), label_.size(), L"%lld MB", usedMb);
    ::InvalidateRect(window_.Get(), nullptr, FALSE);

    const int level = std::clamp(static_cast<int>(cpu * (kLevels - 1) / 100 + 0.5), 0, kLevels - 1);
    if (level != level_) {
        level_ = level;
        tray_.hIcon = pictures_[static_cast<std::size_t>(level)].Get();
        ::Shell_NotifyIconW(NIM_MODIFY, &tray_);
    }
}

void Floor::Paint(HDC dc) {
    const HDC b = buffer_.Get();
    const RECT all{0, 0, kWidth, kHeight};
    ::SetDCBrushColor(b, kSeeThrough);
    ::FillRect(b, &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    ::SetBkMode(b, TRANSPARENT);
    {
        const win32::ScopedSelectObject font(b, boldFont_.Get());
        ::TextOutW(b, 146, 5, label_.data(), static_cast<int>(std::wcslen(label_.data())));
    }
    // The graph as the monitor draws it: scale labels, a dotted grid line at each, the axis, lines.
    constexpr int kLeft = 23;
    constexpr int kTop = 26;
    constexpr int kGraphWidth = 185;
    constexpr int kGraphHeight = 72;
    {
        const win32::ScopedSelectObject font(b, font_.Get());
        const win32::ScopedSelectObject pen(b, gridPen_.Get());
        ::SetTextAlign(b, TA_RIGHT);
        for (int value = 0; value <= 100; value += 20) {
            const int y = kTop + kGraphHeight - value * kGraphHeight / 100;
            ::MoveToEx(b, kLeft, y, nullptr);
            ::LineTo(b, kLeft + kGraphWidth, y);
            wchar_t text[4];
            const int length = std::swprintf(text, 4, L"%d", value);
            ::TextOutW(b, kLeft - 4, y - 6, text, length);
        }
        ::SetTextAlign(b, TA_LEFT);
        ::MoveToEx(b, kLeft - 1, kTop, nullptr);
        ::LineTo(b, kLeft - 1, kTop + kGraphHeight);
    }
    std::array<POINT, kPoints> line{};
    for (const auto& [values, pen] :
         {std::pair{&memory_, memoryPen_.Get()}, std::pair{&cpu_, cpuPen_.Get()}}) {
        for (int i = 0; i < count_; ++i) {
            const int x = kLeft + (kPoints - count_ + i) * kGraphWidth / (kPoints - 1);
            const int y = kTop + kGraphHeight -
                          (*values)[static_cast<std::size_t>(kPoints - count_ + i)] * kGraphHeight / 100;
            line[static_cast<std::size_t>(i)] = {x, y};
        }
        const win32::ScopedSelectObject select(b, pen);
        ::Polyline(b, line.data(), count_);
    }
    ::BitBlt(dc, 0, 0, kWidth, kHeight, b, 0, 0, SRCCOPY);
}

void Floor::Close() {
    ::KillTimer(window_.Get(), kTimerId);
    ::Shell_NotifyIconW(NIM_DELETE, &tray_);
    window_.Reset();
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        ::SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* floor = reinterpret_cast<Floor*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (floor == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_TIMER:
        floor->Sample();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = ::BeginPaint(window, &paint);
        floor->Paint(dc);
        ::EndPaint(window, &paint);
        return 0;
    }
    case WM_CLOSE:
        floor->Close();
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int rate = 500;
    int left = 0;
    int top = 0;
    if (__argc > 1) {
        rate = std::clamp(_wtoi(__wargv[1]), 10, 60000);
    }
    if (__argc > 3) {
        left = _wtoi(__wargv[2]);
        top = _wtoi(__wargv[3]);
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (::RegisterClassW(&windowClass) == 0) {
        return 1;
    }
    Floor floor;
    if (!floor.Create(rate, left, top)) {
        return 1;
    }
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&message);
    }
    return 0;
}
