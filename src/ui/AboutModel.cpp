#include "ui/AboutModel.h"

#include "app/MyConfig.h"
#include "ui/AboutFormTexts.h"

#include <cstdio>

namespace quelmo::ui {

namespace t = texts::about;

std::wstring FormatIsoDate(std::chrono::year_month_day date) {
    wchar_t text[16] = {};
    std::swprintf(text, std::size(text), L"%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

std::wstring VersionLabel() {
    return std::wstring(t::kVersionDesign) + L" " + config::VersionText();
}

std::wstring DateLabel() {
    return std::wstring(t::kDateDesign) + L" " + FormatIsoDate(config::BuildDate());
}

std::wstring IdentificationText() {
    return std::wstring(t::kTitle) + L" " + config::VersionText() + L" (" +
           FormatIsoDate(config::BuildDate()) + L")";
}

std::wstring TranslatorText(std::wstring_view caption) {
    return caption.starts_with(L'#') ? std::wstring(t::kNoTranslator) : std::wstring(caption);
}

std::wstring MailtoLink(std::wstring_view address) {
    return std::wstring(t::kMailtoScheme) + std::wstring(address) + std::wstring(t::kMailSubject);
}

} // namespace quelmo::ui
