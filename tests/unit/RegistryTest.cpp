#include "contracts/RegistryContract.h"
#include "fakes/FakeRegistry.h"
#include "platform/RegistryValues.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace quelmo {
namespace {

using namespace platform;
using fakes::FakeRegistry;

TEST(FakeRegistry, BehavesLikeTheRealRegistry) {
    FakeRegistry registry;
    const ScopedSeam<Registry> seam(registry);
    contracts::CheckKeysAndValues(registry, L"Software\\QuelmoTests\\Contract");
    EXPECT_EQ(registry.OpenHandleCount(), 0);
}

TEST(FakeRegistry, RefusedKeysAnswerAccessDeniedForTheRightsAskedFor) {
    FakeRegistry registry;
    const ScopedSeam<Registry> seam(registry);
    const RegKey machine = registry.RootKey(RegRoot::LocalMachine);
    registry.SetDword(RegRoot::LocalMachine, L"A\\ReadOnly", L"V", 1);
    registry.RefuseWrite(RegRoot::LocalMachine, L"A\\ReadOnly");
    registry.RefuseRead(RegRoot::LocalMachine, L"A\\Hidden");

    const struct {
        const wchar_t* path;
        RegAccess access;
        RegStatus open;
        RegStatus create;
    } cases[] = {
        {L"A\\ReadOnly", RegAccess::Read, kErrorSuccess, kErrorSuccess},
        {L"A\\ReadOnly", RegAccess::Write, kErrorAccessDenied, kErrorAccessDenied},
        {L"A\\ReadOnly", RegAccess::AllAccess, kErrorAccessDenied, kErrorAccessDenied},
        {L"A\\Hidden", RegAccess::Read, kErrorAccessDenied, kErrorAccessDenied},
        {L"A\\Hidden", RegAccess::Write, kErrorSuccess, kErrorSuccess},
        {L"A\\ReadOnly\\Child", RegAccess::Read, kErrorFileNotFound, kErrorAccessDenied},
        {L"A\\Open\\Child", RegAccess::AllAccess, kErrorFileNotFound, kErrorSuccess},
    };
    for (const auto& c : cases) {
        ScopedRegKey key;
        EXPECT_EQ(registry.OpenKey(machine, c.path, c.access, key.Out()), c.open) << c.path;
        EXPECT_EQ(registry.CreateKey(machine, c.path, c.access, key.Out()), c.create) << c.path;
        EXPECT_EQ(static_cast<bool>(key), c.create == kErrorSuccess) << c.path;
    }
    EXPECT_FALSE(registry.HasKey(RegRoot::LocalMachine, L"A\\ReadOnly\\Child"));
    EXPECT_TRUE(KeyExists(machine, L"a\\hidden"));
    EXPECT_EQ(registry.OpenHandleCount(), 0);
}

TEST(FakeRegistry, FailedWritesChangeNothing) {
    FakeRegistry registry;
    const ScopedSeam<Registry> seam(registry);
    registry.SetString(RegRoot::LocalMachine, L"K", L"V", L"old");
    registry.FailWrites(112); // disk full
    ScopedRegKey key;
    ASSERT_EQ(
        registry.OpenKey(registry.RootKey(RegRoot::LocalMachine), L"K", RegAccess::AllAccess, key.Out()),
        kErrorSuccess);
    EXPECT_EQ(WriteString(key.Get(), L"V", L"new"), 112);
    EXPECT_EQ(registry.DeleteValue(key.Get(), L"V"), 112);
    EXPECT_EQ(
        registry.CreateKey(registry.RootKey(RegRoot::LocalMachine), L"K\\New", RegAccess::Read, key.Out()),
        112);
    EXPECT_EQ(registry.GetString(RegRoot::LocalMachine, L"K", L"V"), L"old");
    EXPECT_FALSE(registry.HasKey(RegRoot::LocalMachine, L"K\\New"));
}

TEST(FakeRegistry, HandlesToARemovedKeyReportItDeleted) {
    FakeRegistry registry;
    const ScopedSeam<Registry> seam(registry);
    registry.SetDword(RegRoot::DynData, L"PerfStats\\StatData", L"KERNEL\\CPUUsage", 7);
    ScopedRegKey key;
    ASSERT_EQ(registry.OpenKey(registry.RootKey(RegRoot::DynData), L"perfstats\\statdata", RegAccess::Read,
                               key.Out()),
              kErrorSuccess);
    std::uint32_t value = 0;
    EXPECT_EQ(ReadDword(key.Get(), L"kernel\\cpuusage", value), kErrorSuccess);
    EXPECT_EQ(value, 7U);
    registry.RemoveKey(RegRoot::DynData, L"PerfStats");
    EXPECT_EQ(ReadDword(key.Get(), L"KERNEL\\CPUUsage", value), kErrorKeyDeleted);
    EXPECT_FALSE(registry.HasKey(RegRoot::DynData, L"PerfStats\\StatData"));
}

TEST(FakeRegistry, RootQueriesGoToTheHookWithRegistrySizing) {
    FakeRegistry registry;
    const std::vector<std::byte> block(100, std::byte{0x5A});
    std::vector<std::wstring> asked;
    registry.SetRootQueryHook(
        RegRoot::PerformanceData,
        [&](std::wstring_view name, RegType& type, std::span<std::byte> buffer, std::uint32_t& size) {
            asked.emplace_back(name);
            return FakeRegistry::Answer(block, RegType::Binary, type, buffer, size);
        });
    const RegKey perf = registry.RootKey(RegRoot::PerformanceData);
    std::vector<std::byte> buffer(64);
    RegType type = RegType::None;
    std::uint32_t size = 64;
    EXPECT_EQ(registry.QueryValue(perf, L"238", type, buffer, size), kErrorMoreData);
    EXPECT_EQ(size, 100U);
    buffer.resize(128);
    size = 128;
    EXPECT_EQ(registry.QueryValue(perf, L"238", type, buffer, size), kErrorSuccess);
    EXPECT_EQ(size, 100U);
    EXPECT_EQ(type, RegType::Binary);
    EXPECT_EQ(buffer[99], std::byte{0x5A});
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"238", L"238"}));
    EXPECT_EQ(registry.RootQueryCount(RegRoot::PerformanceData), 2);

    // Closing the root is counted (the code releases the performance data that way).
    registry.CloseKey(perf);
    EXPECT_EQ(registry.RootCloseCount(RegRoot::PerformanceData), 1);

    // Without a hook the root's own values answer.
    registry.SetRootQueryHook(RegRoot::PerformanceData, nullptr);
    EXPECT_EQ(registry.QueryValue(perf, L"238", type, buffer, size), kErrorFileNotFound);
}

TEST(RegistryValues, StringBytesRoundTripAndStopAtTheFirstZero) {
    const struct {
        std::wstring text;
        std::size_t bytes;
    } cases[] = {
        {L"", 2},
        {L"a", 4},
        {L"C:\\Program Files\\Quelmo.exe", 56},
        {L"\u00e9\u20ac", 6},
    };
    for (const auto& c : cases) {
        const auto bytes = StringValueBytes(c.text);
        EXPECT_EQ(bytes.size(), c.bytes);
        EXPECT_EQ(StringFromValueBytes(bytes), c.text);
    }
    // Registry strings need not be terminated, and may hold a zero before their end.
    const std::array<std::byte, 8> raw{std::byte{'h'}, std::byte{0}, std::byte{'i'}, std::byte{0},
                                       std::byte{0},   std::byte{0}, std::byte{'x'}, std::byte{0}};
    EXPECT_EQ(StringFromValueBytes(std::span(raw).first(4)), L"hi");
    EXPECT_EQ(StringFromValueBytes(raw), L"hi");
    EXPECT_EQ(StringFromValueBytes(std::span(raw).first(3)), L"h"); // an odd byte is dropped
}

TEST(RegistryValues, WrongSizedDwordIsInvalidData) {
    FakeRegistry registry;
    const ScopedSeam<Registry> seam(registry);
    registry.SetRaw(RegRoot::LocalMachine, L"K", L"Short", RegType::Dword, {std::byte{1}, std::byte{0}});
    registry.SetRaw(RegRoot::LocalMachine, L"K", L"Long", RegType::Dword, std::vector<std::byte>(8));
    ScopedRegKey key;
    ASSERT_EQ(registry.OpenKey(registry.RootKey(RegRoot::LocalMachine), L"K", RegAccess::Read, key.Out()),
              kErrorSuccess);
    std::uint32_t value = 99;
    EXPECT_EQ(ReadDword(key.Get(), L"Short", value), kErrorInvalidData);
    EXPECT_EQ(ReadDword(key.Get(), L"Long", value), kErrorInvalidData);
    EXPECT_EQ(value, 99U);
}

} // namespace
} // namespace quelmo
