#include "cpuid/CpuDump.h"

#include "cpuid/CpuTexts.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace quelmo {
namespace {

constexpr std::uintmax_t kMaxDumpBytes = 1 << 20;

std::optional<std::uint32_t> ParseHex(std::string_view text, std::size_t digits) {
    if (text.size() != digits) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : text) {
        std::uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else {
            return std::nullopt;
        }
        value = (value << 4) | digit;
    }
    return value;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
            ++i;
        }
        if (i > start) {
            fields.push_back(line.substr(start, i - start));
        }
    }
    return fields;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string LeafName(std::uint32_t leaf, std::uint8_t subleaf) {
    char text[24];
    if (subleaf == 0) {
        std::snprintf(text, sizeof(text), "%08X", static_cast<unsigned>(leaf));
    } else {
        std::snprintf(text, sizeof(text), "%08X/%02X", static_cast<unsigned>(leaf),
                      static_cast<unsigned>(subleaf));
    }
    return text;
}

CpuDumpResult Failure(std::size_t lineNumber, std::string_view message) {
    return {std::nullopt, FormatText(texts::kDumpLine, {std::to_string(lineNumber), message})};
}

} // namespace

namespace {

constexpr std::uint64_t Key(std::uint32_t leaf, std::uint32_t subleaf) {
    return (std::uint64_t{leaf} << 32) | subleaf;
}

} // namespace

const platform::CpuidRegisters* CpuDump::Find(std::uint32_t leaf, std::uint32_t subleaf) const {
    const auto found = index_.find(Key(leaf, subleaf));
    return found == index_.end() ? nullptr : &records_[found->second].registers;
}

bool CpuDump::Add(const CpuDumpRecord& record) {
    if (!index_.emplace(Key(record.leaf, record.subleaf), records_.size()).second) {
        return false;
    }
    records_.push_back(record);
    return true;
}

void CpuDump::Set(std::uint32_t leaf, std::uint8_t subleaf, const platform::CpuidRegisters& registers) {
    const auto found = index_.find(Key(leaf, subleaf));
    if (found != index_.end()) {
        records_[found->second].registers = registers;
        return;
    }
    Add({leaf, subleaf, registers});
}

CpuDumpResult ParseCpuDump(std::string_view text) {
    CpuDump dump;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;

        if (line.empty()) {
            continue;
        }
        if (line.front() == '#') {
            const std::string_view comment = Trim(line.substr(1));
            if (comment.starts_with("source:") && dump.source.empty()) {
                dump.source = Trim(comment.substr(7));
            } else if (comment.starts_with("cpu:") && dump.cpu.empty()) {
                dump.cpu = Trim(comment.substr(4));
            }
            continue;
        }
        const std::vector<std::string_view> fields = SplitFields(line);
        if (!fields.empty() && fields[0] == "leaf") {
            if (!dump.Records().empty()) {
                return Failure(lineNumber, texts::kDumpHeaderPlace);
            }
            continue;
        }
        if (fields.size() != 5) {
            return Failure(lineNumber, texts::kDumpFieldCount);
        }

        CpuDumpRecord record;
        const std::string_view leafField = fields[0];
        const auto leaf = ParseHex(leafField.substr(0, 8), 8);
        std::optional<std::uint32_t> subleaf = 0;
        if (leafField.size() > 8) {
            subleaf = leafField[8] == '/' ? ParseHex(leafField.substr(9), 2) : std::nullopt;
        }
        if (!leaf || !subleaf) {
            return Failure(lineNumber, texts::kDumpBadLeaf);
        }
        if (leafField.size() > 8 && *subleaf == 0) {
            return Failure(lineNumber, texts::kDumpSubleafZero);
        }
        record.leaf = *leaf;
        record.subleaf = static_cast<std::uint8_t>(*subleaf);

        std::uint32_t* registers[] = {&record.registers.eax, &record.registers.ebx, &record.registers.ecx,
                                      &record.registers.edx};
        for (std::size_t i = 0; i < 4; ++i) {
            const auto value = ParseHex(fields[i + 1], 8);
            if (!value) {
                return Failure(lineNumber, texts::kDumpBadRegister);
            }
            *registers[i] = *value;
        }

        // A sub-leaf follows its leaf's plain line or a lower sub-leaf of the same leaf.
        const auto& records = dump.Records();
        const bool follows = record.subleaf == 0 || (!records.empty() && records.back().leaf == record.leaf &&
                                                     records.back().subleaf < record.subleaf);
        if (dump.Find(record.leaf, record.subleaf) != nullptr) {
            return Failure(lineNumber,
                           FormatText(texts::kDumpDuplicate, {LeafName(record.leaf, record.subleaf)}));
        }
        if (!follows) {
            return Failure(lineNumber, texts::kDumpSubleafOrder);
        }
        dump.Add(record);
    }
    if (dump.Records().empty()) {
        return {std::nullopt, std::string(texts::kDumpEmpty)};
    }
    return {std::move(dump), {}};
}

CpuDumpResult LoadCpuDump(const std::filesystem::path& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        return {std::nullopt, std::string(texts::kDumpCannotOpen)};
    }
    if (size > kMaxDumpBytes) {
        return {std::nullopt, std::string(texts::kDumpTooLarge)};
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return {std::nullopt, std::string(texts::kDumpCannotOpen)};
    }
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return ParseCpuDump(text);
}

} // namespace quelmo
