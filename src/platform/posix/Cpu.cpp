// Native (Linux) processor access for the command-line tools and the native tests. Linux binds
// threads, not processes: the "process" mask here is the calling thread's, which is the thread
// that issues CPUID in the single-threaded tools.
#include "platform/Cpu.h"
#include "platform/CpuInstructions.h"

#include <sched.h>
#include <unistd.h>

namespace quelmo::platform {
namespace {

class PosixCpu final : public Cpu {
public:
    CpuidRegisters Cpuid(std::uint32_t leaf, std::uint32_t subleaf) override {
        return ExecuteCpuid(leaf, subleaf);
    }
    std::uint64_t ReadTimeStampCounter() override { return ExecuteRdtsc(); }

    // sched_setaffinity is always there; the Win32 names mean nothing here.
    bool LookUpAffinitySetter(std::string_view /*module*/, std::string_view /*function*/) override {
        found_ = true;
        return found_;
    }
    bool AffinitySetterFound() override { return found_; }

    std::uint32_t ProcessAffinityMask() override {
        cpu_set_t set;
        CPU_ZERO(&set);
        if (sched_getaffinity(0, sizeof(set), &set) != 0) {
            return 0;
        }
        std::uint32_t mask = 0;
        for (unsigned cpu = 0; cpu < 32; ++cpu) {
            if (CPU_ISSET(cpu, &set)) {
                mask |= 1U << cpu;
            }
        }
        return mask;
    }
    void SetProcessAffinityMask(std::uint32_t mask) override {
        if (!found_ || mask == 0) {
            return;
        }
        cpu_set_t set;
        CPU_ZERO(&set);
        for (unsigned cpu = 0; cpu < 32; ++cpu) {
            if ((mask >> cpu) & 1U) {
                CPU_SET(cpu, &set);
            }
        }
        sched_setaffinity(0, sizeof(set), &set);
    }

    std::uint32_t ProcessorCount() override {
        const long count = sysconf(_SC_NPROCESSORS_ONLN);
        return count > 0 ? static_cast<std::uint32_t>(count) : 1;
    }

private:
    bool found_ = false;
};

} // namespace

template <>
Cpu& Seam<Cpu>::Default() {
    static PosixCpu instance;
    return instance;
}

} // namespace quelmo::platform
