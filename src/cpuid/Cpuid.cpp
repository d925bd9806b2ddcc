#include "cpuid/Cpuid.h"

#include "cpuid/CpuLibrary.h"
#include "platform/Cpu.h"
#include "platform/Time.h"

namespace quelmo {

bool CommandAvailable(std::uint8_t processor, std::uint32_t command) {
    const TCpuAffinity binding(processor);
    return platform::TheCpu().Cpuid(CommandRangeBase(command), 0).eax >= command;
}

TCpuAffinity::TCpuAffinity(std::uint8_t processor) {
    if (!CpuRoot().Multiprocessor() || processor >= 32) {
        return;
    }
    auto& cpu = platform::TheCpu();
    savedMask_ = cpu.ProcessAffinityMask();
    // A mask that could not be read could not be restored either: the process would stay pinned.
    if (savedMask_ == 0) {
        return;
    }
    const std::uint32_t count = CpuRoot().ProcessorCount()->Available()->Value();
    const std::uint32_t target = (count == 0 || processor > count - 1) ? 0 : processor;
    mask_ = 1U << target;
    bound_ = true;
    if (cpu.AffinitySetterFound()) {
        cpu.SetProcessAffinityMask(mask_);
    }
    // Gives up the time slice so that the scheduler moves this thread onto the processor.
    platform::TheTime().Sleep(0);
}

TCpuAffinity::~TCpuAffinity() {
    auto& cpu = platform::TheCpu();
    if (bound_ && cpu.AffinitySetterFound()) {
        cpu.SetProcessAffinityMask(savedMask_);
    }
}

TCpuid::TCpuid(std::uint8_t processor, std::uint32_t command, std::int32_t iterations, std::uint32_t subleaf)
    : processor_(processor), command_(command), iterations_(iterations) {
    const TCpuAffinity binding(processor);
    if (!CommandAvailable(processor, command)) {
        return;
    }
    auto& cpu = platform::TheCpu();
    for (std::int32_t i = 0; i < iterations; ++i) {
        const platform::CpuidRegisters r = cpu.Cpuid(command, subleaf);
        eax_ = r.eax;
        ebx_ = r.ebx;
        ecx_ = r.ecx;
        edx_ = r.edx;
    }
}

std::string TCpuid::AsString() const {
    return CpuNumber(eax_)->AsChars() + CpuNumber(ebx_)->AsChars() + CpuNumber(ecx_)->AsChars() +
           CpuNumber(edx_)->AsChars();
}

CpuRef<ICpuBoolean> TCpuid::Available() const {
    return CpuBoolean(CommandAvailable(processor_, command_));
}

namespace {

std::uint32_t RangeBaseOfKind(std::uint8_t rangeKind) {
    switch (rangeKind) {
    case kRangeExtended:
        return kExtendedBase;
    case kRangeTransmeta:
        return kTransmetaBase;
    default:
        return kStandardBase;
    }
}

} // namespace

TCpuidInformation::TCpuidInformation(std::uint8_t processor, std::uint8_t rangeKind)
    : base_(processor, RangeBaseOfKind(rangeKind)) {}

CpuRef<ICpuidInformation> TProcessorCpuid::Standard() const {
    return std::make_shared<const TCpuidInformation>(processor_, kRangeStandard);
}

CpuRef<ICpuidInformation> TProcessorCpuid::Extended() const {
    return std::make_shared<const TCpuidInformation>(processor_, kRangeExtended);
}

CpuRef<ICpuidInformation> TProcessorCpuid::Transmeta() const {
    return std::make_shared<const TCpuidInformation>(processor_, kRangeTransmeta);
}

} // namespace quelmo
