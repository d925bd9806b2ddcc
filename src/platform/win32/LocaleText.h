// The user's locale settings as the processor library's texts: one byte per character, Latin-1.
#pragma once

#include <windows.h>

#include <string>

namespace quelmo::win32 {

// The locale's text of `type` (LOCALE_SDECIMAL, LOCALE_STHOUSAND); a character beyond Latin-1
// becomes `fallback`, and so does the whole text when the locale has none.
inline std::string LocaleLatin1(LCTYPE type, const char* fallback) {
    wchar_t buffer[8] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 8) == 0) {
        return fallback;
    }
    std::string text;
    for (const wchar_t* c = buffer; *c != L'\0'; ++c) {
        if (*c <= 0xFF) {
            text += static_cast<char>(*c);
        } else {
            text += fallback;
        }
    }
    return text;
}

} // namespace quelmo::win32
