// The kernel services of platform/System.h answered from set values. Safe to use from several
// threads; answering a call never allocates.
#pragma once

#include "platform/System.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace quelmo::fakes {

class FakeSystem final : public platform::System {
public:
    FakeSystem();

    bool GetVersion(platform::OsVersion& version) override;
    bool GlobalMemoryStatusEx(platform::MemoryFigures& figures) override;
    void GlobalMemoryStatus(platform::MemoryFigures& figures) override;
    std::size_t ProcessorTimes(std::span<platform::ProcessorTime> times) override;

    // Set-up. The default is Windows 7 (NT 6.1), GlobalMemoryStatusEx present, no processor times.
    void SetVersion(std::optional<platform::OsVersion> version);
    void SetWindows9x() { SetVersion(platform::OsVersion{1, 4, 10, 0}); }
    void SetWindowsNt(std::uint32_t major, std::uint32_t minor = 0) {
        SetVersion(platform::OsVersion{platform::kPlatformWin32Nt, major, minor, 0});
    }
    // nullopt: GlobalMemoryStatusEx is missing or fails.
    void SetMemoryStatusEx(std::optional<platform::MemoryFigures> figures);
    void SetMemoryStatus(platform::MemoryFigures figures);
    // The kernel's per-processor times (empty: the source is unavailable).
    void SetProcessorTimes(std::vector<platform::ProcessorTime> times);
    // Adds idle and busy time to processor `index`: idle counts into kernel time too.
    void AddProcessorTime(std::size_t index, std::int64_t idle, std::int64_t busy);

    std::size_t ProcessorTimesCalls() const { return processorTimesCalls_.load(); }
    std::size_t MemoryStatusExCalls() const { return memoryExCalls_.load(); }
    std::size_t MemoryStatusCalls() const { return memoryCalls_.load(); }

private:
    mutable std::mutex mutex_;
    std::optional<platform::OsVersion> version_;
    std::optional<platform::MemoryFigures> memoryEx_;
    platform::MemoryFigures memory_;
    std::vector<platform::ProcessorTime> processorTimes_;
    std::atomic<std::size_t> processorTimesCalls_{0};
    std::atomic<std::size_t> memoryExCalls_{0};
    std::atomic<std::size_t> memoryCalls_{0};
};

} // namespace quelmo::fakes
