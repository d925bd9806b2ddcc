// The main window, TForm_Main. For now a plain window: its creation loads the settings and its
// closing saves them. The monitor's gauge, graph and labels will live here.
#pragma once

#include "platform/win32/Win32UiLink.h"
#include "sampling/MyThreads.h"

#include <windows.h>

#include <memory>
#include <string>

namespace quelmo::ui {

class TForm_Main {
public:
    static constexpr const wchar_t* kClassName = L"TForm_Main";

    // Creates the window (hidden). Its creation loads the settings; Handle() is null on failure.
    explicit TForm_Main(HINSTANCE instance);
    ~TForm_Main();
    TForm_Main(const TForm_Main&) = delete;
    TForm_Main& operator=(const TForm_Main&) = delete;

    HWND Handle() const { return hwnd_; }
    // Shows the window where the settings place it (centred on the first launch).
    void Show(int showCommand);
    // A line of text shown in the window.
    void SetStatusText(std::wstring text);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void FormCreate();
    void FormClose();
    void FormDestroy();
    void FormPaint();
    // Until the monitor window arrives: the sample and the clock as the status line.
    void DisplaySample(const TResMonitor& monitor);

    HWND hwnd_ = nullptr;
    std::wstring statusText_;
    std::unique_ptr<platform::Win32UiLink> uiLink_;
    SamplingThreads sampling_;
    std::wstring cpuSpeed_ = L"? MHz";
};

} // namespace quelmo::ui
