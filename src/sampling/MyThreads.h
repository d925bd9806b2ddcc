// The two background threads of the monitor window and the order in which it starts and stops
// them.
//
// TResMonitor samples processor and memory usage once per "Rate", keeps running statistics and
// runs the window's display step on the user-interface thread, waiting for it; the display step
// reads the sample fields directly. TCPUSpeed measures the clock with the time-stamp counter and
// posts WM_CPU_SPEED to the monitor window.
#pragma once

#include "platform/FunctionRef.h"
#include "platform/System.h"
#include "platform/Time.h"
#include "platform/UiLink.h"
#include "sampling/CpuUsage.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quelmo {

// A thread created suspended. Terminate only sets a flag that the body polls; Free terminates,
// waits for the body to return (serving its synchronised calls meanwhile) and is called by the
// destructors of the concrete threads. A thread never resumed ends without running its body; an
// exception that escapes the body ends the thread quietly.
class TThread {
public:
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Starts the body; later calls do nothing.
    void Resume();
    void Terminate() noexcept { terminated_.store(true); }
    bool Terminated() const noexcept { return terminated_.load(); }
    // The body has returned (or ended with an exception).
    bool Finished() const noexcept { return finished_.load(); }
    // User-interface thread: terminate and wait for the end. Safe to call more than once.
    void Free();

protected:
    explicit TThread(platform::UiLink& link) : link_(link) {}

    virtual void Execute() = 0;
    // Runs `call` on the user-interface thread and waits; its exception is raised again here.
    void Synchronize(platform::FunctionRef<void()> call) { link_.Synchronize(call); }
    platform::UiLink& Link() { return link_; }

private:
    void Run() noexcept;

    platform::UiLink& link_;
    std::thread thread_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    bool resumed_ = false;
};

// Running statistics since the start or the last reset.
struct TResStatistics {
    std::uint32_t Samples = 0;
    double CPUUsageMin = 0;
    double CPUUsageAverage = 0;
    double CPUUsageMax = 0;
    double MemoryUsageMin = 0;
    double MemoryUsageAverage = 0;
    double MemoryUsageMax = 0;
    double MemoryTotalMB = 0;
    platform::DateTime TimeStarted{};
    std::uint32_t TickStarted = 0;
};

// The counters give the usage since their previous snapshot. The first processor figures (the
// statistics' seed and the first point of the graph) come right after one, so each waits until it
// covers at least this long; later ones cover a whole cycle.
inline constexpr std::uint32_t kFirstSampleIntervalMs = 100;

class TResMonitor final : public TThread {
public:
    // The monitor window's display step, run on the user-interface thread after every sample.
    using DisplayStep = std::function<void(const TResMonitor&)>;

    TResMonitor(platform::UiLink& link, DisplayStep displaySample, CpuUsageCounters& counters);
    ~TResMonitor() override { Free(); }

    // The sample. Written by the sampling thread; read by the display step while that thread
    // waits for it.
    std::int32_t CPUCount = 1;        // processors sampled, at least 1
    double CPUUsageTotal = 0;         // percent, 0..100
    std::vector<double> CPUUsageEach; // percent per processor; written only when CPUCount > 1
    double MemoryTotalMB = 0;
    double MemoryUsagePercent = 0;
    double MemoryUsedMB = 0;
    // Updated by the sampling thread under a lock. The display step may read it directly; any
    // other reader uses CopyStatistics.
    TResStatistics Statistics;

    // Restarts the statistics from the last complete sample (any thread).
    void ResetStatistics();
    TResStatistics CopyStatistics() const;

    // The steps of the body, callable directly by tests and benchmarks on a thread not resumed.
    void StartUp();
    void ProcessorSample();
    void MemorySample();
    void UpdateStatistics();
    // One pass of the sampling cycle: samples, statistics, display step, then the sleep that
    // keeps the period at "Rate". False when the thread was terminated meanwhile.
    bool RunCycle();

private:
    void Execute() override;
    // Sleeps until kFirstSampleIntervalMs have passed since `since` (a tick count).
    static void AwaitInterval(std::uint32_t since);
    // Takes the current sample as the seed of a later reset; under the lock.
    void PublishSeedLocked();
    void ResetLocked();

    DisplayStep displaySample_;
    CpuUsageCounters& counters_;
    bool win2000OrLater_;
    std::uint32_t startUpSampleTick_ = 0;
    bool firstCycle_ = true;

    mutable std::mutex statisticsLock_;
    double seedCpuUsage_ = 0;
    double seedMemoryUsage_ = 0;
    double seedMemoryTotalMB_ = 0;
};

class TCPUSpeed final : public TThread {
public:
    explicit TCPUSpeed(platform::UiLink& link);
    ~TCPUSpeed() override { Free(); }

    // Last measured clock in MHz; -1 until the first measurement. Used by the clock thread only.
    double Speed = -1;

    // One measurement over a 500 ms sleep at real-time priority.
    void Measure();

private:
    void Execute() override;

    bool win2000OrLater_;
};

// The rules of the cycle, exposed for tests.
// NT family with major version 5 or more.
bool IsWindows2000OrLater(const platform::OsVersion& version);
// A processor figure in percent: below 0 or not a number gives 0, above 100 gives 100.
double ClampPercent(double value);
// The sleep after a cycle that took `elapsed` ms: "Rate" minus that, within 10..2000 ms.
std::uint32_t CycleDelay(std::uint32_t rate, std::uint32_t elapsed);
// MHz from the time-stamp counter's advance over 500 ms (low 32 bits, unsigned).
double SpeedFromTicks(std::uint64_t ticks);

// Both threads, owned by the monitor window.
struct SamplingThreads {
    std::unique_ptr<TResMonitor> ResMonitor;
    std::unique_ptr<TCPUSpeed> CPUSpeed;
};

// The start sequence: creates the sampler suspended, creates and resumes the clock thread, runs
// `checkPerformanceCounters`, takes the first counter snapshot and resumes the sampler only when
// that succeeded. Returns the text for an error box, empty when sampling runs.
std::wstring StartSampling(SamplingThreads& threads, platform::UiLink& link,
                           TResMonitor::DisplayStep displaySample,
                           platform::FunctionRef<void()> checkPerformanceCounters,
                           CpuUsageCounters& counters);
// The same with the process-wide counters and the program's CheckPerformanceCounters prompt.
std::wstring StartSampling(SamplingThreads& threads, platform::UiLink& link,
                           TResMonitor::DisplayStep displaySample);
// The stop sequence, on the user-interface thread: terminates the clock and the sampler, frees
// the sampler while serving its pending display step, then frees the clock.
void StopSampling(SamplingThreads& threads);

// The running sampler between StartSampling and StopSampling, or null (the statistics window
// reaches it here).
TResMonitor* ActiveResMonitor();

} // namespace quelmo
