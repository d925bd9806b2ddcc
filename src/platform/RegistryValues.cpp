#include "platform/RegistryValues.h"

#include <algorithm>
#include <array>
#include <span>
#include <type_traits>

namespace quelmo::platform {

std::vector<std::byte> StringValueBytes(std::wstring_view text) {
    std::vector<std::byte> bytes;
    bytes.reserve((text.size() + 1) * 2);
    const auto put = [&bytes](std::uint32_t unit) {
        bytes.push_back(static_cast<std::byte>(unit & 0xFF));
        bytes.push_back(static_cast<std::byte>((unit >> 8) & 0xFF));
    };
    for (const wchar_t ch : text) {
        const auto code = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(ch));
        if (code > 0xFFFF) {
            // Only where wchar_t is UTF-32 (the native tests): a surrogate pair.
            const std::uint32_t v = code - 0x10000;
            put(0xD800 + (v >> 10));
            put(0xDC00 + (v & 0x3FF));
        } else {
            put(code);
        }
    }
    put(0);
    return bytes;
}

std::wstring StringFromValueBytes(std::span<const std::byte> bytes) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<wchar_t>(std::to_integer<std::uint32_t>(bytes[i]) |
                                               (std::to_integer<std::uint32_t>(bytes[i + 1]) << 8));
        if (unit == 0) {
            break;
        }
        text.push_back(unit);
    }
    return text;
}

RegStatus ReadString(RegKey key, std::wstring_view name, std::wstring& text) {
    Registry& registry = TheRegistry();
    RegType type = RegType::None;
    std::uint32_t size = 0;
    RegStatus status = registry.QueryValue(key, name, type, {}, size);
    // The value may grow between the two calls; ask again with the new size.
    for (int attempt = 0; attempt < 4 && status == kErrorSuccess; ++attempt) {
        if (type != RegType::String && type != RegType::ExpandString) {
            return kErrorInvalidData;
        }
        std::vector<std::byte> buffer(size + 2);
        std::uint32_t got = size + 2;
        status = registry.QueryValue(key, name, type, buffer, got);
        if (status == kErrorSuccess) {
            if (type != RegType::String && type != RegType::ExpandString) {
                return kErrorInvalidData;
            }
            text = StringFromValueBytes(std::span(buffer).first(std::min<std::size_t>(got, buffer.size())));
            return kErrorSuccess;
        }
        if (status == kErrorMoreData) {
            size = got;
            status = kErrorSuccess;
        }
    }
    return status == kErrorSuccess ? kErrorMoreData : status;
}

RegStatus ReadDword(RegKey key, std::wstring_view name, std::uint32_t& value) {
    std::array<std::byte, 4> buffer{};
    RegType type = RegType::None;
    std::uint32_t size = buffer.size();
    const RegStatus status = TheRegistry().QueryValue(key, name, type, buffer, size);
    if (status == kErrorMoreData) {
        return kErrorInvalidData;
    }
    if (status != kErrorSuccess) {
        return status;
    }
    if (type != RegType::Dword || size != buffer.size()) {
        return kErrorInvalidData;
    }
    value = std::to_integer<std::uint32_t>(buffer[0]) | (std::to_integer<std::uint32_t>(buffer[1]) << 8) |
            (std::to_integer<std::uint32_t>(buffer[2]) << 16) |
            (std::to_integer<std::uint32_t>(buffer[3]) << 24);
    return kErrorSuccess;
}

RegStatus WriteString(RegKey key, std::wstring_view name, std::wstring_view text) {
    return TheRegistry().SetValue(key, name, RegType::String, StringValueBytes(text));
}

RegStatus WriteDword(RegKey key, std::wstring_view name, std::uint32_t value) {
    const std::array<std::byte, 4> bytes{
        static_cast<std::byte>(value & 0xFF), static_cast<std::byte>((value >> 8) & 0xFF),
        static_cast<std::byte>((value >> 16) & 0xFF), static_cast<std::byte>((value >> 24) & 0xFF)};
    return TheRegistry().SetValue(key, name, RegType::Dword, bytes);
}

bool KeyExists(RegKey parent, std::wstring_view path) {
    ScopedRegKey key;
    const RegStatus status = TheRegistry().OpenKey(parent, path, RegAccess::Read, key.Out());
    // A key this account may not read still exists.
    return status == kErrorSuccess || status == kErrorAccessDenied;
}

} // namespace quelmo::platform
