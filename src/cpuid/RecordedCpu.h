// A processor that answers from recorded CPUID dumps instead of the CPUID instruction: the
// console tool's `--dump FILE`, and the tests (installed with ScopedCpu from CpuLibrary.h).
//
// Every processor answers from the dump given at construction unless it was given its own with
// SetProcessorDump; the answering processor is the one the affinity mask names when it names
// exactly one, else processor 0. Leaves 4 and 0x8000001D answer the recorded sub-leaf asked for;
// every other leaf answers its sub-leaf 0 whatever the sub-leaf, as the instruction does. Leaves
// and sub-leaves the dump does not hold, and leaves above the maximum of their range (EAX of 0,
// 0x80000000 or 0x80860000), read as zeros. The processor count, the
// affinity mask, the setter's presence and the time-stamp counter are scripted (or the counter
// follows a RecordedClock); affinity calls and CPUID executions are counted.
#pragma once

#include "cpuid/CpuDump.h"
#include "cpuid/RecordedClock.h"
#include "platform/Cpu.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace quelmo {

class RecordedCpu final : public platform::Cpu {
public:
    explicit RecordedCpu(CpuDump dump);

    // Script. The processor count defaults to 1 and sets the process mask to all processors.
    void SetProcessorCount(std::uint32_t count);
    void SetProcessorDump(std::uint32_t processor, CpuDump dump);
    // Replaces (or adds) sub-leaf 0 of `leaf` in a processor's dump, to derive a processor
    // from a recorded one.
    void SetLeaf(std::uint32_t leaf, const platform::CpuidRegisters& registers, std::uint32_t processor = 0);
    void SetAffinitySetterPresent(bool present) { setterPresent_ = present; }
    void SetProcessAffinity(std::uint32_t mask) { mask_ = mask; }
    void SetTimeStampCounter(std::uint64_t start, std::uint64_t step);
    // The time-stamp counter runs at `clock`'s rate instead (nullptr: back to the script above).
    void SetClock(const RecordedClock* clock) { clock_ = clock; }

    // What happened.
    std::uint32_t AffinityReads() const { return affinityReads_; }
    const std::vector<std::uint32_t>& AffinityWrites() const { return affinityWrites_; }
    std::size_t AffinityCalls() const { return affinityReads_ + affinityWrites_.size(); }
    const std::vector<std::pair<std::string, std::string>>& SetterLookups() const { return lookups_; }
    // CPUID executions of `leaf`, on any processor.
    std::uint32_t Executions(std::uint32_t leaf) const;
    std::uint32_t CurrentProcessor() const;

    // platform::Cpu
    platform::CpuidRegisters Cpuid(std::uint32_t leaf, std::uint32_t subleaf) override;
    std::uint64_t ReadTimeStampCounter() override;
    bool LookUpAffinitySetter(std::string_view module, std::string_view function) override;
    bool AffinitySetterFound() override { return found_; }
    std::uint32_t ProcessAffinityMask() override;
    void SetProcessAffinityMask(std::uint32_t mask) override;
    std::uint32_t ProcessorCount() override { return count_; }

private:
    const CpuDump& DumpOf(std::uint32_t processor) const;

    std::map<std::uint32_t, CpuDump> dumps_; // processor 0 always present
    std::uint32_t count_ = 1;
    std::uint32_t mask_ = 1;
    bool setterPresent_ = true;
    bool found_ = false;
    std::uint64_t tsc_ = 0;
    std::uint64_t tscStep_ = 1;
    const RecordedClock* clock_ = nullptr;
    std::uint32_t affinityReads_ = 0;
    std::vector<std::uint32_t> affinityWrites_;
    std::vector<std::pair<std::string, std::string>> lookups_;
    std::map<std::uint32_t, std::uint32_t> executions_;
};

} // namespace quelmo
