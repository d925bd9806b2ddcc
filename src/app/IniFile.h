// An INI file held in memory, with the rules of Quelmo's settings file.
//
// Reading: the text is split into lines at CR, LF or CRLF; each line is trimmed of surrounding
// blanks (every character up to the space, control characters included); empty lines, lines
// that begin with ";" and lines before the first section are dropped. "[name]" starts a section
// (the name trimmed too); in other lines the blanks around the first "=" are removed. Lines
// without "=" are kept as they are. Section and key names match without regard to ASCII case;
// when a section or key occurs twice, the first one counts.
//
// Writing a key replaces its line where it stands, appends it to the end of its section when
// missing, or appends the section at the end of the file. Text() gives every section with its
// lines and an empty line after it; lines end with CR LF. Bytes are kept as they are (the system's
// ANSI code page), so unknown sections and keys survive a load and save unchanged.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelmo {

// A whole integer as settings files write them: optional sign, then decimal digits, or "$" or "0x"
// and hexadecimal digits. Decimal values must fit 32 signed bits; hexadecimal ones 32 bits, taken
// as two's complement ($FFFFFFFF is -1). Anything else (blanks, trailing text, empty) is nullopt.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

class IniFile {
public:
    IniFile() = default;
    explicit IniFile(std::string_view text);

    // The value of the key, or nullopt when the section or key is missing.
    std::optional<std::string_view> ReadString(std::string_view section, std::string_view key) const;
    // The integer value of the key, or `fallback` when it is missing or no integer.
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const;
    // True when the integer value is not 0; `fallback` when it is missing or no integer.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    // `value` must not contain line breaks (they would split the line when read back).
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int64_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    std::string Text() const;

private:
    // One kept line: a section header (its name) or an entry ("key=value", or a line without "=").
    struct Line {
        std::uint32_t offset = 0; // into text_
        std::uint32_t length = 0;
        std::uint32_t split = 0; // position of "=" in the line, or kHeader / kNoValue
    };
    static constexpr std::uint32_t kHeader = 0xFFFFFFFF;
    static constexpr std::uint32_t kNoValue = 0xFFFFFFFE;

    std::string_view TextOf(const Line& line) const;
    std::string_view KeyOf(const Line& line) const;
    // Index in lines_ of the first header named `section`, or lines_.size().
    std::size_t FindSection(std::string_view section) const;
    // One past the last line of the section whose header is at `header`.
    std::size_t SectionEnd(std::size_t header) const;
    // Index of the key's line inside the section at `header`, or lines_.size().
    std::size_t FindKey(std::size_t header, std::string_view key) const;
    Line Append(std::string_view text, std::uint32_t split);

    std::string text_;        // the kept lines' text, one after the other; written lines are appended
    std::vector<Line> lines_; // in file order
    std::vector<std::uint32_t> headers_; // indices of the header lines, ascending
};

} // namespace quelmo
