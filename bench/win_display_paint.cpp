// The display step plus one full paint of the real monitor window, under Wine or on Windows:
// microseconds per sample (medians), with the window shown, split into its parts; at 96 DPI and
// again after the window was told it shows at 144 DPI (WM_DPICHANGED), so the scaled window's
// cost can be set beside the unscaled one.
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

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Figures {
    double step = 0;  // the display step alone
    double paint = 0; // one full paint alone: every control re-rendered and copied
    double both = 0;  // a step and one full paint
    double own = 0;   // a step and the paints it causes: only what it changed is drawn
};

Figures Run(gui::TForm_Main& form, int samples) {
    std::vector<double> each{12.5, 37.0, 99.0, 3.25};
    ui::SampleView sample;
    sample.cpuCount = 4;
    sample.cpuUsageEach = each;
    sample.memoryTotalMB = 16384;
    sample.memoryUsedMB = 9000;
    std::vector<double> steps;
    std::vector<double> paints;
    std::vector<double> both;
    std::vector<double> own;
    const auto paint = [&] {
        ::RedrawWindow(form.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    for (int i = 0; i < samples + 100; ++i) {
        ++sample.samples;
        sample.cpuUsageTotal = (i * 7) % 101;
        sample.memoryUsagePercent = 40 + (i % 20) * 0.37;
        each[0] = (i * 13) % 101;
        LARGE_INTEGER t0;
        LARGE_INTEGER t1;
        LARGE_INTEGER t2;
        ::QueryPerformanceCounter(&t0);
        form.DisplaySample(sample);
        ::QueryPerformanceCounter(&t1);
        paint();
        ::QueryPerformanceCounter(&t2);
        Pump();
        // One full paint: the label colour change makes the chart render its buffer again too.
        if (i >= 100) { // the first 100 fill the graph
            steps.push_back(Microseconds(t0, t1));
            both.push_back(Microseconds(t0, t2));
            form.Chart().SetLabelColor(RGB(0, 0, i % 2)); // forces a full re-render
            LARGE_INTEGER p0;
            LARGE_INTEGER p1;
            ::QueryPerformanceCounter(&p0);
            paint();
            ::QueryPerformanceCounter(&p1);
            paints.push_back(Microseconds(p0, p1));
            // The next sample as the running program meets it.
            ++sample.samples;
            sample.cpuUsageTotal = (i * 7 + 3) % 101;
            sample.memoryUsagePercent += 0.01;
            ::QueryPerformanceCounter(&p0);
            form.DisplaySample(sample);
            ::RedrawWindow(form.Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            ::QueryPerformanceCounter(&p1);
            own.push_back(Microseconds(p0, p1));
            Pump();
        }
    }
    return {Median(steps), Median(paints), Median(both), Median(own)};
}

void Report(const char* name, const Figures& figures) {
    std::printf("  %-38s step %7.1f us  full paint %7.1f us  step + full paint %7.1f us  step + its paints "
                "%7.1f us\n",
                name, figures.step, figures.paint, figures.both, figures.own);
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
    constexpr int kSamples = 1000;
    for (const int dpi : {96, 144}) {
        if (dpi != form.Dpi()) {
            // As the system tells a window moved to a monitor at another scale.
            RECT window{};
            ::GetWindowRect(form.Hwnd(), &window);
            RECT suggested{window.left, window.top,
                           window.left + ::MulDiv(window.right - window.left, dpi, form.Dpi()),
                           window.top + ::MulDiv(window.bottom - window.top, dpi, form.Dpi())};
            ::SendMessageW(form.Hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                           reinterpret_cast<LPARAM>(&suggested));
            Pump();
        }
        RECT client{};
        ::GetClientRect(form.Hwnd(), &client);
        std::printf("monitor window at %d DPI (%ld x %ld pixels), medians of %d samples:\n", form.Dpi(),
                    client.right, client.bottom, kSamples);
        config::HideTrayWhenVisible = false;
        form.SetAppTrayMode(false, false);
        config::DisplayEachCPU = false;
        Report("average line, tray icon updated", Run(form, kSamples));
        config::DisplayEachCPU = true;
        Report("four processor lines, tray icon updated", Run(form, kSamples));
        // Window mode with HideTrayWhenVisible: the step leaves the tray icon alone.
        config::HideTrayWhenVisible = true;
        form.SetAppTrayMode(false, false);
        Report("four processor lines, no tray icon", Run(form, kSamples));
    }
    return 0;
}
