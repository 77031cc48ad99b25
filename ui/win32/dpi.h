#pragma once
// The DPI of windows and monitors, and system metrics for a DPI. The per-monitor functions exist
// from Windows 10 1607 on; they are looked up at run time, and older systems get the screen's DPI
// (one scale for every monitor there).
#include <windows.h>

namespace tvui {

// The DPI the window is drawn for (96 when nothing better is known).
int WindowDpi(HWND hwnd);
// The DPI of the screen as a whole (the primary monitor's scale).
int ScreenDpi();
// The DPI of a monitor (Windows 8.1 on; the screen's before that). window, when given and on that
// monitor, answers for it without loading the shell's scaling library.
int MonitorDpi(HMONITOR monitor, HWND window = nullptr);
// GetSystemMetrics for a DPI (an icon's size, for one).
int SystemMetricForDpi(int index, int dpi);

}  // namespace tvui
