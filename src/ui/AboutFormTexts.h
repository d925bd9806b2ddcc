// Every text of the About window that a user reads.
#pragma once

#include <string_view>

namespace quelmo::texts::about {

inline constexpr wchar_t kCaption[] = L"About";

// The header: the title, and the design captions that the version and the date follow.
inline constexpr std::wstring_view kTitle = L"Quelmo";
inline constexpr std::wstring_view kVersionDesign = L"Version:";
inline constexpr std::wstring_view kDateDesign = L"Date:";

// Row captions; "&" marks the Alt mnemonic that moves to the link beside it.
inline constexpr wchar_t kAuthorCaption[] = L"Author:";
inline constexpr wchar_t kEmailCaption[] = L"&Email:";
inline constexpr wchar_t kWebsiteCaption[] = L"&Website:";
inline constexpr wchar_t kTranslationCaption[] = L"Translation:";

// The credits. A translation replaces the translator's design caption with the translator's name.
inline constexpr std::wstring_view kAuthor = L"The Quelmo developers";
inline constexpr std::wstring_view kEmail = L"support@quelmo.org";
inline constexpr std::wstring_view kWebsite = L"www.quelmo.org";
inline constexpr std::wstring_view kWebsiteUrl = L"https://quelmo.org/";
inline constexpr std::wstring_view kTranslatorDesign = L"#Translator#";
inline constexpr std::wstring_view kNoTranslator = L"---";

// The mail link: "mailto:" + address + subject.
inline constexpr std::wstring_view kMailtoScheme = L"mailto:";
inline constexpr std::wstring_view kMailSubject = L"?subject=Quelmo";

} // namespace quelmo::texts::about
