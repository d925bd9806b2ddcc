// Replays every recorded processor of cpuid-dumps/ (when the folder is there): each decodes
// without trouble, answers are well-formed, and vendor and signature agree with the folder's
// README table.
#include "CpuidTestSupport.h"

#include "cpuid/CpuLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
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
        folder_ = testing::DumpsFolder();
        if (folder_.empty()) {
            GTEST_SKIP() << "no cpuid-dumps folder beside this checkout";
        }
    }
    std::filesystem::path folder_;
};

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

TEST_F(ReplayAll, EveryAnswerIsWellFormed) {
    const std::regex generic(R"(x86 Family \d+ Model \d+ Stepping \d+)");
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
            EXPECT_NE(cpu->Cache(), nullptr);
            EXPECT_NE(cpu->Name(), nullptr);
            EXPECT_NE(cpu->Serial(), nullptr);
            EXPECT_NE(cpu->Errata(), nullptr);
        }
        EXPECT_GE(CpuRoot().ProcessorCount()->Virtual()->Value(), 2U);
        EXPECT_EQ(recorded.Cpu().ProcessAffinityMask(), 3U);
    }
}

} // namespace
} // namespace quelmo
