#include "sampling/PerfData.h"

#include <algorithm>
#include <cstring>

namespace quelmo::perfdata {
namespace {

using namespace layout;

// Offsets are computed in 64 bits so that no sum of block values can wrap on a 32-bit build.
using Offset = std::uint64_t;

bool Fits(Offset start, Offset length, Offset end) {
    return start <= end && length <= end - start;
}

std::uint32_t U32(std::span<const std::byte> block, Offset at) {
    std::uint32_t value = 0;
    std::memcpy(&value, block.data() + at, sizeof(value));
    return value;
}

std::uint16_t U16(std::span<const std::byte> block, Offset at) {
    std::uint16_t value = 0;
    std::memcpy(&value, block.data() + at, sizeof(value));
    return value;
}

std::int64_t I64(std::span<const std::byte> block, Offset at) {
    std::int64_t value = 0;
    std::memcpy(&value, block.data() + at, sizeof(value));
    return value;
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

unsigned DaysInMonth(unsigned year, unsigned month) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

} // namespace

WalkStatus FindProcessorCounter(std::span<const std::byte> block, ProcessorObject& found) {
    const Offset size = block.size();
    if (size < kBlockMinSize) {
        return WalkStatus::ObjectNotFound;
    }
    Offset object = U32(block, kBlockHeaderLength);
    const std::uint32_t numObjects = U32(block, kBlockNumObjectTypes);
    bool matched = false;
    for (std::uint32_t k = 0; k < numObjects; ++k) {
        if (!Fits(object, kObjectSize, size)) {
            return WalkStatus::ObjectNotFound;
        }
        if (U32(block, object + kObjectNameTitleIndex) == kProcessorObjectIndex) {
            matched = true;
            break;
        }
        // A length shorter than a header cannot lead to the next object (zero would loop).
        const std::uint32_t length = U32(block, object + kObjectTotalByteLength);
        if (length < kObjectSize) {
            return WalkStatus::ObjectNotFound;
        }
        object += length;
    }
    if (!matched) {
        return WalkStatus::ObjectNotFound;
    }
    const std::uint32_t totalLength = U32(block, object + kObjectTotalByteLength);
    if (totalLength < kObjectSize || !Fits(object, totalLength, size)) {
        return WalkStatus::ObjectNotFound;
    }
    const Offset objectEnd = object + totalLength;

    // Counter definitions lie between the object's header and its DefinitionLength.
    const Offset definitionsEnd = std::min(objectEnd, object + U32(block, object + kObjectDefinitionLength));
    Offset definition = object + U32(block, object + kObjectHeaderLength);
    const std::uint32_t numCounters = U32(block, object + kObjectNumCounters);
    for (std::uint32_t k = 0; k < numCounters; ++k) {
        if (!Fits(definition, kCounterDefinitionSize, definitionsEnd)) {
            return WalkStatus::CounterNotFound;
        }
        if (U32(block, definition + kCounterNameTitleIndex) == kIdleCounterIndex) {
            found.object = static_cast<std::size_t>(object);
            found.objectEnd = static_cast<std::size_t>(objectEnd);
            found.numInstances = static_cast<std::int32_t>(U32(block, object + kObjectNumInstances));
            found.counterOffset = U32(block, definition + kCounterOffset);
            return WalkStatus::Ok;
        }
        const std::uint32_t length = U32(block, definition + kCounterByteLength);
        if (length < kCounterDefinitionSize) {
            return WalkStatus::CounterNotFound;
        }
        definition += length;
    }
    return WalkStatus::CounterNotFound;
}

WalkStatus ReadInstanceCounters(std::span<const std::byte> block, const ProcessorObject& found,
                                std::size_t count, std::int64_t* values) {
    const Offset objectEnd = found.objectEnd;
    if (objectEnd > block.size() || found.object >= objectEnd ||
        !Fits(found.object, kObjectSize, objectEnd)) {
        return WalkStatus::ObjectNotFound;
    }
    Offset instance = found.object + U32(block, found.object + kObjectDefinitionLength);
    for (std::size_t i = 0; i < count; ++i) {
        if (!Fits(instance, kInstanceSize, objectEnd)) {
            return WalkStatus::ObjectNotFound;
        }
        const std::uint32_t instanceLength = U32(block, instance + kInstanceByteLength);
        if (instanceLength < kInstanceSize) {
            return WalkStatus::ObjectNotFound;
        }
        const Offset counters = instance + instanceLength;
        if (!Fits(counters, kCounterBlockSize, objectEnd)) {
            return WalkStatus::CounterNotFound;
        }
        // The block must hold the whole 64-bit value, which also makes every step move forward.
        const std::uint32_t countersLength = U32(block, counters);
        if (!Fits(counters, countersLength, objectEnd) ||
            Offset{found.counterOffset} + sizeof(std::int64_t) > countersLength) {
            return WalkStatus::CounterNotFound;
        }
        if (values != nullptr) {
            values[i] = I64(block, counters + found.counterOffset);
        }
        instance = counters + countersLength;
    }
    return WalkStatus::Ok;
}

bool BlockSystemTime(std::span<const std::byte> block, std::int64_t& time) {
    if (block.size() < kBlockMinSize) {
        return false;
    }
    const unsigned year = U16(block, kBlockSystemTime + 0);
    const unsigned month = U16(block, kBlockSystemTime + 2);
    const unsigned day = U16(block, kBlockSystemTime + 6);
    const unsigned hour = U16(block, kBlockSystemTime + 8);
    const unsigned minute = U16(block, kBlockSystemTime + 10);
    const unsigned second = U16(block, kBlockSystemTime + 12);
    const unsigned millisecond = U16(block, kBlockSystemTime + 14);
    if (year < 1601 || year > 30827 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59 || millisecond > 999) {
        return false;
    }
    const std::int64_t days = DaysFromCivil(year, month, day) - DaysFromCivil(1601, 1, 1);
    const std::int64_t seconds = days * 86400 + hour * 3600 + minute * 60 + second;
    time = seconds * 10'000'000 + std::int64_t{millisecond} * 10'000;
    return true;
}

} // namespace quelmo::perfdata
