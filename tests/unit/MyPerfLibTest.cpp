#include "sampling/MyPerfLib.h"

#include "fakes/FakeProcess.h"
#include "fakes/FakeRegistry.h"

#include <gtest/gtest.h>

#include <optional>

namespace quelmo {
namespace {

using namespace platform;
using fakes::FakeRegistry;

constexpr auto kMachine = RegRoot::LocalMachine;
const std::wstring kGlobal(kPerflibKey);
const std::wstring kPerfOs = L"SYSTEM\\CurrentControlSet\\Services\\PerfOS\\Performance";
const std::wstring kValue(kDisableCountersValue);

// One switch as the registry may hold it.
struct Switch {
    bool key = false;                   // the key exists
    std::optional<std::uint32_t> value; // a DWORD "Disable Performance Counters"
    bool refuseRead = false;
    bool refuseWrite = false;
    bool stringValue = false; // the value is the text "1" instead of a DWORD

    void Apply(FakeRegistry& registry, const std::wstring& path) const {
        if (!key) {
            return;
        }
        registry.AddKey(kMachine, path);
        if (value) {
            registry.SetDword(kMachine, path, kValue, *value);
        }
        if (stringValue) {
            registry.SetString(kMachine, path, kValue, L"1");
        }
        registry.RefuseRead(kMachine, path, refuseRead);
        registry.RefuseWrite(kMachine, path, refuseWrite);
    }
};

Switch NoKey() {
    return {};
}
Switch KeyOnly() {
    Switch s;
    s.key = true;
    return s;
}
Switch Value(std::uint32_t value) {
    Switch s = KeyOnly();
    s.value = value;
    return s;
}
Switch TextOne() {
    Switch s = KeyOnly();
    s.stringValue = true;
    return s;
}
Switch Unreadable(Switch s) {
    s.refuseRead = true;
    return s;
}
Switch ReadOnly(Switch s) {
    s.refuseWrite = true;
    return s;
}

TEST(MyPerfLib, ServiceKeyFollowsThePattern) {
    EXPECT_EQ(ServicePerformanceKey(L"PerfOS"), kPerfOs);
    EXPECT_EQ(CounterServices.size(), 1U);
    EXPECT_EQ(CounterServices[0], L"PerfOS");
}

TEST(MyPerfLib, CountersDisabledWhenAnySwitchIsExactlyOne) {
    const struct {
        const char* name;
        Switch global;
        Switch service;
        bool disabled;
    } cases[] = {
        {"nothing there", NoKey(), NoKey(), false},
        {"global 1, service value absent", Value(1), KeyOnly(), true},
        {"global 0, service 1", Value(0), Value(1), true},
        {"global 2", Value(2), NoKey(), false},
        {"global key, no value, no service key", KeyOnly(), NoKey(), false},
        {"service 1 only", NoKey(), Value(1), true},
        {"service 0xFFFFFFFF", NoKey(), Value(0xFFFFFFFF), false},
        {"global 1 but unreadable", Unreadable(Value(1)), NoKey(), false},
        {"service 1 but unreadable", Value(0), Unreadable(Value(1)), false},
        {"global 1, read allowed, write refused", ReadOnly(Value(1)), NoKey(), true},
        {"text \"1\" is not a switch", TextOne(), NoKey(), false},
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        const ScopedSeam<Registry> seam(registry);
        c.global.Apply(registry, kGlobal);
        c.service.Apply(registry, kPerfOs);
        EXPECT_EQ(CountersDisabled(), c.disabled) << c.name;
        EXPECT_EQ(registry.OpenHandleCount(), 0) << c.name;
    }
}

TEST(MyPerfLib, EnableCountersClearsExistingWritableSwitchesOnly) {
    const struct {
        const char* name;
        Switch global;
        Switch service;
        std::optional<std::uint32_t> globalAfter;
        std::optional<std::uint32_t> serviceAfter;
        bool serviceKeyAfter;
    } cases[] = {
        {"global 1, service key without value", Value(1), KeyOnly(), 0, 0, true},
        {"global 1, no service key", Value(1), NoKey(), 0, std::nullopt, false},
        {"both 1", Value(1), Value(1), 0, 0, true},
        {"no global key", NoKey(), Value(1), std::nullopt, 0, true},
        {"global 2 also written", Value(2), NoKey(), 0, std::nullopt, false},
        {"no rights to write the global key", ReadOnly(Value(1)), Value(1), 1, 0, true},
        {"no rights to write the service key", Value(1), ReadOnly(Value(1)), 0, 1, true},
        {"text value replaced by a DWORD", TextOne(), NoKey(), 0, std::nullopt, false},
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        const ScopedSeam<Registry> seam(registry);
        c.global.Apply(registry, kGlobal);
        c.service.Apply(registry, kPerfOs);
        EnableCounters();
        EXPECT_EQ(registry.GetDword(kMachine, kGlobal, kValue), c.globalAfter) << c.name;
        EXPECT_EQ(registry.GetDword(kMachine, kPerfOs, kValue), c.serviceAfter) << c.name;
        EXPECT_EQ(registry.HasKey(kMachine, kPerfOs), c.serviceKeyAfter) << c.name;
        EXPECT_EQ(registry.OpenHandleCount(), 0) << c.name;
    }
}

TEST(MyPerfLib, EnablingMakesTheCountersReadAsEnabled) {
    FakeRegistry registry;
    const ScopedSeam<Registry> seam(registry);
    registry.SetDword(kMachine, kGlobal, kValue, 1);
    registry.SetDword(kMachine, kPerfOs, kValue, 1);
    EXPECT_TRUE(CountersDisabled());
    EnableCounters();
    EXPECT_FALSE(CountersDisabled());
}

TEST(CheckPerformanceCounters, AsksOnlyWhenDisabledAndEnablesOnYes) {
    const struct {
        bool disabled;
        std::optional<MessageAnswer> answer;
        std::uint32_t globalAfter;
    } cases[] = {
        {false, std::nullopt, 0},
        {true, MessageAnswer::Yes, 0},
        {true, MessageAnswer::No, 1},
        {true, MessageAnswer::Cancel, 1},
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        fakes::FakeProcess process;
        const ScopedSeam<Registry> registrySeam(registry);
        const ScopedSeam<Process> processSeam(process);
        registry.SetDword(kMachine, kGlobal, kValue, c.disabled ? 1 : 0);
        if (c.answer) {
            process.answers = {*c.answer};
        }
        CheckPerformanceCounters();
        ASSERT_EQ(process.shown.size(), c.answer ? 1U : 0U);
        if (c.answer) {
            EXPECT_EQ(process.shown[0].caption, L"Quelmo");
            EXPECT_EQ(process.shown[0].text,
                      L"Performance counters are disabled. Application cannot function "
                      L"correctly.\r\rTry to enable performance counters?");
            EXPECT_EQ(process.shown[0].kind, MessageKind::Warning);
            EXPECT_EQ(process.shown[0].buttons, MessageButtons::YesNoCancel);
        }
        EXPECT_EQ(registry.GetDword(kMachine, kGlobal, kValue), c.globalAfter);
    }
}

} // namespace
} // namespace quelmo
