// Behaviour that the in-memory registry must share with the real one. The native tests run these
// checks on FakeRegistry, the Windows tests on the real registry under Wine, so the fake cannot
// drift from what the code meets on Windows.
#pragma once

#include "platform/Registry.h"
#include "platform/RegistryValues.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace quelmo::contracts {

using namespace platform;

// `base` is a key path under HKEY_CURRENT_USER that does not exist yet; the checks create it.
inline void CheckKeysAndValues(Registry& registry, const std::wstring& base) {
    const RegKey user = registry.RootKey(RegRoot::CurrentUser);
    RegKey probe{};
    EXPECT_EQ(registry.OpenKey(user, base, RegAccess::Read, probe), kErrorFileNotFound);
    EXPECT_FALSE(probe);

    // Creating a nested key creates its parents; names match in any letter case.
    {
        ScopedRegKey created;
        ASSERT_EQ(registry.CreateKey(user, base + L"\\Deep\\Er", RegAccess::AllAccess, created.Out()),
                  kErrorSuccess);
        ASSERT_EQ(WriteString(created.Get(), L"Name", L"Quelmo"), kErrorSuccess);
        ASSERT_EQ(WriteDword(created.Get(), L"Count", 0x12345678), kErrorSuccess);
    }
    ScopedRegKey key;
    ASSERT_EQ(registry.OpenKey(user, base + L"\\DEEP\\er", RegAccess::Read, key.Out()), kErrorSuccess);
    std::wstring text;
    EXPECT_EQ(ReadString(key.Get(), L"nAME", text), kErrorSuccess);
    EXPECT_EQ(text, L"Quelmo");
    std::uint32_t number = 0;
    EXPECT_EQ(ReadDword(key.Get(), L"count", number), kErrorSuccess);
    EXPECT_EQ(number, 0x12345678U);

    // Size and type only, then too small a buffer, then enough.
    RegType type = RegType::None;
    std::uint32_t size = 0;
    EXPECT_EQ(registry.QueryValue(key.Get(), L"Name", type, {}, size), kErrorSuccess);
    EXPECT_EQ(type, RegType::String);
    EXPECT_EQ(size, 14U); // six characters and the terminating zero, two bytes each
    std::array<std::byte, 64> buffer{};
    size = 4;
    EXPECT_EQ(registry.QueryValue(key.Get(), L"Name", type, buffer, size), kErrorMoreData);
    EXPECT_EQ(size, 14U);
    size = buffer.size();
    EXPECT_EQ(registry.QueryValue(key.Get(), L"Name", type, buffer, size), kErrorSuccess);
    EXPECT_EQ(size, 14U);

    // Wrong types are reported, not misread.
    EXPECT_EQ(ReadDword(key.Get(), L"Name", number), kErrorInvalidData);
    EXPECT_EQ(ReadString(key.Get(), L"Count", text), kErrorInvalidData);
    EXPECT_EQ(ReadString(key.Get(), L"Missing", text), kErrorFileNotFound);

    // A key opened for reading refuses changes; one opened for writing refuses queries.
    EXPECT_EQ(WriteDword(key.Get(), L"Count", 1), kErrorAccessDenied);
    EXPECT_EQ(registry.DeleteValue(key.Get(), L"Count"), kErrorAccessDenied);
    ScopedRegKey writer;
    ASSERT_EQ(registry.OpenKey(user, base + L"\\Deep\\Er", RegAccess::Write, writer.Out()), kErrorSuccess);
    EXPECT_EQ(ReadDword(writer.Get(), L"Count", number), kErrorAccessDenied);

    // Deleting: once, then the value is gone.
    EXPECT_EQ(registry.DeleteValue(writer.Get(), L"COUNT"), kErrorSuccess);
    EXPECT_EQ(registry.DeleteValue(writer.Get(), L"Count"), kErrorFileNotFound);
    EXPECT_EQ(ReadDword(key.Get(), L"Count", number), kErrorFileNotFound);

    // Creating an existing key opens it with its values.
    ScopedRegKey again;
    ASSERT_EQ(registry.CreateKey(user, base + L"\\Deep\\Er", RegAccess::Read, again.Out()), kErrorSuccess);
    EXPECT_EQ(ReadString(again.Get(), L"Name", text), kErrorSuccess);
    EXPECT_TRUE(KeyExists(user, base + L"\\Deep"));
    EXPECT_FALSE(KeyExists(user, base + L"\\Nowhere"));
    EXPECT_FALSE(registry.ErrorText(kErrorAccessDenied).empty());
}

} // namespace quelmo::contracts
