// The settings store: defaults, reading the file, writing it back.
#include "app/IniFile.h"
#include "app/MyConfig.h"
#include "app/ShellState.h"
#include "fakes/ShellFakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <string>
#include <variant>

namespace quelmo {
namespace {

using fakes::ShellFakes;
const std::wstring kIni = L"C:\\Program Files\\Quelmo\\Quelmo.ini";

std::u16string Widen(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

// `text` as a UTF-16 file: the byte-order mark, then every code unit in the given byte order.
std::string Utf16File(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST(IniFileName, ReplacesTheExtensionOfTheFileNameOnly) {
    const struct {
        const wchar_t* exe;
        const wchar_t* ini;
    } cases[] = {
        {L"C:\\Program Files\\Quelmo\\Quelmo.exe", L"C:\\Program Files\\Quelmo\\Quelmo.ini"},
        {L"C:\\Tools\\Monitor.v2.EXE", L"C:\\Tools\\Monitor.v2.ini"},
        {L"C:\\dir.with.dots\\Quelmo", L"C:\\dir.with.dots\\Quelmo.ini"},
        {L"C:\\Quelmo.", L"C:\\Quelmo.ini"},
        {L"Z:/unix/style/q.exe", L"Z:/unix/style/q.ini"},
        {L"Quelmo.exe", L"Quelmo.ini"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(config::IniFileNameFor(c.exe), c.ini);
    }
    const ShellFakes fakes;
    EXPECT_EQ(shell::IniFileName(), kIni);
}

TEST(Settings, DefaultsAreTheCompiledInValues) {
    const ShellFakes fakes;
    config::Rate = 1;
    config::BackgroundColor = 5;
    config::FirstLaunch = false;
    config::ResetConfig();
    using namespace config;
    EXPECT_TRUE(FirstLaunch && AlwaysOnTop && AlphaBlend && Transparency && ThickerGraph && UpdateSpeed &&
                DisplayMemory && MemoryAsPercentage && AutoHideControls && UsePhysicalMemory);
    EXPECT_FALSE(LockForm || NumericTrayIcons || HideTrayWhenVisible || HideBarGraph || ShowFreeMemory ||
                 DisplayEachCPU || AppTrayMode);
    EXPECT_EQ(Rate, 500);
    EXPECT_EQ(GraphLength, 80);
    EXPECT_EQ(AlphaBlendValue, 200);
    EXPECT_EQ(AppModeHotkey, 122);
    EXPECT_EQ(AppModeHotkeyModifiers, 3);
    EXPECT_EQ(PosX, 0);
    EXPECT_EQ(PosY, 0);
    EXPECT_EQ(PosWidth, 250);
    EXPECT_EQ(PosHeight, 105);
    EXPECT_EQ(BackgroundColor, 16777215);
    EXPECT_EQ(GraphCPUColor1, 8388608);
    EXPECT_EQ(GraphCPUColor2, 8388608);
    EXPECT_EQ(GraphCPUColor3, 8388608);
    EXPECT_EQ(GraphCPUColor4, 8388608);
    EXPECT_EQ(GraphMemoryColor, 15780518);
    EXPECT_EQ(BarColor, 8388608);
    EXPECT_EQ(TextColor, 0);
    EXPECT_EQ(ThousandsSeparator, ',');
    EXPECT_FALSE(shell::SettingsSaved);
}

TEST(Settings, LoadTakesWhatTheFileSaysWithinEachSettingsWidth) {
    const struct {
        const char* file;
        std::function<std::int64_t()> setting;
        std::int64_t expected;
    } cases[] = {
        {"[General]\nRate=70000", [] { return config::Rate.load(); }, 4464},
        {"[General]\nRate=-1", [] { return config::Rate.load(); }, 65535},
        {"[General]\nGraphLength=65536", [] { return config::GraphLength.load(); }, 0},
        {"[General]\nAlphaBlendValue=300", [] { return config::AlphaBlendValue.load(); }, 44},
        {"[General]\nDisplayMemory=yes", [] { return config::DisplayMemory.load(); }, 1},
        {"[General]\nDisplayMemory=0", [] { return config::DisplayMemory.load(); }, 0},
        {"[General]\nLockForm=-7", [] { return config::LockForm.load(); }, 1},
        {"[General]\nLockForm=$0", [] { return config::LockForm.load(); }, 0},
        {"[Location]\nPosX=$64", [] { return config::PosX.load(); }, 100},
        {"[location]\nposx=0x64", [] { return config::PosX.load(); }, 100},
        {"[Location]\nPosY=-2147483648", [] { return config::PosY.load(); }, INT32_MIN},
        {"[Location]\nPosWidth=1.5", [] { return config::PosWidth.load(); }, 250},
        {"[Location]\nPosWidth=", [] { return config::PosWidth.load(); }, 250},
        {"[Colors]\nTextColor=$FFFFFFFF", [] { return config::TextColor.load(); }, -1},
        {"[Colors]\nBarColor=255\nBarColor=1", [] { return config::BarColor.load(); }, 255},
        {"[General]\nPosX=9", [] { return config::PosX.load(); }, 0},  // wrong section
        {"PosX=9\n[Location]", [] { return config::PosX.load(); }, 0}, // before any section
        {"[Location]\n;PosX=9", [] { return config::PosX.load(); }, 0},
        {"[Location]\n  PosX  =  9  ", [] { return config::PosX.load(); }, 9},
        {"[General]\nAppModeHotkey=0", [] { return config::AppModeHotkey.load(); }, 0},
    };
    for (const auto& c : cases) {
        ShellFakes fakes;
        fakes.files.SetContent(kIni, c.file);
        config::LoadSettings();
        EXPECT_EQ(c.setting(), c.expected) << c.file;
    }
}

TEST(Settings, LoadWithoutAReadableFileKeepsEveryValue) {
    for (const bool exists : {false, true}) {
        ShellFakes fakes;
        if (exists) {
            fakes.files.SetContent(kIni, "[Location]\nPosX=7\n");
            fakes.files.FailRead(kIni);
        }
        config::PosX = 3;
        config::LoadSettings();
        EXPECT_EQ(config::PosX, 3);
    }
}

TEST(Settings, GarbageFilesLoadWhatTheyCan) {
    using namespace std::string_literals;
    const struct {
        std::string file;
        std::uint16_t rate;
    } cases[] = {
        {"\0\xff\xfe[General]\0\nRate=100\n"s, 500}, // binary bytes before the bracket: no section
        {"\0[General]\0\nRate=100\n"s, 100},         // zero bytes are blanks
        {"[General\nRate=100\n", 500},
        {"no sections at all\nRate=100\n", 500},
        {std::string(100000, '['), 500},
        {"[General]\nRate=100\n[General]\nRate=200\nRate=300\n", 100},
        {"[General]\nRate=100\n" + std::string(1 << 20, '\xff') + "\nRate=7", 100},
    };
    for (const auto& c : cases) {
        ShellFakes fakes;
        fakes.files.SetContent(kIni, c.file);
        config::LoadSettings();
        EXPECT_EQ(config::Rate, c.rate) << c.file.substr(0, 40);
    }
}

TEST(Settings, SaveWritesEveryKeyOfTheTableInItsOrder) {
    ShellFakes fakes;
    config::FirstLaunch = false;
    config::PosX = -20;
    config::BackgroundColor = 0x00ABCDEF;
    config::SaveSettings();
    const auto text = fakes.files.Content(kIni);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text,
              "[General]\r\nFirstLaunch=0\r\nAlwaysOnTop=1\r\nRate=500\r\nGraphLength=80\r\n"
              "AlphaBlend=1\r\nAlphaBlendValue=200\r\nTransparency=1\r\nThickerGraph=1\r\nLockForm=0\r\n"
              "UpdateSpeed=1\r\nDisplayMemory=1\r\nMemoryAsPercentage=1\r\nHideBarGraph=0\r\n"
              "NumericTrayIcons=0\r\nHideTrayWhenVisible=0\r\nAutoHideControls=1\r\nShowFreeMemory=0\r\n"
              "UsePhysicalMemory=1\r\nDisplayEachCPU=0\r\nAppTrayMode=0\r\nAppModeHotkey=122\r\n"
              "AppModeHotkeyModifiers=3\r\n\r\n"
              "[Location]\r\nPosX=-20\r\nPosY=0\r\nPosWidth=250\r\nPosHeight=105\r\n\r\n"
              "[Colors]\r\nBackgroundColor=11259375\r\nGraphCPUColor1=8388608\r\nGraphCPUColor2=8388608\r\n"
              "GraphCPUColor3=8388608\r\nGraphCPUColor4=8388608\r\nGraphMemoryColor=15780518\r\n"
              "BarColor=8388608\r\nTextColor=0\r\n\r\n");
    EXPECT_EQ(static_cast<std::size_t>(std::count(text->begin(), text->end(), '=')),
              config::kSettings.size());
    EXPECT_TRUE(shell::SettingsSaved);
}

TEST(Settings, SaveKeepsForeignSectionsAndKeysAndKnownKeysInPlace) {
    ShellFakes fakes;
    fakes.files.SetContent(kIni, "; written by hand\r\n"
                                 "[Colors]\r\n"
                                 "TextColor = $FF\r\n"
                                 "Mine=keep\r\n"
                                 "\r\n"
                                 "[Plugins]\r\n"
                                 "Name=Value\r\n"
                                 "[general]\r\n"
                                 "rate=0x3E8\r\n");
    config::LoadSettings();
    EXPECT_EQ(config::TextColor, 255);
    EXPECT_EQ(config::Rate, 1000);
    config::SaveSettings();
    const IniFile saved(*fakes.files.Content(kIni));
    const std::string text = saved.Text();
    // Known keys where they were, now in decimal; foreign ones untouched; comment and blank gone.
    EXPECT_EQ(text.rfind("[Colors]\r\nTextColor=255\r\nMine=keep\r\nBackgroundColor=16777215\r\n", 0), 0U)
        << text;
    EXPECT_NE(text.find("[Plugins]\r\nName=Value\r\n\r\n[general]\r\nRate=1000\r\nFirstLaunch=1\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("[Location]\r\nPosX=0\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("written by hand"), std::string::npos);
    EXPECT_EQ(*fakes.files.Content(kIni), text); // the file is exactly the store's text
}

// Notepad's files: UTF-8 or UTF-16 with a byte-order mark. The values are read, and saving writes the
// same encoding back, so a file that holds every value already comes back byte for byte.
TEST(Settings, FilesWithAByteOrderMarkAreReadAndSavedInTheirEncoding) {
    std::string all; // every setting as the store writes it, Rate 250
    {
        ShellFakes fakes;
        config::Rate = 250;
        config::SaveSettings();
        all = *fakes.files.Content(kIni);
    }
    const std::string head = "[General]\r\nFirstLaunch=1\r\nAlwaysOnTop=1\r\nRate=250\r\n";
    // Non-ASCII, a surrogate pair and a lone surrogate (UTF-16), an invalid byte (UTF-8).
    const std::u16string foreign = u"[Plugins]\r\nCaf\u00e9=\u20ac \U0001D11E \xD800!\r\n\r\n";
    const std::string foreign8 = "[Plugins]\r\nCaf\xC3\xA9=\xE2\x82\xAC \xF0\x9D\x84\x9E \xFF!\r\n\r\n";
    const struct {
        const char* name;
        std::string file;
        std::string saved;
    } cases[] = {
        {"UTF-8", "\xEF\xBB\xBF" + all + foreign8, "\xEF\xBB\xBF" + all + foreign8},
        {"UTF-8, keys added", "\xEF\xBB\xBF" + head, "\xEF\xBB\xBF" + all},
        {"UTF-16 LE", Utf16File(Widen(all) + foreign, false), Utf16File(Widen(all) + foreign, false)},
        {"UTF-16 LE, keys added", Utf16File(Widen(head), false), Utf16File(Widen(all), false)},
        {"UTF-16 BE", Utf16File(Widen(all) + foreign, true), Utf16File(Widen(all) + foreign, true)},
        {"UTF-16 BE, keys added", Utf16File(Widen(head), true), Utf16File(Widen(all), true)},
    };
    for (const auto& c : cases) {
        ShellFakes fakes;
        fakes.files.SetContent(kIni, c.file);
        config::LoadSettings();
        EXPECT_EQ(config::Rate, 250) << c.name;
        config::SaveSettings();
        EXPECT_EQ(fakes.files.Content(kIni), c.saved) << c.name;
    }
}

TEST(Settings, OnlyTheFirstSaveOfAProcessWrites) {
    ShellFakes fakes;
    config::PosX = 1;
    config::SaveSettings();
    config::PosX = 2;
    config::SaveSettings();
    EXPECT_EQ(fakes.files.WriteCount(), 1);
    EXPECT_EQ(IniFile(*fakes.files.Content(kIni)).ReadInteger("Location", "PosX", 0), 1);
}

TEST(Settings, FailedSavesAreSilentLeaveTheOldFileAndCountAsDone) {
    {
        ShellFakes fakes; // the disk refuses the new file
        fakes.files.SetContent(kIni, "[Location]\r\nPosX=7\r\n");
        fakes.files.FailWrites();
        config::SaveSettings();
        EXPECT_EQ(fakes.files.Content(kIni), "[Location]\r\nPosX=7\r\n");
        EXPECT_TRUE(shell::SettingsSaved);
        config::SaveSettings();
        EXPECT_EQ(fakes.files.WriteCount(), 1);
    }
    {
        ShellFakes fakes; // the old file cannot be read: it is not replaced by one without its content
        fakes.files.SetContent(kIni, "[Mine]\r\nprecious=1\r\n");
        fakes.files.FailRead(kIni);
        config::SaveSettings();
        EXPECT_EQ(fakes.files.WriteCount(), 0);
        EXPECT_EQ(fakes.files.Content(kIni), "[Mine]\r\nprecious=1\r\n");
        EXPECT_TRUE(shell::SettingsSaved);
    }
    {
        ShellFakes fakes; // the user marked the file read-only: kept, and the program runs on with it
        fakes.files.SetContent(kIni, "[Location]\r\nPosX=7\r\n");
        fakes.files.SetReadOnly(kIni);
        config::LoadSettings();
        config::PosY = 9;
        config::SaveSettings();
        EXPECT_EQ(fakes.files.Content(kIni), "[Location]\r\nPosX=7\r\n");
        EXPECT_EQ(config::PosX, 7);
        EXPECT_EQ(config::PosY, 9);
        EXPECT_TRUE(shell::SettingsSaved);
    }
    {
        ShellFakes fakes; // UTF-16 with an odd byte count is damaged: neither read nor replaced
        const std::string damaged = Utf16File(u"[General]\r\nRate=250\r\n", false) + "x";
        fakes.files.SetContent(kIni, damaged);
        config::LoadSettings();
        config::SaveSettings();
        EXPECT_EQ(config::Rate, 500);
        EXPECT_EQ(fakes.files.Content(kIni), damaged);
        EXPECT_TRUE(shell::SettingsSaved);
    }
}

// Every setting of the table, at the lowest and then the highest value of its width.
// Installed into Program Files, the user may not create files beside Quelmo.exe, but the installer
// made Quelmo.ini writable: the save goes into that file.
TEST(Settings, AFolderThatRefusesNewFilesGetsTheSettingsWrittenIntoTheFileThere) {
    {
        ShellFakes fakes;
        fakes.files.SetContent(kIni, "[General]\r\n");
        fakes.files.RefuseNewFiles(fakes::FakeFiles::FolderOf(kIni));
        config::LoadSettings();
        config::PosX = 5;
        config::SaveSettings();
        EXPECT_EQ(IniFile(fakes.files.Content(kIni).value_or("")).ReadInteger("Location", "PosX", 0), 5);
    }
    {
        ShellFakes fakes; // no file there: none is made, and nothing is said
        fakes.files.RefuseNewFiles(fakes::FakeFiles::FolderOf(kIni));
        config::SaveSettings();
        EXPECT_FALSE(fakes.files.Content(kIni).has_value());
        EXPECT_TRUE(shell::SettingsSaved);
    }
}

TEST(Settings, EverySettingLoadsBackWhatWasSaved) {
    for (const bool highest : {false, true}) {
        const auto edge = [highest](auto* value) {
            using T = typename std::remove_pointer_t<decltype(value)>::value_type;
            return highest ? std::numeric_limits<T>::max() : std::numeric_limits<T>::min();
        };
        std::string file;
        {
            ShellFakes fakes;
            for (const config::Setting& setting : config::kSettings) {
                std::visit([&](auto* value) { value->store(edge(value)); }, setting.value);
            }
            config::SaveSettings();
            file = *fakes.files.Content(kIni);
        }
        ShellFakes fakes;
        fakes.files.SetContent(kIni, file);
        config::LoadSettings();
        for (const config::Setting& setting : config::kSettings) {
            std::visit([&](auto* value) { EXPECT_EQ(value->load(), edge(value)) << setting.key; },
                       setting.value);
        }
    }
}

} // namespace
} // namespace quelmo
