// Every text of the settings dialog that a user reads.
#pragma once

namespace quelmo::texts::settings {

inline constexpr wchar_t kCaption[] = L"Quelmo - Settings";

} // namespace quelmo::texts::settings
