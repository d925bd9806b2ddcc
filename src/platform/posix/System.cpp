// Native (Linux) kernel services for the command-line tools and benchmarks: the figures come
// from sysinfo and /proc/stat; the version reported is that of a current NT system.
#include "platform/System.h"

#include <sys/sysinfo.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quelmo::platform {
namespace {

class PosixSystem final : public System {
public:
    bool GetVersion(OsVersion& version) override {
        version = {kPlatformWin32Nt, 10, 0, 0};
        return true;
    }

    bool GlobalMemoryStatusEx(MemoryFigures& figures) override {
        struct sysinfo info {};
        if (sysinfo(&info) != 0) {
            return false;
        }
        const auto unit = static_cast<std::int64_t>(info.mem_unit);
        figures.totalPhys = static_cast<std::int64_t>(info.totalram) * unit;
        figures.availPhys = static_cast<std::int64_t>(info.freeram + info.bufferram) * unit;
        figures.totalPageFile = figures.totalPhys + static_cast<std::int64_t>(info.totalswap) * unit;
        figures.availPageFile = figures.availPhys + static_cast<std::int64_t>(info.freeswap) * unit;
        return true;
    }

    void GlobalMemoryStatus(MemoryFigures& figures) override {
        MemoryFigures full;
        if (GlobalMemoryStatusEx(full)) {
            figures.totalPhys = full.totalPhys & 0xFFFFFFFF;
            figures.availPhys = full.availPhys & 0xFFFFFFFF;
            figures.totalPageFile = full.totalPageFile & 0xFFFFFFFF;
            figures.availPageFile = full.availPageFile & 0xFFFFFFFF;
        }
    }

    // Lines "cpuN user nice system idle iowait irq softirq ..." in clock ticks.
    std::size_t ProcessorTimes(std::span<ProcessorTime> times) override {
        std::FILE* file = std::fopen("/proc/stat", "re");
        if (file == nullptr) {
            return 0;
        }
        const std::int64_t toUnits = 10'000'000 / sysconf(_SC_CLK_TCK);
        std::size_t count = 0;
        char line[512];
        while (std::fgets(line, sizeof(line), file) != nullptr) {
            // Only the per-processor lines: "cpu" followed by a digit.
            if (std::strncmp(line, "cpu", 3) != 0 || line[3] < '0' || line[3] > '9') {
                continue;
            }
            char* cursor = line + 3;
            std::strtoull(cursor, &cursor, 10); // the processor number
            std::int64_t fields[7] = {};        // user nice system idle iowait irq softirq
            for (std::int64_t& field : fields) {
                field = static_cast<std::int64_t>(std::strtoull(cursor, &cursor, 10));
            }
            if (count < times.size()) {
                const std::int64_t idle = fields[3] + fields[4];
                times[count] = {idle * toUnits, (idle + fields[2] + fields[5] + fields[6]) * toUnits,
                                (fields[0] + fields[1]) * toUnits};
            }
            ++count;
        }
        std::fclose(file);
        return count;
    }
};

} // namespace

template <>
System& Seam<System>::Default() {
    static PosixSystem instance;
    return instance;
}

} // namespace quelmo::platform
