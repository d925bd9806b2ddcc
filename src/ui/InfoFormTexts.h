// Every text of the CPU information window that a user reads. Byte strings, one character per
// byte, like the processor identification library's own texts.
#pragma once

#include <string_view>

namespace quelmo::texts {

// Window, tab pages, controls.
inline constexpr std::string_view kInfoCaption = "CPU Information";
inline constexpr std::string_view kInfoTabFeatures = "Feature Sets";
inline constexpr std::string_view kInfoTabExplorer = "Processor Explorer";
inline constexpr std::string_view kInfoFeatureSetLabel = "Feature set:";
inline constexpr std::string_view kInfoAvailableFeaturesDesign = "Available features:";
inline constexpr std::string_view kInfoColumnIndex = "Index";
inline constexpr std::string_view kInfoColumnMnemonic = "Mnemonic";
inline constexpr std::string_view kInfoColumnDescription = "Description";
inline constexpr std::string_view kInfoColumnProperty = "Property";
inline constexpr std::string_view kInfoColumnValue = "Value";
inline constexpr std::string_view kInfoVersionDesign = "Version:";
inline constexpr std::string_view kInfoPoweredBy = "Processor identification by the Quelmo CPUID library";
inline constexpr std::string_view kInfoClose = "Close";

// The feature-set choices, set kinds 1 to 4, and the label above the feature list.
inline constexpr std::string_view kInfoSetStandard = "Standard Features";
inline constexpr std::string_view kInfoSetStandardExtensions = "Standard Feature Extensions";
inline constexpr std::string_view kInfoSetExtended = "Extended Features";
inline constexpr std::string_view kInfoSetPowerManagement = "Advanced Power Management Features";
inline constexpr std::string_view kInfoAvailableFeatures = "Available Features (%d):";
inline constexpr std::string_view kInfoSetUnavailable = "Feature Set Unavailable.";

// Tree nodes.
inline constexpr std::string_view kNodeProcessorCount = "Processor Count";
inline constexpr std::string_view kNodeProcessors = "Processors (%s)";
inline constexpr std::string_view kNodeProcessor = "#%s %s";
inline constexpr std::string_view kNodeCpuid = "CPUID";
inline constexpr std::string_view kNodeStandard = "Standard";
inline constexpr std::string_view kNodeExtended = "Extended";
inline constexpr std::string_view kNodeTransmeta = "Transmeta";
inline constexpr std::string_view kNodeSignature = "Signature";
inline constexpr std::string_view kNodeFeatureSets = "Feature Sets";
inline constexpr std::string_view kNodeStandardEx = "Standard (Ex)";
inline constexpr std::string_view kNodePower = "Power";
inline constexpr std::string_view kNodeCache = "Cache";
inline constexpr std::string_view kNodeLevel1 = "Level 1";
inline constexpr std::string_view kNodeCode = "Code";
inline constexpr std::string_view kNodeData = "Data";
inline constexpr std::string_view kNodeUnified = "Unified";
inline constexpr std::string_view kNodeLevel2 = "Level 2";
inline constexpr std::string_view kNodeLevel3 = "Level 3";
inline constexpr std::string_view kNodeTrace = "Trace";
inline constexpr std::string_view kNodeErrata = "Errata";
inline constexpr std::string_view kNodeVendor = "Vendor";

// Property rows.
inline constexpr std::string_view kRowAvailableProcessors = "Available processors";
inline constexpr std::string_view kRowVirtualProcessors = "Virtual processors";
inline constexpr std::string_view kRowNoItems = "No Items";
inline constexpr std::string_view kRowDoubleClick = "Double-click to expand";
inline constexpr std::string_view kRowName = "Name";
inline constexpr std::string_view kRowSpeed = "Speed";
inline constexpr std::string_view kRowSerial = "Serial";
inline constexpr std::string_view kRowAvailable = "Available";
inline constexpr std::string_view kRowMaximumCommand = "Maximum command";
inline constexpr std::string_view kRowGeneric = "Generic";
inline constexpr std::string_view kRowType = "Type";
inline constexpr std::string_view kRowFamily = "Family";
inline constexpr std::string_view kRowModel = "Model";
inline constexpr std::string_view kRowStepping = "Stepping";
inline constexpr std::string_view kRowBrand = "Brand";
inline constexpr std::string_view kRowFeatureSetAvailable = "Feature Set Available";
inline constexpr std::string_view kRowNumberOfFeatures = "Number of features";
inline constexpr std::string_view kRowAssociativity = "Associativity";
inline constexpr std::string_view kRowLineSize = "Line Size";
inline constexpr std::string_view kRowSize = "Size";
inline constexpr std::string_view kRowSignature = "Signature";
inline constexpr std::string_view kRowFeatureSet = "Feature set";
inline constexpr std::string_view kRowCacheDetect = "Cache detect";
inline constexpr std::string_view kRowFDivError = "FDiv Error";
inline constexpr std::string_view kRowDuronCache = "Duron cache";

// Values of the vendor page: feature style 0 to 3 and cache style 0 to 2, then any other.
inline constexpr std::string_view kStyleCommon = "Common";
inline constexpr std::string_view kStyleIntel = "Intel";
inline constexpr std::string_view kStyleAmd = "Amd";
inline constexpr std::string_view kStyleCyrix = "Cyrix";
inline constexpr std::string_view kCacheStandardCpuid = "Standard CPUID";
inline constexpr std::string_view kCacheExtendedCpuid = "Extended CPUID";
inline constexpr std::string_view kCacheCombinedCpuid = "Combined CPUID";
inline constexpr std::string_view kStyleUnknown = "Unknown";

} // namespace quelmo::texts
