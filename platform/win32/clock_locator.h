#pragma once
// Finding the Windows 11 taskbar clock: every "Shell_TrayWnd" and "Shell_SecondaryTrayWnd", the
// "Windows.UI.Composition.DesktopWindowContentBridge" in each, its tray buttons through UI
// Automation's flat node API and, for their rectangles where UI Automation gives none, through
// MSAA. Nothing is injected into the shell. The calls cross into the shell's process and may
// block while it hangs: the locator runs them on a thread of its own and bounds each pass
// (platform/win32/clock_interceptor.h).
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/taskbar_clock.h"

namespace taskbar {

// Reads the tray buttons under a content bridge window (its direct UI Automation children, in
// order). False when the bridge answers nothing usable. One reader per thread; COM must be
// initialised on it.
class TrayButtonReader {
 public:
  virtual ~TrayButtonReader() = default;
  virtual bool Read(HWND bridge, std::vector<TrayButton>& buttons) = 0;
};

// The reader over uiautomationcore.dll's node API (UiaNodeFromHandle, UiaNavigate,
// UiaGetPropertyValue, UiaNodeRelease) and oleacc.dll (AccessibleObjectFromWindow, accName,
// accLocation), both looked up at run time; null when either is missing. It counts every call
// that returned in `progress` (if given), so that a watcher can bound each call.
std::unique_ptr<TrayButtonReader> MakeAutomationTrayButtonReader(std::atomic<uint64_t>* progress = nullptr);

// The clock texts of this moment: the time (without seconds) a minute before, now and a minute
// after, and the short date, as the user's locale formats them.
std::vector<std::u16string> CurrentClockTexts();

// True when a "TrayClockWClass" under a "Shell_TrayWnd" > "TrayNotifyWnd", or a "ClockButton"
// under a "Shell_SecondaryTrayWnd", exists: the hook library's road.
bool ClockWindowExists();

// True when a taskbar holds a "Windows.UI.Composition.DesktopWindowContentBridge": only then is
// there anything for a reader to read (and its libraries worth loading).
bool ContentBridgeExists();

// Every taskbar's clock: enumerates the taskbars, reads each bridge's buttons and keeps those
// whose clock is found, with the taskbar's window, rectangle and monitor.
ClockSnapshot LocateClocks(TrayButtonReader& reader, const std::vector<std::u16string>& clockTexts);

}  // namespace taskbar
