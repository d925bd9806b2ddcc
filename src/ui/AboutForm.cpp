#include "ui/AboutForm.h"

#include "ui/ControlIds.h"
#include "ui/AboutFormTexts.h"

namespace quelmo::gui {

namespace {

// The client area in design units.
constexpr int kDesignWidth = 337;
constexpr int kDesignHeight = 200;

} // namespace

bool TForm_About::Create(HWND owner) {
    FormSpec spec;
    spec.className = ids::kFormAbout;
    spec.caption = texts::about::kCaption;
    spec.clientWidth = kDesignWidth;
    spec.clientHeight = kDesignHeight;
    spec.owner = owner;
    return Form::Create(spec);
}

} // namespace quelmo::gui
