// Every text of the About window that a user reads.
#pragma once

namespace quelmo::texts::about {

inline constexpr wchar_t kCaption[] = L"About";

} // namespace quelmo::texts::about
