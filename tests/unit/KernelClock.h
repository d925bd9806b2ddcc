// The kernel's figure for the time-stamp counter's rate, for the live clock tests natively and
// under Wine (where the Linux files are reached through drive Z:).
#pragma once

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace quelmo::testing {

// In MHz, when the kernel gives one: its own calibration in
// /sys/devices/system/cpu/cpu0/tsc_freq_khz where the kernel exposes it; otherwise "cpu MHz"
// of /proc/cpuinfo, but only where that figure is the calibration too: a constant-rate counter
// ("constant_tsc"), no frequency scaling (no cpufreq folder) and no APERF/MPERF sampling
// ("aperfmperf"), which would make it the current clock instead. `root` prefixes the paths.
inline std::optional<double> KernelTscMhz(const std::string& root = "") {
    std::ifstream tscFile(root + "/sys/devices/system/cpu/cpu0/tsc_freq_khz");
    double kilohertz = 0;
    if (tscFile >> kilohertz && kilohertz > 0) {
        return kilohertz / 1000;
    }
    std::error_code error;
    if (std::filesystem::exists(root + "/sys/devices/system/cpu/cpu0/cpufreq", error)) {
        return std::nullopt;
    }
    std::ifstream cpuinfo(root + "/proc/cpuinfo");
    std::optional<double> mhz;
    bool constantTsc = false;
    bool aperfMperf = false;
    for (std::string line; std::getline(cpuinfo, line);) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        const std::string value = line.substr(colon + 1);
        if (!mhz && line.rfind("cpu MHz", 0) == 0) {
            mhz = std::stod(value);
        } else if (line.rfind("flags", 0) == 0) {
            std::istringstream flags(value);
            for (std::string flag; flags >> flag;) {
                constantTsc = constantTsc || flag == "constant_tsc";
                aperfMperf = aperfMperf || flag == "aperfmperf";
            }
            break;
        }
    }
    if (!mhz || *mhz <= 0 || !constantTsc || aperfMperf) {
        return std::nullopt;
    }
    return mhz;
}

} // namespace quelmo::testing
