// Recorded CPUID dumps: the registers one processor returned, one leaf per line.
//
//   # source: ...            comments; "# source:" and "# cpu:" are kept
//   leaf eax ebx ecx edx     optional header, before the leaves
//   00000000 0000000D 756E6547 6C65746E 49656E69
//   00000004/01 1C004122 01C0003F 0000003F 00000000     sub-leaf 1 of leaf 4
//
// Each field is 8 hexadecimal digits; a sub-leaf line follows its leaf's plain line (sub-leaf
// 0) or its previous sub-leaf, in ascending order.
#pragma once

#include "platform/Cpu.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quelmo {

struct CpuDumpRecord {
    std::uint32_t leaf = 0;
    std::uint8_t subleaf = 0;
    platform::CpuidRegisters registers;
};

// The records keep the file's order; an index finds any of them in constant time.
class CpuDump {
public:
    std::string source; // the "# source:" comment, empty when there is none
    std::string cpu;    // the "# cpu:" comment

    const std::vector<CpuDumpRecord>& Records() const { return records_; }
    // The recorded registers of a leaf and sub-leaf; nullptr when not recorded.
    const platform::CpuidRegisters* Find(std::uint32_t leaf, std::uint32_t subleaf = 0) const;
    // Appends a record; false (and nothing added) when its leaf and sub-leaf are already there.
    bool Add(const CpuDumpRecord& record);
    // Replaces the registers of a leaf and sub-leaf, or appends them.
    void Set(std::uint32_t leaf, std::uint8_t subleaf, const platform::CpuidRegisters& registers);

private:
    std::vector<CpuDumpRecord> records_;
    std::unordered_map<std::uint64_t, std::size_t> index_; // (leaf, sub-leaf) -> position
};

// Either a dump or an error that names the line ("line 7: ...") or what is wrong with the file;
// the error never names the file, which the caller knows.
struct CpuDumpResult {
    std::optional<CpuDump> dump;
    std::string error;
};

CpuDumpResult ParseCpuDump(std::string_view text);
CpuDumpResult LoadCpuDump(const std::filesystem::path& path);

} // namespace quelmo
