// Replays every recorded processor of the shared collection (when it is beside the checkout; the
// tests say why they skip when it is not): each decodes without trouble, answers are well-formed,
// vendor and signature agree with the collection's README table, caches and names are as
// expected, and every committed dump of tests/tools/dumps is a verbatim copy of its original.
#include "CpuidTestSupport.h"

#include "cpuid/CpuLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace quelmo {
namespace {

struct ReadmeRow {
    std::string vendorId;
    std::uint32_t signature = 0;
};

// The README's table: | `file.txt` | vendor | leaf 1 EAX | ...
std::map<std::string, ReadmeRow> ReadReadme(const std::filesystem::path& folder) {
    std::map<std::string, ReadmeRow> rows;
    std::ifstream readme(folder / "README.md");
    const std::regex row(R"re(^\| `([^`]+\.txt)` \| (?:`"(.*)"`|([A-Za-z0-9]+)) \| ([0-9A-F]{8}) \|)re");
    std::string line;
    while (std::getline(readme, line)) {
        std::smatch match;
        if (std::regex_search(line, match, row)) {
            ReadmeRow entry;
            entry.vendorId = match[2].matched ? match[2].str() : match[3].str();
            entry.signature = static_cast<std::uint32_t>(std::stoul(match[4].str(), nullptr, 16));
            rows[match[1].str()] = entry;
        }
    }
    return rows;
}

std::vector<std::filesystem::path> DumpFiles(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".txt") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

class ReplayAll : public ::testing::Test {
protected:
    void SetUp() override {
        std::string reason;
        const auto folder = testing::SharedDumpsFolder(reason);
        if (!folder) {
            GTEST_SKIP() << reason;
        }
        folder_ = *folder;
    }
    std::filesystem::path folder_;
};

std::string FileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST_F(ReplayAll, CommittedDumpsAreVerbatimCopies) {
    std::size_t copies = 0;
    for (const auto& committed : DumpFiles(testing::RecordedDumpsFolder())) {
        const std::filesystem::path original = folder_ / committed.filename();
        if (std::filesystem::exists(original)) {
            EXPECT_EQ(FileText(committed), FileText(original)) << committed.filename();
            ++copies;
        }
    }
    EXPECT_GE(copies, 60U);
}

TEST_F(ReplayAll, EveryFileParsesAndHasItsReadmeRow) {
    const auto readme = ReadReadme(folder_);
    const auto files = DumpFiles(folder_);
    EXPECT_GE(files.size(), 70U);
    std::set<std::string> names;
    for (const auto& file : files) {
        const CpuDumpResult result = LoadCpuDump(file);
        EXPECT_TRUE(result.dump) << file.filename() << ": " << result.error;
        names.insert(file.filename().string());
        EXPECT_TRUE(readme.contains(file.filename().string())) << file.filename();
    }
    for (const auto& [name, row] : readme) {
        EXPECT_TRUE(names.contains(name)) << name << " is in the README only";
    }
}

TEST_F(ReplayAll, VendorAndSignatureAgreeWithTheReadme) {
    const auto readme = ReadReadme(folder_);
    for (const auto& file : DumpFiles(folder_)) {
        const std::string name = file.filename().string();
        SCOPED_TRACE(name);
        CpuDumpResult result = LoadCpuDump(file);
        ASSERT_TRUE(result.dump) << result.error;
        const auto row = readme.find(name);
        ASSERT_NE(row, readme.end());
        testing::RecordedProcessor recorded(std::move(*result.dump));
        const auto cpu = recorded.Processor();
        const TCpuVendor known = VendorOfId(row->second.vendorId);
        EXPECT_EQ(cpu->Vendor()->Vendor(), known);
        EXPECT_EQ(cpu->Vendor()->VendorId(),
                  known == TCpuVendor::Unknown ? "BadCpuVendor" : row->second.vendorId);
        EXPECT_EQ(cpu->Signature()->Signature()->Value(), row->second.signature);
    }
}

// Level-1 code, level-1 data, level-2 and level-3 sizes in KB and the name of every file, worked
// out from its registers by the rules of the library (descriptor bytes looked up in its table,
// the sub-leaves of command 4 or 0x8000001D, the extended size fields, the trimmed brand string or
// the lookup tables) and checked against `cpuid`'s decoding; the comments name where they differ.
struct CachesAndName {
    std::uint32_t codeKb, dataKb, level2Kb, level3Kb;
    const char* name;
};

const std::map<std::string, CachesAndName>& ExpectedCachesAndNames() {
    static const std::map<std::string, CachesAndName> table = {
        {"amd-athlon-thunderbird.txt", {64, 64, 256, 0, "AMD Athlon(tm) Processor"}},
        {"amd-athlon-xp-barton.txt", {64, 64, 512, 0, "AMD Athlon(tm) XP 3200+"}},
        {"amd-athlon-xp-palomino.txt", {64, 64, 256, 0, "Athlon XP (Palomin\x7F?00+"}},
        {"amd-athlon-xp-thoroughbred.txt", {64, 64, 256, 0, "AMD Athlon(tm) XP 2200+"}},
        {"amd-athlon64-clawhammer.txt", {64, 64, 512, 0, "AMD Athlon(tm) 64 Processor 2800+"}},
        {"amd-athlon64-x2-manchester.txt",
         {64, 64, 512, 0, "AMD Athlon(tm) 64 X2 Dual Core Processor 3800+"}},
        {"amd-duron-applebred.txt", {64, 64, 64, 0, "AMD Duron(tm) processor"}},
        // The erratum's 1 KB, as reported (really 64 KB).
        {"amd-duron-spitfire.txt", {64, 64, 1, 0, "AMD Duron(tm) processor"}},
        // AMD with topology extensions: 0x8000001D, whose level 3 is one core complex's.
        {"amd-epyc-hyperv-guest.txt", {64, 32, 512, 8192, "AMD EPYC 7401P 24-Core Processor"}},
        {"amd-k5-5k86.txt", {16, 8, 0, 0, "AMD-K5(tm) Processor"}},
        {"amd-k5-ssa5.txt", {0, 0, 0, 0, "AMD K5"}},
        {"amd-k6-2-chomper.txt", {32, 32, 0, 0, "AMD-K6(tm) 3D processor"}},
        {"amd-k6-iii-sharptooth.txt", {32, 32, 256, 0, "AMD-K6(tm) 3D+ Processor"}},
        {"amd-k6.txt", {32, 32, 0, 0, "AMD-K6tm w/ multimedia extensions"}},
        {"amd-k8-orleans.txt", {64, 64, 1024, 0, "AMD Processor model unknown"}},
        {"amd-opteron-sledgehammer.txt", {64, 64, 1024, 0, "AMD Opteron(tm) Processor 240 HE"}},
        // AMD's level 3 in 0x80000006 EDX.
        {"amd-phenom-agena.txt", {64, 64, 512, 2048, "AMD Phenom(tm) 9500 Quad-Core Processor"}},
        {"amd-phenom-ii-deneb.txt", {64, 64, 512, 6144, "AMD Phenom(tm) II X4 940 Processor"}},
        {"amd-ryzen-zen1-summitridge.txt", {64, 32, 512, 8192, "AMD Ryzen 7 1800X Eight-Core Processor"}},
        {"amd-ryzen-zen4-raphael.txt", {32, 32, 1024, 32768, "AMD Ryzen 5 7600X 6-Core Processor"}},
        {"amd-ryzen-zen5-graniteridge.txt", {32, 48, 1024, 32768, "AMD Ryzen 7 9700X 8-Core Processor"}},
        // Cyrix: descriptors read from 0x80000005, where Cyrix's own codes match no level-1 row.
        {"cyrix-6x86.txt", {0, 0, 0, 0, "Cyrix 6x86"}},
        {"cyrix-6x86mx-mii.txt", {0, 0, 0, 0, "Cyrix 6x86MX"}},
        {"cyrix-mediagxm.txt", {0, 0, 0, 0, "Cyrix MediaGXtm MMXtm Enhanced"}},
        {"idt-winchip-2a.txt", {32, 32, 0, 0, "IDT WinChip 2-3D"}},
        {"idt-winchip-c6.txt", {0, 0, 0, 0, "IDT WinChip"}},
        {"intel-486dx4.txt", {0, 0, 0, 0, "Intel 80486DX4"}},
        {"intel-celeron-coppermine.txt", {16, 16, 128, 0, "Intel Celeron"}},
        {"intel-celeron-covington.txt", {16, 16, 0, 0, "Intel Celeron"}},
        {"intel-celeron-m-banias.txt", {32, 32, 512, 0, "Intel(R) Celeron(R) M processor         1300MHz"}},
        {"intel-celeron-mendocino.txt", {16, 16, 128, 0, "Intel Celeron"}},
        // 0x40 ("no level 3" for Intel when a level 2 exists) comes after 0x39 (128 KB) in the table
        // and wins: no level 2.
        {"intel-celeron-willamette.txt", {0, 8, 0, 0, "Intel(R) Celeron(R) CPU 1.70GHz"}},
        // Descriptors the library's table gained: 0x7D (2 MB), 0x49 (4 MB), 0x60 (16 KB), 0x4D (16 MB).
        {"intel-core-duo-yonah.txt", {32, 32, 2048, 0, "Intel(R) Pentium(R) M CPU        000  @ 2.00GHz"}},
        // Descriptor 0xFF: the caches are the sub-leaves of command 4.
        {"intel-core-i5-sandybridge.txt", {32, 32, 256, 6144, "Intel(R) Core(TM) i5-2400 CPU @ 3.10GHz"}},
        {"intel-core-i7-coffeelake.txt", {32, 32, 256, 12288, "Intel(R) Core(TM) i7-8700K CPU @ 3.70GHz"}},
        {"intel-core-i7-haswell.txt", {32, 32, 256, 8192, "Intel(R) Core(TM) i7-4770 CPU @ 3.40GHz"}},
        {"intel-core-i7-raptorlake.txt", {32, 48, 2048, 30720, "13th Gen Intel(R) Core(TM) i7-13700K"}},
        {"intel-core-ultra-arrowlake.txt", {64, 48, 3072, 24576, "Intel(R) Core(TM) Ultra 5 245K"}},
        {"intel-core2-extreme-conroe.txt",
         {32, 32, 4096, 0, "Intel(R) Core(TM)2 CPU         X6800  @ 2.93GHz"}},
        {"intel-mobile-pentium-4-m.txt", {0, 8, 512, 0, "Mobile Intel(R) Pentium(R) 4 - M CPU 2.20GHz"}},
        {"intel-mobile-pentium-ii-dixon.txt", {16, 16, 256, 0, "Intel Mobile Pentium II"}},
        {"intel-pentium-4-northwood.txt", {0, 8, 512, 0, "Intel(R) Pentium(R) 4 CPU 1.60GHz"}},
        {"intel-pentium-4-prescott.txt", {0, 16, 1024, 0, "Intel(R) Pentium(R) 4 CPU 3.00GHz"}},
        {"intel-pentium-4-willamette.txt", {0, 8, 256, 0, "Intel(R) Pentium(R) 4 CPU 1700MHz"}},
        {"intel-pentium-ii-deschutes.txt", {16, 16, 1024, 0, "Intel Pentium II Xeon"}},
        {"intel-pentium-ii-klamath.txt", {16, 16, 512, 0, "Intel Pentium II"}},
        {"intel-pentium-ii-overdrive.txt", {16, 16, 512, 0, "Intel Pentium II Overdrive"}},
        {"intel-pentium-iii-coppermine.txt", {16, 16, 256, 0, "Intel Pentium III"}},
        {"intel-pentium-iii-katmai-psn.txt", {16, 16, 512, 0, "Intel Pentium III"}},
        {"intel-pentium-iii-s-tualatin.txt",
         {16, 16, 512, 0, "Intel(R) Pentium(R) III CPU family      1266MHz"}},
        {"intel-pentium-iii-xeon-cascades.txt", {16, 16, 2048, 0, "Intel Pentium III Xeon"}},
        {"intel-pentium-m-dothan.txt", {32, 32, 2048, 0, "Intel(R) Pentium(R) M processor 1.60GHz"}},
        {"intel-pentium-mmx-p55c.txt", {0, 0, 0, 0, "Intel Pentium MMX"}},
        {"intel-pentium-overdrive-p24t.txt", {0, 0, 0, 0, "Intel Pentium Overdrive"}},
        {"intel-pentium-p5.txt", {0, 0, 0, 0, "Intel Pentium"}},
        {"intel-pentium-p54c.txt", {0, 0, 0, 0, "Intel Pentium"}},
        {"intel-pentium-pro.txt", {8, 8, 256, 0, "Intel Pentium Pro"}},
        {"intel-xeon-gallatin.txt", {0, 8, 512, 1024, "Intel(R) Xeon(TM) CPU 3.06GHz"}},
        // An unknown vendor: the extended leaves read as descriptors hold only 0x40.
        {"intel-xeon-haswell-genuineiotel.txt", {0, 0, 0, 0, "Intel(R) Xeon(R) CPU E3-1231 v3 @ 3.40GHz"}},
        {"intel-xeon-mp-tulsa.txt", {0, 16, 1024, 16384, "Intel(R) Xeon(TM) CPU 3.40GHz"}},
        // QEMU's command 4 (4 MB level 2) disagrees with its descriptor 0x7D, which decides.
        {"qemu-virtual-cpu.txt", {32, 32, 2048, 0, "QEMU Virtual CPU version (cpu64-rhel6)"}},
        {"rise-mp6-kirin.txt", {0, 0, 0, 0, "Rise iDragon"}},
        {"rise-mp6-lynx.txt", {0, 0, 0, 0, "Rise iDragon II"}},
        {"this-machine.txt", {32, 48, 2048, 266240, "Intel(R) Xeon(R) Processor"}},
        // Named by the build text of 0x80860003-6, not by the brand string.
        {"transmeta-crusoe-tm5800.txt", {64, 64, 512, 0, "20030618 15:27 official release 4.4.3#1"}},
        {"transmeta-efficeon-tm8000.txt", {128, 64, 1024, 0, "20040723 20:41 official release 6.0.4#6"}},
        {"via-c3-nehemiah.txt", {64, 64, 64, 0, "VIA Nehemiah"}},
        {"via-c7-esther.txt", {64, 64, 128, 0, "VIA Esther processor 1500MHz"}},
        // Samuel 2 and Ezra report their level 2 in ECX bits 24-31 (`cpuid`: bits 16-31).
        {"via-cyrix-iii-samuel2.txt", {64, 64, 64, 0, "VIA Samuel 2"}},
        {"via-nano-isaiah.txt", {64, 64, 1024, 0, "VIA CNA processor 1800MHz"}},
        {"virtual-cpu-x86-emulation.txt", {0, 0, 0, 0, "Virtual CPU @ 3.24GHz"}},
    };
    return table;
}

TEST_F(ReplayAll, CachesAndNamesAsTheDumpsSay) {
    const auto& table = ExpectedCachesAndNames();
    for (const auto& file : DumpFiles(folder_)) {
        const std::string name = file.filename().string();
        SCOPED_TRACE(name);
        const auto expected = table.find(name);
        ASSERT_NE(expected, table.end()) << "no expected caches and name for this file";
        CpuDumpResult result = LoadCpuDump(file);
        ASSERT_TRUE(result.dump) << result.error;
        testing::RecordedProcessor recorded(std::move(*result.dump));
        const auto cpu = recorded.Processor();
        const auto caches = cpu->Cache();
        EXPECT_EQ(caches->Level1()->Code()->Size()->Value(), expected->second.codeKb * 1024);
        EXPECT_EQ(caches->Level1()->Data()->Size()->Value(), expected->second.dataKb * 1024);
        EXPECT_EQ(caches->Level2()->Size()->Value(), expected->second.level2Kb * 1024);
        EXPECT_EQ(caches->Level3()->Size()->Value(), expected->second.level3Kb * 1024);
        EXPECT_EQ(cpu->Name()->Name(), expected->second.name);
    }
}

TEST_F(ReplayAll, EveryAnswerIsWellFormed) {
    const std::regex generic(R"(x86 Family \d+ Model \d+ Stepping \d+)");
    const std::regex ways(R"(None|Direct|Full|\d+-Way)");
    for (const auto& file : DumpFiles(folder_)) {
        SCOPED_TRACE(file.filename().string());
        CpuDumpResult result = LoadCpuDump(file);
        ASSERT_TRUE(result.dump) << result.error;
        // Two processors answering alike, so that every query also binds and unbinds.
        testing::RecordedProcessor recorded(std::move(*result.dump), 2);
        for (std::uint8_t index = 0; index < 2; ++index) {
            const auto cpu = recorded.Processor(index);
            EXPECT_TRUE(std::regex_match(cpu->Signature()->AsString(), generic));
            EXPECT_LE(cpu->Signature()->ProcessorType()->Value()->Value(), 3U);

            const auto ranges = cpu->Cpuid();
            // Every maximum is at least its own base command, so the standard range is always there.
            EXPECT_TRUE(ranges->Standard()->Available()->Value());
            for (const auto& range : {ranges->Extended(), ranges->Transmeta()}) {
                EXPECT_EQ(range->Available()->Value(), range->MaxCommand()->Value() != 0);
            }

            const auto features = cpu->Features();
            const std::set<std::uint32_t> allowed[] = {{0, 30}, {0, 3}, {0, 19, 21, 24}, {0, 6}};
            const CpuRef<ICpuFeatureSet> sets[] = {features->Standard(), features->StandardExtensions(),
                                                   features->Extended(), features->PowerManagement()};
            for (int i = 0; i < 4; ++i) {
                const bool available = sets[i]->Available()->Value();
                EXPECT_TRUE(allowed[i].contains(sets[i]->Count()->Value())) << "set " << i + 1;
                std::uint32_t named = 0;
                for (std::uint32_t bit = 0; bit < 32; ++bit) {
                    const auto feature = sets[i]->Features(bit);
                    const bool unknown = feature->Mnemonic() == "RES";
                    named += unknown ? 0 : 1;
                    EXPECT_EQ(feature->Bit(), unknown ? 255U : bit);
                    EXPECT_FALSE(feature->Description().empty());
                    EXPECT_TRUE(available || !feature->Available()->Value())
                        << "set " << i + 1 << " bit " << bit;
                }
                EXPECT_EQ(available ? named : 0U, sets[i]->Count()->Value()) << "set " << i + 1;
            }
            const auto caches = cpu->Cache();
            const auto level1 = caches->Level1();
            const CpuRef<ICpuCache> all[] = {level1->Code(),   level1->Data(),   level1->Unified(),
                                             caches->Level2(), caches->Level3(), caches->Trace()};
            for (int kind = 0; kind < 6; ++kind) {
                const auto& cache = all[kind];
                const std::uint32_t size = cache->Size()->Value();
                const auto associativity = cache->Associativity();
                EXPECT_EQ(cache->Available()->Value(), size != 0) << "kind " << kind;
                EXPECT_EQ(size % 1024, 0U) << "kind " << kind;
                EXPECT_LE(cache->LineSize()->Value(), 255U) << "kind " << kind;
                EXPECT_TRUE(std::regex_match(associativity->Text(), ways)) << "kind " << kind;
                if (size == 0) {
                    EXPECT_EQ(cache->LineSize()->Value(), 0U) << "kind " << kind;
                    EXPECT_EQ(associativity->Text(), "None") << "kind " << kind;
                    EXPECT_EQ(associativity->Encoding()->Value(), 0U) << "kind " << kind;
                }
            }
            // Neither method ever reports a unified level-1 cache.
            EXPECT_FALSE(level1->Unified()->Available()->Value());

            // A real processor's name is never empty, has no NUL and nothing of code 32 or less at
            // its ends, and is the same for both processors.
            const std::string name = cpu->Name()->Name();
            ASSERT_FALSE(name.empty());
            EXPECT_EQ(name.find('\0'), std::string::npos);
            EXPECT_GT(static_cast<unsigned char>(name.front()), 32);
            EXPECT_GT(static_cast<unsigned char>(name.back()), 32);
            EXPECT_EQ(name, recorded.Processor(0)->Name()->Name());
            EXPECT_NE(cpu->Serial(), nullptr);
            EXPECT_NE(cpu->Errata(), nullptr);
        }
        EXPECT_GE(CpuRoot().ProcessorCount()->Virtual()->Value(), 2U);
        EXPECT_EQ(recorded.Cpu().ProcessAffinityMask(), 3U);
    }
}

} // namespace
} // namespace quelmo
