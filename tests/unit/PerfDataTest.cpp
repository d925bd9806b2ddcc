#include "fakes/PerfDataBuilder.h"
#include "sampling/PerfData.h"

#include <gtest/gtest.h>

#include <vector>

namespace quelmo {
namespace {

using fakes::BuildPerfBlock;
using fakes::PerfBlock;
using fakes::PutU32;
using perfdata::WalkStatus;

// Another object first, then the processor object whose idle counter is its second definition.
PerfBlock SampleBlock() {
    return BuildPerfBlock({fakes::OtherObjectLayout(2, {7, 8}),
                           fakes::ProcessorObjectLayout({100, 200, 300}, {2, perfdata::kIdleCounterIndex})});
}

std::vector<std::int64_t> Walk(const std::vector<std::byte>& bytes, std::size_t count) {
    perfdata::ProcessorObject object;
    std::vector<std::int64_t> values(count, -1);
    if (perfdata::FindProcessorCounter(bytes, object) != WalkStatus::Ok ||
        perfdata::ReadInstanceCounters(bytes, object, count, values.data()) != WalkStatus::Ok) {
        values.clear();
    }
    return values;
}

TEST(PerfData, FindsTheProcessorObjectAndItsIdleCounter) {
    const PerfBlock block = SampleBlock();
    perfdata::ProcessorObject object;
    ASSERT_EQ(perfdata::FindProcessorCounter(block.bytes, object), WalkStatus::Ok);
    EXPECT_EQ(object.object, block.objects[1]);
    EXPECT_EQ(object.objectEnd, block.bytes.size());
    EXPECT_EQ(object.numInstances, 3);
    EXPECT_EQ(object.counterOffset, 16u);
    EXPECT_EQ(Walk(block.bytes, 3), (std::vector<std::int64_t>{100, 200, 300}));
    // A walk of fewer instances than listed reads the first ones only.
    EXPECT_EQ(Walk(block.bytes, 2), (std::vector<std::int64_t>{100, 200}));
    EXPECT_EQ(perfdata::ReadInstanceCounters(block.bytes, object, 3, nullptr), WalkStatus::Ok);
}

// Where a patch writes: a structure of the sample block plus a field offset.
enum class At {
    Block,
    OtherObject,
    ProcessorObject,
    IdleDefinition,
    FirstDefinition,
    FirstInstance,
    FirstCounters
};

std::size_t Locate(const PerfBlock& block, At at) {
    switch (at) {
    case At::Block:
        return 0;
    case At::OtherObject:
        return block.objects[0];
    case At::ProcessorObject:
        return block.objects[1];
    case At::FirstDefinition:
        return block.objects[1] + 64;
    case At::IdleDefinition:
        return block.objects[1] + 64 + 40;
    case At::FirstInstance:
        return block.instances[1][0];
    case At::FirstCounters:
        return block.instances[1][0] + 32;
    }
    return 0;
}

TEST(PerfData, MalformedBlocksRaiseTheMatchingErrorWithoutReadingOutside) {
    constexpr std::uint32_t kHuge = 0xFFFFFFF0u;
    struct Field {
        At at;
        std::size_t offset;
        std::uint32_t value;
    };
    const struct {
        const char* name;
        std::vector<Field> fields;
        long cut; // bytes cut from the end (-1: keep only 51 bytes)
        std::size_t count;
        WalkStatus expected;
    } cases[] = {
        {"truncated header", {}, -1, 3, WalkStatus::ObjectNotFound},
        {"no objects", {{At::Block, 28, 0}}, 0, 3, WalkStatus::ObjectNotFound},
        {"header length past the end", {{At::Block, 24, kHuge}}, 0, 3, WalkStatus::ObjectNotFound},
        {"object count beyond the objects",
         {{At::ProcessorObject, 12, 230}, {At::Block, 28, 0xFFFFFFFF}},
         0,
         3,
         WalkStatus::ObjectNotFound},
        {"zero object length would loop", {{At::OtherObject, 0, 0}}, 0, 3, WalkStatus::ObjectNotFound},
        {"object length past the end", {{At::OtherObject, 0, kHuge}}, 0, 3, WalkStatus::ObjectNotFound},
        {"processor object longer than the block",
         {{At::ProcessorObject, 0, 0x7FFFFFFF}},
         0,
         3,
         WalkStatus::ObjectNotFound},
        {"truncated inside the processor object", {}, 4, 3, WalkStatus::ObjectNotFound},
        {"no idle counter", {{At::IdleDefinition, 4, 9}}, 0, 3, WalkStatus::CounterNotFound},
        {"no counters", {{At::ProcessorObject, 32, 0}}, 0, 3, WalkStatus::CounterNotFound},
        {"counter count beyond the definitions",
         {{At::IdleDefinition, 4, 9}, {At::ProcessorObject, 32, 0xFFFFFFFF}},
         0,
         3,
         WalkStatus::CounterNotFound},
        {"zero definition length would loop",
         {{At::FirstDefinition, 0, 0}},
         0,
         3,
         WalkStatus::CounterNotFound},
        {"definition length past the end",
         {{At::FirstDefinition, 0, kHuge}},
         0,
         3,
         WalkStatus::CounterNotFound},
        {"object header length past the end",
         {{At::ProcessorObject, 8, kHuge}},
         0,
         3,
         WalkStatus::CounterNotFound},
        {"definitions cut short", {{At::ProcessorObject, 4, 64 + 40}}, 0, 3, WalkStatus::CounterNotFound},
        {"definition area past the object",
         {{At::ProcessorObject, 4, kHuge}},
         0,
         3,
         WalkStatus::ObjectNotFound},
        {"zero instance length", {{At::FirstInstance, 0, 0}}, 0, 3, WalkStatus::ObjectNotFound},
        {"instance length past the end", {{At::FirstInstance, 0, kHuge}}, 0, 3, WalkStatus::CounterNotFound},
        {"zero counter block length", {{At::FirstCounters, 0, 0}}, 0, 3, WalkStatus::CounterNotFound},
        {"counter block past the end", {{At::FirstCounters, 0, kHuge}}, 0, 3, WalkStatus::CounterNotFound},
        {"counter offset outside the counter block",
         {{At::IdleDefinition, 36, 20}},
         0,
         3,
         WalkStatus::CounterNotFound},
        {"counter offset wraps", {{At::IdleDefinition, 36, kHuge}}, 0, 3, WalkStatus::CounterNotFound},
        {"more instances walked than present", {}, 0, 4, WalkStatus::ObjectNotFound},
        {"a billion instances walked", {}, 0, 1'000'000'000, WalkStatus::ObjectNotFound},
    };
    for (const auto& c : cases) {
        PerfBlock block = SampleBlock();
        for (const Field& field : c.fields) {
            PutU32(block.bytes, Locate(block, field.at) + field.offset, field.value);
        }
        block.bytes.resize(c.cut < 0 ? 51 : block.bytes.size() - static_cast<std::size_t>(c.cut));
        perfdata::ProcessorObject object;
        WalkStatus status = perfdata::FindProcessorCounter(block.bytes, object);
        if (status == WalkStatus::Ok) {
            // Checked without storing, since the count may be absurd.
            status = perfdata::ReadInstanceCounters(block.bytes, object, c.count, nullptr);
        }
        EXPECT_EQ(status, c.expected) << c.name;
    }
}

TEST(PerfData, SystemTimeConvertsLikeSystemTimeToFileTime) {
    const struct {
        fakes::PerfSystemTime time;
        bool valid;
        std::int64_t fileTime;
    } cases[] = {
        {{2014, 2, 11, 12, 0, 0, 0}, true, 130365936000000000},
        {{2012, 2, 29, 23, 59, 59, 999}, true, 129750335999990000},
        {{1601, 1, 1, 0, 0, 0, 0}, true, 0},
        {{9999, 12, 31, 23, 59, 59, 999}, true, 2650467743999990000},
        {{2013, 2, 29, 0, 0, 0, 0}, false, 0},
        {{1600, 12, 31, 0, 0, 0, 0}, false, 0},
        {{2014, 13, 1, 0, 0, 0, 0}, false, 0},
        {{2014, 0, 1, 0, 0, 0, 0}, false, 0},
        {{2014, 4, 31, 0, 0, 0, 0}, false, 0},
        {{2014, 1, 1, 24, 0, 0, 0}, false, 0},
        {{2014, 1, 1, 0, 60, 0, 0}, false, 0},
        {{2014, 1, 1, 0, 0, 60, 0}, false, 0},
        {{2014, 1, 1, 0, 0, 0, 1000}, false, 0},
    };
    for (const auto& c : cases) {
        const PerfBlock block = BuildPerfBlock({}, c.time);
        std::int64_t time = -1;
        EXPECT_EQ(perfdata::BlockSystemTime(block.bytes, time), c.valid)
            << c.time.year << "-" << c.time.month;
        if (c.valid) {
            EXPECT_EQ(time, c.fileTime) << c.time.year;
        } else {
            EXPECT_EQ(time, -1) << "left alone";
        }
    }
    std::int64_t time = -1;
    EXPECT_FALSE(perfdata::BlockSystemTime(std::span<const std::byte>{}, time));
}

} // namespace
} // namespace quelmo
