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

// The pop-up menu's captions; the shortcut text is added after a tab (ui/MenuModel).
inline constexpr wchar_t kMenuAbout[] = L"About";
inline constexpr wchar_t kMenuHelp[] = L"Help";
inline constexpr wchar_t kMenuHelpOnline[] = L"Help (online)";
inline constexpr wchar_t kMenuForum[] = L"Forum (online)";
inline constexpr wchar_t kMenuVersionHistory[] = L"Version History";
inline constexpr wchar_t kMenuCopyrights[] = L"Copyrights";
inline constexpr wchar_t kMenuSettings[] = L"Settings";
inline constexpr wchar_t kMenuStatistics[] = L"Statistics";
inline constexpr wchar_t kMenuCpuInformation[] = L"CPU Information";
inline constexpr wchar_t kMenuLocation[] = L"Location...";
inline constexpr wchar_t kMenuTopLeft[] = L"Top-Left";
inline constexpr wchar_t kMenuTopRight[] = L"Top-Right";
inline constexpr wchar_t kMenuBottomLeft[] = L"Botom-Left";
inline constexpr wchar_t kMenuBottomRight[] = L"Botom-Right";
inline constexpr wchar_t kMenuCenter[] = L"Center";
inline constexpr wchar_t kMenuLockForm[] = L"Lock the Form";
inline constexpr wchar_t kMenuShowHide[] = L"Show/Hide";
inline constexpr wchar_t kMenuExit[] = L"Exit";

// Shortcut texts: "Shift+F1", "Ctrl+Num 7", "Alt+F4".
inline constexpr wchar_t kKeyShift[] = L"Shift+";
inline constexpr wchar_t kKeyCtrl[] = L"Ctrl+";
inline constexpr wchar_t kKeyAlt[] = L"Alt+";
inline constexpr wchar_t kKeyFunction[] = L"F";
inline constexpr wchar_t kKeyNumpad[] = L"Num ";

// What the help items open.
inline constexpr wchar_t kHelpUrl[] = L"https://quelmo.org/help";
inline constexpr wchar_t kForumUrl[] = L"https://quelmo.org/forum";
inline constexpr wchar_t kHistoryFile[] = L"History.txt";
inline constexpr wchar_t kCopyrightsFile[] = L"Copyrights.txt";

// Tray tip lines: "CPU: 37%" and, after a carriage return, "Memory: 62%".
inline constexpr char kTrayCpu[] = "CPU";
inline constexpr char kTrayMemory[] = "Memory";

} // namespace quelmo::texts::monitor
