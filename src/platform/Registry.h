// The registry, as RegOpenKeyEx/RegCreateKeyEx/RegQueryValueEx/RegSetValueEx/RegDeleteValue see it.
// Status values are Win32 error codes (0 = success), so callers can report the system's text.
#pragma once

#include "platform/Seam.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quelmo::platform {

using RegStatus = long;
inline constexpr RegStatus kErrorSuccess = 0;
inline constexpr RegStatus kErrorFileNotFound = 2;
inline constexpr RegStatus kErrorAccessDenied = 5;
inline constexpr RegStatus kErrorInvalidHandle = 6;
inline constexpr RegStatus kErrorInvalidData = 13;
inline constexpr RegStatus kErrorMoreData = 234;
inline constexpr RegStatus kErrorKeyDeleted = 1018;

// The predefined roots the program uses.
enum class RegRoot { LocalMachine, CurrentUser, PerformanceData, DynData };

// Rights asked for when opening or creating a key.
enum class RegAccess { Read, Write, AllAccess };

// Value types (REG_* numbers).
enum class RegType : std::uint32_t {
    None = 0,
    String = 1,
    ExpandString = 2,
    Binary = 3,
    Dword = 4,
    MultiString = 7
};

// An open key as the registry hands it out; 0 is no key. The predefined roots are keys too
// (RootKey), so values can be queried on them directly (the performance data is read that way).
struct RegKey {
    std::uintptr_t value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(RegKey, RegKey) = default;
};

class Registry {
public:
    virtual ~Registry() = default;
    virtual RegKey RootKey(RegRoot root) = 0;
    virtual RegStatus OpenKey(RegKey parent, std::wstring_view path, RegAccess access, RegKey& key) = 0;
    // Opens the key, creating it and any missing parents first.
    virtual RegStatus CreateKey(RegKey parent, std::wstring_view path, RegAccess access, RegKey& key) = 0;
    // Closing a root key is allowed and does nothing, except for PerformanceData, where it lets the
    // system release the performance-data providers (RegCloseKey(HKEY_PERFORMANCE_DATA)).
    virtual void CloseKey(RegKey key) = 0;
    // RegQueryValueEx: `size` is the buffer's usable size on entry and the value's size on return.
    // An empty buffer asks for size and type only. kErrorMoreData when the buffer is too small.
    virtual RegStatus QueryValue(RegKey key, std::wstring_view name, RegType& type,
                                 std::span<std::byte> buffer, std::uint32_t& size) = 0;
    virtual RegStatus SetValue(RegKey key, std::wstring_view name, RegType type,
                               std::span<const std::byte> data) = 0;
    virtual RegStatus DeleteValue(RegKey key, std::wstring_view name) = 0;
    // The system's message text for an error code (FormatMessage), without a trailing line break.
    virtual std::wstring ErrorText(RegStatus status) = 0;
};

// Defined by the platform's implementation file.
template <>
Registry& Seam<Registry>::Default();

inline Registry& TheRegistry() {
    return Seam<Registry>::Get();
}

// Owns an open key and closes it through the current registry when it goes.
class ScopedRegKey {
public:
    ScopedRegKey() = default;
    explicit ScopedRegKey(RegKey key) : key_(key) {}
    ScopedRegKey(ScopedRegKey&& other) noexcept : key_(other.Release()) {}
    ScopedRegKey& operator=(ScopedRegKey&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    ScopedRegKey(const ScopedRegKey&) = delete;
    ScopedRegKey& operator=(const ScopedRegKey&) = delete;
    ~ScopedRegKey() { Reset(); }

    RegKey Get() const { return key_; }
    explicit operator bool() const { return static_cast<bool>(key_); }
    // For the out-parameter of OpenKey/CreateKey; closes what was held.
    RegKey& Out() {
        Reset();
        return key_;
    }
    RegKey Release() {
        const RegKey key = key_;
        key_ = {};
        return key;
    }
    void Reset(RegKey key = {}) {
        if (key_) {
            TheRegistry().CloseKey(key_);
        }
        key_ = key;
    }

private:
    RegKey key_{};
};

} // namespace quelmo::platform
