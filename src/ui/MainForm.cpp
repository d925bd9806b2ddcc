#include "ui/MainForm.h"

#include "app/MyConfig.h"
#include "app/MyModules.h"
#include "platform/Process.h"
#include "res/Resource.h"
#include "sampling/MyWindowMessages.h"
#include "ui/ControlIds.h"
#include "ui/MainFormGlyphs.h"
#include "ui/MainFormTexts.h"
#include "ui/Scaling.h"
#include "ui/WindowDpi.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <utility>

namespace quelmo::gui {

namespace {

using widgets::PixelRect;

constexpr COLORREF kGlyphColor = RGB(0, 0, 128); // navy
constexpr UINT kHideControlsMs = 3000;
constexpr UINT kHideSplashMs = 5000;
constexpr int kSplashSpacer = 25; // Bevel_Splash keeps the banner clear of the scale
constexpr int kFontPoints = 8;

COLORREF ToColorRef(config::Color color) {
    return static_cast<COLORREF>(color) & 0x00FFFFFF;
}

HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, const PixelRect& r, HWND parent,
                 int id) {
    return ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.Width(),
                             r.Height(), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ThisModule(), nullptr);
}

void MoveChild(HDWP& batch, HWND child, const PixelRect& r) {
    if (batch != nullptr && child != nullptr) {
        batch = ::DeferWindowPos(batch, child, nullptr, r.left, r.top, r.Width(), r.Height(),
                                 SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The user's decimal separator, as UTF-8.
std::string UserDecimalSeparator() {
    wchar_t wide[8] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, wide, 8) <= 1) {
        return ".";
    }
    char utf8[16] = {};
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof(utf8), nullptr, nullptr);
    return length > 1 ? std::string(utf8, static_cast<std::size_t>(length - 1)) : std::string(".");
}

// "MS Sans Serif" at 8 points at `dpi`; without smoothing, so no fringe of the see-through colour
// shows.
LOGFONTW FormFont(bool bold, int dpi) {
    LOGFONTW font{};
    font.lfHeight = ui::FontHeightForPoints(kFontPoints, dpi);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = NONANTIALIASED_QUALITY;
    wcscpy_s(font.lfFaceName, L"MS Sans Serif");
    return font;
}

// Its own visibility, whether or not the window is shown.
void ShowChild(HWND child, bool show) {
    if (((::GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0) != show) {
        ::ShowWindow(child, show ? SW_SHOWNA : SW_HIDE);
    }
}

// Hidden without WM_SHOWWINDOW, so no form runs its hide handler on the way out.
void HideAtOnce(HWND window) {
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CALLBACK HideIfOwned(HWND window, LPARAM owner) {
    if (::GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner) &&
        ::IsWindowVisible(window) != FALSE) {
        HideAtOnce(window);
    }
    return TRUE;
}

void Run(const std::function<void()>& action) {
    if (action) {
        action();
    }
}

} // namespace

TForm_Main::TForm_Main(Options options) : options_(options) {}

TForm_Main::~TForm_Main() {
    DestroyHwnd();
}

bool TForm_Main::Create() {
    appIcon_.Reset(
        static_cast<HICON>(::LoadImageW(ThisModule(), MAKEINTRESOURCEW(IDI_QUELMO), IMAGE_ICON,
                                        ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0)));
    appIconSmall_.Reset(static_cast<HICON>(::LoadImageW(ThisModule(), MAKEINTRESOURCEW(IDI_QUELMO),
                                                        IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                        ::GetSystemMetrics(SM_CYSMICON), 0)));
    if (!appIcon_) {
        appIcon_.Reset(::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION)));
    }
    // Borderless; its size and place come from the settings each time it is shown.
    FormSetup setup;
    setup.className = ids::kFormMain;
    setup.caption = texts::kAppTitle;
    setup.style = WS_POPUP | WS_CLIPCHILDREN;
    setup.exStyle = 0;
    setup.clientWidth = ui::kDesignClientWidth;
    setup.clientHeight = ui::kDesignClientHeight;
    setup.centerOnFirstShow = false;
    setup.classStyle = CS_DBLCLKS;
    setup.icon = appIcon_.Get();
    setup.smallIcon = appIconSmall_.Get();
    return Form::Create(setup); // runs CreateControls and FormCreate
}

void TForm_Main::ShowAtStartup() {
    if (appMode_.ShowAtStartup() && Hwnd() != nullptr) {
        ::ShowWindow(Hwnd(), SW_SHOW);
        ::UpdateWindow(Hwnd());
    }
}

// The controls are made without a place: LayoutControls puts them where the size and DPI say.
bool TForm_Main::CreateControls() {
    measureDc_.Reset(::CreateCompatibleDC(nullptr));
    SetFormColors(RGB(255, 255, 255), textColor_);
    const HWND self = Hwnd();
    const PixelRect none{};
    // Without SS_NOTIFY the picture lets the mouse through to the form, which drags the window.
    imageMove_ = CreateChild(WC_STATICW, L"", SS_OWNERDRAW, none, self, ids::kImage_Move);
    sbMenu_ = CreateChild(WC_BUTTONW, L"", BS_OWNERDRAW, none, self, ids::kSB_Menu);
    labelCpuSpeed_ = CreateChild(WC_STATICW, texts::monitor::kClockUnknown, SS_LEFT | SS_NOPREFIX, none, self,
                                 ids::kLabel_CPUSpeed);
    labelMemoryUsed_ = CreateChild(WC_STATICW, texts::monitor::kMemoryUnknown, SS_LEFT | SS_NOPREFIX, none,
                                   self, ids::kLabel_MemoryUsed);
    sbHide_ = CreateChild(WC_BUTTONW, L"", BS_OWNERDRAW, none, self, ids::kSB_Hide);
    sbClose_ = CreateChild(WC_BUTTONW, L"", BS_OWNERDRAW, none, self, ids::kSB_Close);
    if (!measureDc_ || imageMove_ == nullptr || sbMenu_ == nullptr || labelCpuSpeed_ == nullptr ||
        labelMemoryUsed_ == nullptr || sbHide_ == nullptr || sbClose_ == nullptr ||
        !chart_.Create(self, ids::kChart_CPUUsage, RECT{}) ||
        !gauge_.Create(self, ids::kGauge_CPUUsage, RECT{})) {
        return false;
    }
    showBanner_ = true; // Label_Splash, until Timer_HideSplash
    CreateFonts();
    ::SetTimer(self, ids::kTimer_HideSplash, kHideSplashMs, nullptr);
    LayoutControls();
    return menu_.Create(Scale(ui::kMenuPictureSize));
}

// The window moved to a monitor of another scale: fonts, pictures, pens and places for the new
// DPI, and the stored size in design units (the system's suggestion may round otherwise).
void TForm_Main::FormDpiChanged() {
    CreateFonts();
    SetGraphLineWidth(config::ThickerGraph);
    menu_.SetPictureSize(Scale(ui::kMenuPictureSize));
    tray_.SetIconSize(SmallIconSize(Dpi()));
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, Scale(config::PosWidth), Scale(config::PosHeight),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutControls();
    for (const HWND control : {imageMove_, sbMenu_, sbHide_, sbClose_}) {
        ::InvalidateRect(control, nullptr, TRUE);
    }
}

// The fonts at the window's DPI, given to the controls that use them; may run again.
void TForm_Main::CreateFonts() {
    logFont_ = FormFont(false, Dpi());
    boldLogFont_ = FormFont(true, Dpi());
    win32::UniqueFont font(::CreateFontIndirectW(&logFont_));
    win32::UniqueFont bold(::CreateFontIndirectW(&boldLogFont_));
    ::SelectObject(measureDc_.Get(), bold ? static_cast<HGDIOBJ>(bold.Get()) : ::GetStockObject(SYSTEM_FONT));
    ::SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    for (const HWND label : {labelCpuSpeed_, labelMemoryUsed_}) {
        ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(bold.Get()), TRUE);
    }
    // The old fonts go only now that nothing uses them any more.
    font_ = std::move(font);
    boldFont_ = std::move(bold);
    chart_.SetDpi(Dpi());
    chart_.SetFont(logFont_);
    gauge_.SetFont(boldLogFont_);
    if (showBanner_) {
        // Label_Splash: the bold application title, centred over the graph right of Bevel_Splash.
        chart_.SetBanner(texts::kAppTitle, boldLogFont_, Scale(kSplashSpacer));
    }
}

LRESULT TForm_Main::OnNotify(int id, NMHDR& header) {
    if (toolTips_.OnNotify(header)) {
        return 0;
    }
    return Form::OnNotify(id, header);
}

// Creation, in the order the settings and the threads need.
void TForm_Main::FormCreate() {
    DragOrigin = {};
    Dragging = false;
    if (options_.useSettingsFile) {
        config::LoadSettings();
    }
    InstallApplicationHook();
    ApplyStayOnTop();
    // Only now: a topmost window owned by the form that exists before the form asks to be
    // topmost makes Wine refuse the request.
    toolTips_.Create(Hwnd(), imageMove_, sbMenu_, sbHide_, sbClose_);
    toolTips_.UpdateMoveRect(controlsVisible_);
    tray_.Initialize(Hwnd(), WM_TRAY_NOTIFY, appIconSmall_ ? appIconSmall_.Get() : appIcon_.Get());
    tray_.SetIconSize(SmallIconSize(Dpi()));
    decimalSeparator_ = UserDecimalSeparator();
    ApplySettings();
    if (options_.startSampling) {
        StartSamplingThreads();
    }
}

void TForm_Main::StartSamplingThreads() {
    link_ = std::make_unique<platform::Win32UiLink>(Hwnd());
    const auto display = [this](const TResMonitor& monitor) {
        ui::SampleView sample;
        sample.cpuCount = monitor.CPUCount;
        sample.cpuUsageTotal = monitor.CPUUsageTotal;
        sample.cpuUsageEach = monitor.CPUUsageEach;
        sample.memoryTotalMB = monitor.MemoryTotalMB;
        sample.memoryUsagePercent = monitor.MemoryUsagePercent;
        sample.memoryUsedMB = monitor.MemoryUsedMB;
        sample.samples = monitor.Statistics.Samples;
        DisplaySample(sample);
    };
    // Its third step is the prompt for disabled performance counters.
    const std::wstring error = StartSampling(threads_, *link_, display);
    sampling_ = true;
    if (!error.empty()) {
        platform::TheProcess().ShowMessage(texts::kAppTitle, error, platform::MessageKind::Error,
                                           platform::MessageButtons::Ok);
    }
}

// Closing the monitor window ends the program: FormCloseQuery saves, the window leaves the screen,
// and closing is always allowed. The destruction then stops the threads and removes the icon. The
// settings go first: hiding can wait for the window manager (Wine waits up to two seconds).
void TForm_Main::OnClose() {
    FormCloseQuery();
    LeaveScreen();
    DestroyHwnd();
}

// The window and the windows it owns leave the screen before anything slow happens.
void TForm_Main::LeaveScreen() {
    ::EnumThreadWindows(::GetCurrentThreadId(), &HideIfOwned, reinterpret_cast<LPARAM>(Hwnd()));
    HideAtOnce(Hwnd());
}

void TForm_Main::FormCloseQuery() {
    SaveSettingsOnce();
}

// SaveSettings writes once per process; later calls do nothing.
void TForm_Main::SaveSettingsOnce() {
    if (options_.useSettingsFile) {
        config::SaveSettings();
    }
}

// Destruction: the settings first (nothing happens when closing or "Exit" saved them), as
// stopping the clock thread can take a second; then the threads (the display step may still run
// while the sampler is freed, so the controls stay until then), then the tray icon.
void TForm_Main::FormDestroy() {
    SaveSettingsOnce();
    if (sampling_) {
        StopSampling(threads_);
        sampling_ = false;
    }
    tray_.Icon().RemoveIcon();
    appMode_.UnregisterAppModeHotkey();
    if (options_.endApplicationOnDestroy) {
        ::PostQuitMessage(0);
    }
}

void TForm_Main::ApplySettings() {
    SetBackgroundColor(ToColorRef(config::BackgroundColor));
    transparency_ = config::Transparency;
    alphaBlend_ = config::AlphaBlend;
    alphaValue_ = config::AlphaBlendValue;
    ApplyLayeredAttributes();
    gauge_.SetForeColor(ToColorRef(config::BarColor));
    chart_.SetSeriesColor(0, ToColorRef(config::GraphMemoryColor));
    chart_.SetSeriesColor(1, ToColorRef(config::GraphCPUColor1));
    chart_.SetSeriesColor(2, ToColorRef(config::GraphCPUColor2));
    chart_.SetSeriesColor(3, ToColorRef(config::GraphCPUColor3));
    chart_.SetSeriesColor(4, ToColorRef(config::GraphCPUColor4));
    SetGraphLineWidth(config::ThickerGraph);
    SetTextColor(ToColorRef(config::TextColor));
    SetDisplayMemory(config::DisplayMemory);
    SetHideBarGraph(config::HideBarGraph);
    RegisterAppModeHotkey();
    SetAppTrayMode(config::AppTrayMode, true);
    SetAutoHideControls(config::AutoHideControls);
    ShowControls(true);
}

void TForm_Main::SetBackgroundColor(COLORREF color) {
    SetFormColors(color, textColor_);
    gauge_.SetBackColor(color);
    chart_.SetBackgroundColor(color);
    // The see-through colour is the window colour.
    ApplyLayeredAttributes();
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void TForm_Main::SetTransparency(bool on) {
    transparency_ = on;
    ApplyLayeredAttributes();
}

void TForm_Main::SetAlphaBlend(bool on, std::uint8_t value) {
    alphaBlend_ = on;
    alphaValue_ = value;
    ApplyLayeredAttributes();
}

void TForm_Main::SetGraphLineWidth(bool thicker) {
    for (int series = 0; series < ui::kSeriesCount; ++series) {
        chart_.SetLineWidth(series, ui::ScaleLine(thicker ? 2 : 1, Dpi()));
    }
}

SIZE TForm_Main::PixelSize() const {
    RECT window{};
    ::GetWindowRect(Hwnd(), &window);
    return {window.right - window.left, window.bottom - window.top};
}

SIZE TForm_Main::WindowSize() const {
    const SIZE pixels = PixelSize();
    return {ui::StoredSize(pixels.cx, Dpi()), ui::StoredSize(pixels.cy, Dpi())};
}

int TForm_Main::SetWindowWidth(int width) {
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, Scale(width), PixelSize().cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return WindowSize().cx;
}

int TForm_Main::SetWindowHeight(int height) {
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, PixelSize().cx, Scale(height),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return WindowSize().cy;
}

void TForm_Main::ApplyLayeredAttributes() {
    const HWND self = Hwnd();
    if (self == nullptr) {
        return;
    }
    const LONG_PTR exStyle = ::GetWindowLongPtrW(self, GWL_EXSTYLE);
    if (transparency_ || alphaBlend_) {
        if ((exStyle & WS_EX_LAYERED) == 0) {
            ::SetWindowLongPtrW(self, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        }
        const DWORD flags = (transparency_ ? LWA_COLORKEY : 0) | (alphaBlend_ ? LWA_ALPHA : 0);
        ::SetLayeredWindowAttributes(self, FormColor(), alphaBlend_ ? alphaValue_ : 255, flags);
    } else if ((exStyle & WS_EX_LAYERED) != 0) {
        ::SetWindowLongPtrW(self, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
        ::RedrawWindow(self, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void TForm_Main::SetTextColor(COLORREF color) {
    textColor_ = color;
    SetFormColors(FormColor(), color);
    chart_.SetLabelColor(color); // the scale labels and the banner
    ::InvalidateRect(labelCpuSpeed_, nullptr, TRUE);
    ::InvalidateRect(labelMemoryUsed_, nullptr, TRUE);
}

void TForm_Main::SetDisplayMemory(bool show) {
    config::DisplayMemory = show;
    LayoutControls(); // shows or hides the memory label
    if (!show) {
        chart_.Clear(ui::kMemorySeries);
    }
}

void TForm_Main::ClearGraph() {
    chart_.ClearAll();
}

void TForm_Main::SetHideBarGraph(bool hide) {
    hideBarGraph_ = hide;
    ShowChild(gauge_.Hwnd(), !hide);
    LayoutControls();
}

// The extent of a label's text in its (bold) font.
SIZE TForm_Main::LabelExtent(HWND label) const {
    wchar_t text[64];
    const int length = ::GetWindowTextW(label, text, static_cast<int>(std::size(text)));
    SIZE size{};
    ::GetTextExtentPoint32W(measureDc_.Get(), text, length, &size);
    return size;
}

// Every control's place for the client size and DPI; labels as wide as their text, left out where
// they do not fit (ui/MainLayout). Runs at creation, on every resize and when a label's width
// changes.
void TForm_Main::LayoutControls() {
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    const SIZE cpu = LabelExtent(labelCpuSpeed_);
    const SIZE memory = LabelExtent(labelMemoryUsed_);
    ui::MainLayoutInput input;
    input.clientWidth = client.right;
    input.clientHeight = client.bottom;
    input.dpi = Dpi();
    input.hideBarGraph = hideBarGraph_;
    input.cpuSpeedWidth = cpu.cx;
    input.memoryUsedWidth = config::DisplayMemory ? memory.cx : 0;
    input.labelHeight = std::max(cpu.cy, memory.cy);
    const ui::MainLayout layout = ui::LayoutMainForm(input);
    HDWP batch = ::BeginDeferWindowPos(8);
    MoveChild(batch, imageMove_, layout.imageMove);
    MoveChild(batch, sbMenu_, layout.sbMenu);
    MoveChild(batch, labelCpuSpeed_, layout.labelCpuSpeed);
    MoveChild(batch, labelMemoryUsed_, layout.labelMemoryUsed);
    MoveChild(batch, sbHide_, layout.sbHide);
    MoveChild(batch, sbClose_, layout.sbClose);
    MoveChild(batch, chart_.Hwnd(), layout.chart);
    MoveChild(batch, gauge_.Hwnd(), layout.gauge);
    if (batch != nullptr) {
        ::EndDeferWindowPos(batch);
    }
    ShowChild(labelCpuSpeed_, layout.cpuSpeedShown);
    ShowChild(labelMemoryUsed_, layout.memoryUsedShown);
    toolTips_.UpdateMoveRect(controlsVisible_);
}

void TForm_Main::SetLabelText(HWND label, std::string_view utf8) {
    const int capacity = static_cast<int>(wide_.size()) - 1;
    const int length =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide_.data(), capacity);
    wide_[static_cast<std::size_t>(std::clamp(length, 0, capacity))] = L'\0';
    wchar_t current[64];
    ::GetWindowTextW(label, current, static_cast<int>(std::size(current)));
    // An unchanged text is not set again, so the label does not repaint for nothing.
    if (std::wcscmp(current, wide_.data()) == 0) {
        return;
    }
    ::SetWindowTextW(label, wide_.data());
    RECT now{};
    ::GetWindowRect(label, &now);
    if (LabelExtent(label).cx != now.right - now.left) {
        LayoutControls();
    }
}

void TForm_Main::DisplaySample(const ui::SampleView& sample) {
    const ui::DisplaySettings settings = ui::DisplaySettings::FromStore();
    ui::ComputeDisplayStep(sample, settings, decimalSeparator_, step_);
    gauge_.SetProgress(step_.gaugeProgress);
    ui::ApplySeries(step_, chart_, settings.graphLength);
    if (step_.setMemoryLabel) {
        SetLabelText(labelMemoryUsed_, step_.memoryLabel.View());
    }
    if (step_.updateTray) {
        UpdateTrayIcon(step_.trayCpu, step_.trayMemory);
    }
}

void TForm_Main::OnCpuSpeed(WPARAM wParam) {
    ui::LabelText text;
    ui::FormatClockLabel(static_cast<std::int32_t>(static_cast<std::uint32_t>(wParam)), text);
    SetLabelText(labelCpuSpeed_, text.View());
}

void TForm_Main::UpdateTrayIcon(int cpu, int memory) {
    tray_.UpdateTrayIcon(cpu, memory);
}

void TForm_Main::OnTrayNotify(LPARAM lParam) {
    switch (static_cast<UINT>(lParam)) {
    case WM_MOUSEMOVE:
        tray_.PointerMoved();
        break;
    case WM_LBUTTONDBLCLK:
        appMode_.Toggle();
        break;
    case WM_RBUTTONUP: {
        // Foreground even while hidden, so the menu closes when the user clicks elsewhere.
        ::SetForegroundWindow(Hwnd());
        POINT cursor{};
        if (::GetCursorPos(&cursor) == FALSE) {
            cursor = {0, 0};
        }
        PopupMenuAt(cursor);
        break;
    }
    default:
        break;
    }
}

void TForm_Main::ApplyStayOnTop() {
    ::SetWindowPos(Hwnd(), config::AlwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The program shows no taskbar button: its only top-level window is a tool window.
void TForm_Main::InstallApplicationHook() {
    hookInstalled_ = true;
    const LONG_PTR exStyle = ::GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE);
    ::SetWindowLongPtrW(Hwnd(), GWL_EXSTYLE, exStyle | WS_EX_TOOLWINDOW);
}

bool TForm_Main::PreTranslateMessage(MSG& message) {
    if (hookInstalled_) {
        ApplicationMessageHook(message);
    }
    const HWND active = ::GetActiveWindow();
    return active != nullptr && active == Hwnd() && menu_.TranslateShortcut(Hwnd(), message);
}

// Mouse movement over any window of the application brings the control buttons back.
void TForm_Main::ApplicationMessageHook(const MSG& message) {
    if (message.message == WM_MOUSEMOVE) {
        ShowControls(true);
    }
}

void TForm_Main::ShowControls(bool show) {
    ::KillTimer(Hwnd(), ids::kTimer_HideControls);
    if (show && config::AutoHideControls) {
        ::SetTimer(Hwnd(), ids::kTimer_HideControls, kHideControlsMs, nullptr);
    }
    if (show == controlsVisible_) {
        return;
    }
    controlsVisible_ = show;
    for (const HWND control : {imageMove_, sbMenu_, sbHide_, sbClose_}) {
        ::ShowWindow(control, show ? SW_SHOWNA : SW_HIDE);
    }
    toolTips_.UpdateMoveRect(controlsVisible_);
}

void TForm_Main::SetAutoHideControls(bool on) {
    config::AutoHideControls = on;
    ShowControls(true);
}

void TForm_Main::SetAppTrayMode(bool mode, bool atStart) {
    appMode_.SetAppTrayMode(mode, atStart);
}

void TForm_Main::RegisterAppModeHotkey() {
    appMode_.RegisterAppModeHotkey();
}

// Form posts WM_AFTER_SHOW after this.
void TForm_Main::FormShow() {
    RestorePlacement();
}

void TForm_Main::RestorePlacement() {
    ui::PlacementInput input;
    input.firstLaunch = config::FirstLaunch;
    input.posX = config::PosX;
    input.posY = config::PosY;
    input.posWidth = config::PosWidth;
    input.posHeight = config::PosHeight;
    input.dpi = Dpi();
    input.primaryWidth = ::GetSystemMetrics(SM_CXSCREEN);
    input.primaryHeight = ::GetSystemMetrics(SM_CYSCREEN);
    input.desktop = {::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                     ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const ui::ScreenBox box = ui::RestorePlacement(input);
    config::PosX = box.left;
    config::PosY = box.top;
    ::SetWindowPos(Hwnd(), nullptr, box.left, box.top, box.width, box.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm_Main::AfterShow() {
    if (config::FirstLaunch) {
        config::FirstLaunch = false;
    }
}

void TForm_Main::MoveToPreset(ui::LocationPreset preset) {
    const RECT work = MonitorWorkArea(Hwnd());
    RECT window{};
    ::GetWindowRect(Hwnd(), &window);
    int left = 0;
    int top = 0;
    ui::MoveToPreset(preset, {work.left, work.top, work.right - work.left, work.bottom - work.top},
                     window.right - window.left, window.bottom - window.top, left, top);
    ::SetWindowPos(Hwnd(), nullptr, left, top, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    config::PosX = left;
    config::PosY = top;
}

void TForm_Main::FormMouseDown(int x, int y) {
    DragOrigin.x = static_cast<std::uint16_t>(x);
    DragOrigin.y = static_cast<std::uint16_t>(y);
    Dragging = true;
    ::SetCapture(Hwnd());
}

void TForm_Main::FormMouseMove(int x, int y) {
    if (!Dragging || config::LockForm) {
        return;
    }
    RECT window{};
    ::GetWindowRect(Hwnd(), &window);
    const int left = window.left + x - DragOrigin.x;
    const int top = window.top + y - DragOrigin.y;
    ::SetWindowPos(Hwnd(), nullptr, left, top, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    config::PosX = left;
    config::PosY = top;
}

void TForm_Main::FormMouseUp() {
    Dragging = false;
    if (::GetCapture() == Hwnd()) {
        ::ReleaseCapture();
    }
}

void TForm_Main::PopupMenuAt(POINT screen) {
    // PopupMenuPopup: the lock item shows the current state.
    menu_.SetChecked(ids::kMI_LockForm, config::LockForm);
    toolTips_.SetMenuOpen(true);
    menu_.Popup(Hwnd(), screen);
    toolTips_.SetMenuOpen(false);
}

void TForm_Main::SB_MenuClick() {
    RECT window{};
    ::GetWindowRect(Hwnd(), &window);
    RECT button{};
    ::GetWindowRect(sbMenu_, &button);
    PopupMenuAt(POINT{window.left + (button.right - button.left), window.top + (button.bottom - button.top)});
}

void TForm_Main::SB_HideClick() {
    SetAppTrayMode(true, false);
}

void TForm_Main::SB_CloseClick() {
    ::PostMessageW(Hwnd(), WM_CLOSE, 0, 0);
}

void TForm_Main::MI_ExitClick() {
    // Destroyed without a close request. What the destruction would save is saved before the
    // window leaves the screen, as closing does.
    SaveSettingsOnce();
    LeaveScreen();
    DestroyHwnd();
}

void TForm_Main::MI_LockFormClick() {
    config::LockForm = !menu_.Checked(ids::kMI_LockForm);
}

void TForm_Main::Timer_HideControlsTimer() {
    ShowControls(false);
}

void TForm_Main::Timer_HideSplashTimer() {
    ::KillTimer(Hwnd(), ids::kTimer_HideSplash);
    showBanner_ = false;
    chart_.HideBanner(); // Label_Splash and Bevel_Splash, for good
}

// The menu's handlers (ui/MenuModel's table says which item runs which).
void TForm_Main::MI_AboutClick() {
    Run(actions_.showAbout);
}

void TForm_Main::MI_SettingsClick() {
    Run(actions_.showSettings);
}

void TForm_Main::MI_StatisticsClick() {
    Run(actions_.showStatistics);
}

void TForm_Main::MI_CPUInformationClick() {
    Run(actions_.showCpuInformation);
}

void TForm_Main::MI_HelpClick() {
    OpenDocument(texts::monitor::kHelpUrl);
}

void TForm_Main::MI_ForumClick() {
    OpenDocument(texts::monitor::kForumUrl);
}

void TForm_Main::MI_VersionHistoryClick() {
    OpenDocument(BesideExecutable(texts::monitor::kHistoryFile));
}

void TForm_Main::MI_CopyrightsClick() {
    OpenDocument(BesideExecutable(texts::monitor::kCopyrightsFile));
}

void TForm_Main::MI_TopLeftClick() {
    MoveToPreset(ui::LocationPreset::TopLeft);
}

void TForm_Main::MI_TopRightClick() {
    MoveToPreset(ui::LocationPreset::TopRight);
}

void TForm_Main::MI_BotomLeftClick() {
    MoveToPreset(ui::LocationPreset::BottomLeft);
}

void TForm_Main::MI_BotomRightClick() {
    MoveToPreset(ui::LocationPreset::BottomRight);
}

void TForm_Main::MI_CenterClick() {
    MoveToPreset(ui::LocationPreset::Center);
}

void TForm_Main::MI_ShowHideClick() {
    appMode_.Toggle();
}

void TForm_Main::OnDrawItem(const DRAWITEMSTRUCT& item) {
    Glyph glyph = Glyph::MoveArrows;
    switch (item.CtlID) {
    case ids::kImage_Move:
        glyph = Glyph::MoveArrows;
        break;
    case ids::kSB_Menu:
        glyph = Glyph::Diamond;
        break;
    case ids::kSB_Hide:
        glyph = Glyph::DownArrow;
        break;
    case ids::kSB_Close:
        glyph = Glyph::Cross;
        break;
    default:
        return;
    }
    ::FillRect(item.hDC, &item.rcItem, FormBrush());
    RECT area = item.rcItem;
    // A flat button shows a sunken edge only while it is held down.
    if (item.CtlType == ODT_BUTTON && (item.itemState & ODS_SELECTED) != 0) {
        RECT edge = item.rcItem;
        ::DrawEdge(item.hDC, &edge, BDR_SUNKENOUTER, BF_RECT);
        ::OffsetRect(&area, 1, 1);
    }
    DrawGlyph(item.hDC, glyph, area, kGlyphColor, Dpi());
}

LRESULT TForm_Main::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_QUERYENDSESSION:
        FormCloseQuery();
        return TRUE;
    case WM_DESTROY:
        FormDestroy();
        return 0;
    case WM_SIZE:
        LayoutControls();
        return 0;
    case WM_MEASUREITEM:
        if (menu_.MeasurePicture(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
            return TRUE;
        }
        break;
    case WM_DRAWITEM:
        // The menu's location pictures, then the form's own buttons.
        if (!menu_.DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
            OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        }
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        FormMouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE:
        FormMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
        FormMouseUp();
        return 0;
    case WM_RBUTTONUP:
        FormMouseUp();
        break; // DefWindowProc turns it into WM_CONTEXTMENU
    case WM_CAPTURECHANGED:
        Dragging = false;
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && controlsVisible_) {
            POINT cursor{};
            ::GetCursorPos(&cursor);
            ::ScreenToClient(Hwnd(), &cursor);
            RECT image{};
            ::GetWindowRect(imageMove_, &image);
            ::MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&image), 2);
            if (::PtInRect(&image, cursor) != FALSE) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
                return TRUE;
            }
        }
        break;
    case WM_ENTERMENULOOP:
        toolTips_.SetMenuOpen(true);
        break;
    case WM_EXITMENULOOP:
        toolTips_.SetMenuOpen(false);
        break;
    case WM_SETTINGCHANGE:
        decimalSeparator_ = UserDecimalSeparator();
        break;
    case WM_HOTKEY:
        appMode_.OnHotKey(wParam);
        return 0;
    default:
        if (message == WM_CPU_SPEED) {
            OnCpuSpeed(wParam);
            return 0;
        }
        if (message == WM_TRAY_NOTIFY) {
            OnTrayNotify(lParam);
            return 0;
        }
        if (tray_.OnShellRestart(message)) {
            return 0;
        }
        break;
    }
    return Form::OnMessage(message, wParam, lParam);
}

void TForm_Main::OnCommand(int id, int code, HWND control) {
    if (control == nullptr) {
        MainMenu::Dispatch(id, *this); // the pop-up menu or a shortcut key
        return;
    }
    if (code != BN_CLICKED) {
        return;
    }
    switch (id) {
    case ids::kSB_Menu:
        SB_MenuClick();
        break;
    case ids::kSB_Hide:
        SB_HideClick();
        break;
    case ids::kSB_Close:
        SB_CloseClick();
        break;
    default:
        break;
    }
}

void TForm_Main::OnTimer(UINT_PTR id) {
    if (id == ids::kTimer_HideControls) {
        Timer_HideControlsTimer();
    } else if (id == ids::kTimer_HideSplash) {
        Timer_HideSplashTimer();
    }
}

// A right-click on the window or a child, or the menu key (which gives no point).
void TForm_Main::OnContextMenu(HWND, POINT screen) {
    if (screen.x == -1 && screen.y == -1) {
        RECT window{};
        ::GetWindowRect(Hwnd(), &window);
        screen = {window.left, window.top};
    }
    PopupMenuAt(screen);
}

} // namespace quelmo::gui
