#include "ui/MainToolTips.h"

#include "ui/ControlIds.h"
#include "ui/MainFormTexts.h"
#include "ui/WindowBase.h"

#include <commctrl.h>

namespace quelmo::gui {

void MainToolTips::Create(HWND form, HWND imageMove, HWND menu, HWND hide, HWND close) {
    form_ = form;
    imageMove_ = imageMove;
    menu_ = menu;
    hide_ = hide;
    close_ = close;
    toolTips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr, ThisModule(), nullptr);
    if (toolTips_ == nullptr) {
        return;
    }
    for (const HWND button : {menu, hide, close}) {
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = form;
        tool.uId = reinterpret_cast<UINT_PTR>(button);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        ::SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = form;
    tool.uId = ids::kImage_Move;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainToolTips::UpdateMoveRect(bool shown) {
    if (toolTips_ == nullptr) {
        return;
    }
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = form_;
    tool.uId = ids::kImage_Move;
    if (shown) {
        ::GetWindowRect(imageMove_, &tool.rect);
        ::MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&tool.rect), 2);
    }
    ::SendMessageW(toolTips_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainToolTips::SetMenuOpen(bool open) {
    menuOpen_ = open;
    if (open && toolTips_ != nullptr) {
        ::SendMessageW(toolTips_, TTM_POP, 0, 0);
    }
}

bool MainToolTips::OnNotify(NMHDR& header) const {
    if (toolTips_ == nullptr || header.hwndFrom != toolTips_ || header.code != TTN_GETDISPINFOW) {
        return false;
    }
    reinterpret_cast<NMTTDISPINFOW&>(header).lpszText = const_cast<wchar_t*>(HintFor(header.idFrom));
    return true;
}

const wchar_t* MainToolTips::HintFor(UINT_PTR tool) const {
    if (menuOpen_) {
        return L"";
    }
    if (tool == ids::kImage_Move) {
        return texts::monitor::kHintMove;
    }
    const auto button = reinterpret_cast<HWND>(tool);
    return button == menu_    ? texts::monitor::kHintMenu
           : button == hide_  ? texts::monitor::kHintHide
           : button == close_ ? texts::monitor::kHintClose
                              : L"";
}

} // namespace quelmo::gui
