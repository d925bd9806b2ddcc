// Kernel services of the sampling threads: the system's version, memory status and per-processor
// times.
#pragma once

#include "platform/Seam.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace quelmo::platform {

// VER_PLATFORM_WIN32_NT, the platform identifier of the NT family.
inline constexpr std::uint32_t kPlatformWin32Nt = 2;

// What GetVersionEx reports.
struct OsVersion {
    std::uint32_t platformId = 0;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

// The four sizes of the memory status that the monitor shows, in bytes. A value the call did not
// provide stays as the caller set it.
struct MemoryFigures {
    std::int64_t totalPhys = -1;
    std::int64_t availPhys = -1;
    std::int64_t totalPageFile = -1;
    std::int64_t availPageFile = -1;
};

// One processor's accumulated times in 100-nanosecond units; kernel time includes idle time.
struct ProcessorTime {
    std::int64_t idle = 0;
    std::int64_t kernel = 0;
    std::int64_t user = 0;
};

class System {
public:
    virtual ~System() = default;
    // GetVersionEx; false when the call fails.
    virtual bool GetVersion(OsVersion& version) = 0;
    // GlobalMemoryStatusEx, looked up by name in kernel32.dll; false (figures untouched) when the
    // function is missing or fails.
    virtual bool GlobalMemoryStatusEx(MemoryFigures& figures) = 0;
    // GlobalMemoryStatus: 32-bit sizes taken unsigned.
    virtual void GlobalMemoryStatus(MemoryFigures& figures) = 0;
    // NtQuerySystemInformation(SystemProcessorPerformanceInformation), looked up by name in
    // ntdll.dll. Fills `times` with the first processors and returns how many processors the
    // kernel reported (possibly more than times.size()); 0 when the source is unavailable.
    virtual std::size_t ProcessorTimes(std::span<ProcessorTime> times) = 0;
};

// Defined by the platform's implementation file.
template <>
System& Seam<System>::Default();

inline System& TheSystem() {
    return Seam<System>::Get();
}

} // namespace quelmo::platform
