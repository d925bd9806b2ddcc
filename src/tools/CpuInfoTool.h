// quelmo-cpuinfo without its entry point: arguments, the recorded processor of --dump and the
// report, so that the native tests can run it in process.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace quelmo::tools {

inline constexpr int kExitDone = 0;
inline constexpr int kExitBadInput = 2;

// The CPU information window's pages for the library's current processors: the version label,
// then every tree node as a heading (indented two blanks per level) followed by its property
// rows as "Caption: Value" one level deeper. Group nodes, whose page only says
// "Double-click to expand", print as headings alone. Latin-1 bytes, "\n" line ends.
std::string CpuInfoReport();

// Runs the tool with its arguments (UTF-8, without the program name): the report or the help
// goes to `out`, errors to `err`; returns the exit code.
int RunCpuInfo(std::span<const std::string> arguments, std::string& out, std::string& err);

// The library's Latin-1 texts as UTF-8.
std::string Latin1ToUtf8(std::string_view text);

} // namespace quelmo::tools
