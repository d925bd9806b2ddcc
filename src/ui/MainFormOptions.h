// How the monitor window is created: the program uses the defaults; tests leave out the settings
// file, the sampling threads or the end of the application.
#pragma once

namespace quelmo::gui {

struct MainFormOptions {
    bool useSettingsFile = true;         // LoadSettings at creation, SaveSettings when closed
    bool startSampling = true;           // the start sequence at creation, the stop sequence at the end
    bool endApplicationOnDestroy = true; // the main window's end is the application's end
};

} // namespace quelmo::gui
