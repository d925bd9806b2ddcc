// Typed access to registry values over the Registry seam: strings and DWORDs as the program
// stores them (REG_SZ with its terminating zero, REG_DWORD little-endian).
#pragma once

#include "platform/Registry.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quelmo::platform {

// UTF-16LE bytes of `text` followed by a terminating zero, as RegSetValueExW takes a REG_SZ.
std::vector<std::byte> StringValueBytes(std::wstring_view text);

// The text of REG_SZ bytes: UTF-16LE up to the first zero character (or the end).
std::wstring StringFromValueBytes(std::span<const std::byte> bytes);

// Reads a REG_SZ or REG_EXPAND_SZ value (not expanded). kErrorInvalidData for other types.
RegStatus ReadString(RegKey key, std::wstring_view name, std::wstring& text);

// Reads a REG_DWORD value. kErrorInvalidData for other types or sizes.
RegStatus ReadDword(RegKey key, std::wstring_view name, std::uint32_t& value);

RegStatus WriteString(RegKey key, std::wstring_view name, std::wstring_view text);
RegStatus WriteDword(RegKey key, std::wstring_view name, std::uint32_t value);

// True when the key exists, even if this account may not open it.
bool KeyExists(RegKey parent, std::wstring_view path);

} // namespace quelmo::platform
