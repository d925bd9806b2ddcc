#include "app/IniEncoding.h"

#include <cstdint>

namespace quelmo {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigMark = "\xFE\xFF";

bool IsHighSurrogate(std::uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(std::uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    const auto byte = [&out](std::uint32_t value) { out.push_back(static_cast<char>(value)); };
    if (code < 0x80) {
        byte(code);
    } else if (code < 0x800) {
        byte(0xC0 | (code >> 6));
        byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        byte(0xE0 | (code >> 12));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
    } else {
        byte(0xF0 | (code >> 18));
        byte(0x80 | ((code >> 12) & 0x3F));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
    }
}

std::string Utf16ToWtf8(std::string_view bytes, bool bigEndian) {
    const auto unitAt = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (std::uint32_t{first} << 8) | second : (std::uint32_t{second} << 8) | first;
    };
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t unit = unitAt(i);
        if (IsHighSurrogate(unit) && i + 3 < bytes.size() && IsLowSurrogate(unitAt(i + 2))) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00));
            i += 2;
        } else {
            AppendUtf8(out, unit); // a lone surrogate keeps its own sequence
        }
    }
    return out;
}

// The next code point of WTF-8 `text` at `pos` (advanced past it); U+FFFD for one byte that
// starts no complete, shortest-form sequence.
std::uint32_t NextCodePoint(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 1;
    std::uint32_t code = lead;
    std::uint32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1FU;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0FU;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07U;
        minimum = 0x10000;
    } else if (lead >= 0x80) {
        ++pos;
        return 0xFFFD;
    }
    if (pos + length > text.size()) {
        ++pos;
        return 0xFFFD;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[pos + k]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return 0xFFFD;
        }
        code = (code << 6) | (next & 0x3FU);
    }
    if (code < minimum || code > 0x10FFFF) {
        ++pos;
        return 0xFFFD;
    }
    pos += length;
    return code;
}

std::string Wtf8ToUtf16(std::string_view text, bool bigEndian) {
    std::string out(bigEndian ? kUtf16BigMark : kUtf16LittleMark);
    out.reserve(out.size() + text.size() * 2);
    const auto unit = [&](std::uint32_t value) {
        const auto high = static_cast<char>(value >> 8);
        const auto low = static_cast<char>(value & 0xFF);
        out.push_back(bigEndian ? high : low);
        out.push_back(bigEndian ? low : high);
    };
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::uint32_t code = NextCodePoint(text, pos);
        if (code >= 0x10000) {
            unit(0xD800 + ((code - 0x10000) >> 10));
            unit(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            unit(code);
        }
    }
    return out;
}

} // namespace

std::optional<IniText> DecodeIniFile(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) {
        return IniText{IniEncoding::Utf8, std::string(bytes.substr(kUtf8Mark.size()))};
    }
    const bool little = bytes.starts_with(kUtf16LittleMark);
    if (little || bytes.starts_with(kUtf16BigMark)) {
        if (bytes.size() % 2 != 0) {
            return std::nullopt;
        }
        return IniText{little ? IniEncoding::Utf16LittleEndian : IniEncoding::Utf16BigEndian,
                       Utf16ToWtf8(bytes.substr(2), !little)};
    }
    return IniText{IniEncoding::Ansi, std::string(bytes)};
}

std::string EncodeIniFile(std::string_view text, IniEncoding encoding) {
    switch (encoding) {
    case IniEncoding::Utf8:
        return std::string(kUtf8Mark) + std::string(text);
    case IniEncoding::Utf16LittleEndian:
        return Wtf8ToUtf16(text, false);
    case IniEncoding::Utf16BigEndian:
        return Wtf8ToUtf16(text, true);
    case IniEncoding::Ansi:
        break;
    }
    return std::string(text);
}

} // namespace quelmo
