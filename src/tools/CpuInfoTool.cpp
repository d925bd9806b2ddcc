#include "tools/CpuInfoTool.h"

#include "cpuid/CpuDump.h"
#include "cpuid/CpuLibrary.h"
#include "cpuid/CpuTexts.h"
#include "cpuid/RecordedClock.h"
#include "cpuid/RecordedCpu.h"
#include "platform/Seam.h"
#include "platform/Time.h"
#include "tools/CpuInfoTexts.h"
#include "ui/InfoFormTexts.h"
#include "ui/InfoPages.h"

#include <charconv>
#include <filesystem>
#include <optional>

namespace quelmo::tools {
namespace {

constexpr std::uint32_t kMaxRecordedProcessors = 32;

void WriteNode(std::string& out, const ui::InfoNode& node, std::size_t depth) {
    out.append(2 * depth, ' ');
    out += node.caption;
    out += '\n';
    if (node.code != ui::kCodeGroup) {
        for (const ui::PropertyRow& row : ui::BuildPropertyRows(node.code)) {
            out.append(2 * (depth + 1), ' ');
            out += row.caption;
            out += ": ";
            out += row.value;
            out += '\n';
        }
    }
    for (const ui::InfoNode& child : node.children) {
        WriteNode(out, child, depth + 1);
    }
}

struct Options {
    bool help = false;
    std::optional<std::string> dump;
    std::optional<std::uint32_t> processors;
};

int Fail(std::string& err, const std::string& message, bool tryHelp) {
    err += std::string(texts::kToolName) + ": " + message + "\n";
    if (tryHelp) {
        err += std::string(texts::kToolTryHelp) + "\n";
    }
    return kExitBadInput;
}

// Parses the arguments; an error message when they are wrong.
std::optional<std::string> ParseOptions(std::span<const std::string> arguments, Options& options) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "-h" || argument == "--help") {
            options.help = true;
            continue;
        }
        if (argument != "--dump" && argument != "--processors") {
            return FormatText(texts::kToolUnknownOption, {argument});
        }
        if (i + 1 >= arguments.size()) {
            return FormatText(texts::kToolMissingValue, {argument});
        }
        const std::string& value = arguments[++i];
        if (argument == "--dump") {
            options.dump = value;
            continue;
        }
        std::uint32_t count = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), count);
        if (error != std::errc() || end != value.data() + value.size() || count < 1 ||
            count > kMaxRecordedProcessors) {
            return FormatText(texts::kToolBadProcessors, {value});
        }
        options.processors = count;
    }
    if (options.processors && !options.dump) {
        return std::string(texts::kToolProcessorsWithoutDump);
    }
    return std::nullopt;
}

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace

std::string CpuInfoReport() {
    std::string out = ui::VersionCaption(texts::kInfoVersionDesign) + "\n";
    for (const ui::InfoNode& node : ui::BuildInfoTree()) {
        WriteNode(out, node, 0);
    }
    return out;
}

int RunCpuInfo(std::span<const std::string> arguments, std::string& out, std::string& err) {
    Options options;
    if (const auto error = ParseOptions(arguments, options)) {
        return Fail(err, *error, true);
    }
    if (options.help) {
        out += texts::kToolUsage;
        return kExitDone;
    }
    if (!options.dump) {
        out += CpuInfoReport();
        return kExitDone;
    }
    CpuDumpResult loaded = LoadCpuDump(PathOf(*options.dump));
    if (!loaded.dump) {
        return Fail(err, *options.dump + ": " + loaded.error, false);
    }
    // The recorded processor with the clock its dump names: a measurement reads that clock
    // at once instead of sleeping.
    RecordedClock clock(RecordedKilohertz(loaded.dump->cpu).value_or(0));
    RecordedCpu cpu(std::move(*loaded.dump));
    cpu.SetProcessorCount(options.processors.value_or(1));
    cpu.SetClock(&clock);
    const platform::ScopedSeam<platform::Time> time(clock);
    const ScopedCpu scope(cpu);
    out += CpuInfoReport();
    return kExitDone;
}

std::string Latin1ToUtf8(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

} // namespace quelmo::tools
