// The settings file's decoding, INI reader and writer on arbitrary bytes: never crashes or hangs,
// decoding loses no byte, and the output is stable (reading the written text and writing it again
// gives the same text, in the file's own encoding too).
#include "app/IniEncoding.h"
#include "app/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto decoded = quelmo::DecodeIniFile(input);
    if (!decoded) {
        Check(size % 2 != 0); // only a UTF-16 file of odd length is refused
        return 0;
    }
    Check(quelmo::EncodeIniFile(decoded->text, decoded->encoding) == input);
    quelmo::IniFile ini(decoded->text);

    // What the settings store does: read keys of every kind, then write them back.
    const std::int32_t rate = ini.ReadInteger("General", "Rate", 500);
    const bool first = ini.ReadBool("general", "FIRSTLAUNCH", true);
    (void)ini.ReadString("Location", "PosX");

    const std::string once = ini.Text();
    Check(quelmo::IniFile(once).Text() == once);

    ini.WriteInteger("General", "Rate", rate);
    ini.WriteBool("General", "FirstLaunch", !first);
    ini.WriteInteger("Colors", "TextColor", -1);
    Check(ini.ReadInteger("General", "Rate", rate + 1) == rate);
    Check(ini.ReadBool("General", "FirstLaunch", first) == !first);
    Check(ini.ReadInteger("colors", "textcolor", 0) == -1);
    const std::string twice = ini.Text();
    Check(quelmo::IniFile(twice).Text() == twice);

    // The saved file reads back as the text that was written, in the encoding it had.
    const auto saved = quelmo::DecodeIniFile(quelmo::EncodeIniFile(twice, decoded->encoding));
    Check(saved && saved->encoding == decoded->encoding && saved->text == twice);

    // Every value the parser accepts is one it would write back the same way in decimal.
    if (const auto value = quelmo::ParseIniInteger(input)) {
        Check(quelmo::ParseIniInteger(std::to_string(*value)) == value);
    }
    return 0;
}
