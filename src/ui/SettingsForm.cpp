#include "ui/SettingsForm.h"

#include "ui/ControlIds.h"
#include "ui/MainForm.h"
#include "ui/SettingsFormTexts.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <string>

namespace quelmo::gui {

namespace {

using ui::kSettingsCheckBoxes;
using ui::kSettingsColorBoxes;
using ui::kSettingsSpinEdits;
using ui::kSettingsTrackBars;
using ui::SettingsPage;

// The client area and everything in it, in design units.
constexpr int kDesignWidth = 322;
constexpr int kDesignHeight = 420;
constexpr RECT kTabArea{8, 8, 314, 386};
constexpr RECT kHintArea{8, 392, 314, 410};
constexpr int kTabWidth = 75;
constexpr int kTabHeight = 20;
// Inside a page.
constexpr int kMargin = 10;
constexpr int kRowHeight = 18;
constexpr int kCheckPitch = 24;
constexpr int kGroupTop = 10 + 8 * kCheckPitch + 8; // below the eight boxes of General and Display
constexpr int kFieldHeight = 22;                    // hot key and size fields
constexpr int kColorItemHeight = 18;
constexpr int kColorLabelWidth = 128;
constexpr std::array<int, kSettingsColorBoxes.size()> kColorRows = {14, 52, 80, 108, 136, 176, 214, 252};
constexpr int kTrackGroupHeight = 84;
constexpr int kTrackGroupPitch = 96;
constexpr int kTipWidth = 280;

constexpr std::array<int, ui::kSettingsPageCount> kPageIds = {ids::kTabSheet_General, ids::kTabSheet_Display,
                                                              ids::kTabSheet_Colors, ids::kTabSheet_Extended};

COLORREF ToColorRef(config::Color color) {
    return static_cast<COLORREF>(color) & 0x00FFFFFF;
}

HWND CreateChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id,
                 DWORD exStyle = 0) {
    return ::CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), nullptr);
}

// A page passes its controls' notifications on to the dialog, and answers with what the dialog
// answered. Everything else is the system dialog's (background, keyboard within the page).
INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return FALSE; // the focus stays where it is
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        ::SendMessageW(::GetParent(page), message, wParam, lParam);
        return TRUE;
    case WM_NOTIFY:
        ::SetWindowLongPtrW(page, DWLP_MSGRESULT, ::SendMessageW(::GetParent(page), message, wParam, lParam));
        return TRUE;
    default:
        return FALSE;
    }
}

// An empty child dialog that holds other dialogs' keyboard handling (DS_CONTROL).
struct PageTemplate {
    DLGTEMPLATE header;
    WORD menu;
    WORD windowClass;
    WORD title;
};
alignas(DWORD) constexpr PageTemplate kPageTemplate{{WS_CHILD | DS_CONTROL, 0, 0, 0, 0, 0, 0}, 0, 0, 0};

// What the dialog does to the monitor window.
class MainFormLink final : public ui::SettingsMonitor {
public:
    MainFormLink(TForm_Main& main, const Form& dialog) : main_(main), dialog_(dialog) {}

    config::Color BackgroundColor() const override { return static_cast<config::Color>(main_.FormColor()); }
    bool TransparencyOn() const override { return main_.TransparencyOn(); }
    bool AlphaBlendOn() const override { return main_.AlphaBlendOn(); }
    std::uint8_t AlphaBlendValue() const override { return main_.AlphaBlendValue(); }
    int WindowWidth() const override { return main_.WindowSize().cx; }
    int WindowHeight() const override { return main_.WindowSize().cy; }

    void SetDisplayMemory(bool show) override { main_.SetDisplayMemory(show); }
    void SetHideBarGraph(bool hide) override { main_.SetHideBarGraph(hide); }
    void SetAutoHideControls(bool on) override { main_.SetAutoHideControls(on); }
    void SetAppTrayMode(bool mode) override {
        main_.SetAppTrayMode(mode, false);
        // Showing the monitor window brings it to the front; the user goes on in the dialog.
        if (dialog_.Visible()) {
            ::SetForegroundWindow(dialog_.Hwnd());
        }
    }
    void SetTransparency(bool on) override { main_.SetTransparency(on); }
    void SetAlphaBlend(bool on) override { main_.SetAlphaBlend(on, main_.AlphaBlendValue()); }
    void SetAlphaBlendValue(std::uint8_t value) override { main_.SetAlphaBlend(main_.AlphaBlendOn(), value); }
    void SetGraphLineWidth(bool thicker) override { main_.SetGraphLineWidth(thicker); }
    void SetBackgroundColor(config::Color color) override { main_.SetBackgroundColor(ToColorRef(color)); }
    void SetSeriesColor(int series, config::Color color) override {
        main_.Chart().SetSeriesColor(series, ToColorRef(color));
    }
    void SetBarColor(config::Color color) override { main_.Gauge().SetForeColor(ToColorRef(color)); }
    void SetTextColor(config::Color color) override { main_.SetTextColor(ToColorRef(color)); }
    int SetWindowWidth(int width) override { return main_.SetWindowWidth(width); }
    int SetWindowHeight(int height) override { return main_.SetWindowHeight(height); }
    // Sent messages only: the sampling thread's display step waits in one; input and posted
    // messages keep their turn in the message loop.
    void RunPendingMessages() override {
        MSG message{};
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    void ClearSeries(int series) override { main_.Chart().Clear(series); }
    void RegisterAppModeHotkey() override { main_.RegisterAppModeHotkey(); }

private:
    TForm_Main& main_;
    const Form& dialog_;
};

} // namespace

TForm_Settings::TForm_Settings(TForm_Main& mainForm)
    : monitor_(std::make_unique<MainFormLink>(mainForm, *this)), model_(*monitor_) {}

// The window goes first: its edits call back into the spin edits until they are destroyed.
TForm_Settings::~TForm_Settings() {
    DestroyHwnd();
}

bool TForm_Settings::Create(HWND owner) {
    FormSetup setup;
    setup.className = ids::kFormSettings;
    setup.caption = texts::settings::kCaption;
    setup.clientWidth = kDesignWidth;
    setup.clientHeight = kDesignHeight;
    setup.owner = owner;
    return Form::Create(setup);
}

bool TForm_Settings::CreateControls() {
    tabs_ = CreateChild(Hwnd(), WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS | TCS_FIXEDWIDTH,
                        ids::kPageControl_Settings);
    if (tabs_ == nullptr) {
        return false;
    }
    for (int page = 0; page < ui::kSettingsPageCount; ++page) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(ui::kSettingsPageNames[static_cast<std::size_t>(page)]);
        ::SendMessageW(tabs_, TCM_INSERTITEMW, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));
    }
    if (!CreatePages() || !CreatePageControls()) {
        return false;
    }
    const HWND hint = CreateChild(Hwnd(), WC_STATICW, texts::settings::kHint, SS_CENTER | SS_NOPREFIX,
                                  ids::kStaticText_Hint);
    CreateToolTips();
    return hint != nullptr;
}

bool TForm_Settings::CreatePages() {
    for (std::size_t page = 0; page < pages_.size(); ++page) {
        pages_[page] =
            ::CreateDialogIndirectParamW(ThisModule(), &kPageTemplate.header, Hwnd(), &PageProc, 0);
        if (pages_[page] == nullptr) {
            return false;
        }
        ::SetWindowLongPtrW(pages_[page], GWLP_ID, kPageIds[page]);
        // Check boxes, labels and track bars then draw on the tab's themed background.
        ::EnableThemeDialogTexture(pages_[page], ETDT_ENABLETAB);
    }
    return true;
}

// Each page's controls in tab order.
bool TForm_Settings::CreatePageControls() {
    const auto page = [this](SettingsPage p) { return pages_[static_cast<std::size_t>(p)]; };
    bool created = true;
    const auto made = [&created](HWND control) {
        created = created && control != nullptr;
        return control;
    };
    const auto checkBoxes = [&](SettingsPage p) {
        for (const ui::SettingsCheckBox& box : kSettingsCheckBoxes) {
            if (box.page == p && box.id != ids::kCheckBox_TrayMode) {
                made(CreateChild(page(p), WC_BUTTONW, box.caption, BS_AUTOCHECKBOX | WS_TABSTOP, box.id));
            }
        }
    };

    const HWND general = page(SettingsPage::General);
    checkBoxes(SettingsPage::General);
    made(CreateChild(general, WC_BUTTONW, texts::settings::kGroupAppMode, BS_GROUPBOX,
                     ids::kGroupBox_AppMode));
    made(CreateChild(general, WC_BUTTONW, texts::settings::kTrayMode, BS_AUTOCHECKBOX | WS_TABSTOP,
                     ids::kCheckBox_TrayMode));
    made(CreateChild(general, WC_STATICW, texts::settings::kFastSwitchHotkey, SS_LEFT,
                     ids::kLabel_FastSwitchHotkey));
    const HWND hotkey = made(CreateChild(general, HOTKEY_CLASSW, L"", WS_TABSTOP,
                                         ids::kHotKey_FastSwitchAppMode, WS_EX_CLIENTEDGE));
    // A key without Ctrl or Alt would take it from every program: such keys get Alt added.
    ::SendMessageW(hotkey, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_ALT, 0));

    const HWND display = page(SettingsPage::Display);
    checkBoxes(SettingsPage::Display);
    made(CreateChild(display, WC_BUTTONW, texts::settings::kGroupMainWindowSize, BS_GROUPBOX,
                     ids::kGroupBox_MainWindowSize));
    for (std::size_t i = 0; i < kSettingsSpinEdits.size(); ++i) {
        const ui::SettingsSpinEdit& field = kSettingsSpinEdits[i];
        made(CreateChild(display, WC_STATICW, field.label, SS_LEFT, field.labelId));
        created = created && spinEdits_[i].Create(display, {field.id, field.upDownId, field.minimum,
                                                            field.maximum, ui::kSpinEditMaxChars});
    }

    const HWND colors = page(SettingsPage::Colors);
    for (std::size_t i = 0; i < kSettingsColorBoxes.size(); ++i) {
        const ui::SettingsColorBox& box = kSettingsColorBoxes[i];
        if (box.labelId != 0) {
            made(CreateChild(colors, WC_STATICW, box.label, SS_LEFT, box.labelId));
        }
        created = created && colorBoxes_[i].Create(colors, box.id);
    }

    const HWND extended = page(SettingsPage::Extended);
    for (const ui::SettingsTrackBar& bar : kSettingsTrackBars) {
        made(CreateChild(extended, WC_BUTTONW, bar.group, BS_GROUPBOX, bar.groupId));
        made(CreateChild(extended, WC_STATICW, L"", SS_RIGHT | SS_NOPREFIX, bar.valueLabelId));
        // Horizontal with the ticks below, the defaults.
        const HWND track =
            made(CreateChild(extended, TRACKBAR_CLASSW, L"", WS_TABSTOP | TBS_AUTOTICKS, bar.id));
        ::SendMessageW(track, TBM_SETRANGEMIN, FALSE, bar.minimum);
        ::SendMessageW(track, TBM_SETRANGEMAX, FALSE, bar.maximum);
        ::SendMessageW(track, TBM_SETTICFREQ, static_cast<WPARAM>(bar.tick), 0);
        ::SendMessageW(track, TBM_SETLINESIZE, 0, bar.lineSize);
        ::SendMessageW(track, TBM_SETPAGESIZE, 0, bar.pageSize);
        made(CreateChild(extended, WC_STATICW, bar.unit, SS_LEFT | SS_NOPREFIX, bar.unitLabelId));
    }
    return created;
}

void TForm_Settings::CreateToolTips() {
    toolTips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr, ThisModule(), nullptr);
    if (toolTips_ == nullptr) {
        return;
    }
    ::SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, Scale(kTipWidth));
    const auto add = [this](HWND control, const wchar_t* tip) {
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = ::GetParent(control);
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = const_cast<wchar_t*>(tip);
        ::SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    };
    add(Control(ids::kHotKey_FastSwitchAppMode), texts::settings::kTipHotkey);
    for (const SpinEdit& field : spinEdits_) {
        const bool width = ::GetDlgCtrlID(field.Edit()) == ids::kSpinEdit_MainWindowWidth;
        add(field.Edit(), width ? texts::settings::kTipWidth : texts::settings::kTipHeight);
        add(field.UpDown(), width ? texts::settings::kTipWidth : texts::settings::kTipHeight);
    }
    for (const ui::SettingsTrackBar& bar : kSettingsTrackBars) {
        add(Control(bar.id), bar.tip);
    }
}

void TForm_Settings::LayoutControls() {
    const auto place = [this](HWND control, int x, int y, int width, int height) {
        ::SetWindowPos(control, nullptr, Scale(x), Scale(y), Scale(width), Scale(height),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    };
    const auto scaled = [this](int x, int y, int width, int height) {
        return RECT{Scale(x), Scale(y), Scale(x + width), Scale(y + height)};
    };
    place(tabs_, kTabArea.left, kTabArea.top, kTabArea.right - kTabArea.left, kTabArea.bottom - kTabArea.top);
    ::SendMessageW(tabs_, TCM_SETITEMSIZE, 0, MAKELPARAM(Scale(kTabWidth), Scale(kTabHeight)));
    place(::GetDlgItem(Hwnd(), ids::kStaticText_Hint), kHintArea.left, kHintArea.top,
          kHintArea.right - kHintArea.left, kHintArea.bottom - kHintArea.top);

    // The pages fill the tab control's display area.
    RECT area{};
    ::GetClientRect(tabs_, &area);
    ::SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    ::MapWindowPoints(tabs_, Hwnd(), reinterpret_cast<POINT*>(&area), 2);
    for (const HWND page : pages_) {
        ::SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The page's width in design units, for what lines up with its right edge.
    const int width = ::MulDiv(area.right - area.left, kDesignDpi, Dpi());
    const int inner = width - 2 * kMargin;

    // "General" and "Display": eight boxes, then a group.
    for (const SettingsPage p : {SettingsPage::General, SettingsPage::Display}) {
        int row = 0;
        for (const ui::SettingsCheckBox& box : kSettingsCheckBoxes) {
            if (box.page == p && box.id != ids::kCheckBox_TrayMode) {
                place(Control(box.id), kMargin + 2, kMargin + row++ * kCheckPitch, inner - 2, kRowHeight);
            }
        }
    }
    place(Control(ids::kGroupBox_AppMode), kMargin, kGroupTop, inner, 84);
    place(Control(ids::kCheckBox_TrayMode), kMargin + 12, kGroupTop + 20, inner - 24, kRowHeight);
    place(Control(ids::kLabel_FastSwitchHotkey), kMargin + 12, kGroupTop + 53, 112, 16);
    place(Control(ids::kHotKey_FastSwitchAppMode), kMargin + 126, kGroupTop + 49, inner - 138, kFieldHeight);

    place(Control(ids::kGroupBox_MainWindowSize), kMargin, kGroupTop, inner, 60);
    for (std::size_t i = 0; i < spinEdits_.size(); ++i) {
        const int left = kMargin + 12 + static_cast<int>(i) * 136;
        place(Control(kSettingsSpinEdits[i].labelId), left, kGroupTop + 27, 46, 16);
        spinEdits_[i].SetBounds(scaled(left + 48, kGroupTop + 23, 66, kFieldHeight));
    }

    // "Colors": a label column and a column of boxes.
    for (std::size_t i = 0; i < colorBoxes_.size(); ++i) {
        const int top = kColorRows[i];
        if (kSettingsColorBoxes[i].labelId != 0) {
            place(Control(kSettingsColorBoxes[i].labelId), kMargin + 2, top + 5, kColorLabelWidth, 16);
        }
        const int left = kMargin + kColorLabelWidth + 6;
        colorBoxes_[i].SetBounds(scaled(left, top, width - kMargin - left, kColorItemHeight + 6),
                                 Scale(kColorItemHeight));
    }

    // "Extended": value, track bar and unit in a row inside each group.
    for (std::size_t i = 0; i < kSettingsTrackBars.size(); ++i) {
        const ui::SettingsTrackBar& bar = kSettingsTrackBars[i];
        const int top = kMargin + static_cast<int>(i) * kTrackGroupPitch;
        constexpr int kValueWidth = 34;
        constexpr int kUnitWidth = 84;
        place(Control(bar.groupId), kMargin, top, inner, kTrackGroupHeight);
        place(Control(bar.valueLabelId), kMargin + 8, top + 38, kValueWidth, 16);
        place(Control(bar.id), kMargin + 8 + kValueWidth + 4, top + 27, inner - 24 - kValueWidth - kUnitWidth,
              36);
        place(Control(bar.unitLabelId), width - kMargin - 8 - kUnitWidth, top + 38, kUnitWidth, 16);
    }
}

// Another monitor scale: the controls took the new dialog font; the places and the tip width again.
void TForm_Settings::FormDpiChanged() {
    ::SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, Scale(kTipWidth));
    LayoutControls();
}

void TForm_Settings::FormCreate() {
    // The hot-key control comes with a font of its own, the system's; it writes in the dialog's.
    ::SendMessageW(Control(ids::kHotKey_FastSwitchAppMode), WM_SETFONT,
                   reinterpret_cast<WPARAM>(DialogFont()), FALSE);
    // After the dialog font is in place: the tabs' display area depends on it.
    LayoutControls();
    SelectPage(0);
}

// Loads every control; the guard keeps the change handlers from applying what they are given.
void TForm_Settings::FormShow() {
    const ui::SettingsValues values = model_.Load();
    const ui::SettingsModel::LoadGuard guard(model_);
    for (std::size_t i = 0; i < kSettingsCheckBoxes.size(); ++i) {
        ::SendMessageW(Control(kSettingsCheckBoxes[i].id), BM_SETCHECK,
                       values.checks[i] ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    ::SendMessageW(Control(ids::kHotKey_FastSwitchAppMode), HKM_SETHOTKEY, values.hotkey, 0);
    for (std::size_t i = 0; i < spinEdits_.size(); ++i) {
        spinEdits_[i].SetText(std::to_wstring(values.sizes[i]));
    }
    for (std::size_t i = 0; i < colorBoxes_.size(); ++i) {
        colorBoxes_[i].SetColor(ToColorRef(values.colors[i]));
    }
    for (std::size_t i = 0; i < kSettingsTrackBars.size(); ++i) {
        const ui::SettingsTrackBar& bar = kSettingsTrackBars[i];
        ::SendMessageW(Control(bar.id), TBM_SETPOS, TRUE, values.positions[i]);
        shownPositions_[i] = values.positions[i];
        SetText(bar.valueLabelId, model_.TrackBarChange(bar.id, values.positions[i]).c_str());
    }
}

void TForm_Settings::FormHide() {
    model_.FormHide();
}

HWND TForm_Settings::Control(int id) const {
    for (const HWND page : pages_) {
        if (const HWND control = ::GetDlgItem(page, id); control != nullptr) {
            return control;
        }
    }
    return ::GetDlgItem(Hwnd(), id);
}

void TForm_Settings::SetText(int id, const wchar_t* text) {
    ::SetWindowTextW(Control(id), text);
}

ColorBox* TForm_Settings::FindColorBox(int id) {
    const auto found = std::ranges::find(kSettingsColorBoxes, id, &ui::SettingsColorBox::id);
    return found == kSettingsColorBoxes.end()
               ? nullptr
               : &colorBoxes_[static_cast<std::size_t>(found - kSettingsColorBoxes.begin())];
}

SpinEdit* TForm_Settings::FindSpinEdit(int id) {
    for (std::size_t i = 0; i < kSettingsSpinEdits.size(); ++i) {
        if (kSettingsSpinEdits[i].id == id || kSettingsSpinEdits[i].upDownId == id) {
            return &spinEdits_[i];
        }
    }
    return nullptr;
}

void TForm_Settings::SelectPage(int page) {
    page = std::clamp(page, 0, ui::kSettingsPageCount - 1);
    const HWND focus = ::GetFocus();
    const bool focusOnPage =
        focus != nullptr && ::IsChild(pages_[static_cast<std::size_t>(activePage_)], focus);
    activePage_ = page;
    if (::SendMessageW(tabs_, TCM_GETCURSEL, 0, 0) != page) {
        ::SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    }
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        ::ShowWindow(pages_[i], static_cast<int>(i) == page ? SW_SHOWNA : SW_HIDE);
    }
    // The keyboard follows to the new page when it was on the old one.
    if (focusOnPage) {
        if (const HWND first = ::GetNextDlgTabItem(pages_[static_cast<std::size_t>(page)], nullptr, FALSE)) {
            ::SetFocus(first);
        }
    }
}

bool TForm_Settings::PreTranslateDialogKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || ::GetKeyState(VK_CONTROL) >= 0 || ::GetKeyState(VK_MENU) < 0 ||
        (message.hwnd != Hwnd() && ::IsChild(Hwnd(), message.hwnd) == FALSE)) {
        return false;
    }
    int step = 0;
    switch (message.wParam) {
    case VK_TAB:
        step = ::GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
        break;
    case VK_NEXT:
        step = 1;
        break;
    case VK_PRIOR:
        step = -1;
        break;
    default:
        return false;
    }
    SelectPage((activePage_ + step + ui::kSettingsPageCount) % ui::kSettingsPageCount);
    return true;
}

// A mnemonic of a label or group moves the focus to the control after it, as in a dialog.
void TForm_Settings::OnNextDialogControl(WPARAM wParam, LPARAM lParam) {
    const HWND target = LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam)
                                            : ::GetNextDlgTabItem(Hwnd(), ::GetFocus(), wParam != 0);
    if (target == nullptr) {
        return;
    }
    ::SetFocus(target);
    if ((::SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) {
        ::SendMessageW(target, EM_SETSEL, 0, -1);
    }
}

// The control that had the keyboard gets it back when the dialog is active again, as in a
// system dialog; the first time it is the tab strip.
void TForm_Settings::OnActivate(bool active) {
    if (!active) {
        const HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(Hwnd(), focus) != FALSE) {
            lastFocus_ = focus;
        }
        return;
    }
    const bool usable = lastFocus_ != nullptr && ::IsChild(Hwnd(), lastFocus_) != FALSE &&
                        ::IsWindowVisible(lastFocus_) != FALSE && ::IsWindowEnabled(lastFocus_) != FALSE;
    ::SetFocus(usable ? lastFocus_ : tabs_);
}

LRESULT TForm_Settings::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NEXTDLGCTL:
        OnNextDialogControl(wParam, lParam);
        return 0;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_COMBOBOX) {
            item.itemHeight = static_cast<UINT>(Scale(kColorItemHeight));
        }
        return TRUE;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (ColorBox* box = FindColorBox(static_cast<int>(item.CtlID))) {
            box->DrawItem(item);
        }
        return TRUE;
    }
    default:
        return Form::OnMessage(message, wParam, lParam);
    }
}

void TForm_Settings::OnCommand(int id, int code, HWND control) {
    if (id == IDOK && control == nullptr) {
        Hide(); // Enter: every change is made already
        return;
    }
    if (FindColorBox(id) != nullptr) {
        ColorBoxChange(id, code);
    } else if (FindSpinEdit(id) != nullptr) {
        if (code == EN_CHANGE) {
            SpinEditChange(id);
        } else if (code == EN_KILLFOCUS) {
            SpinEditExit(id);
        }
    } else if (id == ids::kHotKey_FastSwitchAppMode) {
        if (code == EN_CHANGE) {
            HotKey_FastSwitchAppModeChange();
        }
    } else if (code == BN_CLICKED && std::ranges::find(kSettingsCheckBoxes, id, &ui::SettingsCheckBox::id) !=
                                         kSettingsCheckBoxes.end()) {
        CheckBoxClick(id);
    } else {
        Form::OnCommand(id, code, control);
    }
}

LRESULT TForm_Settings::OnNotify(int id, NMHDR& header) {
    if (id == ids::kPageControl_Settings && header.code == TCN_SELCHANGE) {
        PageControl_SettingsChange();
        return 0;
    }
    if (header.code == UDN_DELTAPOS) {
        if (SpinEdit* field = FindSpinEdit(id)) {
            return field->OnDeltaPos(*reinterpret_cast<NMUPDOWN*>(&header));
        }
    }
    return Form::OnNotify(id, header);
}

void TForm_Settings::OnHScroll(HWND control, int code) {
    if (control != nullptr && std::ranges::find(kSettingsTrackBars, ::GetDlgCtrlID(control),
                                                &ui::SettingsTrackBar::id) != kSettingsTrackBars.end()) {
        TrackBarChange(control);
        return;
    }
    Form::OnHScroll(control, code);
}

void TForm_Settings::CheckBoxClick(int id) {
    const HWND box = Control(id);
    const bool checked = ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    const bool shown = model_.CheckBoxClick(id, checked);
    if (shown != checked) {
        // Auto run: the box shows the registration as it is, without running this again.
        const ui::SettingsModel::LoadGuard guard(model_);
        ::SendMessageW(box, BM_SETCHECK, shown ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void TForm_Settings::HotKey_FastSwitchAppModeChange() {
    const auto value = static_cast<std::uint16_t>(
        ::SendMessageW(Control(ids::kHotKey_FastSwitchAppMode), HKM_GETHOTKEY, 0, 0));
    model_.HotKey_FastSwitchAppModeChange(value);
}

void TForm_Settings::SpinEditChange(int id) {
    SpinEdit& field = *FindSpinEdit(id);
    field.TextChanged();
    model_.SpinEditChange(id, field.Text());
}

// Leaving a field that holds no size in range shows the size the window has.
void TForm_Settings::SpinEditExit(int id) {
    SpinEdit& field = *FindSpinEdit(id);
    const std::wstring text = model_.SpinEditText(id);
    if (field.Text() != text) {
        const ui::SettingsModel::LoadGuard guard(model_);
        field.SetText(text);
    }
}

void TForm_Settings::ColorBoxChange(int id, int code) {
    if (const std::optional<COLORREF> color = FindColorBox(id)->OnCommand(code, Hwnd())) {
        model_.ColorBoxChange(id, static_cast<config::Color>(*color));
    }
}

void TForm_Settings::TrackBarChange(HWND trackBar) {
    const int id = ::GetDlgCtrlID(trackBar);
    const auto index = static_cast<std::size_t>(
        std::ranges::find(kSettingsTrackBars, id, &ui::SettingsTrackBar::id) - kSettingsTrackBars.begin());
    const int position = static_cast<int>(::SendMessageW(trackBar, TBM_GETPOS, 0, 0));
    // Every drag and key sends several notifications for one position.
    if (position == shownPositions_[index]) {
        return;
    }
    shownPositions_[index] = position;
    SetText(kSettingsTrackBars[index].valueLabelId, model_.TrackBarChange(id, position).c_str());
}

void TForm_Settings::PageControl_SettingsChange() {
    SelectPage(static_cast<int>(::SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)));
}

} // namespace quelmo::gui
