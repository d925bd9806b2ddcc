#include "app/IniFile.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <stdexcept>

namespace quelmo {
namespace {

bool IsBlank(char ch) {
    return static_cast<unsigned char>(ch) <= ' ';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char AsciiLower(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

int DigitValue(char ch, int base) {
    int value = 99;
    if (ch >= '0' && ch <= '9') {
        value = ch - '0';
    } else if (ch >= 'a' && ch <= 'f') {
        value = ch - 'a' + 10;
    } else if (ch >= 'A' && ch <= 'F') {
        value = ch - 'A' + 10;
    }
    return value < base ? value : -1;
}

} // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    const std::uint64_t limit = base == 16 ? 0xFFFFFFFFULL : 0x80000000ULL;
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0) {
            return std::nullopt;
        }
        magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    if (base == 16) {
        // Hexadecimal spells the 32 bits themselves.
        auto bits = static_cast<std::uint32_t>(magnitude);
        if (negative) {
            bits = 0U - bits;
        }
        return std::bit_cast<std::int32_t>(bits);
    }
    if (!negative && magnitude > 0x7FFFFFFFULL) {
        return std::nullopt;
    }
    const auto value = static_cast<std::int64_t>(magnitude);
    return static_cast<std::int32_t>(negative ? -value : value);
}

IniFile::IniFile(std::string_view input) {
    // Line offsets are 32-bit; no settings file comes near that (files are read up to 16 MB).
    input = input.substr(0, std::numeric_limits<std::uint32_t>::max() / 2);
    text_.reserve(input.size());
    bool inSection = false;
    std::size_t pos = 0;
    while (pos < input.size()) {
        std::size_t end = input.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = input.size();
        }
        const std::string_view line = Trim(input.substr(pos, end - pos));
        pos = end + ((end + 1 < input.size() && input[end] == '\r' && input[end + 1] == '\n') ? 2 : 1);

        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            headers_.push_back(static_cast<std::uint32_t>(lines_.size()));
            lines_.push_back(Append(Trim(line.substr(1, line.size() - 2)), kHeader));
            inSection = true;
        } else if (inSection) {
            const std::size_t equals = line.find('=');
            if (equals == std::string_view::npos) {
                lines_.push_back(Append(line, kNoValue));
            } else {
                const std::string_view key = Trim(line.substr(0, equals));
                const std::string_view value = Trim(line.substr(equals + 1));
                const Line entry = Append(key, static_cast<std::uint32_t>(key.size()));
                text_ += '=';
                text_ += value;
                lines_.push_back(
                    {entry.offset, static_cast<std::uint32_t>(key.size() + 1 + value.size()), entry.split});
            }
        }
    }
}

IniFile::Line IniFile::Append(std::string_view text, std::uint32_t split) {
    if (text.size() >= std::numeric_limits<std::uint32_t>::max() - text_.size()) {
        throw std::length_error("INI text too long");
    }
    const auto offset = static_cast<std::uint32_t>(text_.size());
    text_ += text;
    return {offset, static_cast<std::uint32_t>(text.size()), split};
}

std::string_view IniFile::TextOf(const Line& line) const {
    return std::string_view(text_).substr(line.offset, line.length);
}

std::string_view IniFile::KeyOf(const Line& line) const {
    return TextOf(line).substr(0, line.split);
}

std::size_t IniFile::FindSection(std::string_view section) const {
    for (const std::uint32_t header : headers_) {
        if (SameName(TextOf(lines_[header]), section)) {
            return header;
        }
    }
    return lines_.size();
}

std::size_t IniFile::SectionEnd(std::size_t header) const {
    const auto next = std::upper_bound(headers_.begin(), headers_.end(), header);
    return next == headers_.end() ? lines_.size() : *next;
}

std::size_t IniFile::FindKey(std::size_t header, std::string_view key) const {
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const Line& line = lines_[i];
        if (line.split != kNoValue && line.split == key.size() && SameName(KeyOf(line), key)) {
            return i;
        }
    }
    return lines_.size();
}

std::optional<std::string_view> IniFile::ReadString(std::string_view section, std::string_view key) const {
    const std::size_t header = FindSection(section);
    if (header == lines_.size()) {
        return std::nullopt;
    }
    const std::size_t index = FindKey(header, key);
    if (index == lines_.size()) {
        return std::nullopt;
    }
    return TextOf(lines_[index]).substr(lines_[index].split + 1);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t fallback) const {
    const auto text = ReadString(section, key);
    if (!text) {
        return fallback;
    }
    return ParseIniInteger(*text).value_or(fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const auto entryText = [&] {
        Line entry = Append(key, static_cast<std::uint32_t>(key.size()));
        const Line rest = Append("=", kNoValue);
        Append(value, kNoValue);
        entry.length = static_cast<std::uint32_t>(key.size() + rest.length + value.size());
        return entry;
    };
    const std::size_t header = FindSection(section);
    if (header == lines_.size()) {
        headers_.push_back(static_cast<std::uint32_t>(lines_.size()));
        lines_.push_back(Append(section, kHeader));
        lines_.push_back(entryText());
        return;
    }
    const std::size_t index = FindKey(header, key);
    if (index != lines_.size()) {
        lines_[index] = entryText();
        return;
    }
    // A new key goes to the end of its section; the sections after it move down one line.
    const std::size_t end = SectionEnd(header);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(end), entryText());
    for (auto& later : headers_) {
        if (later >= end) {
            ++later;
        }
    }
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int64_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::string IniFile::Text() const {
    std::string out;
    out.reserve(text_.size() + lines_.size() * 4);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.split == kHeader) {
            if (i != 0) {
                out += "\r\n";
            }
            out += '[';
            out += TextOf(line);
            out += "]\r\n";
        } else {
            out += TextOf(line);
            out += "\r\n";
        }
    }
    if (!lines_.empty()) {
        out += "\r\n";
    }
    return out;
}

} // namespace quelmo
