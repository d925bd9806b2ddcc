// What the CPU information window shows, as plain data: the processor explorer tree with the
// code of every node, the property rows ("Caption: Value") of the page each code selects, the
// feature list of the "Feature Sets" tab and the version label. TForm_Info puts them into its
// controls; quelmo-cpuinfo prints them. Every call queries the library afresh.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelmo::ui {

// Node codes: "Processor Count" is 90, every group node 100, and the pages of processor p are
// 100p + page + unit.
inline constexpr int kCodeProcessorCount = 90;
inline constexpr int kCodeGroup = 100;

// Pages a code selects.
inline constexpr int kPageProcessor = 10;
inline constexpr int kPageCpuid = 20; // units 0 standard, 1 extended, 2 Transmeta
inline constexpr int kPageSignature = 30;
inline constexpr int kPageFeatures = 40; // units 1 to 4: the set kinds
inline constexpr int kPageCache = 50;    // units 0 to 5: the cache kinds
inline constexpr int kPageVendor = 60;
inline constexpr int kPageErrata = 70;
inline constexpr int kPageProcessorCount = 90;
inline constexpr int kPageGroup = 100;

struct InfoNode {
    std::string caption;
    int code = 0;
    std::vector<InfoNode> children;
};

// The tree's top-level nodes: "Processor Count", then "Processors (N)" holding one node per
// processor ("#0 <name>"), each with its CPUID, Signature, Feature Sets, Cache, Errata and
// Vendor nodes. Each processor's name is queried once.
std::vector<InfoNode> BuildInfoTree();

struct NodeAddress {
    int page = 0;
    std::uint8_t processor = 0;
    int unit = 0;
};

// Code 100 is the group page; otherwise processor = code div 100 (as a byte), r = code - 100p,
// page = r rounded down to tens, unit = the rest.
NodeAddress DecodeNodeCode(int code);

struct PropertyRow {
    std::string caption;
    std::string value;
    friend bool operator==(const PropertyRow&, const PropertyRow&) = default;
};

// The rows of the page `code` selects; none for a code that selects no page. The processor page
// measures the clock (at least 200 ms with the real clock): it is PlanPropertyPage with the
// "Speed" row filled by MeasureClockText.
std::vector<PropertyRow> BuildPropertyRows(int code);

// A page whose rows are known before the clock is measured, so that a window can show them at
// once and fill the clock's row when the measurement answers.
struct PropertyPage {
    std::vector<PropertyRow> rows;
    std::optional<std::size_t> clockRow; // the row MeasureClockText fills (its value is empty)
    std::uint8_t processor = 0;          // whose clock
};

// The rows of the page `code` selects, without measuring anything.
PropertyPage PlanPropertyPage(int code);

// The "Speed" value of processor `processor`'s page: measures the clock (at least 200 ms with
// the real clock). It executes no CPUID and keeps no state, so it may run on any thread.
std::string MeasureClockText(std::uint8_t processor);

struct FeatureRow {
    std::uint8_t bit = 0;
    std::string mnemonic;
    std::string description;
    bool available = false; // image 1 when set, image 0 otherwise
};

struct FeatureList {
    std::string label; // "Available Features (N):" or "Feature Set Unavailable."
    std::vector<FeatureRow> rows;
};

// The "Feature Sets" tab for set kind 1 to 4 (the choice's index + 1), always of processor 0.
FeatureList BuildFeatureList(std::uint8_t kind);

// The feature-set choices, in set-kind order.
std::vector<std::string_view> FeatureSetChoices();

// The version label: its design caption, a blank and the library version ("Version: 4.3.01").
std::string VersionCaption(std::string_view designCaption);

} // namespace quelmo::ui
