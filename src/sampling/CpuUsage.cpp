#include "sampling/CpuUsage.h"

#include "sampling/PerfData.h"
#include "sampling/SamplingTexts.h"

#include <algorithm>
#include <cstring>

namespace quelmo {
namespace {

using platform::kErrorMoreData;
using platform::kErrorSuccess;
using platform::RegAccess;
using platform::RegRoot;
using platform::RegType;

constexpr std::wstring_view kProcessorValueName = L"238";
constexpr std::wstring_view kStartStatKey = L"PerfStats\\StartStat";
constexpr std::wstring_view kStatDataKey = L"PerfStats\\StatData";
constexpr std::wstring_view kStopStatKey = L"PerfStats\\StopStat";
constexpr std::wstring_view kCpuUsageValue = L"KERNEL\\CPUUsage";

// Counter differences wrap like the 64-bit signed arithmetic of the system's own tools.
std::int64_t Difference(std::int64_t later, std::int64_t earlier) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(later) - static_cast<std::uint64_t>(earlier));
}

[[noreturn]] void Raise(perfdata::WalkStatus status) {
    throw ECpuUsage(status == perfdata::WalkStatus::CounterNotFound ? texts::kNoIdleCounter
                                                                    : texts::kNoProcessorObject);
}

} // namespace

CpuUsageCounters::CpuUsageCounters() : buffer_(kInitialBufferSize) {
    // Touched first so that the registry outlives this module at process end.
    platform::TheRegistry();
    if (!platform::TheSystem().GetVersion(version_)) {
        throw ECpuUsage(texts::kNoWindowsVersion);
    }
    isNT_ = version_.platformId == platform::kPlatformWin32Nt;
}

CpuUsageCounters::~CpuUsageCounters() {
    ReleaseCounters();
    if (queried_) {
        // Lets the system unload the performance-data providers.
        auto& registry = platform::TheRegistry();
        registry.CloseKey(registry.RootKey(RegRoot::PerformanceData));
    }
}

void CpuUsageCounters::RefreshCounters() {
    if (!isNT_) {
        Refresh9x();
    } else if (kernelTimes_) {
        RefreshKernelTimes();
    } else {
        RefreshPerformanceData();
    }
}

std::int32_t CpuUsageCounters::CounterCount() {
    if (!isNT_) {
        return 1;
    }
    if (processorCount_ < 0) {
        RefreshCounters();
    }
    return processorCount_;
}

double CpuUsageCounters::CounterUsage(std::int32_t index) {
    if (!isNT_) {
        if (index != 0) {
            throw ECpuUsage(texts::kCpuIndexOutOfBounds);
        }
        if (!collecting_) {
            Refresh9x();
        }
        return usage9x_ / 100.0;
    }
    if (processorCount_ < 0) {
        RefreshCounters();
    }
    if (index < 0 || index >= processorCount_) {
        throw ECpuUsage(texts::kCpuIndexOutOfBounds);
    }
    const auto i = static_cast<std::size_t>(index);
    const std::int64_t idle = Difference(current_[i], previous_[i]);
    const std::int64_t elapsed = kernelTimes_ ? Difference(currentElapsed_[i], previousElapsed_[i])
                                              : Difference(currentTime_, previousTime_);
    // No time passed, or the clock went back: no figure for this interval.
    if (elapsed <= 0) {
        return 0.0;
    }
    // Processor times that went backwards carry no information either.
    if (kernelTimes_ && idle < 0) {
        return 0.0;
    }
    return static_cast<double>(1.0L - static_cast<long double>(idle) / static_cast<long double>(elapsed));
}

void CpuUsageCounters::ReleaseCounters() {
    if (isNT_ || !collecting_) {
        return;
    }
    collecting_ = false;
    dataKey_.Reset();
    auto& registry = platform::TheRegistry();
    platform::ScopedRegKey stop;
    if (registry.OpenKey(registry.RootKey(RegRoot::DynData), kStopStatKey, RegAccess::AllAccess,
                         stop.Out()) == kErrorSuccess) {
        // Reading this value stops the statistics.
        Query9xUsage(stop.Get());
    }
}

std::span<const std::byte> CpuUsageCounters::QueryProcessorData() {
    auto& registry = platform::TheRegistry();
    const platform::RegKey root = registry.RootKey(RegRoot::PerformanceData);
    queried_ = true;
    for (;;) {
        auto size = static_cast<std::uint32_t>(buffer_.size());
        RegType type = RegType::None;
        const auto status = registry.QueryValue(root, kProcessorValueName, type, buffer_, size);
        if (status == kErrorSuccess) {
            return {buffer_.data(), std::min<std::size_t>(size, buffer_.size())};
        }
        // The size the system asks for is not reliable here; grow in steps and keep the buffer.
        if (status != kErrorMoreData || buffer_.size() + kBufferGrowth > kMaxBufferSize) {
            return buffer_; // searched with whatever it holds
        }
        buffer_.resize(buffer_.size() + kBufferGrowth);
    }
}

void CpuUsageCounters::RefreshPerformanceData() {
    using perfdata::WalkStatus;
    const std::span<const std::byte> block = QueryProcessorData();
    const bool first = processorCount_ < 0;
    perfdata::ProcessorObject object;
    WalkStatus status = perfdata::FindProcessorCounter(block, object);
    // An object without instances has no processor to sample.
    if (status == WalkStatus::Ok && first && object.numInstances < 1) {
        status = WalkStatus::ObjectNotFound;
    }
    const auto count = static_cast<std::size_t>(first ? object.numInstances : processorCount_);
    if (status == WalkStatus::Ok) {
        status = perfdata::ReadInstanceCounters(block, object, count, first ? nullptr : scratch_.data());
    }
    if (status == WalkStatus::ObjectNotFound && first && SwitchToKernelTimes()) {
        return;
    }
    if (status != WalkStatus::Ok) {
        Raise(status);
    }
    // A time stamp the system would reject counts as no time passing.
    std::int64_t time = currentTime_;
    perfdata::BlockSystemTime(block, time);

    if (first) {
        current_.assign(count, 0);
        perfdata::ReadInstanceCounters(block, object, count, current_.data());
        previous_ = current_;
        scratch_.assign(count, 0);
        processorCount_ = static_cast<std::int32_t>(count);
        previousTime_ = currentTime_ = time;
        return;
    }
    previous_.swap(current_);
    current_.swap(scratch_);
    previousTime_ = currentTime_;
    currentTime_ = time;
}

bool CpuUsageCounters::SwitchToKernelTimes() {
    const std::size_t processors =
        std::min(platform::TheSystem().ProcessorTimes(kernelAnswer_), kernelAnswer_.size());
    if (processors == 0) {
        return false;
    }
    const std::size_t count = processors + 1;
    current_.assign(count, 0);
    currentElapsed_.assign(count, 0);
    StoreKernelTimes(processors, current_, currentElapsed_);
    previous_ = current_;
    previousElapsed_ = currentElapsed_;
    scratch_.assign(count, 0);
    scratchElapsed_.assign(count, 0);
    processorCount_ = static_cast<std::int32_t>(count);
    kernelTimes_ = true;
    return true;
}

void CpuUsageCounters::RefreshKernelTimes() {
    const std::size_t processors = static_cast<std::size_t>(processorCount_) - 1;
    if (std::min(platform::TheSystem().ProcessorTimes(kernelAnswer_), kernelAnswer_.size()) < processors) {
        throw ECpuUsage(texts::kNoProcessorObject);
    }
    StoreKernelTimes(processors, scratch_, scratchElapsed_);
    previous_.swap(current_);
    current_.swap(scratch_);
    previousElapsed_.swap(currentElapsed_);
    currentElapsed_.swap(scratchElapsed_);
}

void CpuUsageCounters::StoreKernelTimes(std::size_t processors, std::vector<std::int64_t>& idle,
                                        std::vector<std::int64_t>& elapsed) const {
    std::int64_t idleSum = 0;
    std::int64_t elapsedSum = 0;
    for (std::size_t i = 0; i < processors; ++i) {
        const platform::ProcessorTime& t = kernelAnswer_[i];
        // Kernel time includes the idle time.
        const std::int64_t busyAndIdle = static_cast<std::int64_t>(static_cast<std::uint64_t>(t.kernel) +
                                                                   static_cast<std::uint64_t>(t.user));
        idle[i] = t.idle;
        elapsed[i] = busyAndIdle;
        idleSum = static_cast<std::int64_t>(static_cast<std::uint64_t>(idleSum) +
                                            static_cast<std::uint64_t>(t.idle));
        elapsedSum = static_cast<std::int64_t>(static_cast<std::uint64_t>(elapsedSum) +
                                               static_cast<std::uint64_t>(busyAndIdle));
    }
    idle[processors] = idleSum;
    elapsed[processors] = elapsedSum;
}

void CpuUsageCounters::Refresh9x() {
    auto& registry = platform::TheRegistry();
    if (!collecting_) {
        const platform::RegKey dynData = registry.RootKey(RegRoot::DynData);
        platform::ScopedRegKey start;
        if (registry.OpenKey(dynData, kStartStatKey, RegAccess::AllAccess, start.Out()) != kErrorSuccess) {
            throw ECpuUsage(texts::kCannotStartMonitoring);
        }
        // Reading this value starts the statistics.
        Query9xUsage(start.Get());
        start.Reset();
        platform::ScopedRegKey data;
        if (registry.OpenKey(dynData, kStatDataKey, RegAccess::Read, data.Out()) != kErrorSuccess) {
            throw ECpuUsage(texts::kCannotReadPerformanceData);
        }
        dataKey_ = std::move(data);
        collecting_ = true;
    }
    Query9xUsage(dataKey_.Get());
}

void CpuUsageCounters::Query9xUsage(platform::RegKey key) {
    // The value lands in usage9x_ as far as the query writes it; its status is not examined.
    std::array<std::byte, sizeof(usage9x_)> bytes{};
    std::memcpy(bytes.data(), &usage9x_, bytes.size());
    std::uint32_t size = bytes.size();
    RegType type = RegType::None;
    platform::TheRegistry().QueryValue(key, kCpuUsageValue, type, bytes, size);
    std::memcpy(&usage9x_, bytes.data(), bytes.size());
}

CpuUsageCounters& TheCpuUsage() {
    static CpuUsageCounters counters;
    return counters;
}

void RefreshCounters() {
    TheCpuUsage().RefreshCounters();
}

std::int32_t CounterCount() {
    return TheCpuUsage().CounterCount();
}

double CounterUsage(std::int32_t index) {
    return TheCpuUsage().CounterUsage(index);
}

void ReleaseCounters() {
    TheCpuUsage().ReleaseCounters();
}

} // namespace quelmo

template <>
quelmo::CpuUsageCounters& quelmo::platform::Seam<quelmo::CpuUsageCounters>::Default() {
    return quelmo::TheCpuUsage();
}
