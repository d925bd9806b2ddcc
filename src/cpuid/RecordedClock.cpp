#include "cpuid/RecordedClock.h"

#include <cctype>

namespace quelmo {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

} // namespace

std::optional<std::uint32_t> RecordedKilohertz(std::string_view cpuText) {
    std::size_t i = 0;
    while (i < cpuText.size()) {
        // A number starts at a digit that does not continue a word ("i7-8700K", "x86").
        const bool starts =
            IsDigit(cpuText[i]) && (i == 0 || !std::isalnum(static_cast<unsigned char>(cpuText[i - 1])));
        if (!starts) {
            ++i;
            continue;
        }
        // Whole part and up to three decimals, in thousandths.
        std::uint64_t thousandths = 0;
        std::size_t j = i;
        while (j < cpuText.size() && IsDigit(cpuText[j]) && thousandths < 100'000'000'000ULL) {
            thousandths = thousandths * 10 + static_cast<std::uint64_t>(cpuText[j++] - '0');
        }
        thousandths *= 1000;
        if (j + 1 < cpuText.size() && cpuText[j] == '.' && IsDigit(cpuText[j + 1])) {
            std::uint64_t scale = 100;
            for (++j; j < cpuText.size() && IsDigit(cpuText[j]); ++j) {
                thousandths += static_cast<std::uint64_t>(cpuText[j] - '0') * scale;
                scale /= 10;
            }
        }
        std::size_t unit = j < cpuText.size() && cpuText[j] == ' ' ? j + 1 : j;
        if (unit + 3 <= cpuText.size() && Lower(cpuText[unit + 1]) == 'h' &&
            Lower(cpuText[unit + 2]) == 'z') {
            const char prefix = Lower(cpuText[unit]);
            // MHz in thousandths is kHz; GHz is a thousand times more.
            const std::uint64_t kilohertz = prefix == 'm'   ? thousandths
                                            : prefix == 'g' ? thousandths * 1000
                                                            : 0;
            if (kilohertz != 0 && kilohertz <= 0xFFFFFFFFULL) {
                return static_cast<std::uint32_t>(kilohertz);
            }
        }
        i = j;
    }
    return std::nullopt;
}

} // namespace quelmo
