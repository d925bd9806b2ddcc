// The statistics window over the sampling thread's running statistics. Non-modal, created hidden at
// start-up.
#pragma once

#include "ui/Form.h"

namespace quelmo::gui {

class TForm_Statistics final : public Form {
public:
    // Creates the window hidden, above `owner` (the monitor window).
    bool Create(HWND owner);
};

} // namespace quelmo::gui
