// The settings dialog under Wine or on Windows: milliseconds to create it at start-up, to show
// it the first time and to show it again (controls loaded and every page control painted).
#include "app/MyConfig.h"
#include "ui/MainForm.h"
#include "ui/SettingsForm.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace quelmo;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1e3 / static_cast<double>(frequency.QuadPart);
}

void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Shows the dialog and waits until it and its controls have painted.
double TimeShow(gui::TForm_Settings& settings) {
    LARGE_INTEGER t0;
    LARGE_INTEGER t1;
    ::QueryPerformanceCounter(&t0);
    settings.Show();
    ::RedrawWindow(settings.Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    ::QueryPerformanceCounter(&t1);
    return Milliseconds(t0, t1);
}

} // namespace

int main() {
    config::AppModeHotkey = 0; // the benchmark holds no global hot key
    config::HideTrayWhenVisible = true;
    gui::TForm_Main main(gui::TForm_Main::Options{false, false, false});
    if (!main.Create()) {
        std::fprintf(stderr, "no monitor window\n");
        return 1;
    }
    main.ShowAtStartup();
    Pump();

    LARGE_INTEGER t0;
    LARGE_INTEGER t1;
    ::QueryPerformanceCounter(&t0);
    gui::TForm_Settings settings(main);
    const bool created = settings.Create(main.Hwnd());
    ::QueryPerformanceCounter(&t1);
    if (!created) {
        std::fprintf(stderr, "no settings dialog\n");
        return 1;
    }
    const double create = Milliseconds(t0, t1);
    const double first = TimeShow(settings);
    std::vector<double> again;
    constexpr int kShows = 5;
    for (int i = 0; i < kShows; ++i) {
        settings.Hide();
        Pump();
        again.push_back(TimeShow(settings));
    }
    std::sort(again.begin(), again.end());
    std::printf("settings dialog: create %.2f ms, first show %.2f ms, show again %.2f ms (median of %d)\n",
                create, first, again[again.size() / 2], kShows);
    settings.Hide();
    return 0;
}
