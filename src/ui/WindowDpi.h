// What the system says about display scale: the DPI a window or monitor is shown at, the
// small-icon size and the message font at a DPI, and the work area of a window's monitor. Each
// function uses the newest API the running Windows has, looked up by name, and falls back to
// what Windows 7 offers (the screen's DPI, sizes scaled from it); 96 where nothing answers.
#pragma once

#include <windows.h>

namespace quelmo::gui {

// The system DPI (the screen's LOGPIXELSY): what Windows 7 scales everything to.
int SystemDpi();
// GetDpiForWindow (Windows 10 1607), else GetDpiForMonitor of the window's monitor (shcore.dll,
// Windows 8.1), else the system DPI.
int WindowDpi(HWND window);
// GetDpiForMonitor of the monitor nearest to `screen` (pixels), else the system DPI.
int DpiAtRect(const RECT& screen);
// The small-icon size (the tray's pictures) at `dpi`: GetSystemMetricsForDpi, else the system's
// size scaled from the system DPI.
int SmallIconSize(int dpi);
// The message font (what dialogs use) with its height for `dpi`.
LOGFONTW MessageFont(int dpi);
// The window rectangle around `client` for the styles at `dpi` (AdjustWindowRectExForDpi, else
// the system's frame sizes).
RECT FrameForClient(const RECT& client, DWORD style, DWORD exStyle, int dpi);
// The work area of the monitor the window is on, in screen pixels.
RECT MonitorWorkArea(HWND window);

} // namespace quelmo::gui
