#include "cpuid/RecordedCpu.h"

#include <bit>
#include <optional>

namespace quelmo {
namespace {

// The base leaf of the range `leaf` belongs to, for the ranges whose maximum the dump records.
std::optional<std::uint32_t> RecordedRangeBase(std::uint32_t leaf) {
    for (const std::uint32_t base : {0x00000000U, 0x80000000U, 0x80860000U}) {
        if (leaf >= base && leaf - base <= 0xFFFF) {
            return base;
        }
    }
    return std::nullopt;
}

} // namespace

RecordedCpu::RecordedCpu(CpuDump dump) {
    dumps_.emplace(0, std::move(dump));
}

void RecordedCpu::SetProcessorCount(std::uint32_t count) {
    count_ = count;
    mask_ = count >= 32 ? 0xFFFFFFFFU : (1U << count) - 1;
}

void RecordedCpu::SetProcessorDump(std::uint32_t processor, CpuDump dump) {
    dumps_[processor] = std::move(dump);
}

void RecordedCpu::SetLeaf(std::uint32_t leaf, const platform::CpuidRegisters& registers,
                          std::uint32_t processor) {
    if (!dumps_.contains(processor)) {
        dumps_[processor] = dumps_.at(0);
    }
    dumps_[processor].Set(leaf, 0, registers);
}

void RecordedCpu::SetTimeStampCounter(std::uint64_t start, std::uint64_t step) {
    tsc_ = start;
    tscStep_ = step;
}

std::uint32_t RecordedCpu::Executions(std::uint32_t leaf) const {
    const auto found = executions_.find(leaf);
    return found == executions_.end() ? 0 : found->second;
}

std::uint32_t RecordedCpu::CurrentProcessor() const {
    return std::popcount(mask_) == 1 ? static_cast<std::uint32_t>(std::countr_zero(mask_)) : 0;
}

const CpuDump& RecordedCpu::DumpOf(std::uint32_t processor) const {
    const auto found = dumps_.find(processor);
    return found == dumps_.end() ? dumps_.at(0) : found->second;
}

platform::CpuidRegisters RecordedCpu::Cpuid(std::uint32_t leaf, std::uint32_t subleaf) {
    ++executions_[leaf];
    const CpuDump& dump = DumpOf(CurrentProcessor());
    if (const auto base = RecordedRangeBase(leaf); base && leaf != *base) {
        const platform::CpuidRegisters* top = dump.Find(*base);
        if (top == nullptr || top->eax < leaf) {
            return {};
        }
    }
    const platform::CpuidRegisters* registers =
        dump.Find(leaf, platform::LeafTakesSubleaf(leaf) ? subleaf : 0);
    return registers != nullptr ? *registers : platform::CpuidRegisters{};
}

std::uint64_t RecordedCpu::ReadTimeStampCounter() {
    if (clock_ != nullptr) {
        return clock_->TimeStampCounter();
    }
    const std::uint64_t value = tsc_;
    tsc_ += tscStep_;
    return value;
}

bool RecordedCpu::LookUpAffinitySetter(std::string_view module, std::string_view function) {
    lookups_.emplace_back(module, function);
    found_ = setterPresent_;
    return found_;
}

std::uint32_t RecordedCpu::ProcessAffinityMask() {
    ++affinityReads_;
    return mask_;
}

void RecordedCpu::SetProcessAffinityMask(std::uint32_t mask) {
    affinityWrites_.push_back(mask);
    if (found_) {
        mask_ = mask;
    }
}

} // namespace quelmo
