#include "sampling/MyThreads.h"

#include "app/MyConfig.h"
#include "app/MyModules.h"
#include "platform/Cpu.h"
#include "platform/Seam.h"
#include "platform/Threads.h"
#include "sampling/MyPerfLib.h"
#include "sampling/MyWindowMessages.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace quelmo {
namespace {

constexpr double kBytesPerMB = 1048576.0;
constexpr std::uint32_t kMinDelay = 10;
constexpr std::uint32_t kMaxDelay = 2000;
constexpr std::uint32_t kClockWindow = 500;
constexpr std::uint32_t kClockSettle = 10;
constexpr std::uint32_t kClockPause = 500;

std::atomic<TResMonitor*> activeResMonitor{nullptr};

bool Windows2000OrLater() {
    platform::OsVersion version;
    return platform::TheSystem().GetVersion(version) && IsWindows2000OrLater(version);
}

// Counterpart of the running minimum, average and maximum of one figure.
void Accumulate(double value, std::uint32_t samples, double& minimum, double& average, double& maximum) {
    if (value < minimum) {
        minimum = value;
    }
    if (value > maximum) {
        maximum = value;
    }
    const auto n = static_cast<double>(samples);
    average = (n - 1) / n * average + value / n;
}

std::wstring Widen(const char* text) {
    std::wstring wide;
    for (const char* c = text; *c != '\0'; ++c) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    }
    return wide;
}

} // namespace

// --- TThread ---

TThread::~TThread() {
    // The concrete threads free themselves; this only catches a thread left running.
    if (thread_.joinable()) {
        Free();
    }
}

void TThread::Resume() {
    if (resumed_) {
        return;
    }
    resumed_ = true;
    thread_ = std::thread([this] { Run(); });
}

void TThread::Free() {
    Terminate();
    if (thread_.joinable()) {
        link_.JoinServing(thread_);
    }
    if (!resumed_) {
        finished_.store(true);
    }
}

void TThread::Run() noexcept {
    try {
        if (!Terminated()) {
            Execute();
        }
    } catch (...) {
        // An exception ends the thread without a message.
    }
    finished_.store(true);
}

// --- rules ---

bool IsWindows2000OrLater(const platform::OsVersion& version) {
    return version.platformId == platform::kPlatformWin32Nt && version.major >= 5;
}

double ClampPercent(double value) {
    if (!(value >= 0)) {
        return 0; // below zero, or not a number
    }
    return value > 100 ? 100 : value;
}

std::uint32_t CycleDelay(std::uint32_t rate, std::uint32_t elapsed) {
    const std::int64_t delay = std::int64_t{rate} - std::int64_t{elapsed};
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(delay, kMinDelay, kMaxDelay));
}

double SpeedFromTicks(std::uint64_t ticks) {
    // Ticks per microsecond over the 500 ms window; 32 bits cover clocks up to about 8589 MHz.
    return static_cast<std::uint32_t>(ticks) / (kClockWindow * 1000.0);
}

// --- TResMonitor ---

TResMonitor::TResMonitor(platform::UiLink& link, DisplayStep displaySample, CpuUsageCounters& counters)
    : TThread(link), displaySample_(std::move(displaySample)), counters_(counters),
      win2000OrLater_(IsWindows2000OrLater(counters.Version())) {}

void TResMonitor::Execute() {
    StartUp();
    while (!Terminated() && RunCycle()) {
    }
}

void TResMonitor::StartUp() {
    // The first snapshot was taken before this thread started, so this is the earliest it can be.
    const std::uint32_t started = platform::TheTime().TickCount();
    std::int32_t count = counters_.CounterCount();
    // Windows 2000 and later list the combined total after the processors.
    if (win2000OrLater_) {
        --count;
    }
    CPUCount = std::max(count, 1);
    CPUUsageEach.assign(static_cast<std::size_t>(CPUCount), 0.0);
    MemorySample();
    AwaitInterval(started);
    ProcessorSample();
    startUpSampleTick_ = platform::TheTime().TickCount();
    const std::lock_guard lock(statisticsLock_);
    PublishSeedLocked();
    ResetLocked();
}

bool TResMonitor::RunCycle() {
    auto& time = platform::TheTime();
    if (firstCycle_) {
        firstCycle_ = false;
        AwaitInterval(startUpSampleTick_);
    }
    const std::uint32_t started = time.TickCount();
    ProcessorSample();
    if (config::DisplayMemory.load()) {
        MemorySample();
    }
    UpdateStatistics();
    if (displaySample_) {
        Synchronize([this] { displaySample_(*this); });
    }
    if (Terminated()) {
        return false;
    }
    time.Sleep(CycleDelay(config::Rate.load(), time.TickCount() - started));
    return true;
}

void TResMonitor::AwaitInterval(std::uint32_t since) {
    auto& time = platform::TheTime();
    const std::uint32_t elapsed = time.TickCount() - since;
    if (elapsed < kFirstSampleIntervalMs) {
        time.Sleep(kFirstSampleIntervalMs - elapsed);
    }
}

void TResMonitor::ProcessorSample() {
    counters_.RefreshCounters();
    if (CPUCount <= 1) {
        CPUUsageTotal = ClampPercent(counters_.CounterUsage(0) * 100);
        return;
    }
    double sum = 0;
    for (std::int32_t i = 0; i < CPUCount; ++i) {
        const double usage = ClampPercent(counters_.CounterUsage(i) * 100);
        CPUUsageEach[static_cast<std::size_t>(i)] = usage;
        sum += usage;
    }
    CPUUsageTotal = sum / CPUCount;
}

void TResMonitor::MemorySample() {
    // Both stay -1 when the status cannot be read, which comes out as 0 MB and 0 percent.
    platform::MemoryFigures figures;
    auto& system = platform::TheSystem();
    if (win2000OrLater_) {
        system.GlobalMemoryStatusEx(figures);
    } else {
        system.GlobalMemoryStatus(figures);
    }
    const bool physical = config::UsePhysicalMemory.load();
    const std::int64_t total = physical ? figures.totalPhys : figures.totalPageFile;
    const std::int64_t available = physical ? figures.availPhys : figures.availPageFile;
    const auto used =
        static_cast<std::int64_t>(static_cast<std::uint64_t>(total) - static_cast<std::uint64_t>(available));
    MemoryUsedMB = static_cast<double>(used) / kBytesPerMB;
    // A memory kind of size 0 is not in use at all (the ratio would not be a number).
    MemoryUsagePercent =
        total == 0 ? 0.0 : (1 - static_cast<double>(available) / static_cast<double>(total)) * 100;
    MemoryTotalMB = static_cast<double>(total) / kBytesPerMB;
}

void TResMonitor::UpdateStatistics() {
    const std::lock_guard lock(statisticsLock_);
    TResStatistics& s = Statistics;
    ++s.Samples;
    Accumulate(CPUUsageTotal, s.Samples, s.CPUUsageMin, s.CPUUsageAverage, s.CPUUsageMax);
    Accumulate(MemoryUsagePercent, s.Samples, s.MemoryUsageMin, s.MemoryUsageAverage, s.MemoryUsageMax);
    s.MemoryTotalMB = MemoryTotalMB;
    PublishSeedLocked();
}

void TResMonitor::ResetStatistics() {
    const std::lock_guard lock(statisticsLock_);
    ResetLocked();
}

TResStatistics TResMonitor::CopyStatistics() const {
    const std::lock_guard lock(statisticsLock_);
    return Statistics;
}

void TResMonitor::PublishSeedLocked() {
    seedCpuUsage_ = CPUUsageTotal;
    seedMemoryUsage_ = MemoryUsagePercent;
    seedMemoryTotalMB_ = MemoryTotalMB;
}

void TResMonitor::ResetLocked() {
    auto& time = platform::TheTime();
    TResStatistics& s = Statistics;
    s = TResStatistics{};
    s.TimeStarted = time.LocalNow();
    s.TickStarted = time.TickCount();
    s.CPUUsageMin = s.CPUUsageAverage = s.CPUUsageMax = seedCpuUsage_;
    s.MemoryUsageMin = s.MemoryUsageAverage = s.MemoryUsageMax = seedMemoryUsage_;
    s.MemoryTotalMB = seedMemoryTotalMB_;
}

// --- TCPUSpeed ---

TCPUSpeed::TCPUSpeed(platform::UiLink& link) : TThread(link), win2000OrLater_(Windows2000OrLater()) {}

void TCPUSpeed::Execute() {
    // Both time-stamp readings must come from one processor.
    if (win2000OrLater_) {
        platform::TheThreads().SetThreadAffinity(1);
    }
    while (!Terminated()) {
        if ((config::UpdateSpeed.load() || Speed < 0) && !config::AppTrayMode.load()) {
            Measure();
            Link().PostToWindow(WM_CPU_SPEED, static_cast<std::uintptr_t>(RoundHalfEven(Speed)), 0);
        }
        platform::TheTime().Sleep(kClockPause);
    }
}

void TCPUSpeed::Measure() {
    auto& threads = platform::TheThreads();
    auto& time = platform::TheTime();
    auto& cpu = platform::TheCpu();

    // Restores the priorities even when a step below raises.
    struct PriorityGuard {
        platform::Threads& threads;
        int threadPriority = threads.ThreadPriority();
        std::uint32_t priorityClass = threads.ProcessPriorityClass();
        ~PriorityGuard() {
            threads.SetThreadPriority(threadPriority);
            threads.SetProcessPriorityClass(priorityClass);
        }
    };
    std::uint64_t ticks = 0;
    {
        const PriorityGuard guard{threads};
        threads.SetProcessPriorityClass(platform::kRealtimePriorityClass);
        threads.SetThreadPriority(platform::kThreadPriorityTimeCritical);
        time.Sleep(kClockSettle);
        const std::uint64_t before = cpu.ReadTimeStampCounter();
        time.Sleep(kClockWindow);
        ticks = cpu.ReadTimeStampCounter() - before;
    }
    Speed = SpeedFromTicks(ticks);
}

// --- start and stop ---

std::wstring StartSampling(SamplingThreads& threads, platform::UiLink& link,
                           TResMonitor::DisplayStep displaySample,
                           platform::FunctionRef<void()> checkPerformanceCounters,
                           CpuUsageCounters& counters) {
    threads.ResMonitor = std::make_unique<TResMonitor>(link, std::move(displaySample), counters);
    threads.CPUSpeed = std::make_unique<TCPUSpeed>(link);
    threads.CPUSpeed->Resume();
    try {
        checkPerformanceCounters();
        counters.RefreshCounters();
    } catch (const std::exception& error) {
        // The sampler stays suspended; the clock keeps running.
        return Widen(error.what());
    }
    activeResMonitor.store(threads.ResMonitor.get());
    threads.ResMonitor->Resume();
    return {};
}

std::wstring StartSampling(SamplingThreads& threads, platform::UiLink& link,
                           TResMonitor::DisplayStep displaySample) {
    CpuUsageCounters* counters = nullptr;
    try {
        // The process's counters, or those a test installs.
        counters = &platform::Seam<CpuUsageCounters>::Get();
    } catch (const std::exception& error) {
        return Widen(error.what());
    }
    return StartSampling(
        threads, link, std::move(displaySample), [] { CheckPerformanceCounters(); }, *counters);
}

void StopSampling(SamplingThreads& threads) {
    if (threads.CPUSpeed) {
        threads.CPUSpeed->Terminate();
    }
    if (threads.ResMonitor) {
        threads.ResMonitor->Terminate();
        // Waits while still serving a display step that the sampler is blocked in.
        threads.ResMonitor->Free();
        activeResMonitor.store(nullptr);
        threads.ResMonitor.reset();
    }
    threads.CPUSpeed.reset();
}

TResMonitor* ActiveResMonitor() {
    return activeResMonitor.load();
}

} // namespace quelmo
