#include "ui/MainForm.h"

#include "app/MyConfig.h"
#include "app/MyModules.h"
#include "app/ShellTexts.h"
#include "platform/Process.h"
#include "platform/win32/UniqueHandle.h"
#include "res/Resource.h"
#include "sampling/MyWindowMessages.h"

#include <cwchar>
#include <iterator>

namespace quelmo::ui {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

} // namespace

TForm_Main::TForm_Main(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(instance, kClassName, &wc)) {
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUELMO));
        wc.lpszClassName = kClassName;
        ::RegisterClassExW(&wc);
    }
    // hwnd_ is set at WM_NCCREATE, so the creation handlers already have it.
    const DWORD exStyle = config::AlwaysOnTop.load() ? WS_EX_TOPMOST : 0;
    ::CreateWindowExW(exStyle, kClassName, std::wstring(texts::kAppTitle).c_str(), kStyle, CW_USEDEFAULT,
                      CW_USEDEFAULT, 250, 105, nullptr, nullptr, instance, this);
}

TForm_Main::~TForm_Main() {
    if (hwnd_ != nullptr) {
        ::DestroyWindow(hwnd_);
    }
}

LRESULT CALLBACK TForm_Main::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<TForm_Main*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<TForm_Main*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (form == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        form->hwnd_ = nullptr;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return form->OnMessage(message, wParam, lParam);
}

LRESULT TForm_Main::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        FormCreate();
        return 0;
    case WM_CLOSE:
        FormClose();
        return 0;
    case WM_DESTROY:
        FormDestroy();
        return 0;
    case WM_PAINT:
        FormPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // WM_PAINT fills everything
    case WM_CPU_SPEED: {
        const std::string mhz =
            FormatThousands(static_cast<std::int32_t>(wParam), config::ThousandsSeparator);
        cpuSpeed_ = std::wstring(mhz.begin(), mhz.end()) + L" MHz";
        return 0;
    }
    default:
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

void TForm_Main::FormCreate() {
    config::LoadSettings();
    ::SetWindowPos(hwnd_, nullptr, 0, 0, config::PosWidth.load(), config::PosHeight.load(),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Sampling starts with the window; the start sequence asks about disabled counters first.
    uiLink_ = std::make_unique<platform::Win32UiLink>(hwnd_);
    const std::wstring error =
        StartSampling(sampling_, *uiLink_, [this](const TResMonitor& monitor) { DisplaySample(monitor); });
    if (!error.empty()) {
        platform::TheProcess().ShowMessage(texts::kAppTitle, error, platform::MessageKind::Error,
                                           platform::MessageButtons::Ok);
    }
}

void TForm_Main::Show(int showCommand) {
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT frame{};
    ::GetWindowRect(hwnd_, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (config::FirstLaunch.load()) {
        config::PosX = work.left + (work.right - work.left - width) / 2;
        config::PosY = work.top + (work.bottom - work.top - height) / 2;
        config::FirstLaunch = false;
    }
    ::SetWindowPos(hwnd_, nullptr, config::PosX.load(), config::PosY.load(), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(hwnd_, showCommand);
    ::UpdateWindow(hwnd_);
}

void TForm_Main::FormClose() {
    config::SaveSettings();
    ::DestroyWindow(hwnd_);
}

void TForm_Main::FormDestroy() {
    StopSampling(sampling_);
    config::SaveSettings(); // does nothing when closing has saved already
    ::PostQuitMessage(0);
}

void TForm_Main::SetStatusText(std::wstring text) {
    statusText_ = std::move(text);
    ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void TForm_Main::DisplaySample(const TResMonitor& monitor) {
    wchar_t text[128];
    std::swprintf(text, std::size(text), L"%ls   CPU %lld %%   Memory %.2f %%", cpuSpeed_.c_str(),
                  static_cast<long long>(RoundHalfEven(monitor.CPUUsageTotal)), monitor.MemoryUsagePercent);
    SetStatusText(text);
}

void TForm_Main::FormPaint() {
    PAINTSTRUCT ps{};
    HDC dc = ::BeginPaint(hwnd_, &ps);
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const win32::UniqueBrush background(
        ::CreateSolidBrush(static_cast<COLORREF>(config::BackgroundColor.load())));
    ::FillRect(dc, &client, background.Get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, static_cast<COLORREF>(config::TextColor.load()));
    const win32::ScopedSelectObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    std::wstring text = std::wstring(texts::kAppTitle) + L" " + config::VersionText();
    if (!statusText_.empty()) {
        text += L"\n" + statusText_;
    }
    client.top += 8;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client, DT_CENTER | DT_NOPREFIX);
    ::EndPaint(hwnd_, &ps);
}

} // namespace quelmo::ui
