#include "ui/StatisticsForm.h"

#include "ui/ControlIds.h"
#include "ui/StatisticsFormTexts.h"

namespace quelmo::gui {

namespace {

// The client area in design units.
constexpr int kDesignWidth = 241;
constexpr int kDesignHeight = 387;

} // namespace

bool TForm_Statistics::Create(HWND owner) {
    FormSpec spec;
    spec.className = ids::kFormStatistics;
    spec.caption = texts::statistics::kCaption;
    spec.clientWidth = kDesignWidth;
    spec.clientHeight = kDesignHeight;
    spec.owner = owner;
    return Form::Create(spec);
}

} // namespace quelmo::gui
