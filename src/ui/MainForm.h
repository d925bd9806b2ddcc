// The main window, TForm_Main. For now a plain window: its creation loads the settings and its
// closing saves them. The monitor's gauge, graph and labels will live here.
#pragma once

#include <windows.h>

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

    HWND hwnd_ = nullptr;
    std::wstring statusText_;
};

} // namespace quelmo::ui
