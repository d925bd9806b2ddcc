// Native builds have no registry: every key is missing and nothing can be created. The native
// tests install the in-memory fake instead.
#include "platform/Registry.h"

#include <string>

namespace quelmo::platform {
namespace {

class NoRegistry final : public Registry {
public:
    RegKey RootKey(RegRoot root) override {
        return RegKey{0x80000000U + static_cast<std::uintptr_t>(root) + 1};
    }
    RegStatus OpenKey(RegKey, std::wstring_view, RegAccess, RegKey& key) override {
        key = {};
        return kErrorFileNotFound;
    }
    RegStatus CreateKey(RegKey, std::wstring_view, RegAccess, RegKey& key) override {
        key = {};
        return kErrorAccessDenied;
    }
    void CloseKey(RegKey) override {}
    RegStatus QueryValue(RegKey, std::wstring_view, RegType& type, std::span<std::byte>,
                         std::uint32_t& size) override {
        type = RegType::None;
        size = 0;
        return kErrorFileNotFound;
    }
    RegStatus SetValue(RegKey, std::wstring_view, RegType, std::span<const std::byte>) override {
        return kErrorAccessDenied;
    }
    RegStatus DeleteValue(RegKey, std::wstring_view) override { return kErrorFileNotFound; }
    std::wstring ErrorText(RegStatus status) override {
        return L"Registry error " + std::to_wstring(status) + L".";
    }
};

} // namespace

template <>
Registry& Seam<Registry>::Default() {
    static NoRegistry instance;
    return instance;
}

} // namespace quelmo::platform
