// Process entry of Quelmo.exe: the start-up order of the shell, then the application's windows
// and message loop.
#include "app/MyConfig.h"
#include "app/ShellState.h"
#include "app/ShellTexts.h"
#include "ui/App.h"

#include <windows.h>
#include <commctrl.h>

using namespace quelmo;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    config::InitializeConfig();
    shell::InstanceRunning = config::CheckInstanceMutex(texts::kMutexName);
    // "/install" and "/uninstall" end the process here, before any window exists.
    if (const auto exitCode = config::HandleCommandLine()) {
        return *exitCode;
    }

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    gui::App app;
    if (!app.Create()) {
        return 1;
    }
    return app.Run();
}
