#include "cpuid/CpuLibrary.h"

#include "cpuid/CpuTexts.h"

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

CpuRef<ICpuNumber> TProcessorCount::Virtual() const {
    const auto count = static_cast<std::uint8_t>(Available()->Value());
    std::uint32_t sum = 0;
    // Indexes 1 to N: index N stands for processor 0 (the binding falls back to it), so each
    // processor is visited once.
    for (unsigned i = 1; i <= count; ++i) {
        const auto processor = static_cast<std::uint8_t>(i);
        const auto htt = CpuRoot().Processors(processor)->Features()->Standard()->Features(28)->Available();
        if (!htt->Value()) {
            sum += 1;
        } else {
            sum += (TCpuid(processor, 1).Ebx()->Value() >> 16) & 0xFF;
        }
    }
    return CpuNumber(sum);
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
