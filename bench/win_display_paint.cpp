// The display step plus one full paint of the real monitor window, under Wine or on Windows:
// microseconds per sample, with the window shown and every control painted.
#include "app/MyConfig.h"
#include "ui/MainForm.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace quelmo;

double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

double Run(gui::TForm_Main& form, bool eachCpu, int samples) {
    config::DisplayEachCPU = eachCpu;
    std::vector<double> each{12.5, 37.0, 99.0, 3.25};
    ui::SampleView sample;
    sample.cpuCount = 4;
    sample.cpuUsageEach = each;
    sample.memoryTotalMB = 16384;
    sample.memoryUsedMB = 9000;
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(samples));
    for (int i = 0; i < samples + 100; ++i) {
        ++sample.samples;
        sample.cpuUsageTotal = (i * 7) % 101;
        sample.memoryUsagePercent = 40 + (i % 20) * 0.37;
        each[0] = (i * 13) % 101;
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        ::QueryPerformanceCounter(&start);
        form.DisplaySample(sample);
        // The whole window, chart and gauge re-rendered and copied to the screen.
        ::RedrawWindow(form.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        ::QueryPerformanceCounter(&end);
        Pump();
        if (i >= 100) { // the first 100 fill the graph
            times.push_back(Microseconds(start, end));
        }
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main() {
    config::Transparency = false;
    config::AlphaBlend = false;
    config::AppModeHotkey = 0; // leaves the real hot key alone
    gui::TForm_Main::Options options;
    options.useSettingsFile = false;
    options.startSampling = false;
    options.endApplicationOnDestroy = false;
    gui::TForm_Main form(options);
    if (!form.Create()) {
        std::fprintf(stderr, "cannot create the monitor window\n");
        return 1;
    }
    form.ShowAtStartup();
    Pump();
    constexpr int kSamples = 2000;
    const double average = Run(form, false, kSamples);
    const double eachCpu = Run(form, true, kSamples);
    std::printf("display step + full paint of the monitor window, median of %d samples:\n", kSamples);
    std::printf("  average line only:      %8.1f us\n", average);
    std::printf("  four processor lines:   %8.1f us\n", eachCpu);
    return 0;
}
