// Process entry of Quelmo.exe: the start-up order of the shell, then the main window's loop.
#include "app/MyConfig.h"
#include "app/ShellState.h"
#include "app/ShellTexts.h"
#include "ui/MainForm.h"

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

    gui::TForm_Main mainForm;
    if (!mainForm.Create()) {
        return 1;
    }
    mainForm.ShowAtStartup();

    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The application's message hook and the window's shortcuts come first.
        if (mainForm.PreTranslateMessage(message)) {
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
