// Every text of the statistics window that a user reads.
#pragma once

namespace quelmo::texts::statistics {

inline constexpr wchar_t kCaption[] = L"Quelmo - Statistics";

} // namespace quelmo::texts::statistics
