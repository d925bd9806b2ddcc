// Reading the processor object out of a performance-data block (the bytes that a query of value
// "238" under HKEY_PERFORMANCE_DATA returns). Portable: the block is plain little-endian bytes in
// the layout of PERF_DATA_BLOCK, PERF_OBJECT_TYPE, PERF_COUNTER_DEFINITION,
// PERF_INSTANCE_DEFINITION and PERF_COUNTER_BLOCK. Every offset and length read from the block is
// checked against the bytes present before it is followed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quelmo::perfdata {

// Title indexes published by the system.
inline constexpr std::uint32_t kProcessorObjectIndex = 238;
inline constexpr std::uint32_t kIdleCounterIndex = 6;

// Field offsets and sizes of the structures read (identical for 32- and 64-bit consumers).
namespace layout {
inline constexpr std::size_t kBlockHeaderLength = 24; // PERF_DATA_BLOCK.HeaderLength
inline constexpr std::size_t kBlockNumObjectTypes = 28;
inline constexpr std::size_t kBlockSystemTime = 36; // SYSTEMTIME, 8 WORDs
inline constexpr std::size_t kBlockMinSize = 52;    // everything up to the end of SystemTime

inline constexpr std::size_t kObjectTotalByteLength = 0;
inline constexpr std::size_t kObjectDefinitionLength = 4;
inline constexpr std::size_t kObjectHeaderLength = 8;
inline constexpr std::size_t kObjectNameTitleIndex = 12;
inline constexpr std::size_t kObjectNumCounters = 32;
inline constexpr std::size_t kObjectNumInstances = 40;
inline constexpr std::size_t kObjectSize = 64; // sizeof(PERF_OBJECT_TYPE)

inline constexpr std::size_t kCounterByteLength = 0;
inline constexpr std::size_t kCounterNameTitleIndex = 4;
inline constexpr std::size_t kCounterOffset = 36;
inline constexpr std::size_t kCounterDefinitionSize = 40; // sizeof(PERF_COUNTER_DEFINITION)

inline constexpr std::size_t kInstanceByteLength = 0;
inline constexpr std::size_t kInstanceSize = 24; // sizeof(PERF_INSTANCE_DEFINITION)

inline constexpr std::size_t kCounterBlockSize = 4; // PERF_COUNTER_BLOCK.ByteLength
} // namespace layout

enum class WalkStatus {
    Ok,
    ObjectNotFound,  // no processor object, or it (or one of its instances) does not fit the block
    CounterNotFound, // no idle counter, or its definition, a counter block or the value does not fit
};

// Where the processor object and its idle counter lie in a block.
struct ProcessorObject {
    std::size_t object = 0;    // offset of the object in the block
    std::size_t objectEnd = 0; // object + TotalByteLength, inside the block
    std::int32_t numInstances = 0;
    std::uint32_t counterOffset = 0; // CounterOffset of the idle counter definition
};

// Finds the first processor object among the first NumObjectTypes objects, then the first idle
// counter among its first NumCounters definitions.
WalkStatus FindProcessorCounter(std::span<const std::byte> block, ProcessorObject& found);

// Walks the first `count` instances of the object in the order listed and stores the idle counter
// of each in `values` (count entries; may be null to check the walk only). Stores nothing unless
// every instance, counter block and value lies inside the object.
WalkStatus ReadInstanceCounters(std::span<const std::byte> block, const ProcessorObject& found,
                                std::size_t count, std::int64_t* values);

// The block's SystemTime as SystemTimeToFileTime gives it: 100-nanosecond units since 1601-01-01.
// False for a block too short to hold it or a date and time the system would reject.
bool BlockSystemTime(std::span<const std::byte> block, std::int64_t& time);

} // namespace quelmo::perfdata
