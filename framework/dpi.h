#pragma once
// Resolutions of windows, monitors and the system, and the process's awareness of them.
// The newer functions (GetDpiForWindow, GetDpiForSystem, GetDpiForMonitor, the awareness
// setters) are looked up at run time; where a system lacks one, the screen's LOGPIXELSX
// answers instead.
#include <windows.h>

#include "framework/dpi_scale.h"

namespace fw {

// The resolution the window's contents are laid out for.
int WindowDpi(HWND hwnd);
// The resolution of the system (of the primary monitor when the process started).
int SystemDpi();
// The resolution of a monitor, and of the monitor nearest to a screen point.
int MonitorDpi(HMONITOR monitor);
int DpiAtPoint(POINT screen_point);

// A system metric (a scroll bar's width, say) at a resolution, as GetSystemMetricsForDpi
// gives it; where a system lacks that, the metric at the system's resolution scaled.
int SystemMetricForDpi(int index, int dpi);
// The same at the window's resolution: what the system lays the window's parts out with.
inline int WindowSystemMetric(HWND hwnd, int index) {
  return SystemMetricForDpi(index, WindowDpi(hwnd));
}

// The font menus are drawn with, from the system's non-client metrics (at the system's
// resolution). Kept once read, since reading it is a trip through the system's settings
// (tens of microseconds under Wine, for every item a menu measures and draws);
// ForgetSystemFonts drops the kept copy. Framework windows do so when the settings change
// and whenever a menu opens, so that each menu shows the font of the moment.
LOGFONTA SystemMenuFont();
void ForgetSystemFonts();

enum class TDpiAwareness { Unaware, System, PerMonitor, PerMonitorV2 };
// Makes the process aware of each monitor's resolution unless a manifest or an earlier
// call already decided: per monitor (version 2, else 1), else system aware. Answers what
// the process is at afterwards.
TDpiAwareness MakeProcessDpiAware();
// What the calling thread is at now.
TDpiAwareness CurrentDpiAwareness();

}  // namespace fw
