// Every user-visible text of the processor identification library, in one place. Texts are byte
// strings, one character per byte (what the processor reports is ASCII; bytes above 0x7F read
// as Latin-1). Patterns hold "%d"/"%s" markers that FormatText fills in order.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace quelmo::texts {

// Value objects.
inline constexpr std::string_view kNo = "No";
inline constexpr std::string_view kYes = "Yes";
inline constexpr std::string_view kFalse = "False";
inline constexpr std::string_view kTrue = "True";
inline constexpr std::string_view kOff = "Off";
inline constexpr std::string_view kOn = "On";
inline constexpr std::string_view kSizeBytes = "%d bytes";
inline constexpr std::string_view kSizeKb = "%s Kb";
inline constexpr std::string_view kSizeMb = "%s Mb";
inline constexpr std::string_view kSizeGb = "%s Gb";
inline constexpr std::string_view kFrequencyMhz = "%d Mhz";
inline constexpr std::string_view kFrequencyGhz = "%s Ghz";

// Library start-up: where the process-affinity setter is looked up.
inline constexpr std::string_view kKernelModule = "KERNEL32.DLL";
inline constexpr std::string_view kSetProcessAffinityMask = "SetProcessAffinityMask";

// Vendors: short names (each ending in a blank) and full names.
inline constexpr std::string_view kShortUnknown = "Unknown ";
inline constexpr std::string_view kShortIntel = "Intel ";
inline constexpr std::string_view kShortAmd = "AMD ";
inline constexpr std::string_view kShortCyrix = "Cyrix ";
inline constexpr std::string_view kShortVia = "Via ";
inline constexpr std::string_view kShortNexGen = "NexGen ";
inline constexpr std::string_view kShortUmc = "UMC ";
inline constexpr std::string_view kShortRise = "Rise ";
inline constexpr std::string_view kShortTransmeta = "Transmeta ";
inline constexpr std::string_view kVendorUnknown = "Unknown Vendor";
inline constexpr std::string_view kVendorIntel = "Intel Corporation";
inline constexpr std::string_view kVendorAmd = "Advanced Micro Devices";
inline constexpr std::string_view kVendorVia = "Via Technologies Inc";
inline constexpr std::string_view kVendorNexGen = "NexGen Inc";
inline constexpr std::string_view kVendorUmc = "United Microelectronics Corp";
inline constexpr std::string_view kVendorRise = "Rise Technology";
inline constexpr std::string_view kVendorTransmeta = "Transmeta";

// Signature.
inline constexpr std::string_view kSignatureGeneric = "x86 Family %d Model %d Stepping %d";

// Features: the empty slot, then the descriptions of the feature table's rows.
inline constexpr std::string_view kUnknownMnemonic = "RES";
inline constexpr std::string_view kUnknownDescription = "Reserved or unused";
inline constexpr std::string_view kFeatureFpu = "Floating point unit";
inline constexpr std::string_view kFeatureTs = "Temperature Sensor";
inline constexpr std::string_view kFeatureVme = "Virtual mode extension";
inline constexpr std::string_view kFeatureFid = "Frequency Id Control";
inline constexpr std::string_view kFeatureDe = "Debugging extensions";
inline constexpr std::string_view kFeatureVid = "Voltage Id Control";
inline constexpr std::string_view kFeaturePse = "Page size extension";
inline constexpr std::string_view kFeatureTpp = "Thermal Trip";
inline constexpr std::string_view kFeatureTsc = "Time stamp counter";
inline constexpr std::string_view kFeatureTm = "Thermal monitor support";
inline constexpr std::string_view kFeatureMsr = "Machine specific registers";
inline constexpr std::string_view kFeatureStc = "Software Thermal Control";
inline constexpr std::string_view kFeaturePae = "Physical address exception";
inline constexpr std::string_view kFeatureMce = "Machine check exception";
inline constexpr std::string_view kFeatureTm2 = "Thermal Monitor 2";
inline constexpr std::string_view kFeatureCx8 = "CMPXCHG8 instrucion support";
inline constexpr std::string_view kFeatureEst = "Enhanced SpeedStep Technology";
inline constexpr std::string_view kFeatureApic = "APIC hardware support";
inline constexpr std::string_view kFeatureCid = "Context Id";
inline constexpr std::string_view kFeatureSep = "Fast system call";
inline constexpr std::string_view kFeatureMtrr = "Memory type range registers";
inline constexpr std::string_view kFeaturePge = "Page global enable";
inline constexpr std::string_view kFeatureMca = "Machine check architecture";
inline constexpr std::string_view kFeatureCmov = "Conditional move support";
inline constexpr std::string_view kFeaturePat = "Page attribute table";
inline constexpr std::string_view kFeaturePse36 = "36-bit page size extension";
inline constexpr std::string_view kFeaturePsn = "Processor serial number";
inline constexpr std::string_view kFeatureClfsh = "CLFLUSH instruction support";
inline constexpr std::string_view kFeatureMp = "Multi processor enabled";
inline constexpr std::string_view kFeatureNx = "No Execute Page Protections";
inline constexpr std::string_view kFeatureDtes = "Debug trace and EMON store MSR";
inline constexpr std::string_view kFeatureAcpi = "Thermal monitor and software controlled clock";
inline constexpr std::string_view kFeatureMmxExt = "Extended MMX architecture";
inline constexpr std::string_view kFeatureMmx = "MMX architecture support";
inline constexpr std::string_view kFeatureFxsr = "Fast floating point save";
inline constexpr std::string_view kFeatureSse = "Streaming SIMD instruction support";
inline constexpr std::string_view kFeatureSse2 = "Streaming SIMD extensions 2";
inline constexpr std::string_view kFeatureSs = "Self snoop";
inline constexpr std::string_view kFeatureHtt = "Hyper-Threading technology";
inline constexpr std::string_view kFeatureLm = "AA-64 Long mode";
inline constexpr std::string_view kFeatureIa64 = "IA-64";
inline constexpr std::string_view kFeature3DNowExt = "Extended 3DNow! extensions";
inline constexpr std::string_view kFeatureSbf = "Signal break on FERR";
inline constexpr std::string_view kFeature3DNow = "3DNow! extensions";

// Caches: no cache, a direct-mapped one, a fully associative one, and N ways ("8-Way").
inline constexpr std::string_view kAssociativityNone = "None";
inline constexpr std::string_view kAssociativityDirect = "Direct";
inline constexpr std::string_view kAssociativityFull = "Full";
inline constexpr std::string_view kAssociativityWays = "%d-Way";

// Processor names of the vendors' lookup tables.
inline constexpr std::string_view kNameIntel486Sx = "Intel 80486SX";
inline constexpr std::string_view kNameIntel486Dx2 = "Intel 80486DX2";
inline constexpr std::string_view kNameIntel486Dx4 = "Intel 80486DX4";
inline constexpr std::string_view kNameIntelPentium = "Intel Pentium";
inline constexpr std::string_view kNameIntelPentiumOverdrive = "Intel Pentium Overdrive";
inline constexpr std::string_view kNameIntelPentiumMmx = "Intel Pentium MMX";
inline constexpr std::string_view kNameIntelPentiumPro = "Intel Pentium Pro";
inline constexpr std::string_view kNameIntelPentiumIiOverdrive = "Intel Pentium II Overdrive";
inline constexpr std::string_view kNameIntelPentiumIi = "Intel Pentium II";
inline constexpr std::string_view kNameIntelPentiumIiXeon = "Intel Pentium II Xeon";
inline constexpr std::string_view kNameIntelMobilePentiumIi = "Intel Mobile Pentium II";
inline constexpr std::string_view kNameIntelCeleron = "Intel Celeron";
inline constexpr std::string_view kNameIntelMobileCeleron = "Intel Mobile Celeron";
inline constexpr std::string_view kNameIntelPentiumIii = "Intel Pentium III";
inline constexpr std::string_view kNameIntelPentiumIiiXeon = "Intel Pentium III Xeon";
inline constexpr std::string_view kNameIntelMobilePentiumIii = "Intel Mobile Pentium III";
inline constexpr std::string_view kNameIntelPentium4 = "Intel Pentium 4";
inline constexpr std::string_view kNameIntelMobilePentium4 = "Intel Mobile Pentium 4";
inline constexpr std::string_view kNameIntelGenuine = "Intel Geniune Processor"; // sic
inline constexpr std::string_view kNameIntelXeon = "Intel Xeon";
inline constexpr std::string_view kNameIntelXeonMp = "Intel Xeon MP";
inline constexpr std::string_view kNameAmdAm486Dx2 = "AMD AM486DX2";
inline constexpr std::string_view kNameAmdAm5x86 = "AMD AM5x86";
inline constexpr std::string_view kNameAmdK5 = "AMD K5";
inline constexpr std::string_view kNameAmdK6 = "AMD K6";
inline constexpr std::string_view kNameAmdK6_2 = "AMD K6 2";
inline constexpr std::string_view kNameAmdK6_3 = "AMD K6 III";
inline constexpr std::string_view kNameCyrixMediaGx = "Cyrix Media GX";
inline constexpr std::string_view kNameCyrixCx5x86 = "Cyrix Cx5x86";
inline constexpr std::string_view kNameCyrix6x86 = "Cyrix 6x86";
inline constexpr std::string_view kNameCyrixGxm = "Cyrix GXm";
inline constexpr std::string_view kNameCyrix6x86Mx = "Cyrix 6x86MX";
inline constexpr std::string_view kNameCyrixM2 = "Cyrix M2";
inline constexpr std::string_view kNameViaCyrixIii = "Via Cyrix III";
inline constexpr std::string_view kNameIdtWinChip = "IDT WinChip";
inline constexpr std::string_view kNameIdtWinChip2 = "IDT WinChip 2";
inline constexpr std::string_view kNameIdtWinChip3 = "IDT WinChip 3";
inline constexpr std::string_view kNameNexGenNx586 = "NexGen Nx586";
inline constexpr std::string_view kNameUmcU5D = "UMC U5D";
inline constexpr std::string_view kNameRiseIDragon = "Rise iDragon";
inline constexpr std::string_view kNameRiseIDragonIi = "Rise iDragon II";

// AMD model ratings.
inline constexpr std::string_view kRating1100 = "1100+";
inline constexpr std::string_view kRating1200 = "1200+";
inline constexpr std::string_view kRating1300 = "1300+";
inline constexpr std::string_view kRating1400 = "1400+";
inline constexpr std::string_view kRating1500 = "1500+";
inline constexpr std::string_view kRating1600 = "1600+";
inline constexpr std::string_view kRating1700 = "1700+";
inline constexpr std::string_view kRating1800 = "1800+";
inline constexpr std::string_view kRating1900 = "1900+";
inline constexpr std::string_view kRating2000 = "2000+";
inline constexpr std::string_view kRating2100 = "2100+";
inline constexpr std::string_view kRating2200 = "2200+";
inline constexpr std::string_view kRating2400 = "2400+";
inline constexpr std::string_view kRating2500 = "2500+";
inline constexpr std::string_view kRating2600 = "2600+";
inline constexpr std::string_view kRating2700 = "2700+";
inline constexpr std::string_view kRating2800 = "2800+";
inline constexpr std::string_view kRating3000 = "3000+";
inline constexpr std::string_view kRating3200 = "3200+";

// Recorded CPUID dumps (read by the console tool and the tests).
inline constexpr std::string_view kDumpLine = "line %d: %s";
inline constexpr std::string_view kDumpFieldCount = "expected five fields: leaf eax ebx ecx edx";
inline constexpr std::string_view kDumpBadLeaf = "the leaf must be 8 hexadecimal digits, optionally /SS";
inline constexpr std::string_view kDumpBadRegister = "a register must be 8 hexadecimal digits";
inline constexpr std::string_view kDumpSubleafZero = "sub-leaf 00 is written as a plain line";
inline constexpr std::string_view kDumpDuplicate = "leaf %s appears twice";
inline constexpr std::string_view kDumpSubleafOrder =
    "a sub-leaf line must follow its leaf's plain line or a lower sub-leaf of that leaf";
inline constexpr std::string_view kDumpHeaderPlace = "the header line must come before the leaves";
inline constexpr std::string_view kDumpEmpty = "no CPUID leaves found";
inline constexpr std::string_view kDumpCannotOpen = "cannot open the file";
inline constexpr std::string_view kDumpTooLarge = "the file is larger than a CPUID dump can be (1 MB)";

} // namespace quelmo::texts

namespace quelmo {

// `pattern` with each "%d" or "%s" replaced by the next of `args`, in order; markers beyond the
// arguments are left as they are.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args);

} // namespace quelmo
