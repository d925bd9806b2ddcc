#include "platform/Registry.h"

#include "platform/win32/SystemText.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace quelmo::platform {
namespace {

HKEY ToHkey(RegKey key) {
    return reinterpret_cast<HKEY>(key.value);
}

RegKey FromHkey(HKEY key) {
    return RegKey{reinterpret_cast<std::uintptr_t>(key)};
}

REGSAM ToSam(RegAccess access) {
    switch (access) {
    case RegAccess::Read:
        return KEY_READ;
    case RegAccess::Write:
        return KEY_WRITE;
    case RegAccess::AllAccess:
        break;
    }
    return KEY_ALL_ACCESS;
}

class Win32Registry final : public Registry {
public:
    RegKey RootKey(RegRoot root) override {
        switch (root) {
        case RegRoot::LocalMachine:
            return FromHkey(HKEY_LOCAL_MACHINE);
        case RegRoot::CurrentUser:
            return FromHkey(HKEY_CURRENT_USER);
        case RegRoot::PerformanceData:
            return FromHkey(HKEY_PERFORMANCE_DATA);
        case RegRoot::DynData:
            break;
        }
        return FromHkey(HKEY_DYN_DATA);
    }

    RegStatus OpenKey(RegKey parent, std::wstring_view path, RegAccess access, RegKey& key) override {
        const std::wstring subKey(path);
        HKEY opened = nullptr;
        const LONG status = ::RegOpenKeyExW(ToHkey(parent), subKey.c_str(), 0, ToSam(access), &opened);
        key = status == ERROR_SUCCESS ? FromHkey(opened) : RegKey{};
        return status;
    }

    RegStatus CreateKey(RegKey parent, std::wstring_view path, RegAccess access, RegKey& key) override {
        const std::wstring subKey(path);
        HKEY created = nullptr;
        const LONG status =
            ::RegCreateKeyExW(ToHkey(parent), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              ToSam(access), nullptr, &created, nullptr);
        key = status == ERROR_SUCCESS ? FromHkey(created) : RegKey{};
        return status;
    }

    void CloseKey(RegKey key) override {
        const HKEY hkey = ToHkey(key);
        if (hkey == HKEY_LOCAL_MACHINE || hkey == HKEY_CURRENT_USER || hkey == HKEY_DYN_DATA ||
            hkey == nullptr) {
            return;
        }
        // For HKEY_PERFORMANCE_DATA this releases the providers that the last query loaded.
        ::RegCloseKey(hkey);
    }

    RegStatus QueryValue(RegKey key, std::wstring_view name, RegType& type, std::span<std::byte> buffer,
                         std::uint32_t& size) override {
        const std::wstring valueName(name);
        DWORD rawType = REG_NONE;
        DWORD bytes = buffer.empty() ? 0 : static_cast<DWORD>(std::min<std::size_t>(size, buffer.size()));
        auto* data = buffer.empty() ? nullptr : reinterpret_cast<BYTE*>(buffer.data());
        const LONG status =
            ::RegQueryValueExW(ToHkey(key), valueName.c_str(), nullptr, &rawType, data, &bytes);
        type = static_cast<RegType>(rawType);
        size = bytes;
        return status;
    }

    RegStatus SetValue(RegKey key, std::wstring_view name, RegType type,
                       std::span<const std::byte> data) override {
        const std::wstring valueName(name);
        return ::RegSetValueExW(ToHkey(key), valueName.c_str(), 0, static_cast<DWORD>(type),
                                reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
    }

    RegStatus DeleteValue(RegKey key, std::wstring_view name) override {
        const std::wstring valueName(name);
        return ::RegDeleteValueW(ToHkey(key), valueName.c_str());
    }

    std::wstring ErrorText(RegStatus status) override {
        return win32::SystemErrorText(static_cast<DWORD>(status));
    }
};

} // namespace

template <>
Registry& Seam<Registry>::Default() {
    static Win32Registry instance;
    return instance;
}

} // namespace quelmo::platform
