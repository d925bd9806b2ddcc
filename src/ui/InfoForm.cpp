#include "platform/win32/Dib.h"
#include "ui/InfoForm.h"

#include "cpuid/CpuValues.h"
#include "platform/win32/LocaleText.h"
#include "ui/AvailabilityIconModel.h"
#include "ui/ControlIds.h"
#include "ui/InfoFormTexts.h"
#include "ui/InfoPages.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace quelmo::gui {

namespace {

// The client area and the layout, in design units.
constexpr int kDesignWidth = 537;
constexpr int kDesignHeight = 508;
constexpr int kMargin = 8;
constexpr int kLabelHeight = 14;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kFeaturesBorder = 8;
constexpr int kPanelFeaturesHeight = 49;
constexpr int kLabelGap = 6;
constexpr int kComboWidth = 250;
constexpr int kComboDropHeight = 200;
constexpr int kAvailableLabelTop = 31;
constexpr int kSplitterWidth = 5;
constexpr int kTreeWidth = 230;
// The splitter leaves at least this much to each pane.
constexpr int kMinTreeWidth = 80;
constexpr int kMinListWidth = 120;
// 8 points at 96 DPI.
constexpr int kFontHeight = 11;
// Room around a value's text in its column.
constexpr int kCellPadding = 14;

constexpr int kFeatureColumns[] = {25, 60, 90, 290}; // picture, Index, Mnemonic, Description
constexpr int kPropertyColumn = 120;

constexpr int kPageFeatures = 0;
constexpr int kPageExplorer = 1;

// The worker's "clock measured" message to the window.
constexpr UINT kClockMeasured = WM_APP + 12;

constexpr wchar_t kPreferredFont[] = L"Tahoma";
constexpr wchar_t kFallbackFont[] = L"Arial";

// The window's texts hold one character per byte (Latin-1).
std::wstring Widen(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (const char c : text) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    return wide;
}

void SetText(HWND window, std::string_view text) {
    ::SetWindowTextW(window, Widen(text).c_str());
}

int CALLBACK NoteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FontInstalled(const wchar_t* face) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
    const win32::UniqueWindowDc screen = win32::GetWindowDc(nullptr);
    bool found = false;
    ::EnumFontFamiliesExW(screen.Get(), &query, &NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

BOOL CALLBACK SetFontOf(HWND child, LPARAM font) {
    ::SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}

// A picture of the availability column as an icon with its alpha channel, and a mask for
// drawing without one.
win32::UniqueIcon CreateAvailabilityIcon(ui::Availability kind, int size) {
    const ui::IconPixels pixels = ui::DrawAvailabilityIcon(kind, size);
    std::uint32_t* bits = nullptr;
    const win32::UniqueBitmap color = win32::CreateTopDownDib(pixels.size, pixels.size, &bits);
    if (bits == nullptr) {
        return {};
    }
    // 0xAARRGGBB in memory is the blue, green, red, alpha order of a 32-bit DIB.
    std::copy(pixels.argb.begin(), pixels.argb.end(), bits);
    ::GdiFlush();
    // The mask's rows are whole 16-bit words; a set bit lets the background show.
    const int stride = ((pixels.size + 15) / 16) * 2;
    std::vector<BYTE> mask(static_cast<std::size_t>(stride * pixels.size), 0);
    for (int y = 0; y < pixels.size; ++y) {
        for (int x = 0; x < pixels.size; ++x) {
            if ((pixels.argb[static_cast<std::size_t>(y * pixels.size + x)] >> 24) < 0x80) {
                mask[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
            }
        }
    }
    const win32::UniqueBitmap maskBitmap(::CreateBitmap(pixels.size, pixels.size, 1, 1, mask.data()));
    ICONINFO icon{TRUE, 0, 0, maskBitmap.Get(), color.Get()};
    return win32::UniqueIcon(::CreateIconIndirect(&icon));
}

HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, HWND parent, int id,
                 DWORD exStyle = 0) {
    return ::CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), nullptr);
}

// The width of a control's text in its font.
int TextWidth(HWND control) {
    wchar_t text[128] = {};
    const int length = ::GetWindowTextW(control, text, static_cast<int>(std::size(text)));
    const win32::UniqueWindowDc dc = win32::GetWindowDc(control);
    const win32::ScopedSelectObject font(
        dc.Get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc.Get(), text, length, &size);
    return size.cx;
}

void Place(HWND window, int left, int top, int width, int height) {
    ::SetWindowPos(window, nullptr, left, top, std::max(width, 0), std::max(height, 0),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void AddColumn(HWND listView, int index, std::string_view caption) {
    const std::wstring text = Widen(caption);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(text.c_str());
    column.iSubItem = index;
    ::SendMessageW(listView, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&column));
}

void SetColumnWidth(HWND listView, int index, int width) {
    ::SendMessageW(listView, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index), MAKELPARAM(width, 0));
}

int ColumnWidth(HWND listView, int index) {
    return static_cast<int>(::SendMessageW(listView, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index), 0));
}

void SetSubItemText(HWND listView, int item, int subItem, const std::wstring& text) {
    LVITEMW cell{};
    cell.iSubItem = subItem;
    cell.pszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(listView, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
}

// Appends a row: the first column's text and picture (-1: none), then the other columns.
void AppendRow(HWND listView, const std::wstring& first, int image,
               std::initializer_list<std::wstring> rest) {
    LVITEMW row{};
    row.mask = LVIF_TEXT | (image >= 0 ? LVIF_IMAGE : 0);
    row.iItem = static_cast<int>(::SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
    row.pszText = const_cast<wchar_t*>(first.c_str());
    row.iImage = image;
    const int item =
        static_cast<int>(::SendMessageW(listView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
    int subItem = 1;
    for (const std::wstring& text : rest) {
        SetSubItemText(listView, item, subItem++, text);
    }
}

void InsertNodes(HWND tree, HTREEITEM parent, const std::vector<ui::InfoNode>& nodes) {
    for (const ui::InfoNode& node : nodes) {
        const std::wstring caption = Widen(node.caption);
        TVINSERTSTRUCTW insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<wchar_t*>(caption.c_str());
        insert.item.lParam = node.code; // a page is a function of this code alone
        const auto item = reinterpret_cast<HTREEITEM>(
            ::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        if (item == nullptr) {
            continue;
        }
        InsertNodes(tree, item, node.children);
        if (!node.children.empty()) {
            ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        }
    }
}

// Lets the window under the pointer choose the cursor again (after the measuring cursor ends).
void RefreshCursor(HWND form) {
    POINT at{};
    ::GetCursorPos(&at);
    const HWND under = ::WindowFromPoint(at);
    if (under == nullptr || (under != form && ::IsChild(form, under) == FALSE)) {
        return;
    }
    const LRESULT hit = ::SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    ::SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
}

} // namespace

ScopedControlUpdate::ScopedControlUpdate(HWND control)
    : control_(control), savedCursor_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {
    ::SendMessageW(control_, WM_SETREDRAW, FALSE, 0);
}

ScopedControlUpdate::~ScopedControlUpdate() {
    ::SendMessageW(control_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(control_, nullptr, TRUE);
    ::SetCursor(savedCursor_);
}

TListviewUpdate::TListviewUpdate(HWND listView, bool clear) : update_(listView) {
    if (clear) {
        ::SendMessageW(listView, LVM_DELETEALLITEMS, 0, 0);
    }
}

TForm_Info::TForm_Info()
    : treeWidth_(kTreeWidth),
      clock_(&ui::MeasureClockText, [this] { ::PostMessageW(clockWindow_, kClockMeasured, 0, 0); }) {}

TForm_Info::~TForm_Info() {
    clock_.Stop(); // no answer is posted to a window that is going
    DestroyHwnd(); // before the font and pictures its controls use
}

bool TForm_Info::Create(HWND owner) {
    const std::wstring caption = Widen(texts::kInfoCaption);
    FormSetup setup;
    setup.className = ids::kFormInfo;
    setup.caption = caption.c_str();
    setup.clientWidth = kDesignWidth;
    setup.clientHeight = kDesignHeight;
    setup.owner = owner;
    return Form::Create(setup); // runs CreateControls and FormCreate
}

bool TForm_Info::CreateControls() {
    const HWND form = Hwnd();
    clockWindow_ = form;
    // A child made earlier lies above its later siblings: the pages come before the tab control,
    // so they get the clicks and it does not paint over them.
    if (!tsFeatures_.Create(form, ids::kTS_Features, {}) ||
        !tsExplorer_.Create(form, ids::kTS_Explorer, {}, false) ||
        !panelFeatures_.Create(tsFeatures_.Hwnd(), ids::kPanel_Features, {})) {
        return false;
    }
    labelFeatureSet_ =
        CreateChild(WC_STATICW, Widen(texts::kInfoFeatureSetLabel).c_str(), SS_NOPREFIX | SS_LEFTNOWORDWRAP,
                    panelFeatures_.Hwnd(), ids::kLabel_FeatureSet);
    cbActiveSet_ = CreateChild(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                               panelFeatures_.Hwnd(), ids::kcbActiveSet);
    for (const std::string_view choice : ui::FeatureSetChoices()) {
        ::SendMessageW(cbActiveSet_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(choice).c_str()));
    }
    ::SendMessageW(cbActiveSet_, CB_SETCURSEL, 0, 0);
    labelAvailableFeatures_ = CreateChild(WC_STATICW, Widen(texts::kInfoAvailableFeaturesDesign).c_str(),
                                          SS_NOPREFIX, panelFeatures_.Hwnd(), ids::kLabel_AvailableFeatures);
    lvStandard_ = CreateChild(
        WC_LISTVIEWW, L"", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_TABSTOP,
        tsFeatures_.Hwnd(), ids::klvStandard, WS_EX_CLIENTEDGE);
    tvNavigation_ = CreateChild(
        WC_TREEVIEWW, L"", TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP,
        tsExplorer_.Hwnd(), ids::ktvNavigation, WS_EX_CLIENTEDGE);
    if (!splitter1_.Create(tsExplorer_.Hwnd(), ids::kSplitter1, {},
                           [this](int left) { Splitter1Moved(left); })) {
        return false;
    }
    lvInformation_ =
        CreateChild(WC_LISTVIEWW, L"", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
                    tsExplorer_.Hwnd(), ids::klvInformation, WS_EX_CLIENTEDGE);
    pageControl_ = CreateChild(WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, form, ids::kPageControl);
    labelPoweredBy_ = CreateChild(WC_STATICW, Widen(texts::kInfoPoweredBy).c_str(),
                                  SS_NOPREFIX | SS_LEFTNOWORDWRAP, form, ids::kLabel_PoweredBy);
    labelVersion_ = CreateChild(WC_STATICW, Widen(texts::kInfoVersionDesign).c_str(), SS_NOPREFIX, form,
                                ids::kLabel_InfoVersion);
    buttonClose_ = CreateChild(WC_BUTTONW, Widen(texts::kInfoClose).c_str(), BS_PUSHBUTTON | WS_TABSTOP, form,
                               ids::kButton_Close);
    for (const HWND control :
         {labelFeatureSet_, cbActiveSet_, labelAvailableFeatures_, lvStandard_, tvNavigation_, lvInformation_,
          pageControl_, labelPoweredBy_, labelVersion_, buttonClose_}) {
        if (control == nullptr) {
            return false;
        }
    }

    int page = 0;
    for (const std::string_view caption : {texts::kInfoTabFeatures, texts::kInfoTabExplorer}) {
        std::wstring text = Widen(caption);
        TCITEMW tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = text.data();
        ::SendMessageW(pageControl_, TCM_INSERTITEMW, static_cast<WPARAM>(page++),
                       reinterpret_cast<LPARAM>(&tab));
    }
    constexpr DWORD kListStyle = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
    for (const HWND list : {lvStandard_, lvInformation_}) {
        ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, kListStyle, kListStyle);
    }
    ::SendMessageW(tvNavigation_, TVM_SETEXTENDEDSTYLE, TVS_EX_DOUBLEBUFFER, TVS_EX_DOUBLEBUFFER);
    // The widths come with the layout.
    AddColumn(lvStandard_, 0, {});
    AddColumn(lvStandard_, 1, texts::kInfoColumnIndex);
    AddColumn(lvStandard_, 2, texts::kInfoColumnMnemonic);
    AddColumn(lvStandard_, 3, texts::kInfoColumnDescription);
    AddColumn(lvInformation_, 0, texts::kInfoColumnProperty);
    AddColumn(lvInformation_, 1, texts::kInfoColumnValue);
    CreateImages();
    LayoutControls();
    return true;
}

void TForm_Info::FormCreate() {
    CreateFonts();
    LayoutControls(); // the labels take the width of their texts in the new font
    SetNumberSeparators();
    BuildTree();
    FillFeatureList(static_cast<std::uint8_t>(::SendMessageW(cbActiveSet_, CB_GETCURSEL, 0, 0) + 1));
    SetText(labelVersion_, ui::VersionCaption(texts::kInfoVersionDesign));
    ActivatePage(kPageFeatures);
}

// As a dialog does: the keyboard comes back to the control it left, at first the tabs.
void TForm_Info::OnActivate(bool active) {
    if (!active) {
        const HWND focus = ::GetFocus();
        lastFocus_ = focus != nullptr && ::IsChild(Hwnd(), focus) != FALSE ? focus : nullptr;
        return;
    }
    ::SetFocus(lastFocus_ != nullptr && ::IsWindow(lastFocus_) != FALSE ? lastFocus_ : pageControl_);
}

// The library's sizes and clocks use the user's separators, as quelmo-cpuinfo does.
void TForm_Info::SetNumberSeparators() {
    SetCpuNumberSeparators(
        {win32::LocaleLatin1(LOCALE_SDECIMAL, "."), win32::LocaleLatin1(LOCALE_STHOUSAND, " ")});
}

// Another monitor scale: fonts, the availability pictures and the places again.
void TForm_Info::FormDpiChanged() {
    CreateFonts();
    CreateImages();
    LayoutControls();
}

void TForm_Info::CreateFonts() {
    const wchar_t* face = FontInstalled(kPreferredFont) ? kPreferredFont : kFallbackFont;
    win32::UniqueFont font(::CreateFontW(-Scale(kFontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
    if (!font) {
        return; // the controls keep the dialog font
    }
    ::EnumChildWindows(Hwnd(), &SetFontOf, reinterpret_cast<LPARAM>(font.Get()));
    font_ = std::move(font); // the old font goes only now that no control uses it
}

void TForm_Info::CreateImages() {
    const int size = Scale(ui::kAvailabilityIconDesignSize);
    win32::UniqueImageList images(::ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 2, 0));
    for (const ui::Availability kind : {ui::Availability::Absent, ui::Availability::Present}) {
        const win32::UniqueIcon icon = CreateAvailabilityIcon(kind, size);
        ::ImageList_ReplaceIcon(images.Get(), -1, icon.Get());
    }
    ::SendMessageW(lvStandard_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images.Get()));
    ilAvailable_ = std::move(images);
}

void TForm_Info::LayoutControls() {
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    const int margin = Scale(kMargin);
    const int buttonTop = client.bottom - margin - Scale(kButtonHeight);
    Place(buttonClose_, client.right - margin - Scale(kButtonWidth), buttonTop, Scale(kButtonWidth),
          Scale(kButtonHeight));
    const int labelWidth = client.right - 3 * margin - Scale(kButtonWidth);
    const int versionTop = buttonTop + (Scale(kButtonHeight) - Scale(kLabelHeight)) / 2;
    Place(labelVersion_, margin, versionTop, labelWidth, Scale(kLabelHeight));
    const int poweredTop = versionTop - Scale(kLabelHeight) - Scale(3);
    Place(labelPoweredBy_, margin, poweredTop, labelWidth, Scale(kLabelHeight));
    RECT tabs{margin, margin, client.right - margin, poweredTop - margin};
    Place(pageControl_, tabs.left, tabs.top, tabs.right - tabs.left, tabs.bottom - tabs.top);

    // The pages fill the tab control's display area.
    RECT page = tabs;
    ::SendMessageW(pageControl_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    const int pageWidth = page.right - page.left;
    const int pageHeight = page.bottom - page.top;
    for (const HWND sheet : {tsFeatures_.Hwnd(), tsExplorer_.Hwnd()}) {
        Place(sheet, page.left, page.top, pageWidth, pageHeight);
    }

    const int border = Scale(kFeaturesBorder);
    const int innerWidth = pageWidth - 2 * border;
    Place(panelFeatures_.Hwnd(), border, border, innerWidth, Scale(kPanelFeaturesHeight));
    // "Feature set:" as wide as its text and level with the closed combo box beside it.
    const int labelTextWidth = TextWidth(labelFeatureSet_);
    Place(cbActiveSet_, labelTextWidth + Scale(kLabelGap), 0, Scale(kComboWidth), Scale(kComboDropHeight));
    RECT combo{};
    ::GetWindowRect(cbActiveSet_, &combo);
    Place(labelFeatureSet_, 0, (combo.bottom - combo.top - Scale(kLabelHeight)) / 2, labelTextWidth,
          Scale(kLabelHeight));
    Place(labelAvailableFeatures_, 0, Scale(kAvailableLabelTop), innerWidth, Scale(kLabelHeight));
    const int listTop = border + Scale(kPanelFeaturesHeight);
    Place(lvStandard_, border, listTop, innerWidth, pageHeight - listTop - border);
    for (int column = 0; column < 3; ++column) {
        SetColumnWidth(lvStandard_, column, Scale(kFeatureColumns[column]));
    }
    FitDescriptionColumn();
    SetColumnWidth(lvInformation_, 0, Scale(kPropertyColumn));
    LayoutExplorer();
}

// "Description" fills the rest of the feature list.
void TForm_Info::FitDescriptionColumn() {
    RECT client{};
    ::GetClientRect(lvStandard_, &client);
    int width = client.right;
    for (int column = 0; column < 3; ++column) {
        width -= ColumnWidth(lvStandard_, column);
    }
    width = std::max(width, Scale(kFeatureColumns[3]));
    if (width != ColumnWidth(lvStandard_, 3)) {
        SetColumnWidth(lvStandard_, 3, width);
    }
}

void TForm_Info::LayoutExplorer() {
    RECT page{};
    ::GetClientRect(tsExplorer_.Hwnd(), &page);
    const int tree = Scale(treeWidth_);
    const int bar = Scale(kSplitterWidth);
    Place(tvNavigation_, 0, 0, tree, page.bottom);
    Place(splitter1_.Hwnd(), tree, 0, bar, page.bottom);
    Place(lvInformation_, tree + bar, 0, page.right - tree - bar, page.bottom);
    FitValueColumn();
}

void TForm_Info::Splitter1Moved(int left) {
    RECT page{};
    ::GetClientRect(tsExplorer_.Hwnd(), &page);
    const int designPage = ::MulDiv(page.right, kDesignDpi, Dpi());
    const int designLeft = ::MulDiv(left, kDesignDpi, Dpi());
    const int widest = std::max(kMinTreeWidth, designPage - kSplitterWidth - kMinListWidth);
    const int width = std::clamp(designLeft, kMinTreeWidth, widest);
    if (width != treeWidth_) {
        treeWidth_ = width;
        LayoutExplorer();
    }
}

int TForm_Info::ActivePage() const {
    return static_cast<int>(::SendMessageW(pageControl_, TCM_GETCURSEL, 0, 0));
}

void TForm_Info::ActivatePage(int page) {
    ::SendMessageW(pageControl_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    PageControlChange();
}

void TForm_Info::PageControlChange() {
    const int page = ActivePage();
    // The page coming in is shown before the one going out is hidden: nothing blinks between.
    const HWND shown = page == kPageExplorer ? tsExplorer_.Hwnd() : tsFeatures_.Hwnd();
    const HWND hidden = page == kPageExplorer ? tsFeatures_.Hwnd() : tsExplorer_.Hwnd();
    ::ShowWindow(shown, SW_SHOW);
    ::ShowWindow(hidden, SW_HIDE);
}

void TForm_Info::BuildTree() {
    const ScopedControlUpdate update(tvNavigation_);
    ::SendMessageW(tvNavigation_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    InsertNodes(tvNavigation_, TVI_ROOT, ui::BuildInfoTree());
    // Selecting the first node ("Processor Count") fills the property list.
    const auto first =
        reinterpret_cast<HTREEITEM>(::SendMessageW(tvNavigation_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    ::SendMessageW(tvNavigation_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
}

void TForm_Info::FillFeatureList(std::uint8_t kind) {
    {
        const TListviewUpdate update(lvStandard_, true);
        const ui::FeatureList list = ui::BuildFeatureList(kind);
        SetText(labelAvailableFeatures_, list.label);
        for (const ui::FeatureRow& row : list.rows) {
            const auto image =
                static_cast<int>(row.available ? ui::Availability::Present : ui::Availability::Absent);
            AppendRow(lvStandard_, L"", image,
                      {std::to_wstring(row.bit), Widen(row.mnemonic), Widen(row.description)});
        }
    }
    FitDescriptionColumn(); // a scroll bar may have come or gone
}

void TForm_Info::AddPropertyRow(std::string_view caption, std::string_view value) {
    AppendRow(lvInformation_, Widen(caption), -1, {Widen(value)});
}

// "Value" fills the rest of the list, or is as wide as its widest text when that is wider.
void TForm_Info::FitValueColumn() {
    RECT client{};
    ::GetClientRect(lvInformation_, &client);
    int width = client.right - ColumnWidth(lvInformation_, 0);
    const int count = static_cast<int>(::SendMessageW(lvInformation_, LVM_GETITEMCOUNT, 0, 0));
    wchar_t text[256];
    for (int item = 0; item < count; ++item) {
        LVITEMW cell{};
        cell.iSubItem = 1;
        cell.pszText = text;
        cell.cchTextMax = static_cast<int>(std::size(text));
        ::SendMessageW(lvInformation_, LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                       reinterpret_cast<LPARAM>(&cell));
        const int textWidth = static_cast<int>(
            ::SendMessageW(lvInformation_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
        width = std::max(width, textWidth + Scale(kCellPadding));
    }
    if (width != ColumnWidth(lvInformation_, 1)) {
        SetColumnWidth(lvInformation_, 1, width);
    }
}

void TForm_Info::tvNavigationChange(int code) {
    ++pageTicket_;
    clockRow_.reset();
    awaitingClock_ = false;
    ui::PropertyPage page;
    {
        const TListviewUpdate update(lvInformation_, true);
        page = ui::PlanPropertyPage(code);
        for (const ui::PropertyRow& row : page.rows) {
            AddPropertyRow(row.caption, row.value);
        }
    }
    FitValueColumn();
    if (page.clockRow) {
        clockRow_ = static_cast<int>(*page.clockRow);
        awaitingClock_ = true;
        clock_.Request(pageTicket_, page.processor);
    }
}

void TForm_Info::OnClockMeasured() {
    const std::optional<ui::InfoClock::Answer> answer = clock_.Collect();
    if (!answer || answer->ticket != pageTicket_ || !clockRow_) {
        return; // an answer for a page no longer shown
    }
    awaitingClock_ = false;
    SetSubItemText(lvInformation_, *clockRow_, 1, Widen(answer->text));
    FitValueColumn();
    RefreshCursor(Hwnd());
}

// While the shown page waits for its clock, the pointer tells that work goes on in the background.
bool TForm_Info::SetCursorWhileMeasuring(LPARAM hit) {
    if (!awaitingClock_ || LOWORD(hit) != HTCLIENT) {
        return false;
    }
    ::SetCursor(::LoadCursorW(nullptr, IDC_APPSTARTING));
    return true;
}

void TForm_Info::cbActiveSetChange() {
    const auto index = static_cast<int>(::SendMessageW(cbActiveSet_, CB_GETCURSEL, 0, 0));
    if (index >= 0) {
        FillFeatureList(static_cast<std::uint8_t>(index + 1));
    }
}

void TForm_Info::Button_CloseClick() {
    Hide();
}

void TForm_Info::OnCommand(int id, int code, HWND control) {
    if (id == ids::kcbActiveSet && code == CBN_SELCHANGE) {
        cbActiveSetChange();
        return;
    }
    if (id == ids::kButton_Close && code == BN_CLICKED) {
        Button_CloseClick();
        return;
    }
    Form::OnCommand(id, code, control);
}

LRESULT TForm_Info::OnNotify(int id, NMHDR& header) {
    if (id == ids::kPageControl && header.code == TCN_SELCHANGE) {
        PageControlChange();
        return 0;
    }
    if (id == ids::ktvNavigation && header.code == TVN_SELCHANGEDW) {
        const TVITEMW& selected = reinterpret_cast<const NMTREEVIEWW&>(header).itemNew;
        if (selected.hItem != nullptr) { // nothing is selected while the tree empties
            tvNavigationChange(static_cast<int>(selected.lParam));
        }
        return 0;
    }
    return Form::OnNotify(id, header);
}

LRESULT TForm_Info::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kClockMeasured) {
        OnClockMeasured();
        return 0;
    }
    if (message == WM_SETCURSOR && SetCursorWhileMeasuring(lParam)) {
        return TRUE;
    }
    if (message == WM_ACTIVATE && HIWORD(wParam) == 0) { // not minimised
        OnActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    }
    return Form::OnMessage(message, wParam, lParam);
}

} // namespace quelmo::gui
