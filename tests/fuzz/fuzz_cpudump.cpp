// The CPUID dump parser on arbitrary text (quelmo-cpuinfo --dump reads whatever file it is
// given): it must never crash or hang, refuse with a reason, and whatever it
// accepts must read back the same after being written out again.
#include "cpuid/CpuDump.h"
#include "cpuid/RecordedClock.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

std::string Hex8(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof(text), "%08X", static_cast<unsigned>(value));
    return text;
}

// The dump in its own format: comments, header, one line per record.
std::string Write(const quelmo::CpuDump& dump) {
    std::string text;
    if (!dump.source.empty()) {
        text += "# source: " + dump.source + "\n";
    }
    if (!dump.cpu.empty()) {
        text += "# cpu: " + dump.cpu + "\n";
    }
    text += "leaf eax ebx ecx edx\n";
    for (const quelmo::CpuDumpRecord& record : dump.Records()) {
        text += Hex8(record.leaf);
        if (record.subleaf != 0) {
            char subleaf[8];
            std::snprintf(subleaf, sizeof(subleaf), "/%02X", static_cast<unsigned>(record.subleaf));
            text += subleaf;
        }
        text += " " + Hex8(record.registers.eax) + " " + Hex8(record.registers.ebx) + " " +
                Hex8(record.registers.ecx) + " " + Hex8(record.registers.edx) + "\n";
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const quelmo::CpuDumpResult result = quelmo::ParseCpuDump(text);
    if (!result.dump) {
        // Every refusal gives its reason: the line at fault, or that no leaf was found.
        if (result.error.empty()) {
            __builtin_trap();
        }
        return 0;
    }
    const quelmo::CpuDump& dump = *result.dump;
    if (dump.Records().empty()) {
        __builtin_trap(); // an accepted dump holds at least one leaf
    }
    (void)quelmo::RecordedKilohertz(dump.cpu);

    const quelmo::CpuDumpResult again = quelmo::ParseCpuDump(Write(dump));
    if (!again.dump || again.dump->source != dump.source || again.dump->cpu != dump.cpu ||
        again.dump->Records().size() != dump.Records().size()) {
        __builtin_trap();
    }
    for (std::size_t i = 0; i < dump.Records().size(); ++i) {
        const auto& a = dump.Records()[i];
        const auto& b = again.dump->Records()[i];
        if (a.leaf != b.leaf || a.subleaf != b.subleaf || !(a.registers == b.registers) ||
            dump.Find(a.leaf, a.subleaf) != &dump.Records()[i].registers) {
            __builtin_trap(); // and no leaf appears twice
        }
    }
    return 0;
}
