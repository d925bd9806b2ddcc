// Recorded processors for the library's tests, by the file name of their committed dump
// (tests/tools/dumps/, see RecordedDumps.h):
//
//   RecordedProcessor recorded("intel-pentium-iii-katmai-psn.txt");  // installed for the scope
//   recorded.Processor()->Vendor() ...
//   recorded.Cpu().SetLeaf(1, Regs(...));                             // a processor derived from it
//
// Hand-made registers go through InlineDump("00000000 00000001 756E6547 6C65746E 49656E69\n").
#pragma once

#include "cpuid/CpuDump.h"
#include "cpuid/CpuLibrary.h"
#include "cpuid/RecordedCpu.h"
#include "tools/RecordedDumps.h"
#include "ui/InfoPages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelmo::testing {

// A committed recorded processor; a dump that cannot be read fails the test and gives an empty one.
inline CpuDump RecordedDump(std::string_view file) {
    CpuDumpResult result = LoadRecordedDump(file);
    if (!result.dump) {
        ADD_FAILURE() << result.error;
        return {};
    }
    return std::move(*result.dump);
}

// Hand-made registers in the dump format; a parse error fails the test and gives an empty dump.
inline CpuDump InlineDump(std::string_view text) {
    CpuDumpResult result = ParseCpuDump(text);
    if (!result.dump) {
        ADD_FAILURE() << "inline dump: " << result.error;
        return {};
    }
    return std::move(*result.dump);
}

// A recorded CPU installed as the library's processor for the object's lifetime.
class RecordedProcessor {
public:
    explicit RecordedProcessor(std::string_view file, std::uint32_t processorCount = 1)
        : RecordedProcessor(RecordedDump(file), processorCount) {}
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

// The whole shared collection of recorded processors, which the bulk replays walk: beside the
// checkout (QUELMO_CPUID_DUMPS_DIR, overridable by the environment variable of that name).
inline std::filesystem::path SharedDumpsPath() {
    if (const char* fromEnvironment = std::getenv("QUELMO_CPUID_DUMPS_DIR")) {
        return fromEnvironment;
    }
#ifdef QUELMO_CPUID_DUMPS_DIR
    return QUELMO_CPUID_DUMPS_DIR;
#else
    return {};
#endif
}

// The shared folder, or nothing, with the reason a bulk replay then gives for skipping.
inline std::optional<std::filesystem::path> SharedDumpsFolder(std::string& skipReason) {
    const std::filesystem::path folder = SharedDumpsPath();
    std::error_code error;
    if (!folder.empty() && std::filesystem::is_directory(folder, error)) {
        return folder;
    }
    skipReason = "the shared recorded processors are not at '" + folder.string() +
                 "' (set QUELMO_CPUID_DUMPS_DIR to replay all of them); the committed ones of "
                 "tests/tools/dumps are tested by name";
    return std::nullopt;
}

// The caches the operating system reports for processor 0 (Linux /sys/devices/system/cpu/cpu0/
// cache/, under Wine through drive Z:), by the library's cache kind; empty where /sys is absent.
struct SystemCache {
    std::uint32_t size = 0; // bytes
    std::uint32_t ways = 0;
    std::uint32_t lineSize = 0;
};

inline std::map<std::uint8_t, SystemCache> SystemCaches(const std::filesystem::path& root) {
    std::map<std::uint8_t, SystemCache> caches;
    for (int index = 0; index < 16; ++index) {
        const std::filesystem::path folder =
            root / "sys/devices/system/cpu/cpu0/cache" / ("index" + std::to_string(index));
        const auto read = [&folder](const char* name) {
            std::string value;
            std::ifstream(folder / name) >> value;
            return value;
        };
        const auto number = [&read](const char* name) {
            const std::string text = read(name);
            return static_cast<std::uint32_t>(std::strtoul(text.c_str(), nullptr, 10));
        };
        const std::string level = read("level");
        const std::string type = read("type");
        if (level.empty()) {
            continue;
        }
        std::uint8_t kind = 0;
        if (level == "1") {
            kind = type == "Instruction" ? kCacheCode : type == "Data" ? kCacheData : kCacheUnified;
        } else if (level == "2" || level == "3") {
            kind = level == "2" ? kCacheLevel2 : kCacheLevel3;
        } else {
            continue; // a level-4 cache has no page
        }
        const std::string size = read("size"); // "32K", "32768K"
        const std::uint32_t factor = size.ends_with('M') ? 1024 * 1024 : size.ends_with('K') ? 1024 : 1;
        caches[kind] = {number("size") * factor, number("ways_of_associativity"),
                        number("coherency_line_size")};
    }
    return caches;
}

// Expects the Cache pages of processor 0 (level-1 code, data and unified, levels 2 and 3) to show
// what the system reports under `root`: a cache it lists with its size, ways and line size, and
// none where it lists none. False, with nothing checked, where the system lists no caches.
inline bool ExpectCachePagesAgreeWithTheSystem(const std::filesystem::path& root) {
    const auto caches = SystemCaches(root);
    if (caches.empty()) {
        return false;
    }
    for (std::uint8_t kind = kCacheCode; kind <= kCacheLevel3; ++kind) {
        std::vector<ui::PropertyRow> expected = {
            {"Available", "No"}, {"Associativity", "None"}, {"Line Size", "0 bytes"}, {"Size", "0 bytes"}};
        if (const auto found = caches.find(kind); found != caches.end()) {
            const SystemCache& cache = found->second;
            expected = {{"Available", "Yes"},
                        {"Associativity", cache.ways == 1 ? "Direct" : std::to_string(cache.ways) + "-Way"},
                        {"Line Size", CpuNumber(cache.lineSize)->AsSize()},
                        {"Size", CpuNumber(cache.size)->AsSize()}};
        }
        EXPECT_EQ(ui::BuildPropertyRows(ui::kPageCache + kind), expected) << "cache kind " << int{kind};
    }
    return true;
}

} // namespace quelmo::testing
