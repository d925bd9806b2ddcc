// The performance-data walker on arbitrary bytes: it must never read outside them, crash or hang.
// The input is a first snapshot's block; its tail, split at a position taken from the first two
// bytes, is walked again with the first snapshot's instance count, as the counters do later.
#include "sampling/PerfData.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace {

using quelmo::perfdata::ProcessorObject;
using quelmo::perfdata::WalkStatus;

std::int32_t WalkFirst(std::span<const std::byte> block) {
    ProcessorObject object;
    if (quelmo::perfdata::FindProcessorCounter(block, object) != WalkStatus::Ok || object.numInstances < 1) {
        return -1;
    }
    const auto count = static_cast<std::size_t>(object.numInstances);
    if (quelmo::perfdata::ReadInstanceCounters(block, object, count, nullptr) != WalkStatus::Ok) {
        return -1;
    }
    // Only a walk that fits may size the arrays, so this stays small.
    std::vector<std::int64_t> values(count);
    if (quelmo::perfdata::ReadInstanceCounters(block, object, count, values.data()) != WalkStatus::Ok) {
        __builtin_trap(); // checked once, must read the same way
    }
    std::int64_t time = 0;
    quelmo::perfdata::BlockSystemTime(block, time);
    return object.numInstances;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::byte> all(reinterpret_cast<const std::byte*>(data), size);
    const std::int32_t count = WalkFirst(all);
    if (size < 2) {
        return 0;
    }
    const std::size_t split = (std::size_t{data[0]} << 8 | data[1]) % size;
    const std::span<const std::byte> later = all.subspan(split);
    ProcessorObject object;
    if (count > 0 && quelmo::perfdata::FindProcessorCounter(later, object) == WalkStatus::Ok) {
        std::vector<std::int64_t> values(static_cast<std::size_t>(count));
        quelmo::perfdata::ReadInstanceCounters(later, object, values.size(), values.data());
    }
    WalkFirst(later);
    return 0;
}
