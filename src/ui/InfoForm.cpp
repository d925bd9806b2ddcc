#include "ui/InfoForm.h"

#include "ui/ControlIds.h"
#include "ui/InfoFormTexts.h"

#include <string>
#include <string_view>

namespace quelmo::gui {

namespace {

// The client area in design units.
constexpr int kDesignWidth = 537;
constexpr int kDesignHeight = 508;

// The window's texts hold one character per byte.
std::wstring Widen(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (const char c : text) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    return wide;
}

} // namespace

bool TForm_Info::Create(HWND owner) {
    const std::wstring caption = Widen(texts::kInfoCaption);
    FormSpec spec;
    spec.className = ids::kFormInfo;
    spec.caption = caption.c_str();
    spec.clientWidth = kDesignWidth;
    spec.clientHeight = kDesignHeight;
    spec.owner = owner;
    return Form::Create(spec);
}

} // namespace quelmo::gui
