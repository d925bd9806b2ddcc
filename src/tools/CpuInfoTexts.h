// Every text of quelmo-cpuinfo that is its own (the pages' texts are the window's).
#pragma once

#include <string_view>

namespace quelmo::texts {

inline constexpr std::string_view kToolName = "quelmo-cpuinfo";
inline constexpr std::string_view kToolUsage =
    "Usage: quelmo-cpuinfo [--dump FILE [--processors N]]\n"
    "\n"
    "Prints what Quelmo's CPU information window shows for every processor: a heading per\n"
    "node of its processor explorer tree, then one \"Caption: Value\" line per property row.\n"
    "\n"
    "  --dump FILE       answer from a recorded CPUID dump instead of this machine's processor;\n"
    "                    the clock is the one the dump's \"# cpu:\" line names (0 when none)\n"
    "  --processors N    with --dump: how many processors (1 to 32) answer from the dump\n"
    "  -h, --help        show this help\n"
    "\n"
    "Exit codes: 0 done, 2 bad arguments or a file that is not a CPUID dump.\n";
inline constexpr std::string_view kToolUnknownOption = "unknown option %s";
inline constexpr std::string_view kToolMissingValue = "%s needs a value";
inline constexpr std::string_view kToolBadProcessors = "--processors takes a number from 1 to 32, not %s";
inline constexpr std::string_view kToolProcessorsWithoutDump = "--processors goes with --dump";
inline constexpr std::string_view kToolTryHelp = "Try 'quelmo-cpuinfo --help'.";

} // namespace quelmo::texts
