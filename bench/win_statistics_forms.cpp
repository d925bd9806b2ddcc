// The statistics and About windows under Wine or on Windows: the time to show each the first time
// and again (shown and fully painted), and the statistics refresh that runs once a second while
// the window is shown, alone and with the repaint it causes (medians).
#include "platform/win32/Win32UiLink.h"
#include "sampling/CpuUsage.h"
#include "sampling/MyThreads.h"
#include "ui/AboutForm.h"
#include "ui/StatisticsForm.h"

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

// Shows the form and paints it with all its controls; microseconds.
double TimeShow(gui::Form& form) {
    LARGE_INTEGER t0;
    LARGE_INTEGER t1;
    ::QueryPerformanceCounter(&t0);
    form.Show();
    ::RedrawWindow(form.Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::QueryPerformanceCounter(&t1);
    Pump();
    return Microseconds(t0, t1);
}

void ReportShows(const char* name, gui::Form& form) {
    const double first = TimeShow(form);
    std::vector<double> again;
    for (int i = 0; i < 5; ++i) {
        form.Hide();
        Pump();
        again.push_back(TimeShow(form));
    }
    form.Hide();
    Pump();
    std::printf("  %-22s first show %8.1f us   again (median of 5) %8.1f us\n", name, first, Median(again));
}

} // namespace

int main() {
    CpuUsageCounters counters;
    counters.RefreshCounters();
    gui::TForm_About about;
    gui::TForm_Statistics statistics;
    std::unique_ptr<TResMonitor> monitor;
    gui::StatisticsLinks links;
    links.resMonitor = [&monitor] { return monitor.get(); };
    if (!about.Create(nullptr) || !statistics.Create(nullptr, links)) {
        std::fprintf(stderr, "cannot create the windows\n");
        return 1;
    }
    // A sampler that is never resumed: the benchmark takes its samples.
    platform::Win32UiLink link(statistics.Hwnd());
    monitor = std::make_unique<TResMonitor>(link, nullptr, counters);
    monitor->StartUp();

    std::printf("showing, shown and painted:\n");
    ReportShows("statistics window", statistics);
    ReportShows("About window", about);

    statistics.Show();
    Pump();
    constexpr int kRefreshes = 1000;
    std::vector<double> refreshes;
    std::vector<double> painted;
    for (int i = 0; i < kRefreshes; ++i) {
        monitor->ProcessorSample();
        monitor->MemorySample();
        monitor->UpdateStatistics();
        LARGE_INTEGER t0;
        LARGE_INTEGER t1;
        LARGE_INTEGER t2;
        ::QueryPerformanceCounter(&t0);
        statistics.Refresh();
        ::QueryPerformanceCounter(&t1);
        ::RedrawWindow(statistics.Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        ::QueryPerformanceCounter(&t2);
        refreshes.push_back(Microseconds(t0, t1));
        painted.push_back(Microseconds(t0, t2));
        Pump();
    }
    const double refresh = Median(refreshes);
    const double withPaint = Median(painted);
    std::printf("statistics refresh (once a second while shown), medians of %d:\n", kRefreshes);
    std::printf("  refresh %7.1f us   refresh + its repaint %7.1f us   = %.4f %% of one processor\n", refresh,
                withPaint, withPaint / 1e4);
    statistics.Hide();
    return 0;
}
