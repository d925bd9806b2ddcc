// Every text the start-up shell shows or stores, in one place. In the messages "%s" stands for the
// application title and a lone "\r" is a line break.
#pragma once

#include <string>
#include <string_view>

namespace quelmo::texts {

// The application title: taskbar entry, window caption, message box caption, first tray tip.
inline constexpr wchar_t kAppTitle[] = L"Quelmo";
inline constexpr std::wstring_view kMutexName = L"Quelmo [by Ostrel] @ Vantrell";
inline constexpr std::wstring_view kRunKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::wstring_view kRunValue = L"Quelmo";

inline constexpr std::wstring_view kInstallSwitch = L"/install";
inline constexpr std::wstring_view kUninstallSwitch = L"/uninstall";

inline constexpr std::wstring_view kRunAtStartupPrompt = L"Run %s when Windows starts?";
inline constexpr std::wstring_view kStillRunningWarning =
    L"It seems that %s is currently running.\r\rPlease close it, before continuing...";
inline constexpr std::wstring_view kBeta = L"Beta";
// OpenDocument's warning: the target, the system's reason and the shell's code.
inline constexpr std::wstring_view kOpenDocumentFailed =
    L"Could not open the following file:\r\r%s\r\rError: %s (%d).";

// `pattern` with its first "%s" replaced by `argument`.
inline std::wstring FormatShellText(std::wstring_view pattern, std::wstring_view argument) {
    std::wstring text(pattern);
    const auto at = text.find(L"%s");
    if (at != std::wstring::npos) {
        text.replace(at, 2, argument);
    }
    return text;
}

} // namespace quelmo::texts
