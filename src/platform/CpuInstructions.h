// The two processor instructions, issued through the compiler's intrinsics. Included only by the
// Cpu implementations of platform/win32 and platform/posix: this is the one place that executes
// CPUID and RDTSC.
#pragma once

#include "platform/Cpu.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <x86intrin.h>
#endif

namespace quelmo::platform {

inline CpuidRegisters ExecuteCpuid(std::uint32_t leaf, std::uint32_t subleaf) {
    CpuidRegisters r;
#if defined(__i386__) || defined(__x86_64__)
    // ECX is cleared for every other leaf, so that a leaf with sub-leaves answers its first one.
    __cpuid_count(leaf, LeafTakesSubleaf(leaf) ? subleaf : 0, r.eax, r.ebx, r.ecx, r.edx);
#else
    (void)leaf; // not an x86 processor: every leaf reads as zeros
    (void)subleaf;
#endif
    return r;
}

inline std::uint64_t ExecuteRdtsc() {
#if defined(__i386__) || defined(__x86_64__)
    return __rdtsc();
#else
    return 0;
#endif
}

} // namespace quelmo::platform
