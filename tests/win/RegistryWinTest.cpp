#include "contracts/RegistryContract.h"
#include "platform/Registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace quelmo {
namespace {

using namespace platform;

// A scratch key under HKEY_CURRENT_USER, removed with everything below it at the end.
class ScratchKey {
public:
    ScratchKey() : path_(L"Software\\QuelmoTests\\Run" + std::to_wstring(::GetCurrentProcessId())) {
        Remove();
    }
    ~ScratchKey() { Remove(); }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
    const std::wstring& Path() const { return path_; }

private:
    void Remove() const { ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str()); }
    std::wstring path_;
};

TEST(Win32Registry, BehavesAsTheFakeAssumes) {
    const ScratchKey scratch;
    contracts::CheckKeysAndValues(TheRegistry(), scratch.Path());
}

TEST(Win32Registry, ErrorTextIsTheSystemMessageWithoutLineBreak) {
    const std::wstring text = TheRegistry().ErrorText(kErrorAccessDenied);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text.find_first_of(L"\r\n"), std::wstring::npos);
    EXPECT_NE(TheRegistry().ErrorText(kErrorFileNotFound), text);
}

TEST(Win32Registry, RootKeysAreThePredefinedHandles) {
    auto& registry = TheRegistry();
    EXPECT_EQ(registry.RootKey(RegRoot::LocalMachine).value,
              reinterpret_cast<std::uintptr_t>(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(registry.RootKey(RegRoot::CurrentUser).value,
              reinterpret_cast<std::uintptr_t>(HKEY_CURRENT_USER));
    EXPECT_EQ(registry.RootKey(RegRoot::PerformanceData).value,
              reinterpret_cast<std::uintptr_t>(HKEY_PERFORMANCE_DATA));
    EXPECT_EQ(registry.RootKey(RegRoot::DynData).value, reinterpret_cast<std::uintptr_t>(HKEY_DYN_DATA));
    // The performance data answers on the root itself.
    const RegKey perf = registry.RootKey(RegRoot::PerformanceData);
    std::vector<std::byte> buffer(1 << 20);
    RegType type = RegType::None;
    auto size = static_cast<std::uint32_t>(buffer.size());
    EXPECT_EQ(registry.QueryValue(perf, L"Global", type, buffer, size), kErrorSuccess);
    EXPECT_GE(size, 4U);
    EXPECT_EQ(std::to_integer<char>(buffer[0]), 'P'); // "PERF" signature, UTF-16
    registry.CloseKey(perf);
}

} // namespace
} // namespace quelmo
