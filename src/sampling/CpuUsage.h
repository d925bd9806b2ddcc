// Processor-usage counters: how busy each processor was between the last two snapshots.
//
// NT family: the processor object (238) of the registry performance data, its idle-time counter
// (6) per instance and the block's time stamp. When the first snapshot finds no processor object
// (Wine answers with an empty block) and the kernel reports per-processor times, every snapshot
// comes from those times instead: one instance per processor and a last one for their sum. 9x
// family: the kernel's dynamic statistics under HKEY_DYN_DATA, one instance.
//
// The module keeps its state between calls and is used by one thread at a time.
#pragma once

#include "platform/Registry.h"
#include "platform/Seam.h"
#include "platform/System.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace quelmo {

// Every failure of the counters, with the texts of SamplingTexts.h.
class ECpuUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class CpuUsageCounters {
public:
    static constexpr std::size_t kInitialBufferSize = 8192;
    static constexpr std::size_t kBufferGrowth = 4096;
    // A query that still wants more beyond this is taken as failed (it would never end otherwise).
    static constexpr std::size_t kMaxBufferSize = std::size_t{16} << 20;
    static constexpr std::size_t kMaxKernelProcessors = 64;

    // Reads the system's version; raises "Cannot get the Windows version" when it cannot.
    CpuUsageCounters();
    ~CpuUsageCounters();
    CpuUsageCounters(const CpuUsageCounters&) = delete;
    CpuUsageCounters& operator=(const CpuUsageCounters&) = delete;

    // Takes a new snapshot (NT) or reads the current percentage (9x). On failure nothing changes.
    void RefreshCounters();
    // Instances counted (NT: fixed by the first snapshot, taken here if needed); 9x: 1.
    std::int32_t CounterCount();
    // Busy fraction of instance `index` between the last two snapshots, not clamped.
    double CounterUsage(std::int32_t index);
    // 9x: stops the statistics collection; nothing on NT.
    void ReleaseCounters();

    bool IsNT() const { return isNT_; }
    const platform::OsVersion& Version() const { return version_; }
    std::size_t BufferSize() const { return buffer_.size(); }
    // True once the snapshots come from the kernel's per-processor times.
    bool UsesKernelTimes() const { return kernelTimes_; }

private:
    std::span<const std::byte> QueryProcessorData();
    void RefreshPerformanceData();
    bool SwitchToKernelTimes();
    void RefreshKernelTimes();
    // Idle and elapsed time per instance from the kernel's answer in kernelTimes_.
    void StoreKernelTimes(std::size_t processors, std::vector<std::int64_t>& idle,
                          std::vector<std::int64_t>& elapsed) const;
    void Refresh9x();
    void Query9xUsage(platform::RegKey key);

    platform::OsVersion version_;
    bool isNT_ = false;
    std::vector<std::byte> buffer_;
    bool queried_ = false;

    // -1 until the first NT snapshot.
    std::int32_t processorCount_ = -1;
    // Idle counters per instance; scratch_ receives a snapshot until it is known to be whole.
    std::vector<std::int64_t> current_, previous_, scratch_;
    std::int64_t currentTime_ = 0;
    std::int64_t previousTime_ = 0;

    bool kernelTimes_ = false;
    // Elapsed time (kernel + user) per instance, for the kernel's times.
    std::vector<std::int64_t> currentElapsed_, previousElapsed_, scratchElapsed_;
    std::array<platform::ProcessorTime, kMaxKernelProcessors> kernelAnswer_{};

    bool collecting_ = false;
    platform::ScopedRegKey dataKey_;
    std::uint32_t usage9x_ = 0;
};

// The process-wide counters, created at first use. They are also the default of the
// Seam<CpuUsageCounters> through which the processor identification library samples the load,
// so that a test can install its own counters with ScopedSeam.
CpuUsageCounters& TheCpuUsage();

// The module's operations on the process-wide counters.
void RefreshCounters();
std::int32_t CounterCount();
double CounterUsage(std::int32_t index);
void ReleaseCounters();

} // namespace quelmo

template <>
quelmo::CpuUsageCounters& quelmo::platform::Seam<quelmo::CpuUsageCounters>::Default();
