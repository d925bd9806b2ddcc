// The system's message text for an error code, shared by the seam implementations.
#pragma once

#include <windows.h>

#include <iterator>
#include <string>

namespace quelmo::win32 {

// FormatMessage's text without its trailing line break; "System error N." when it has none.
inline std::wstring SystemErrorText(DWORD code) {
    wchar_t buffer[512] = {};
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                          code, 0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    std::wstring text(buffer, length);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.pop_back();
    }
    if (text.empty()) {
        text = L"System error " + std::to_wstring(code) + L".";
    }
    return text;
}

} // namespace quelmo::win32
