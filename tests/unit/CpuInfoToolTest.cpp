// quelmo-cpuinfo run in process: its arguments, its errors and the layout of its report on a
// recorded processor written to a file.
#include "cpuid/RecordedClock.h"
#include "tools/CpuInfoTool.h"
#include "tools/RecordedDumps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace quelmo {
namespace {

struct ToolRun {
    int code;
    std::string out;
    std::string err;
};

ToolRun RunTool(std::vector<std::string> arguments) {
    ToolRun run;
    run.code = tools::RunCpuInfo(arguments, run.out, run.err);
    return run;
}

// A file in the test's temporary folder, removed at the end of the scope.
class TempFile {
public:
    TempFile(const std::string& name, const std::string& text)
        : path_(std::filesystem::temp_directory_path() /
                ("quelmo-cpuinfo-" + std::to_string(::getpid()) + "-" + name)) {
        std::ofstream(path_, std::ios::binary) << text;
    }
    ~TempFile() {
        std::error_code error;
        std::filesystem::remove(path_, error);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    std::string Path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

TEST(CpuInfoTool, HelpAndArgumentErrors) {
    const ToolRun help = RunTool({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("Usage: quelmo-cpuinfo"), std::string::npos);
    EXPECT_TRUE(help.err.empty());
    EXPECT_EQ(RunTool({"-h"}).out, help.out);

    struct Case {
        std::vector<std::string> arguments;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{"--verbose"}, "quelmo-cpuinfo: unknown option --verbose\n"},
        {{"dump.txt"}, "quelmo-cpuinfo: unknown option dump.txt\n"},
        {{"--dump"}, "quelmo-cpuinfo: --dump needs a value\n"},
        {{"--dump", "x.txt", "--processors"}, "quelmo-cpuinfo: --processors needs a value\n"},
        {{"--processors", "2"}, "quelmo-cpuinfo: --processors goes with --dump\n"},
        {{"--dump", "x.txt", "--processors", "0"},
         "quelmo-cpuinfo: --processors takes a number from 1 to 32, not 0\n"},
        {{"--dump", "x.txt", "--processors", "33"},
         "quelmo-cpuinfo: --processors takes a number from 1 to 32, not 33\n"},
        {{"--dump", "x.txt", "--processors", "2x"},
         "quelmo-cpuinfo: --processors takes a number from 1 to 32, not 2x\n"},
        {{"--dump", "x.txt", "--processors", "-1"},
         "quelmo-cpuinfo: --processors takes a number from 1 to 32, not -1\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = RunTool(c.arguments);
        EXPECT_EQ(run.code, 2) << c.message;
        EXPECT_EQ(run.err, std::string(c.message) + "Try 'quelmo-cpuinfo --help'.\n");
        EXPECT_TRUE(run.out.empty()) << c.message;
    }
}

TEST(CpuInfoTool, BadDumpsAreRefusedWithTheirReason) {
    const TempFile garbage("garbage.txt", "00000000 00000001\n");
    const ToolRun bad = RunTool({"--dump", garbage.Path()});
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.err,
              "quelmo-cpuinfo: " + garbage.Path() + ": line 1: expected five fields: leaf eax ebx ecx edx\n");
    EXPECT_TRUE(bad.out.empty());

    const TempFile empty("empty.txt", "# nothing\n");
    EXPECT_EQ(RunTool({"--dump", empty.Path()}).err,
              "quelmo-cpuinfo: " + empty.Path() + ": no CPUID leaves found\n");

    const std::string missing = (std::filesystem::temp_directory_path() / "quelmo-no-such-dump.txt").string();
    const ToolRun none = RunTool({"--dump", missing});
    EXPECT_EQ(none.code, 2);
    EXPECT_EQ(none.err, "quelmo-cpuinfo: " + missing + ": cannot open the file\n"); // the file named once
}

TEST(CpuInfoTool, PrintsThePagesOfARecordedProcessor) {
    const std::string katmai = (testing::RecordedDumpsFolder() / "intel-pentium-iii-katmai-psn.txt").string();
    const ToolRun run = RunTool({"--dump", katmai, "--processors", "2"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(run.err.empty());
    // Headings indented by tree depth, rows one level deeper; the group nodes without rows.
    const std::vector<std::string> expectedInOrder = {
        "Version: 4.3.01\n",
        "Processor Count\n  Available processors: 2\n  Virtual processors: 2\n",
        "Processors (2)\n  #0 ",
        "    Speed: 450 Mhz\n    Serial: 0000-0000-0000-D043-8EF1-8AEE\n    CPUID\n      Standard\n"
        "        Available: Yes\n        Maximum command: $00000003\n      Extended\n        Available: No\n",
        "    Signature\n      Generic: x86 Family 6 Model 7 Stepping 3\n      Type: 0\n      Family: 6\n",
        "    Feature Sets\n      Standard\n        Feature Set Available: Yes\n        Number of features: "
        "30\n"
        "        FPU: Yes\n",
        "        PSN: Yes\n",
        "      Extended\n        Feature Set Available: No\n        Number of features: 0\n      Power\n",
        "    Cache\n      Level 1\n        Code\n          Available: ",
        "      Trace\n        Available: ",
        "    Errata\n      FDiv Error: No\n      Duron cache: No\n",
        "    Vendor\n      Name: Intel Corporation\n      Signature: GenuineIntel\n      Feature set: Intel\n"
        "      Cache detect: Standard CPUID\n",
        "  #1 ",
    };
    std::size_t from = 0;
    for (const std::string& part : expectedInOrder) {
        const std::size_t at = run.out.find(part, from);
        ASSERT_NE(at, std::string::npos) << "missing after offset " << from << ":\n"
                                         << part << "\nin:\n"
                                         << run.out;
        from = at + part.size();
    }
    EXPECT_EQ(run.out.find("No Items"), std::string::npos);
    EXPECT_EQ(run.out.find("RES"), std::string::npos);
}

TEST(CpuInfoTool, TextsAreWrittenAsUtf8) {
    EXPECT_EQ(tools::Latin1ToUtf8("Caf\xE9 \x7F\xA0!"), "Caf\xC3\xA9 \x7F\xC2\xA0!");
    EXPECT_EQ(tools::Latin1ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(RecordedKilohertz, ReadsTheClockADumpNames) {
    struct Case {
        const char* cpu;
        std::uint32_t kilohertz; // 0: none
    };
    const Case cases[] = {
        {"AMD Athlon XP, 2200 MHz (11 x 200) 3200+ (Barton)", 2'200'000},
        {"2x Intel Xeon MP 7140M 2792.7 MHz (14.0 x 199.5 MHz) (Tulsa)", 2'792'700},
        {"Mobile Intel Pentium 4 - M 2.20GHz (Northwood, brand id 0x0E)", 2'200'000},
        {"Intel Pentium OverDrive, 83 MHz (2.5 x 33) (P24T Overdrive)", 83'000},
        {"HexaCore Intel Core i7-8700K, 4600 MHz (46 x 100)", 4'600'000},
        {"a 3 ghz part", 3'000'000},
        {"Intel 486DX100", 0},
        {"Intel(R) Xeon(R) Processor (cpuid synth: Emerald Rapids)", 0},
        {"PR266 MHz", 0},
        {"", 0},
        {"99999999999999999999 MHz", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RecordedKilohertz(c.cpu).value_or(0), c.kilohertz) << c.cpu;
    }
}

} // namespace
} // namespace quelmo
