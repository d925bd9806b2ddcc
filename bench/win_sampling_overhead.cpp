// The process's processor time while both sampling threads run, at Rate 100 with an empty
// display step, for a given number of seconds (default 60): the monitor's own overhead.
#include "app/MyConfig.h"
#include "platform/win32/Win32UiLink.h"
#include "sampling/MyThreads.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto toSeconds = [](FILETIME t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               1e7;
    };
    return toSeconds(kernel) + toSeconds(user);
}

} // namespace

int main(int argc, char** argv) {
    using namespace quelmo;
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    config::Rate.store(100);
    platform::Win32UiLink link;
    SamplingThreads sampling;
    int samples = 0;
    const double before = ProcessCpuSeconds();
    const std::wstring error = StartSampling(sampling, link, [&](const TResMonitor&) { ++samples; });
    if (!error.empty()) {
        std::fprintf(stderr, "sampling did not start: %ls\n", error.c_str());
        return 1;
    }
    const DWORD started = ::GetTickCount();
    const DWORD duration = static_cast<DWORD>(seconds) * 1000;
    while (::GetTickCount() - started < duration) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
    }
    StopSampling(sampling);
    const double used = ProcessCpuSeconds() - before;
    std::printf("%d s at Rate 100: %d samples, process CPU time %.3f s (%.2f %% of one processor)\n", seconds,
                samples, used, used * 100 / seconds);
    return 0;
}
