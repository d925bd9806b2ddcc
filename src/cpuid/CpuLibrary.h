// The entrance to the processor identification library: the root CpuRoot() with the processor
// count and the per-processor aggregate ICpuInformation, and the library's start-up.
//
//   const auto cpu = CpuRoot().Processors(0);
//   cpu->Vendor()->Name();                          // "Intel Corporation"
//   cpu->Features()->Standard()->Features(23);      // "MMX"
//
// Nothing is cached: every operation builds fresh objects and executes CPUID again. The library
// runs on one thread at a time (binding changes the affinity of the whole process).
#pragma once

#include "cpuid/CpuCache.h"
#include "cpuid/CpuFeatures.h"
#include "cpuid/CpuName.h"
#include "cpuid/CpuSerial.h"
#include "cpuid/CpuSpeed.h"
#include "cpuid/CpuValues.h"
#include "cpuid/CpuVendor.h"
#include "cpuid/Cpuid.h"
#include "platform/Cpu.h"
#include "platform/Seam.h"

#include <cstdint>

namespace quelmo {

inline constexpr std::uint32_t kCpuLibraryVersion = 4301;

class ICpuCount {
public:
    virtual ~ICpuCount() = default;
    // The number of processors the operating system reports.
    virtual CpuRef<ICpuNumber> Available() const = 0;
    // The machine's logical processors: the processors the system reports, or the logical
    // processors of processor 0's package where its topology command reports more.
    virtual CpuRef<ICpuNumber> Virtual() const = 0;
};

class TProcessorCount final : public ICpuCount {
public:
    CpuRef<ICpuNumber> Available() const override;
    CpuRef<ICpuNumber> Virtual() const override;
};

// Everything about one processor; each operation creates a new object for it.
class ICpuInformation {
public:
    virtual ~ICpuInformation() = default;
    virtual CpuRef<ICpuCacheInformation> Cache() const = 0;
    virtual CpuRef<ICpuidRanges> Cpuid() const = 0;
    virtual CpuRef<ICpuErrata> Errata() const = 0;
    virtual CpuRef<ICpuFeatures> Features() const = 0;
    virtual CpuRef<ICpuProcessorName> Name() const = 0;
    virtual CpuRef<ICpuSerial> Serial() const = 0;
    virtual CpuRef<ICpuSignature> Signature() const = 0;
    virtual CpuRef<ICpuSpeed> Speed() const = 0;
    virtual CpuRef<ICpuUsage> Usage() const = 0;
    virtual CpuRef<ICpuVendor> Vendor() const = 0;
};

// The index is not checked: one past the last processor answers for processor 0.
class TProcessorInformation final : public ICpuInformation {
public:
    explicit TProcessorInformation(std::uint8_t processor) : processor_(processor) {}
    CpuRef<ICpuCacheInformation> Cache() const override;
    CpuRef<ICpuidRanges> Cpuid() const override;
    CpuRef<ICpuErrata> Errata() const override;
    CpuRef<ICpuFeatures> Features() const override;
    CpuRef<ICpuProcessorName> Name() const override;
    CpuRef<ICpuSerial> Serial() const override;
    CpuRef<ICpuSignature> Signature() const override;
    CpuRef<ICpuSpeed> Speed() const override;
    CpuRef<ICpuUsage> Usage() const override;
    CpuRef<ICpuVendor> Vendor() const override;

private:
    std::uint8_t processor_;
};

// The library root: one per process, created by the first CpuRoot().
class TCpuRoot {
public:
    TCpuRoot();
    TCpuRoot(const TCpuRoot&) = delete;
    TCpuRoot& operator=(const TCpuRoot&) = delete;

    CpuRef<ICpuInformation> Processors(std::uint8_t processor) const;
    CpuRef<ICpuCount> ProcessorCount() const;
    CpuRef<ICpuNumber> Version() const; // 4301, "4.3.01" as AsVersion
    // More than one processor: CPUID is then bound to the queried processor.
    bool Multiprocessor() const { return multiprocessor_; }

private:
    bool multiprocessor_;
};

// The root; starts the library and creates the root on the first call. Not synchronised.
TCpuRoot& CpuRoot();

// Library start-up: looks up the process-affinity setter once. CpuRoot() runs it when it has
// not run yet; the program may call it earlier.
void StartCpuLibrary();

// Forgets the root and the start-up, so that the next CpuRoot() starts again from the current
// Cpu seam. Objects handed out earlier stay valid.
void RestartCpuLibrary();

// Answers every query of the library from `cpu` for its lifetime: installs it as the Cpu seam
// and restarts the library on entry and exit (tests, and the console tool's recorded dumps).
class ScopedCpu {
public:
    explicit ScopedCpu(platform::Cpu& cpu) : seam_(cpu) { RestartCpuLibrary(); }
    ~ScopedCpu() { RestartCpuLibrary(); }
    ScopedCpu(const ScopedCpu&) = delete;
    ScopedCpu& operator=(const ScopedCpu&) = delete;

private:
    platform::ScopedSeam<platform::Cpu> seam_;
};

} // namespace quelmo
