// Every text of the monitor window and its tray icon that a user reads.
#pragma once

// The application title (window caption, start-up banner, first tray tip), texts::kAppTitle, is
// the shell's.
#include "app/ShellTexts.h"

// A namespace of their own: inline texts of one name in two headers would clash at link time.
namespace quelmo::texts::monitor {

// The labels before the first clock message and the first sample.
inline constexpr wchar_t kClockUnknown[] = L"? MHz";
inline constexpr wchar_t kMemoryUnknown[] = L"? MB";

// Units and parts of the label texts built per sample (UTF-8).
inline constexpr char kMHz[] = "MHz";
inline constexpr char kMB[] = "MB";
inline constexpr char kPercentSuffix[] = " %";

// Tool tips of the control buttons.
inline constexpr wchar_t kHintMove[] = L"Move";
inline constexpr wchar_t kHintMenu[] = L"Menu";
inline constexpr wchar_t kHintHide[] = L"Hide";
inline constexpr wchar_t kHintClose[] = L"Close";

// The pop-up menu; the text after a tab is the shortcut shown beside the caption.
inline constexpr wchar_t kMenuAbout[] = L"About\tShift+F1";
inline constexpr wchar_t kMenuHelp[] = L"Help";
inline constexpr wchar_t kMenuHelpOnline[] = L"Help (online)\tF1";
inline constexpr wchar_t kMenuForum[] = L"Forum (online)";
inline constexpr wchar_t kMenuVersionHistory[] = L"Version History";
inline constexpr wchar_t kMenuCopyrights[] = L"Copyrights";
inline constexpr wchar_t kMenuSettings[] = L"Settings\tF4";
inline constexpr wchar_t kMenuStatistics[] = L"Statistics\tF5";
inline constexpr wchar_t kMenuCpuInformation[] = L"CPU Information\tF6";
inline constexpr wchar_t kMenuLocation[] = L"Location...";
inline constexpr wchar_t kMenuTopLeft[] = L"Top-Left\tCtrl+Num 7";
inline constexpr wchar_t kMenuTopRight[] = L"Top-Right\tCtrl+Num 9";
inline constexpr wchar_t kMenuBottomLeft[] = L"Botom-Left\tCtrl+Num 1";
inline constexpr wchar_t kMenuBottomRight[] = L"Botom-Right\tCtrl+Num 3";
inline constexpr wchar_t kMenuCenter[] = L"Center\tCtrl+Num 5";
inline constexpr wchar_t kMenuLockForm[] = L"Lock the Form";
inline constexpr wchar_t kMenuShowHide[] = L"Show/Hide";
inline constexpr wchar_t kMenuExit[] = L"Exit\tAlt+F4";

// What the help items open.
inline constexpr wchar_t kHelpUrl[] = L"https://quelmo.org/help";
inline constexpr wchar_t kForumUrl[] = L"https://quelmo.org/forum";
inline constexpr wchar_t kHistoryFile[] = L"History.txt";
inline constexpr wchar_t kCopyrightsFile[] = L"Copyrights.txt";
// "Could not open the following file:\r\r%s\r\rError: %s (%d)." in its parts.
inline constexpr wchar_t kOpenFailedHead[] = L"Could not open the following file:\r\r";
inline constexpr wchar_t kOpenFailedError[] = L"\r\rError: ";

// Tray tip lines: "CPU: 37%" and, after a carriage return, "Memory: 62%".
inline constexpr char kTrayCpu[] = "CPU";
inline constexpr char kTrayMemory[] = "Memory";

} // namespace quelmo::texts::monitor
