// The CPU information window: feature sets and the processor explorer. Non-modal, created the
// first time the menu asks for it.
#pragma once

#include "ui/Form.h"

namespace quelmo::gui {

class TForm_Info final : public Form {
public:
    // Creates the window hidden, above `owner` (the monitor window).
    bool Create(HWND owner);
};

} // namespace quelmo::gui
