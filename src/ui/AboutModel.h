// What the About window shows and does, as plain data: the header's texts, the credits, the
// identification of the build that a right-click copies, and the targets its links open.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace quelmo::ui {

// "2014-02-11".
std::wstring FormatIsoDate(std::chrono::year_month_day date);

// "Version: 2.0.2 Beta" and "Date: 2014-02-11": the design caption, a blank and the value.
std::wstring VersionLabel();
std::wstring DateLabel();

// "Quelmo 2.0.2 Beta (2014-02-11)", what a right-click on the header copies.
std::wstring IdentificationText();

// The translation row: "---" while the caption is still a design caption (it begins with "#"),
// otherwise the caption itself.
std::wstring TranslatorText(std::wstring_view caption);

// What the e-mail link opens: "mailto:<address>?subject=Quelmo".
std::wstring MailtoLink(std::wstring_view address);

} // namespace quelmo::ui
