// The application object: owns every window of the program and runs the message loop.
//
// Start-up creates the monitor window (whose creation loads the settings and starts sampling),
// then the settings, statistics and About windows, hidden, in that order; the CPU information
// window is created the first time the menu asks for it. The secondary windows are owned by the
// monitor window, so they stay above it, have no taskbar button and go with it.
//
// The loop gives each message first to the monitor window (the application message hook, and the
// menu's shortcut keys while it is active), then to the visible secondary windows' keyboard
// handling (IsDialogMessage: Tab, Escape), and only then dispatches it.
#pragma once

#include "ui/MainFormOptions.h"

#include <windows.h>

#include <memory>

namespace quelmo::gui {

class TForm_Main;
class TForm_Settings;
class TForm_Statistics;
class TForm_About;
class TForm_Info;
class Form;

class App {
public:
    explicit App(MainFormOptions mainOptions = {});
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Creates the four start-up windows, hidden. False when one could not be made.
    bool Create();
    // Shows the monitor window (unless the settings start in tray mode) and dispatches messages
    // until the monitor window ends the application. Returns the exit code.
    int Run();
    // What the loop does with a message before dispatching it; true when it has been handled.
    bool PreTranslateMessage(MSG& message);

    // The menu's windows: shown non-modal, centred the first time.
    void ShowSettings();
    void ShowStatistics();
    void ShowAbout();
    void ShowCpuInformation();

    TForm_Main& MainForm() { return *main_; }
    TForm_Settings& Settings() { return *settings_; }
    TForm_Statistics& Statistics() { return *statistics_; }
    TForm_About& About() { return *about_; }
    // Null until the CPU information window is first shown.
    TForm_Info* Info() { return info_.get(); }

private:
    MainFormOptions mainOptions_;
    // Destroyed in reverse: the secondary windows before the monitor window that owns them.
    std::unique_ptr<TForm_Main> main_;
    std::unique_ptr<TForm_Settings> settings_;
    std::unique_ptr<TForm_Statistics> statistics_;
    std::unique_ptr<TForm_About> about_;
    std::unique_ptr<TForm_Info> info_;
};

} // namespace quelmo::gui
