#include "ui/SettingsForm.h"

#include "ui/ControlIds.h"
#include "ui/SettingsFormTexts.h"

namespace quelmo::gui {

namespace {

// The client area in design units.
constexpr int kDesignWidth = 322;
constexpr int kDesignHeight = 420;

} // namespace

bool TForm_Settings::Create(HWND owner) {
    FormSpec spec;
    spec.className = ids::kFormSettings;
    spec.caption = texts::settings::kCaption;
    spec.clientWidth = kDesignWidth;
    spec.clientHeight = kDesignHeight;
    spec.owner = owner;
    return Form::Create(spec);
}

} // namespace quelmo::gui
