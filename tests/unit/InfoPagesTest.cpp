// The CPU information window's model on recorded processors: the tree and its codes, the rows
// of every page, the feature list. Values are read off the dumps by hand; the clock is the one
// the test gives the recorded processor, so no page waits for a real measurement.
#include "CpuidTestSupport.h"

#include "cpuid/CpuLibrary.h"
#include "cpuid/RecordedClock.h"
#include "platform/Time.h"
#include "ui/InfoFormTexts.h"
#include "ui/InfoPages.h"

#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace quelmo {
namespace {

using ui::InfoNode;
using ui::PropertyRow;

// Pentium III Katmai (serial number; standard range to 3, no extended range), Athlon XP Barton
// (no serial number; power management EDX = 1, TS) and Transmeta Crusoe.
constexpr const char* kKatmai = "intel-pentium-iii-katmai-psn.txt";
constexpr const char* kBarton = "amd-athlon-xp-barton.txt";
constexpr const char* kCrusoe = "transmeta-crusoe-tm5800.txt";

// A recorded processor (or several) whose clock runs at `megahertz`.
class RecordedMachine {
public:
    explicit RecordedMachine(const char* dump, std::uint32_t processors = 1, std::uint32_t megahertz = 0)
        : clock_(megahertz * 1000), recorded_(dump, processors) {
        recorded_.Cpu().SetClock(&clock_);
    }
    RecordedCpu& Cpu() { return recorded_.Cpu(); }

private:
    RecordedClock clock_;
    testing::RecordedProcessor recorded_;
    platform::ScopedSeam<platform::Time> time_{clock_};
};

std::vector<PropertyRow> Rows(std::initializer_list<std::pair<const char*, const char*>> rows) {
    std::vector<PropertyRow> result;
    for (const auto& [caption, value] : rows) {
        result.push_back({caption, value});
    }
    return result;
}

// Captions and codes of a subtree, flattened depth first with the depth.
struct Flat {
    std::size_t depth;
    std::string caption;
    int code;
    friend bool operator==(const Flat&, const Flat&) = default;
};

void Flatten(const InfoNode& node, std::size_t depth, std::vector<Flat>& out) {
    out.push_back({depth, node.caption, node.code});
    for (const InfoNode& child : node.children) {
        Flatten(child, depth + 1, out);
    }
}

TEST(InfoTree, HoldsEveryProcessorWithItsNodesAndCodes) {
    RecordedMachine machine(kKatmai, 2);
    const std::vector<InfoNode> tree = ui::BuildInfoTree();
    ASSERT_EQ(tree.size(), 2U);
    EXPECT_EQ(tree[0].caption, "Processor Count");
    EXPECT_EQ(tree[0].code, 90);
    EXPECT_TRUE(tree[0].children.empty());
    EXPECT_EQ(tree[1].caption, "Processors (2)");
    EXPECT_EQ(tree[1].code, 100);
    ASSERT_EQ(tree[1].children.size(), 2U);

    const std::string name = CpuRoot().Processors(1)->Name()->Name();
    std::vector<Flat> flat;
    Flatten(tree[1].children[1], 0, flat);
    const std::vector<Flat> expected = {
        {0, "#1 " + name, 110},    {1, "CPUID", 100},     {2, "Standard", 120},     {2, "Extended", 121},
        {2, "Transmeta", 122},     {1, "Signature", 130}, {1, "Feature Sets", 100}, {2, "Standard", 141},
        {2, "Standard (Ex)", 142}, {2, "Extended", 143},  {2, "Power", 144},        {1, "Cache", 100},
        {2, "Level 1", 100},       {3, "Code", 150},      {3, "Data", 151},         {3, "Unified", 152},
        {2, "Level 2", 153},       {2, "Level 3", 154},   {2, "Trace", 155},        {1, "Errata", 170},
        {1, "Vendor", 160},
    };
    EXPECT_EQ(flat, expected);
    EXPECT_EQ(tree[1].children[0].caption, "#0 " + CpuRoot().Processors(0)->Name()->Name());
    EXPECT_EQ(tree[1].children[0].code, 10);
}

TEST(InfoTree, ProcessorNodesFollowTheProcessorCount) {
    for (const std::uint32_t count : {1U, 3U}) {
        RecordedMachine machine(kKatmai, count);
        const auto tree = ui::BuildInfoTree();
        EXPECT_EQ(tree[1].caption, "Processors (" + std::to_string(count) + ")");
        ASSERT_EQ(tree[1].children.size(), count);
        EXPECT_EQ(tree[1].children.back().code, static_cast<int>(100 * (count - 1) + 10));
    }
}

TEST(InfoPages, NodeCodesDecodeIntoProcessorPageAndUnit) {
    struct Case {
        int code, page, processor, unit;
    };
    const Case cases[] = {
        {100, 100, 0, 0}, {90, 90, 0, 0},    {10, 10, 0, 0},      {130, 30, 1, 0}, {122, 20, 1, 2},
        {144, 40, 1, 4},  {1253, 50, 12, 3}, {25570, 70, 255, 0}, {200, 0, 2, 0},  {99, 90, 0, 9},
    };
    for (const auto& c : cases) {
        const ui::NodeAddress address = ui::DecodeNodeCode(c.code);
        EXPECT_EQ(address.page, c.page) << c.code;
        EXPECT_EQ(address.processor, c.processor) << c.code;
        EXPECT_EQ(address.unit, c.unit) << c.code;
    }
}

TEST(InfoPages, GroupNodesAskToBeExpanded) {
    RecordedMachine machine(kKatmai);
    EXPECT_EQ(ui::BuildPropertyRows(100), Rows({{"No Items", "Double-click to expand"}}));
}

TEST(InfoPages, EveryGroupNodeAsksToBeExpanded) {
    RecordedMachine machine(kKatmai);
    std::vector<Flat> flat;
    for (const InfoNode& node : ui::BuildInfoTree()) {
        Flatten(node, 0, flat);
    }
    std::vector<std::string> groups;
    for (const Flat& node : flat) {
        if (ui::BuildPropertyRows(node.code) == Rows({{"No Items", "Double-click to expand"}})) {
            groups.push_back(node.caption);
        }
    }
    EXPECT_EQ(groups,
              (std::vector<std::string>{"Processors (1)", "CPUID", "Feature Sets", "Cache", "Level 1"}));
}

// A window shows a processor page before its clock is measured: the plan has every row but the
// clock's value, and the measurement gives exactly what the whole page shows.
TEST(InfoPages, PlannedPagesLeaveOnlyTheClockToMeasure) {
    RecordedMachine machine(kKatmai, 2, 450);
    for (const int code : {90, 100, 10, 110, 20, 30, 41, 44, 53, 60, 70, 199}) {
        SCOPED_TRACE(code);
        const ui::PropertyPage plan = ui::PlanPropertyPage(code);
        std::vector<PropertyRow> rows = plan.rows;
        if (code % 100 == 10) {
            ASSERT_EQ(plan.clockRow, std::optional<std::size_t>(1));
            EXPECT_EQ(plan.processor, code / 100);
            EXPECT_EQ(rows[1], (PropertyRow{"Speed", ""}));
            rows[1].value = ui::MeasureClockText(plan.processor);
            EXPECT_EQ(rows[1].value, "450 Mhz");
        } else {
            EXPECT_FALSE(plan.clockRow);
        }
        EXPECT_EQ(rows, ui::BuildPropertyRows(code));
    }
}

TEST(InfoPages, ProcessorCountReportsTheLogicalProcessors) {
    // Two Gallatins with the HTT flag: leaf 1 EBX bits 16-23 (2) are ids, not processors.
    RecordedMachine gallatins("intel-xeon-gallatin.txt", 2);
    EXPECT_EQ(ui::BuildPropertyRows(90), Rows({{"Available processors", "2"}, {"Virtual processors", "2"}}));
    // A Ryzen 7 1800X seen as one processor has the 16 of its package.
    RecordedMachine ryzen("amd-ryzen-zen1-summitridge.txt", 1);
    EXPECT_EQ(ui::BuildPropertyRows(90), Rows({{"Available processors", "1"}, {"Virtual processors", "16"}}));
}

TEST(InfoPages, ProcessorPageShowsTheSerialOnlyWhenAvailable) {
    struct Case {
        const char* name;
        const char* dump;
        std::uint32_t megahertz;
        const char* speed;
        std::optional<const char*> serial;
    };
    const Case cases[] = {
        {"Katmai", kKatmai, 450, "450 Mhz", "0000-0000-0000-D043-8EF1-8AEE"},
        {"Barton", kBarton, 2200, "2.2 Ghz", std::nullopt},
        {"Crusoe", kCrusoe, 1000, "1.0 Ghz", "229B-3189"},
        // 2083 is a point; 999 becomes 1000, 949 becomes 950.
        {"Barton at 2083", kBarton, 2083, "2.1 Ghz", std::nullopt},
        {"Barton at 999", kBarton, 999, "1.0 Ghz", std::nullopt},
        {"Barton at 949", kBarton, 949, "950 Mhz", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedMachine machine(c.dump, 1, c.megahertz);
        const auto rows = ui::BuildPropertyRows(10);
        ASSERT_EQ(rows.size(), c.serial ? 3U : 2U);
        EXPECT_EQ(rows[0], (PropertyRow{"Name", CpuRoot().Processors(0)->Name()->Name()}));
        EXPECT_EQ(rows[1], (PropertyRow{"Speed", c.speed}));
        if (c.serial) {
            EXPECT_EQ(rows[2], (PropertyRow{"Serial", *c.serial}));
        }
    }
}

TEST(InfoPages, CpuidRanges) {
    RecordedMachine machine(kCrusoe);
    EXPECT_EQ(ui::BuildPropertyRows(20), Rows({{"Available", "Yes"}, {"Maximum command", "$00000003"}}));
    EXPECT_EQ(ui::BuildPropertyRows(21), Rows({{"Available", "Yes"}, {"Maximum command", "$80000006"}}));
    EXPECT_EQ(ui::BuildPropertyRows(22), Rows({{"Available", "Yes"}, {"Maximum command", "$80860007"}}));
    RecordedMachine katmai(kKatmai);
    EXPECT_EQ(ui::BuildPropertyRows(21), Rows({{"Available", "No"}, {"Maximum command", "$00000000"}}));
}

TEST(InfoPages, SignatureOfProcessor1ShowsProcessor1) {
    RecordedMachine machine(kKatmai, 2);
    machine.Cpu().SetProcessorDump(1, testing::RecordedDump(kBarton));
    EXPECT_EQ(ui::BuildPropertyRows(130), Rows({{"Generic", "x86 Family 6 Model 10 Stepping 0"},
                                                {"Type", "0"},
                                                {"Family", "6"},
                                                {"Model", "10"},
                                                {"Stepping", "0"},
                                                {"Brand", "0"}}));
    EXPECT_EQ(ui::BuildPropertyRows(30)[0], (PropertyRow{"Generic", "x86 Family 6 Model 7 Stepping 3"}));
}

TEST(InfoPages, FeatureSetPagesListOnlyNamedFeaturesOfAvailableSets) {
    RecordedMachine machine(kKatmai, 2);
    machine.Cpu().SetProcessorDump(1, testing::RecordedDump(kBarton));
    // Katmai has no extended range: the two heading rows only.
    EXPECT_EQ(ui::BuildPropertyRows(43),
              Rows({{"Feature Set Available", "No"}, {"Number of features", "0"}}));

    const auto standard = ui::BuildPropertyRows(41);
    ASSERT_EQ(standard.size(), 2U + 30U);
    EXPECT_EQ(standard[0], (PropertyRow{"Feature Set Available", "Yes"}));
    EXPECT_EQ(standard[1], (PropertyRow{"Number of features", "30"}));
    EXPECT_EQ(standard[2], (PropertyRow{"FPU", "Yes"}));
    for (const auto& row : standard) {
        EXPECT_NE(row.caption, "RES");
    }
    const auto find = [&](const std::vector<PropertyRow>& rows, const std::string& caption) {
        for (const auto& row : rows) {
            if (row.caption == caption) {
                return row.value;
            }
        }
        return std::string("(absent)");
    };
    EXPECT_EQ(find(standard, "PSN"), "Yes");
    EXPECT_EQ(find(standard, "SSE"), "Yes");
    EXPECT_EQ(find(standard, "SSE2"), "No");

    // Barton's power-management set: six features, only the temperature sensor reported.
    EXPECT_EQ(ui::BuildPropertyRows(144), Rows({{"Feature Set Available", "Yes"},
                                                {"Number of features", "6"},
                                                {"TS", "Yes"},
                                                {"FID", "No"},
                                                {"VID", "No"},
                                                {"TPP", "No"},
                                                {"TM", "No"},
                                                {"STC", "No"}}));
    EXPECT_EQ(find(ui::BuildPropertyRows(143), "3DNOW"), "Yes");
}

TEST(InfoPages, CachePagesHaveFourRows) {
    // A Pentium MMX describes no cache at all.
    RecordedMachine machine("intel-pentium-mmx-p55c.txt");
    for (int code = 50; code <= 55; ++code) {
        EXPECT_EQ(ui::BuildPropertyRows(code), Rows({{"Available", "No"},
                                                     {"Associativity", "None"},
                                                     {"Line Size", "0 bytes"},
                                                     {"Size", "0 bytes"}}))
            << code;
    }
}

TEST(InfoPages, VendorPageNamesTheStyles) {
    struct Case {
        const char* dump;
        const char* name;
        const char* id;
        const char* featureSet;
        const char* cacheDetect;
    };
    const Case cases[] = {
        {kKatmai, "Intel Corporation", "GenuineIntel", "Intel", "Standard CPUID"},
        {kBarton, "Advanced Micro Devices", "AuthenticAMD", "Amd", "Extended CPUID"},
        {"cyrix-6x86mx-mii.txt", "Via Technologies Inc", "CyrixInstead", "Cyrix", "Combined CPUID"},
        {"via-c3-nehemiah.txt", "Via Technologies Inc", "CentaurHauls", "Common", "Extended CPUID"},
        {kCrusoe, "Transmeta", "GenuineTMx86", "Amd", "Extended CPUID"},
        {"intel-xeon-haswell-genuineiotel.txt", "Unknown Vendor", "BadCpuVendor", "Common", "Standard CPUID"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        RecordedMachine machine(c.dump);
        EXPECT_EQ(ui::BuildPropertyRows(60), Rows({{"Name", c.name},
                                                   {"Signature", c.id},
                                                   {"Feature set", c.featureSet},
                                                   {"Cache detect", c.cacheDetect}}));
    }
}

TEST(InfoPages, ErrataPage) {
    // AMD Duron, 600 MHz (Spitfire): family 6 model 3 stepping 0.
    RecordedMachine machine("amd-duron-spitfire.txt");
    EXPECT_EQ(ui::BuildPropertyRows(70), Rows({{"FDiv Error", "No"}, {"Duron cache", "Yes"}}));
}

TEST(InfoPages, CodesOutsideThePagesShowNoRows) {
    RecordedMachine machine(kKatmai, 2);
    for (const int code : {0, 5, 23, 29, 40, 45, 49, 56, 59, 80, 89, 123, 140, 156, 1000, -10}) {
        EXPECT_TRUE(ui::BuildPropertyRows(code).empty()) << code;
    }
}

TEST(FeatureList, DescribesProcessor0AndItsUnavailableSets) {
    // Processor 1 has the extended set; the list still describes processor 0, which has not.
    RecordedMachine machine(kKatmai, 2);
    machine.Cpu().SetProcessorDump(1, testing::RecordedDump(kBarton));

    const ui::FeatureList standard = ui::BuildFeatureList(1);
    EXPECT_EQ(standard.label, "Available Features (30):");
    ASSERT_EQ(standard.rows.size(), 30U);
    for (const auto& row : standard.rows) {
        EXPECT_NE(row.mnemonic, "RES");
        EXPECT_NE(row.bit, 10);
        EXPECT_NE(row.bit, 20);
    }
    EXPECT_EQ(standard.rows[17].bit, 18);
    EXPECT_EQ(standard.rows[17].mnemonic, "PSN");
    EXPECT_EQ(standard.rows[17].description, "Processor serial number");
    EXPECT_TRUE(standard.rows[17].available);
    EXPECT_EQ(standard.rows[24].mnemonic, "SSE2");
    EXPECT_FALSE(standard.rows[24].available);

    const ui::FeatureList extended = ui::BuildFeatureList(3);
    EXPECT_EQ(extended.label, "Feature Set Unavailable.");
    EXPECT_TRUE(extended.rows.empty());
    // Back to a set the processor has: filled again.
    EXPECT_EQ(ui::BuildFeatureList(2).label, "Available Features (3):");
    EXPECT_EQ(ui::BuildFeatureList(2).rows.size(), 3U);
}

TEST(FeatureList, ChoicesAndVersion) {
    RecordedMachine machine(kKatmai);
    const std::vector<std::string_view> choices = {"Standard Features", "Standard Feature Extensions",
                                                   "Extended Features", "Advanced Power Management Features"};
    EXPECT_EQ(ui::FeatureSetChoices(), choices);
    EXPECT_EQ(ui::VersionCaption(texts::kInfoVersionDesign), "Version: 4.3.01");
}

// Every page of every recorded processor, when the folder of dumps is there: well-formed rows,
// as many as the page has, never a "RES" feature.
TEST(InfoPagesReplay, EveryPageOfEveryRecordedProcessorIsWellFormed) {
    std::string reason;
    const auto folder = testing::SharedDumpsFolder(reason);
    if (!folder) {
        GTEST_SKIP() << reason;
    }
    const std::regex speed(R"(\d+ Mhz|\d+\.\d Ghz)");
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(*folder)) {
        if (entry.path().extension() != ".txt") {
            continue;
        }
        SCOPED_TRACE(entry.path().filename().string());
        CpuDumpResult loaded = LoadCpuDump(entry.path());
        ASSERT_TRUE(loaded.dump) << loaded.error;
        ++files;
        RecordedClock clock(RecordedKilohertz(loaded.dump->cpu).value_or(0));
        testing::RecordedProcessor recorded(std::move(*loaded.dump), 2);
        recorded.Cpu().SetClock(&clock);
        const platform::ScopedSeam<platform::Time> time(clock);

        std::vector<Flat> flat;
        for (const InfoNode& node : ui::BuildInfoTree()) {
            Flatten(node, 0, flat);
        }
        EXPECT_EQ(flat.size(), 2U + 2U * 21U);
        for (const Flat& node : flat) {
            const auto rows = ui::BuildPropertyRows(node.code);
            const ui::NodeAddress address = ui::DecodeNodeCode(node.code);
            for (const auto& row : rows) {
                EXPECT_FALSE(row.caption.empty()) << node.code;
                EXPECT_NE(row.caption, "RES") << node.code;
            }
            switch (address.page) {
            case ui::kPageProcessor:
                ASSERT_GE(rows.size(), 2U);
                EXPECT_LE(rows.size(), 3U);
                EXPECT_TRUE(std::regex_match(rows[1].value, speed)) << rows[1].value;
                break;
            case ui::kPageFeatures:
                ASSERT_GE(rows.size(), 2U);
                EXPECT_EQ(rows.size(), rows[0].value == "Yes" ? 2U + std::stoul(rows[1].value) : 2U);
                break;
            case ui::kPageSignature:
                EXPECT_EQ(rows.size(), 6U);
                break;
            case ui::kPageGroup:
                EXPECT_EQ(rows.size(), 1U);
                break;
            case ui::kPageCpuid:
            case ui::kPageErrata:
            case ui::kPageProcessorCount:
                EXPECT_EQ(rows.size(), 2U);
                break;
            default:
                EXPECT_EQ(rows.size(), 4U) << node.code; // cache and vendor pages
                break;
            }
        }
    }
    EXPECT_GE(files, 70U);
}

} // namespace
} // namespace quelmo
