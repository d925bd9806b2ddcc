#include "app/IniEncoding.h"
#include "app/IniFile.h"

#include <gtest/gtest.h>

#include <string>

namespace quelmo {
namespace {

TEST(ParseIniInteger, AcceptsDecimalAndBothHexSpellingsOnly) {
    const struct {
        const char* text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {"0", 0},
        {"100", 100},
        {"-5", -5},
        {"+7", 7},
        {"007", 7},
        {"$64", 100},
        {"0x64", 100},
        {"0X64", 100},
        {"$ff", 255},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"$80000000", INT32_MIN},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"4294967295", std::nullopt},
        {"$100000000", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"x64", std::nullopt},
        {"yes", std::nullopt},
        {"12abc", std::nullopt},
        {"1 2", std::nullopt},
        {" 1", std::nullopt},
        {"1.5", std::nullopt},
        {"$G", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseIniInteger(c.text), c.value) << '"' << c.text << '"';
    }
}

// Reading then writing back shows what the reader kept.
TEST(IniFile, KeepsSectionsAndEntriesAndDropsTheRest) {
    const struct {
        const char* name;
        std::string input;
        std::string text;
    } cases[] = {
        {"empty", "", ""},
        {"only blanks and comments", "\r\n  \n; note\n\t;x\n", ""},
        {"lines before the first section", "a=1\n[S]\nb=2\n", "[S]\r\nb=2\r\n\r\n"},
        {"blanks around = and the line", "[S]\n  key   =  value with blanks \t\n",
         "[S]\r\nkey=value with blanks\r\n\r\n"},
        {"only the first = splits", "[S]\na = b = c\n", "[S]\r\na=b = c\r\n\r\n"},
        {"section name trimmed", "  [  Name  ]  \nk=v\n", "[Name]\r\nk=v\r\n\r\n"},
        {"empty section name", "[]\nk=v\n", "[]\r\nk=v\r\n\r\n"},
        {"unclosed bracket is an entry", "[S]\n[T\n", "[S]\r\n[T\r\n\r\n"},
        {"line without =", "[S]\njust words \n", "[S]\r\njust words\r\n\r\n"},
        {"comment after the entry start stays", "[S]\nk=v ; c\n", "[S]\r\nk=v ; c\r\n\r\n"},
        {"CR, LF and CRLF all end lines", "[S]\ra=1\nb=2\r\nc=3", "[S]\r\na=1\r\nb=2\r\nc=3\r\n\r\n"},
        {"control characters are blanks", std::string("[S]\n\x01\x00k=v\x1f\n", 11), "[S]\r\nk=v\r\n\r\n"},
        {"high bytes are kept", "[S]\n\xe9t\xe9=\xff\n", "[S]\r\n\xe9t\xe9=\xff\r\n\r\n"},
        {"duplicate sections stay", "[A]\nx=1\n[a]\nx=2\n", "[A]\r\nx=1\r\n\r\n[a]\r\nx=2\r\n\r\n"},
        {"empty value", "[S]\nk=\n", "[S]\r\nk=\r\n\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IniFile(c.input).Text(), c.text) << c.name;
    }
}

TEST(IniFile, FindsSectionsAndKeysInAnyCaseFirstOneWins) {
    const IniFile ini("[General]\nRate=100\nrate=200\n[GENERAL]\nPosX=5\n[Other]\nKey=yes\nnovalue\n");
    const struct {
        const char* section;
        const char* key;
        std::optional<std::string_view> value;
    } cases[] = {
        {"general", "RATE", "100"},         {"General", "PosX", std::nullopt}, {"other", "key", "yes"},
        {"Other", "novalue", std::nullopt}, {"Missing", "Rate", std::nullopt}, {"Other", "Ke", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ini.ReadString(c.section, c.key), c.value) << c.section << '/' << c.key;
    }
    EXPECT_EQ(ini.ReadInteger("General", "Rate", 1), 100);
    EXPECT_EQ(ini.ReadInteger("Other", "Key", 42), 42); // no integer
    EXPECT_EQ(ini.ReadInteger("Other", "Missing", -3), -3);
    EXPECT_TRUE(ini.ReadBool("General", "Rate", false));
    EXPECT_FALSE(ini.ReadBool("Other", "Key", false));
}

TEST(IniFile, WritesReplaceInPlaceAppendToTheSectionOrAddTheSection) {
    IniFile ini("; settings\n[General]\nUnknown=1\nRate=100\n\n[Extra]\nkeep=me\n");
    ini.WriteInteger("general", "RATE", 250);       // replaced where it stands
    ini.WriteBool("General", "FirstLaunch", false); // appended to General, before [Extra]
    ini.WriteInteger("General", "PosX", -4);
    ini.WriteString("Colors", "TextColor", "0"); // new section at the end
    ini.WriteString("Colors", "BarColor", "8388608");
    EXPECT_EQ(ini.Text(), "[General]\r\nUnknown=1\r\nRATE=250\r\nFirstLaunch=0\r\nPosX=-4\r\n\r\n"
                          "[Extra]\r\nkeep=me\r\n\r\n"
                          "[Colors]\r\nTextColor=0\r\nBarColor=8388608\r\n\r\n");
    EXPECT_EQ(ini.ReadString("general", "firstlaunch"), "0");
    EXPECT_EQ(ini.ReadString("Extra", "keep"), "me");
}

TEST(IniFile, WritingTheFirstOfDuplicateSectionsKeepsLaterHeadersInPlace) {
    IniFile ini("[A]\nx=1\n[B]\ny=2\n[a]\nz=3\n");
    ini.WriteString("A", "new", "n");
    ini.WriteString("B", "y2", "m");
    ini.WriteString("a", "z", "4"); // the first [A] has no z: appended there
    EXPECT_EQ(ini.Text(), "[A]\r\nx=1\r\nnew=n\r\nz=4\r\n\r\n[B]\r\ny=2\r\ny2=m\r\n\r\n[a]\r\nz=3\r\n\r\n");
}

TEST(IniFile, WrittenTextReadsBackTheSame) {
    const char* inputs[] = {
        "[S]\n a = 1 \n;c\n[T]\nx\n[ U ]\n=v\n",
        "junk\n[\n[]]\n]=[\n[S]=x]\n",
        "[S]\r\n\r\n\r\n k\t=\t\x7f\n",
    };
    for (const char* input : inputs) {
        const std::string once = IniFile(input).Text();
        EXPECT_EQ(IniFile(once).Text(), once) << input;
    }
}

TEST(IniFile, HugeLineAndManySectionsLoad) {
    std::string big = "[General]\nRate=" + std::string(10 * 1024 * 1024, '7') + "\nPosX=$64\n";
    const IniFile ini(big);
    EXPECT_EQ(ini.ReadInteger("General", "Rate", 500), 500); // far too large for 32 bits
    EXPECT_EQ(ini.ReadInteger("General", "PosX", 0), 100);

    std::string many;
    for (int i = 0; i < 20000; ++i) {
        many += "[S" + std::to_string(i) + "]\nk=" + std::to_string(i) + "\n";
    }
    IniFile lots(many);
    EXPECT_EQ(lots.ReadInteger("s19999", "K", -1), 19999);
    lots.WriteInteger("S0", "added", 1);
    EXPECT_EQ(lots.ReadInteger("S1", "k", -1), 1);
    EXPECT_EQ(lots.ReadInteger("S0", "added", -1), 1);
}

// Decoding takes the mark off and gives UTF-8; encoding the decoded text gives back the very bytes.
TEST(IniEncoding, DecodesByTheMarkAndEncodesBackEveryByte) {
    using enum IniEncoding;
    using namespace std::string_literals;
    const struct {
        const char* name;
        std::string bytes;
        IniEncoding encoding;
        std::string text;
    } cases[] = {
        {"no mark: bytes as they are", "[S]\r\n\xE9\xFF=\xEF\xBB\r\n", Ansi, "[S]\r\n\xE9\xFF=\xEF\xBB\r\n"},
        {"empty", "", Ansi, ""},
        {"UTF-8 mark", "\xEF\xBB\xBF[S]\nk=\xC3\xA9\xFF", Utf8, "[S]\nk=\xC3\xA9\xFF"},
        {"UTF-8 mark only", "\xEF\xBB\xBF", Utf8, ""},
        {"UTF-16 LE", "\xFF\xFE[\0S\0]\0\xE9\0\xAC\x20"s, Utf16LittleEndian, "[S]\xC3\xA9\xE2\x82\xAC"},
        {"UTF-16 BE", "\xFE\xFF\0[\0S\0]\0\0"s, Utf16BigEndian, "[S]\0"s},
        {"surrogate pair", "\xFF\xFE\x34\xD8\x1E\xDD", Utf16LittleEndian, "\xF0\x9D\x84\x9E"},
        {"lone surrogates", "\xFF\xFE\x1E\xDD\x34\xD8", Utf16LittleEndian, "\xED\xB4\x9E\xED\xA0\xB4"},
        {"UTF-16 mark only", "\xFE\xFF", Utf16BigEndian, ""},
    };
    for (const auto& c : cases) {
        const auto decoded = DecodeIniFile(c.bytes);
        ASSERT_TRUE(decoded) << c.name;
        EXPECT_EQ(decoded->encoding, c.encoding) << c.name;
        EXPECT_EQ(decoded->text, c.text) << c.name;
        EXPECT_EQ(EncodeIniFile(decoded->text, decoded->encoding), c.bytes) << c.name;
    }
    // An odd byte count is a damaged UTF-16 file.
    EXPECT_FALSE(DecodeIniFile("\xFF\xFE[\0S"));
    // Bytes that are no UTF-8 (stray, overlong, cut short) become U+FFFD, one per byte.
    EXPECT_EQ(EncodeIniFile("a\x80\xC0\xAF\xE2\x82", Utf16BigEndian),
              "\xFE\xFF\0a\xFF\xFD\xFF\xFD\xFF\xFD\xFF\xFD\xFF\xFD"s);
}

} // namespace
} // namespace quelmo
