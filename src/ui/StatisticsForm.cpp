#include "ui/StatisticsForm.h"

#include "ui/ControlIds.h"
#include "ui/StatisticsFormTexts.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <string>

namespace quelmo::gui {

namespace {

namespace t = texts::statistics;
using ui::StatisticsLabel;

constexpr UINT kRefreshMs = 1000;

// Design units (pixels at 96 DPI) of the 241 x 387 client area.
constexpr int kDesignWidth = 241;
constexpr int kDesignHeight = 387;
constexpr int kMargin = 7;
constexpr int kPanelGap = 8;
constexpr int kFirstRowOffset = 21; // below the panel's top: room for its title
constexpr int kRowPitch = 21;
constexpr int kPanelBottom = 5;
constexpr int kLabelHeight = 15;
constexpr int kCaptionLeft = 10; // inside a panel
constexpr int kCaptionGap = 4;   // at least, between a caption and its value
constexpr int kValueRight = 8;   // from the panel's right edge
constexpr int kButtonHeight = 27;

// The panels, top to bottom, and the value rows each holds.
struct PanelLayout {
    int id;
    const wchar_t* title;
    int firstRow;
    int rows;
};
constexpr PanelLayout kPanels[] = {{ids::kPanel_CPUUsage, t::kPanelCPUUsage, 0, 3},
                                   {ids::kPanel_MemoryUsage, t::kPanelMemoryUsage, 3, 3},
                                   {ids::kPanel_Counter, t::kPanelCounter, 6, 2},
                                   {ids::kPanel_Time, t::kPanelTime, 8, 2}};

// The rows in StatisticsLabel order: the value label's ID and the caption before it.
struct RowLayout {
    int valueId;
    const wchar_t* caption;
};
constexpr RowLayout kRows[ui::kStatisticsLabelCount] = {{ids::kLabel_CPUUsageMax, t::kMax},
                                                        {ids::kLabel_CPUUsageAverage, t::kAverage},
                                                        {ids::kLabel_CPUUsageMin, t::kMin},
                                                        {ids::kLabel_MemoryUsageMax, t::kMax},
                                                        {ids::kLabel_MemoryUsageAverage, t::kAverage},
                                                        {ids::kLabel_MemoryUsageMin, t::kMin},
                                                        {ids::kLabel_Samples, t::kSamples},
                                                        {ids::kLabel_StatisticsRate, t::kActualRate},
                                                        {ids::kLabel_TimeRuning, t::kRunning},
                                                        {ids::kLabel_TimeStarted, t::kStarted}};

// `percent` of `top` over `bottom`.
COLORREF Blend(COLORREF top, COLORREF bottom, int percent) {
    const auto mix = [percent](int a, int b) { return (a * percent + b * (100 - percent)) / 100; };
    return RGB(mix(GetRValue(top), GetRValue(bottom)), mix(GetGValue(top), GetGValue(bottom)),
               mix(GetBValue(top), GetBValue(bottom)));
}

HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, HWND parent, int id,
                 DWORD exStyle = 0) {
    return ::CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), nullptr);
}

std::string ToUtf8(const wchar_t* wide) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) {
        return {};
    }
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), length, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(length - 1));
    return utf8;
}

// One value of the user's locale; `fallback` when it gives none.
std::string LocaleText(LCTYPE type, std::string_view fallback) {
    wchar_t text[80] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 80) <= 1) {
        return std::string(fallback);
    }
    return ToUtf8(text);
}

} // namespace

TForm_Statistics::~TForm_Statistics() {
    // The window goes before the fonts its controls use.
    DestroyHwnd();
}

bool TForm_Statistics::Create(HWND owner, Links links) {
    links_ = std::move(links);
    ReadLocale();
    FormSetup setup;
    setup.className = ids::kFormStatistics;
    setup.caption = t::kCaption;
    setup.clientWidth = kDesignWidth;
    setup.clientHeight = kDesignHeight;
    setup.owner = owner;
    return Form::Create(setup);
}

void TForm_Statistics::ReadLocale() {
    ui::StatisticsLocale locale;
    locale.decimalSeparator = LocaleText(LOCALE_SDECIMAL, ".");
    for (int month = 0; month < 12; ++month) {
        const auto index = static_cast<std::size_t>(month);
        locale.shortMonths[index] =
            LocaleText(static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + month), locale.shortMonths[index]);
    }
    model_.SetLocale(std::move(locale));
}

bool TForm_Statistics::CreateControls() {
    const HWND self = Hwnd();
    // Panels first, so the rows inside them are above them. A group box paints only its frame and
    // title: transparent, the form's background shows inside it instead of what was on the screen.
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        panels_[i] = CreateChild(WC_BUTTONW, kPanels[i].title, BS_GROUPBOX | BS_CENTER, self, kPanels[i].id,
                                 WS_EX_TRANSPARENT);
    }
    for (std::size_t row = 0; row < values_.size(); ++row) {
        captions_[row] =
            CreateChild(WC_STATICW, kRows[row].caption, SS_LEFTNOWORDWRAP | SS_NOPREFIX, self, -1);
        values_[row] = CreateChild(WC_STATICW, L"", SS_RIGHT | SS_NOPREFIX, self, kRows[row].valueId);
    }
    reset_ = CreateChild(WC_BUTTONW, t::kResetStatistics, BS_OWNERDRAW | WS_TABSTOP, self,
                         ids::kSpeedButton_Reset);
    for (const HWND control : panels_) {
        if (control == nullptr) {
            return false;
        }
    }
    for (std::size_t row = 0; row < values_.size(); ++row) {
        if (captions_[row] == nullptr || values_[row] == nullptr) {
            return false;
        }
    }
    if (reset_ == nullptr) {
        return false;
    }
    // The button tells nothing of the mouse passing over it (owner-drawn buttons do not, on Wine
    // or Windows): a subclass follows it.
    ::SetWindowSubclass(reset_, &TForm_Statistics::ResetButtonProc, 0, reinterpret_cast<DWORD_PTR>(this));
    CreateFonts();
    LayoutControls();
    return true;
}

// Another monitor scale: the bold font from the new dialog font, and the places again.
void TForm_Statistics::FormDpiChanged() {
    CreateFonts();
    LayoutControls();
}

// The panel titles are the dialog font in bold; the other controls take the dialog font.
void TForm_Statistics::CreateFonts() {
    LOGFONTW font{};
    ::GetObjectW(DialogFont(), sizeof(font), &font);
    font.lfWeight = FW_BOLD;
    boldFont_.Reset(::CreateFontIndirectW(&font));
    for (const HWND panel : panels_) {
        ::SendMessageW(panel, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.Get()), TRUE);
    }
}

// A caption's width in pixels with the dialog font.
int TForm_Statistics::TextWidth(const wchar_t* text) const {
    const win32::UniqueWindowDc dc = win32::GetWindowDc(Hwnd());
    const win32::ScopedSelectObject font(dc.Get(), DialogFont());
    SIZE size{};
    ::GetTextExtentPoint32W(dc.Get(), text, static_cast<int>(std::wcslen(text)), &size);
    return size.cx;
}

void TForm_Statistics::LayoutControls() {
    const int width = kDesignWidth - 2 * kMargin;
    HDWP batch = ::BeginDeferWindowPos(static_cast<int>(panels_.size() + 2 * values_.size() + 1));
    // In pixels.
    const auto place = [&batch](HWND control, int left, int top, int w, int h) {
        if (batch != nullptr) {
            batch = ::DeferWindowPos(batch, control, nullptr, left, top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    };
    int top = kMargin;
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        const PanelLayout& panel = kPanels[i];
        const int height = kFirstRowOffset + panel.rows * kRowPitch + kPanelBottom;
        place(panels_[i], Scale(kMargin), Scale(top), Scale(width), Scale(height));
        for (int r = 0; r < panel.rows; ++r) {
            const auto row = static_cast<std::size_t>(panel.firstRow + r);
            const int rowTop = Scale(top + kFirstRowOffset + r * kRowPitch);
            // A value is right-aligned and may use all the room its caption leaves.
            const int captionLeft = Scale(kMargin + kCaptionLeft);
            const int captionWidth = TextWidth(kRows[row].caption);
            const int valueLeft = captionLeft + captionWidth + Scale(kCaptionGap);
            place(captions_[row], captionLeft, rowTop, captionWidth, Scale(kLabelHeight));
            place(values_[row], valueLeft, rowTop, Scale(kMargin + width - kValueRight) - valueLeft,
                  Scale(kLabelHeight));
        }
        top += height + kPanelGap;
    }
    place(reset_, Scale(kMargin), Scale(kDesignHeight - kMargin - kButtonHeight), Scale(width),
          Scale(kButtonHeight));
    if (batch != nullptr) {
        ::EndDeferWindowPos(batch);
    }
}

void TForm_Statistics::FormShow() {
    Refresh();
    ::SetTimer(Hwnd(), ids::kTimer_Statistics, kRefreshMs, nullptr);
}

void TForm_Statistics::FormHide() {
    ::KillTimer(Hwnd(), ids::kTimer_Statistics);
}

void TForm_Statistics::TimerTimer() {
    Refresh();
}

void TForm_Statistics::Refresh() {
    model_.Refresh(links_.resMonitor ? links_.resMonitor() : nullptr);
    const int capacity = static_cast<int>(wide_.size()) - 1;
    for (std::size_t row = 0; row < values_.size(); ++row) {
        const auto label = static_cast<StatisticsLabel>(row);
        // An unchanged text is not set again: no repaint, no trip to the window server.
        if (!model_.Changed(label)) {
            continue;
        }
        const std::string_view text = model_.Text(label);
        const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                 wide_.data(), capacity);
        wide_[static_cast<std::size_t>(length > 0 ? length : 0)] = L'\0';
        ::SetWindowTextW(values_[row], wide_.data());
    }
}

void TForm_Statistics::SpeedButton_ResetClick() {
    TResMonitor* monitor = links_.resMonitor ? links_.resMonitor() : nullptr;
    if (monitor == nullptr) {
        return;
    }
    ::KillTimer(Hwnd(), ids::kTimer_Statistics);
    ui::StatisticsModel::Reset(monitor);
    // The graph's X values are the sample count: it restarts with it.
    if (links_.clearGraph) {
        links_.clearGraph();
    }
    Refresh();
    ::SetTimer(Hwnd(), ids::kTimer_Statistics, kRefreshMs, nullptr);
}

LRESULT CALLBACK TForm_Statistics::ResetButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                                   UINT_PTR id, DWORD_PTR form) {
    auto& self = *reinterpret_cast<TForm_Statistics*>(form);
    switch (message) {
    case WM_MOUSEMOVE:
        if (!self.resetHot_) {
            self.resetHot_ = true;
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, button, 0};
            ::TrackMouseEvent(&track);
            ::InvalidateRect(button, nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        self.resetHot_ = false;
        ::InvalidateRect(button, nullptr, FALSE);
        break;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(button, &TForm_Statistics::ResetButtonProc, id);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(button, message, wParam, lParam);
}

// A flat button: a thin frame at rest; while the mouse is over it a frame in the selection colour
// around a tint of it, a deeper tint while pressed.
void TForm_Statistics::DrawResetButton(const DRAWITEMSTRUCT& item) const {
    const HDC dc = item.hDC;
    RECT area = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool hot = resetHot_;
    if (pressed || hot) {
        const COLORREF accent = ::GetSysColor(COLOR_HIGHLIGHT);
        const win32::UniqueBrush tint(
            ::CreateSolidBrush(Blend(accent, ::GetSysColor(COLOR_WINDOW), pressed ? 30 : 15)));
        ::FillRect(dc, &area, tint.Get());
        ::FrameRect(dc, &area, ::GetSysColorBrush(COLOR_HIGHLIGHT));
    } else {
        ::FillRect(dc, &area, FormBrush());
        ::FrameRect(dc, &area, ::GetSysColorBrush(COLOR_BTNSHADOW));
    }
    wchar_t caption[64] = {};
    const int length = ::GetWindowTextW(item.hwndItem, caption, 64);
    RECT text = area;
    if (pressed) {
        ::OffsetRect(&text, 1, 1);
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor((item.itemState & ODS_DISABLED) != 0 ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    const UINT prefix = (item.itemState & ODS_NOACCEL) != 0 ? DT_HIDEPREFIX : 0;
    ::DrawTextW(dc, caption, length, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | prefix);
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT focus = area;
        ::InflateRect(&focus, -Scale(3), -Scale(3));
        ::DrawFocusRect(dc, &focus);
    }
}

LRESULT TForm_Statistics::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlID == static_cast<UINT>(ids::kSpeedButton_Reset)) {
            DrawResetButton(item);
            return TRUE;
        }
        break;
    }
    case WM_SETTINGCHANGE:
        // The user's locale (decimal separator, month names) may have changed.
        ReadLocale();
        if (Visible()) {
            Refresh();
        }
        break;
    default:
        break;
    }
    return Form::OnMessage(message, wParam, lParam);
}

void TForm_Statistics::OnCommand(int id, int code, HWND control) {
    if (id == ids::kSpeedButton_Reset && code == BN_CLICKED) {
        SpeedButton_ResetClick();
        return;
    }
    // Enter presses the focused button; with nothing focused it does nothing.
    if (id == IDOK) {
        if (::GetFocus() == reset_) {
            SpeedButton_ResetClick();
        }
        return;
    }
    Form::OnCommand(id, code, control);
}

void TForm_Statistics::OnTimer(UINT_PTR id) {
    if (id == ids::kTimer_Statistics) {
        TimerTimer();
        return;
    }
    Form::OnTimer(id);
}

} // namespace quelmo::gui
