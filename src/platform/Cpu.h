// The processor itself: the CPUID and RDTSC instructions, process affinity and the processor
// count, as the processor-identification library needs them.
#pragma once

#include "platform/Seam.h"

#include <cstdint>
#include <string_view>

namespace quelmo::platform {

// The four registers one CPUID execution returns.
struct CpuidRegisters {
    std::uint32_t eax = 0;
    std::uint32_t ebx = 0;
    std::uint32_t ecx = 0;
    std::uint32_t edx = 0;

    friend bool operator==(const CpuidRegisters&, const CpuidRegisters&) = default;
};

// The leaves that take a sub-leaf in ECX: Intel's deterministic cache parameters (4) and AMD's
// cache topology (0x8000001D). Every other leaf is executed with ECX = 0.
constexpr bool LeafTakesSubleaf(std::uint32_t leaf) {
    return leaf == 4 || leaf == 0x8000001D;
}

class Cpu {
public:
    virtual ~Cpu() = default;

    // Executes CPUID once with EAX = leaf on the processor the thread runs on; ECX = subleaf for
    // the leaves that take one (LeafTakesSubleaf), else 0.
    virtual CpuidRegisters Cpuid(std::uint32_t leaf, std::uint32_t subleaf) = 0;
    // The time-stamp counter (RDTSC).
    virtual std::uint64_t ReadTimeStampCounter() = 0;

    // Looks up the process-affinity setter by name (Win32: `function` in the module `module`)
    // and keeps it for SetProcessAffinityMask. Called once when the library starts; true when
    // it was found. Later lookups replace the earlier result.
    virtual bool LookUpAffinitySetter(std::string_view module, std::string_view function) = 0;
    // Whether the last LookUpAffinitySetter found the setter.
    virtual bool AffinitySetterFound() = 0;
    // The process's affinity mask, the first 32 processors (GetProcessAffinityMask).
    virtual std::uint32_t ProcessAffinityMask() = 0;
    // Restricts the process to the processors in `mask` through the setter that was found;
    // does nothing when none was.
    virtual void SetProcessAffinityMask(std::uint32_t mask) = 0;

    // The number of processors the system reports (GetSystemInfo dwNumberOfProcessors).
    virtual std::uint32_t ProcessorCount() = 0;
};

// Defined by the platform's implementation file.
template <>
Cpu& Seam<Cpu>::Default();

inline Cpu& TheCpu() {
    return Seam<Cpu>::Get();
}

} // namespace quelmo::platform
