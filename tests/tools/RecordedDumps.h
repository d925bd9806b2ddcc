// The recorded processors that the tests and benchmarks use, declared once: the dumps of
// tests/tools/dumps/, each a verbatim copy of a file of the shared collection of recorded
// processors, loaded by its file name ("intel-pentium-iii-katmai-psn.txt"). The build tells the
// folder (QUELMO_RECORDED_DUMPS_DIR; under Wine through drive Z:).
#pragma once

#include "cpuid/CpuDump.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace quelmo::testing {

inline std::filesystem::path RecordedDumpsFolder() {
    return std::filesystem::path(std::u8string_view(u8"" QUELMO_RECORDED_DUMPS_DIR));
}

// The committed dump `file`, or an error that names the file and what is wrong with it.
inline CpuDumpResult LoadRecordedDump(std::string_view file) {
    const std::filesystem::path path = RecordedDumpsFolder() / file;
    CpuDumpResult result = LoadCpuDump(path);
    if (!result.dump) {
        result.error = path.string() + ": " + result.error;
    }
    return result;
}

} // namespace quelmo::testing
