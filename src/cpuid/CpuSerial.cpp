#include "cpuid/CpuSerial.h"

#include "cpuid/CpuLibrary.h"
#include "sampling/CpuUsage.h"

namespace quelmo {
namespace {

constexpr std::uint32_t kSerialFeatureBit = 18;

// Eight upper-case hexadecimal digits.
std::string Hex8(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
        value >>= 4;
    }
    return text;
}

bool IsTransmeta(std::uint8_t processor) {
    return CpuRoot().Processors(processor)->Vendor()->Vendor() == TCpuVendor::Transmeta;
}

} // namespace

std::string SerialGroupPair(std::uint32_t value) {
    const std::string digits = Hex8(value);
    return digits.substr(0, 4) + "-" + digits.substr(4);
}

CpuRef<ICpuBoolean> TProcessorSerial::Available() const {
    return CpuRoot().Processors(processor_)->Features()->Standard()->Features(kSerialFeatureBit)->Available();
}

std::string TProcessorSerial::AsString() const {
    if (IsTransmeta(processor_)) {
        return SerialGroupPair(command3_.Ebx()->Value());
    }
    // Command 3's EAX leads, not the signature of command 1.
    return SerialGroupPair(command3_.Eax()->Value()) + "-" + SerialGroupPair(command3_.Edx()->Value()) + "-" +
           SerialGroupPair(command3_.Ecx()->Value());
}

std::string TProcessorSerial::AsHex() const {
    if (IsTransmeta(processor_)) {
        return Hex8(command3_.Ebx()->Value());
    }
    return Hex8(command3_.Eax()->Value()) + Hex8(command3_.Edx()->Value()) + Hex8(command3_.Ecx()->Value());
}

bool DivisionFlawPresent() {
    // Volatile operands and results: the compiler can neither fold the expression nor keep the
    // intermediate in extended precision, so the processor's own division is what is tested.
    volatile double x = 4195835.0;
    volatile double y = 3145727.0;
    volatile double quotient = x / y;
    volatile double product = quotient * y;
    volatile double remainder = product - x;
    return remainder != 0.0;
}

CpuRef<ICpuBoolean> TProcessorErrata::FDivError() const {
    return CpuBoolean(DivisionFlawPresent());
}

CpuRef<ICpuBoolean> TProcessorErrata::DuronCache() const {
    const auto cpu = CpuRoot().Processors(processor_);
    if (cpu->Vendor()->Vendor() != TCpuVendor::AMD) {
        return CpuBoolean(false);
    }
    // Family, then model, then stepping, each a fresh query, stopping at the first mismatch.
    const bool duron = cpu->Signature()->Family()->Value()->Value() == 6 &&
                       cpu->Signature()->Model()->Value()->Value() == 3 &&
                       cpu->Signature()->Stepping()->Value()->Value() == 0;
    return CpuBoolean(duron);
}

std::uint32_t UsagePercent(double fraction) {
    const double percent = fraction * 100.0;
    if (!(percent > 0)) {
        return 0; // below zero, or not a number
    }
    return percent >= 100.0 ? 100U : static_cast<std::uint32_t>(percent);
}

CpuRef<ICpuNumber> TProcessorUsage::Usage() const {
    CpuUsageCounters& counters = platform::Seam<CpuUsageCounters>::Get();
    counters.RefreshCounters();
    return CpuNumber(UsagePercent(counters.CounterUsage(processor_)));
}

} // namespace quelmo
