#include "ui/TrayPicture.h"

#include "ui/MainFormTexts.h"

#include <algorithm>
#include <charconv>

namespace quelmo::ui {

namespace {

void AppendNumber(int value, TrayTip& tip) {
    std::array<char, 16> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    tip.Append(std::string_view(digits.data(), static_cast<std::size_t>(result.ptr - digits.data())));
}

} // namespace

void FormatTrayTip(int cpu, int memory, TrayTip& tip) {
    tip.Clear();
    tip.Append(texts::monitor::kTrayCpu).Append(": ");
    AppendNumber(cpu, tip);
    tip.Append('%');
    if (memory >= 0) {
        tip.Append('\r').Append(texts::monitor::kTrayMemory).Append(": ");
        AppendNumber(memory, tip);
        tip.Append('%');
    }
}

int TrayImageIndex(int cpu, int imageCount) {
    if (imageCount <= 1) {
        return 0;
    }
    // In whole hundredths, so 75 x 14 / 100 = 10.5 is exactly a half and goes to the even 10.
    const long long scaled = static_cast<long long>(cpu) * (imageCount - 1);
    long long index = scaled / 100;
    const long long remainder = scaled % 100;
    if (remainder > 50 || (remainder == 50 && index % 2 != 0)) {
        ++index;
    } else if (remainder < -50 || (remainder == -50 && index % 2 != 0)) {
        --index;
    }
    return static_cast<int>(std::clamp<long long>(index, 0, imageCount - 1));
}

} // namespace quelmo::ui
