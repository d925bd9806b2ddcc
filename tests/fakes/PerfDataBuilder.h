// Builds performance-data blocks in the layout the system returns for a query of value "238":
// a PERF_DATA_BLOCK, then objects with their counter definitions and instances. Tests patch the
// returned bytes through the recorded offsets to make malformed blocks.
#pragma once

#include "sampling/PerfData.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace quelmo::fakes {

struct PerfObjectLayout {
    std::uint32_t titleIndex = perfdata::kProcessorObjectIndex;
    // CounterNameTitleIndex of each definition; counter k sits at offset 8 + 8k of a counter block.
    std::vector<std::uint32_t> counters = {perfdata::kIdleCounterIndex};
    // One entry per instance: the value of every counter of that instance.
    std::vector<std::int64_t> values;
    // NumInstances as written; defaults to values.size().
    std::optional<std::int32_t> numInstances;
};

inline PerfObjectLayout ProcessorObjectLayout(std::vector<std::int64_t> values,
                                              std::vector<std::uint32_t> counters = {
                                                  perfdata::kIdleCounterIndex}) {
    PerfObjectLayout layout;
    layout.counters = std::move(counters);
    layout.values = std::move(values);
    return layout;
}

inline PerfObjectLayout OtherObjectLayout(std::uint32_t titleIndex, std::vector<std::int64_t> values) {
    PerfObjectLayout layout;
    layout.titleIndex = titleIndex;
    layout.counters = {10};
    layout.values = std::move(values);
    return layout;
}

struct PerfSystemTime {
    std::uint16_t year = 2014, month = 2, day = 11, hour = 12, minute = 0, second = 0, millisecond = 0;
};

struct PerfBlock {
    std::vector<std::byte> bytes;
    std::vector<std::size_t> objects;                // offset of each object
    std::vector<std::vector<std::size_t>> instances; // offset of each instance, per object
};

inline void PutU32(std::vector<std::byte>& bytes, std::size_t at, std::uint32_t value) {
    std::memcpy(bytes.data() + at, &value, sizeof(value));
}
inline void PutU16(std::vector<std::byte>& bytes, std::size_t at, std::uint16_t value) {
    std::memcpy(bytes.data() + at, &value, sizeof(value));
}
inline void PutI64(std::vector<std::byte>& bytes, std::size_t at, std::int64_t value) {
    std::memcpy(bytes.data() + at, &value, sizeof(value));
}

inline PerfBlock BuildPerfBlock(const std::vector<PerfObjectLayout>& objects,
                                const PerfSystemTime& time = {}) {
    constexpr std::size_t kBlockSize = 88;
    constexpr std::size_t kNameBytes = 8; // a short instance name, padded to 8 bytes
    PerfBlock block;
    block.bytes.resize(kBlockSize);
    auto& b = block.bytes;
    const char16_t signature[] = u"PERF";
    std::memcpy(b.data(), signature, 8);
    PutU32(b, 8, 1);  // LittleEndian
    PutU32(b, 12, 1); // Version
    PutU32(b, 16, 1); // Revision
    PutU32(b, 24, kBlockSize);
    PutU32(b, 28, static_cast<std::uint32_t>(objects.size()));
    PutU32(b, 32, perfdata::kProcessorObjectIndex);
    const std::uint16_t fields[] = {time.year, time.month,  2,           time.day,
                                    time.hour, time.minute, time.second, time.millisecond};
    for (std::size_t i = 0; i < 8; ++i) {
        PutU16(b, 36 + 2 * i, fields[i]);
    }
    for (const PerfObjectLayout& layout : objects) {
        const std::size_t object = b.size();
        block.objects.push_back(object);
        block.instances.emplace_back();
        const std::size_t definitionLength = 64 + 40 * layout.counters.size();
        b.resize(object + definitionLength);
        PutU32(b, object + 4, static_cast<std::uint32_t>(definitionLength));
        PutU32(b, object + 8, 64);
        PutU32(b, object + 12, layout.titleIndex);
        PutU32(b, object + 32, static_cast<std::uint32_t>(layout.counters.size()));
        PutU32(b, object + 40,
               static_cast<std::uint32_t>(
                   layout.numInstances.value_or(static_cast<std::int32_t>(layout.values.size()))));
        for (std::size_t k = 0; k < layout.counters.size(); ++k) {
            const std::size_t definition = object + 64 + 40 * k;
            PutU32(b, definition, 40);
            PutU32(b, definition + 4, layout.counters[k]);
            PutU32(b, definition + 32, 8);                                     // CounterSize
            PutU32(b, definition + 36, static_cast<std::uint32_t>(8 + 8 * k)); // CounterOffset
        }
        const std::size_t countersLength = 8 + 8 * layout.counters.size();
        for (const std::int64_t value : layout.values) {
            const std::size_t instance = b.size();
            block.instances.back().push_back(instance);
            b.resize(instance + 24 + kNameBytes + countersLength);
            PutU32(b, instance, static_cast<std::uint32_t>(24 + kNameBytes));
            PutU32(b, instance + 16, 24); // NameOffset
            PutU32(b, instance + 20, 4);  // NameLength
            const std::size_t counters = instance + 24 + kNameBytes;
            PutU32(b, counters, static_cast<std::uint32_t>(countersLength));
            for (std::size_t k = 0; k < layout.counters.size(); ++k) {
                PutI64(b, counters + 8 + 8 * k, value);
            }
        }
        PutU32(b, object, static_cast<std::uint32_t>(b.size() - object));
    }
    PutU32(b, 20, static_cast<std::uint32_t>(b.size()));
    return block;
}

} // namespace quelmo::fakes
