#include "cpuid/CpuName.h"

#include "cpuid/CpuLibrary.h"

namespace quelmo {

std::string TProcessorName::Name() const {
    const auto information = CpuRoot().Processors(processor_);
    return std::string(VendorInfo(information->Vendor()->Vendor()).shortName) +
           information->Signature()->AsString();
}

} // namespace quelmo
