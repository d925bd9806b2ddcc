#include "widgets/ColorBox.h"

#include "platform/win32/UniqueHandle.h"
#include "ui/WindowBase.h"

#include <commdlg.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace quelmo::gui {

namespace {

constexpr int kVisibleItems = 12;

// The sixteen custom colours of the colour dialog, shared by every box while the program runs.
std::array<COLORREF, 16>& CustomColors() {
    static std::array<COLORREF, 16> colors = [] {
        std::array<COLORREF, 16> white{};
        white.fill(RGB(255, 255, 255));
        return white;
    }();
    return colors;
}

void FillSolid(HDC dc, const RECT& area, COLORREF color) {
    ::SetDCBrushColor(dc, color);
    ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

} // namespace

bool ColorBox::Create(HWND parent, int controlId) {
    hwnd_ = ::CreateWindowExW(0, WC_COMBOBOXW, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST |
                                  CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                              0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                              ThisModule(), nullptr);
    if (hwnd_ == nullptr) {
        return false;
    }
    // The names stay in the list, so typing a letter finds a colour and readers can tell them.
    for (int index = 0; index < widgets::kColorBoxItemCount; ++index) {
        const std::wstring name(widgets::ColorBoxItemName(index));
        ::SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    Select(committedIndex_);
    return true;
}

void ColorBox::SetBounds(const RECT& bounds, int itemHeight) {
    ::SendMessageW(hwnd_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight);
    ::SendMessageW(hwnd_, CB_SETITEMHEIGHT, 0, itemHeight);
    // A drop-down list's window height includes its open list.
    const int height = (bounds.bottom - bounds.top) + kVisibleItems * itemHeight + 2;
    ::SetWindowPos(hwnd_, nullptr, bounds.left, bounds.top, bounds.right - bounds.left, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void ColorBox::SetColor(COLORREF color) {
    committed_ = color & 0x00FFFFFF;
    committedIndex_ = widgets::ColorBoxIndexOf(committed_);
    if (committedIndex_ == widgets::kCustomColorIndex) {
        custom_ = committed_;
    }
    Select(committedIndex_);
}

void ColorBox::Select(int index) {
    ::SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::InvalidateRect(hwnd_, nullptr, FALSE);
}

// The order of CBN_SELCHANGE and CBN_CLOSEUP is not fixed: whichever comes once the list is
// closed settles the choice, and the other finds nothing new.
std::optional<COLORREF> ColorBox::OnCommand(int code, HWND dialogOwner) {
    if (choosing_) {
        return std::nullopt;
    }
    switch (code) {
    case CBN_SELENDOK:
        picked_ = true;
        return std::nullopt;
    case CBN_SELENDCANCEL:
        picked_ = false;
        return std::nullopt;
    case CBN_SELCHANGE:
        if (::SendMessageW(hwnd_, CB_GETDROPPEDSTATE, 0, 0) != FALSE) {
            return std::nullopt; // still browsing the open list
        }
        return Settle(dialogOwner);
    case CBN_CLOSEUP:
        if (::SendMessageW(hwnd_, CB_GETCURSEL, 0, 0) != committedIndex_ && !picked_) {
            Select(committedIndex_); // the list was left without a choice
            return std::nullopt;
        }
        return Settle(dialogOwner);
    default:
        return std::nullopt;
    }
}

std::optional<COLORREF> ColorBox::Settle(HWND dialogOwner) {
    const int index = static_cast<int>(::SendMessageW(hwnd_, CB_GETCURSEL, 0, 0));
    // Picking the custom entry again in the open list chooses another custom colour.
    const bool pickedAgain = std::exchange(picked_, false);
    if (index == widgets::kCustomColorIndex) {
        if (committedIndex_ == widgets::kCustomColorIndex && !pickedAgain) {
            return std::nullopt;
        }
        return ChooseCustom(dialogOwner);
    }
    const std::optional<COLORREF> named = widgets::NamedColorAt(index);
    if (!named || index == committedIndex_) {
        return std::nullopt;
    }
    committedIndex_ = index;
    committed_ = *named;
    return committed_;
}

std::optional<COLORREF> ColorBox::ChooseCustom(HWND dialogOwner) {
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = dialogOwner;
    choose.rgbResult = custom_.value_or(committed_);
    choose.lpCustColors = CustomColors().data();
    choose.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    choosing_ = true;
    const bool chosen = ::ChooseColorW(&choose) != FALSE;
    choosing_ = false;
    if (!chosen) {
        Select(committedIndex_); // Cancel: the colour before stays
        return std::nullopt;
    }
    custom_ = choose.rgbResult & 0x00FFFFFF;
    committedIndex_ = widgets::kCustomColorIndex;
    committed_ = *custom_;
    Select(committedIndex_);
    return committed_;
}

void ColorBox::DrawItem(const DRAWITEMSTRUCT& item) const {
    const HDC dc = item.hDC;
    const RECT& area = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    FillSolid(dc, area, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int index = static_cast<int>(item.itemID);
    if (index >= 0 && index < widgets::kColorBoxItemCount) {
        // The swatch is half again as wide as it is high; margins grow with the entry's height.
        const int height = area.bottom - area.top;
        const int margin = std::max(2, height / 8);
        const int swatchHeight = height - 2 * margin;
        const RECT swatch{area.left + margin + 1, area.top + margin,
                          area.left + margin + 1 + swatchHeight * 3 / 2, area.bottom - margin};
        std::optional<COLORREF> color = custom_;
        if (index != widgets::kCustomColorIndex) {
            color = widgets::NamedColorAt(index);
        }
        if (color) {
            FillSolid(dc, swatch, *color);
            ::SetDCBrushColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
            ::FrameRect(dc, &swatch, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
        }
        const std::wstring_view name = widgets::ColorBoxItemName(index);
        RECT text{swatch.right + 2 * margin, area.top, area.right - margin, area.bottom};
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(disabled   ? COLOR_GRAYTEXT
                                         : selected ? COLOR_HIGHLIGHTTEXT
                                                    : COLOR_WINDOWTEXT));
        ::DrawTextW(dc, name.data(), static_cast<int>(name.size()), &text,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        ::DrawFocusRect(dc, &area);
    }
}

} // namespace quelmo::gui
