#include "cpuid/CpuLibrary.h"

#include "cpuid/CpuTexts.h"

#include <algorithm>
#include <memory>

namespace quelmo {
namespace {

struct LibraryState {
    bool started = false;
    std::unique_ptr<TCpuRoot> root;
};

LibraryState& State() {
    static LibraryState state;
    return state;
}

} // namespace

CpuRef<ICpuNumber> TProcessorCount::Available() const {
    return CpuNumber(platform::TheCpu().ProcessorCount());
}

namespace {

// The logical processors in the package of `processor` as its topology command reports them:
// on AMD processors 0x80000008 ECX bits 0-7 plus one; 0 where the processor reports none.
std::uint32_t LogicalProcessorsOfPackage(std::uint8_t processor) {
    constexpr std::uint32_t kTopologyCommand = 0x80000008;
    if (CpuRoot().Processors(processor)->Vendor()->Vendor() != TCpuVendor::AMD ||
        !CommandAvailable(processor, kTopologyCommand)) {
        return 0;
    }
    return (TCpuid(processor, kTopologyCommand).Ecx()->Value() & 0xFF) + 1;
}

} // namespace

CpuRef<ICpuNumber> TProcessorCount::Virtual() const {
    // The system counts logical processors; a system that sees fewer than the package holds (one
    // per package, or a 32-bit view of a larger machine) still has the package's.
    return CpuNumber(std::max(Available()->Value(), LogicalProcessorsOfPackage(0)));
}

CpuRef<ICpuCacheInformation> TProcessorInformation::Cache() const {
    return std::make_shared<const TProcessorCache>(processor_);
}

CpuRef<ICpuidRanges> TProcessorInformation::Cpuid() const {
    return std::make_shared<const TProcessorCpuid>(processor_);
}

CpuRef<ICpuErrata> TProcessorInformation::Errata() const {
    return std::make_shared<const TProcessorErrata>(processor_);
}

CpuRef<ICpuFeatures> TProcessorInformation::Features() const {
    return std::make_shared<const TProcessorFeatures>(processor_);
}

CpuRef<ICpuProcessorName> TProcessorInformation::Name() const {
    return std::make_shared<const TProcessorName>(processor_);
}

CpuRef<ICpuSerial> TProcessorInformation::Serial() const {
    return std::make_shared<const TProcessorSerial>(processor_);
}

CpuRef<ICpuSignature> TProcessorInformation::Signature() const {
    return std::make_shared<const TProcessorSignature>(processor_);
}

CpuRef<ICpuSpeed> TProcessorInformation::Speed() const {
    return std::make_shared<const TProcessorSpeedInformation>(processor_);
}

CpuRef<ICpuUsage> TProcessorInformation::Usage() const {
    return std::make_shared<const TProcessorUsage>(processor_);
}

CpuRef<ICpuVendor> TProcessorInformation::Vendor() const {
    return std::make_shared<const TProcessorVendor>(processor_);
}

// Only the count is read here, so creating the root never comes back to CpuRoot().
TCpuRoot::TCpuRoot() : multiprocessor_(TProcessorCount().Available()->Value() > 1) {}

CpuRef<ICpuInformation> TCpuRoot::Processors(std::uint8_t processor) const {
    return std::make_shared<const TProcessorInformation>(processor);
}

CpuRef<ICpuCount> TCpuRoot::ProcessorCount() const {
    return std::make_shared<const TProcessorCount>();
}

CpuRef<ICpuNumber> TCpuRoot::Version() const {
    return CpuNumber(kCpuLibraryVersion);
}

TCpuRoot& CpuRoot() {
    LibraryState& state = State();
    StartCpuLibrary();
    if (!state.root) {
        state.root = std::make_unique<TCpuRoot>();
    }
    return *state.root;
}

void StartCpuLibrary() {
    LibraryState& state = State();
    if (!state.started) {
        state.started = true;
        platform::TheCpu().LookUpAffinitySetter(texts::kKernelModule, texts::kSetProcessAffinityMask);
    }
}

void RestartCpuLibrary() {
    LibraryState& state = State();
    state.started = false;
    state.root.reset();
}

} // namespace quelmo
