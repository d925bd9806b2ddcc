// The encodings a settings file may come in, told apart by its byte-order mark.
//
// A file without a mark is the system's ANSI code page and is handed to the INI reader byte for
// byte, as it always was. A UTF-8 mark (as Notepad writes it) is taken off and the rest is the text.
// UTF-16 in either byte order is turned into UTF-8 for the reader, with unpaired surrogates kept as
// their own three-byte sequences (WTF-8), so that saving gives back every code unit of the file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quelmo {

enum class IniEncoding { Ansi, Utf8, Utf16LittleEndian, Utf16BigEndian };

struct IniText {
    IniEncoding encoding = IniEncoding::Ansi;
    std::string text; // bytes for Ansi, UTF-8 (WTF-8 for UTF-16 files) otherwise; no mark
};

// The text of a settings file. nullopt when the file cannot be decoded: UTF-16 with an odd number of
// bytes is a damaged file, and saving over it would lose its last byte.
std::optional<IniText> DecodeIniFile(std::string_view bytes);

// The bytes of `text` in `encoding`, the byte-order mark first (none for Ansi). Bytes of `text` that
// are no UTF-8 sequence become U+FFFD in a UTF-16 file; text from DecodeIniFile always round-trips.
std::string EncodeIniFile(std::string_view text, IniEncoding encoding);

} // namespace quelmo
