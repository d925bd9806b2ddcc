#include "app/MyModules.h"

#include "app/ShellTexts.h"
#include "platform/Process.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace quelmo {

namespace {

// The shell's codes up to 32 are failures.
constexpr int kLastShellError = 32;

// `pattern` with its "%s" and "%d" replaced by `arguments` in order. One pass, so an argument that
// itself holds "%s" stays as it is.
std::wstring FormatArguments(std::wstring_view pattern, std::initializer_list<std::wstring_view> arguments) {
    std::wstring text;
    const auto* next = arguments.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const bool placeholder = pattern[i] == L'%' && i + 1 < pattern.size() &&
                                 (pattern[i + 1] == L's' || pattern[i + 1] == L'd');
        if (placeholder && next != arguments.end()) {
            text += *next++;
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

} // namespace

std::string FormatThousands(double value, char separator) {
    // nearbyint rounds halves to even in the default rounding mode.
    const auto rounded = static_cast<std::int64_t>(std::nearbyint(value));
    std::string text = std::to_string(rounded);
    const std::size_t firstDigit = (!text.empty() && text.front() == '-') ? 1 : 0;
    for (std::size_t pos = text.size(); pos > firstDigit + 3;) {
        pos -= 3;
        text.insert(pos, 1, separator);
    }
    return text;
}

int RoundHalfEven(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    // nearbyint rounds halves to even in the default rounding mode.
    const double rounded = std::nearbyint(value);
    return static_cast<int>(std::clamp(rounded, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

bool OpenDocument(std::wstring_view target) {
    platform::Process& process = platform::TheProcess();
    const int code = process.OpenWithShell(target);
    if (code > kLastShellError) {
        return true;
    }
    const std::wstring text =
        FormatArguments(texts::kOpenDocumentFailed, {target, process.ErrorText(code), std::to_wstring(code)});
    process.ShowMessage(texts::kAppTitle, text, platform::MessageKind::Warning, platform::MessageButtons::Ok);
    return false;
}

std::wstring BesideExecutable(std::wstring_view fileName) {
    std::wstring path = platform::TheProcess().ExecutablePath();
    const std::size_t slash = path.find_last_of(L"\\/");
    path.erase(slash == std::wstring::npos ? 0 : slash + 1);
    return path.append(fileName);
}

} // namespace quelmo
