#include "cpuid/CpuTexts.h"

namespace quelmo {

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string text;
    text.reserve(pattern.size() + 16);
    auto next = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const bool marker =
            pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == 'd' || pattern[i + 1] == 's');
        if (marker && next != args.end()) {
            text += *next++;
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

} // namespace quelmo
