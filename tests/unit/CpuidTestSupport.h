// Recorded processors for the library's tests. A test holds the leaves it needs inline, in the
// dump format of cpuid-dumps/, copied from the named file (checked against it when the folder
// is there), and answers from them:
//
//   // Intel Pentium III (Coppermine), 733 MHz
//   constexpr RecordedLeaves kCoppermine{"intel-pentium-iii-coppermine.txt", R"(
//   00000000 00000003 756E6547 6C65746E 49656E69
//   00000001 00000683 00000002 00000000 0387FBFF
//   )"};
//   RecordedProcessor cpu(kCoppermine);      // installed until the end of the scope
//   CpuRoot().Processors(0)->Vendor() ...
#pragma once

#include "cpuid/CpuDump.h"
#include "cpuid/CpuLibrary.h"
#include "cpuid/RecordedCpu.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace quelmo::testing {

// The folder of recorded processors, when this checkout sits beside it (QUELMO_CPUID_DUMPS_DIR,
// overridable by the environment variable of the same name); empty when it is not there.
inline std::filesystem::path DumpsFolder() {
    std::filesystem::path folder;
    if (const char* fromEnvironment = std::getenv("QUELMO_CPUID_DUMPS_DIR")) {
        folder = fromEnvironment;
    } else {
#ifdef QUELMO_CPUID_DUMPS_DIR
        folder = QUELMO_CPUID_DUMPS_DIR;
#endif
    }
    std::error_code error;
    return !folder.empty() && std::filesystem::is_directory(folder, error) ? folder : std::filesystem::path();
}

// Leaves copied from a file of cpuid-dumps/, named by `file`.
struct RecordedLeaves {
    const char* file;
    const char* text;
};

// Parses inline dump text; a parse error fails the test and gives an empty dump.
inline CpuDump InlineDump(std::string_view text) {
    CpuDumpResult result = ParseCpuDump(text);
    if (!result.dump) {
        ADD_FAILURE() << "inline dump: " << result.error;
        return {};
    }
    return std::move(*result.dump);
}

// The inline leaves, after checking (when the folder of dumps is there) that each equals the
// named file's leaf, so that a copying slip cannot go unnoticed.
inline CpuDump InlineDump(const RecordedLeaves& leaves) {
    CpuDump dump = InlineDump(leaves.text);
    const std::filesystem::path folder = DumpsFolder();
    if (folder.empty()) {
        return dump;
    }
    const CpuDumpResult file = LoadCpuDump(folder / leaves.file);
    if (!file.dump) {
        ADD_FAILURE() << leaves.file << ": " << file.error;
        return dump;
    }
    for (const CpuDumpRecord& record : dump.records) {
        const platform::CpuidRegisters* recorded = file.dump->Find(record.leaf, record.subleaf);
        EXPECT_TRUE(recorded != nullptr && *recorded == record.registers)
            << leaves.file << ": leaf " << std::hex << record.leaf << "/" << int{record.subleaf}
            << " differs from the file";
    }
    return dump;
}

// A recorded CPU installed as the library's processor for the object's lifetime.
class RecordedProcessor {
public:
    explicit RecordedProcessor(const RecordedLeaves& leaves, std::uint32_t processorCount = 1)
        : RecordedProcessor(InlineDump(leaves), processorCount) {}
    explicit RecordedProcessor(std::string_view text, std::uint32_t processorCount = 1)
        : RecordedProcessor(InlineDump(text), processorCount) {}
    explicit RecordedProcessor(CpuDump dump, std::uint32_t processorCount = 1)
        : cpu_(std::move(dump)), scope_(cpu_) {
        cpu_.SetProcessorCount(processorCount);
    }
    RecordedCpu& Cpu() { return cpu_; }
    CpuRef<ICpuInformation> Processor(std::uint8_t index = 0) { return CpuRoot().Processors(index); }

private:
    RecordedCpu cpu_;
    ScopedCpu scope_;
};

// Four registers as a dump line's fields.
inline platform::CpuidRegisters Regs(std::uint32_t eax, std::uint32_t ebx, std::uint32_t ecx,
                                     std::uint32_t edx) {
    return {eax, ebx, ecx, edx};
}

} // namespace quelmo::testing
