#pragma once
// The Windows 11-style stand-in shell's answers to a test. The stand-in (stand_in_shell11.cpp,
// built as "explorer.exe" in bin/standin11/) shows "Shell_TrayWnd" along the bottom of the
// screen, and in it a "Windows.UI.Composition.DesktopWindowContentBridge" whose tray buttons it
// shows to UI Automation (WM_GETOBJECT with UiaRootObjectId) and to MSAA (OBJID_CLIENT): a
// network button, the clock ("SystemTray.OmniButtonLeft", named with the current time and date)
// and the bell ("SystemTray.OmniButtonRight"). The buttons are drawn; a button click that reaches
// the bridge is counted per button ("flyout opened" for the clock).
//   explorer.exe [--rtl] [--no-clock] [--second] [--announce]
//     --rtl       the taskbar laid out right to left (the buttons mirrored)
//     --no-clock  no clock button (the bell and the network button only)
//     --second    also a "Shell_SecondaryTrayWnd" along the top of the screen, with its own clock
//     --announce  broadcasts "TaskbarCreated" once its windows are up, as a restarted shell does
#include <windows.h>

namespace standin11 {

enum Button { kNetwork = 0, kClock = 1, kBell = 2, kButtonCount = 3 };

// Sent to a taskbar window ("Shell_TrayWnd" or "Shell_SecondaryTrayWnd"):
// Left and right button presses that reached button wParam of this taskbar (lParam 0: left, 1: right).
inline constexpr UINT kClicksOn = WM_APP + 11;
inline constexpr UINT kClearClicks = WM_APP + 12;
// Widens this taskbar's clock by wParam pixels (to the left, as seconds shown would); 1 when done.
inline constexpr UINT kWidenClock = WM_APP + 13;
// The screen rectangle of button wParam, packed: LOWORD x, HIWORD y of its centre.
inline constexpr UINT kButtonCentre = WM_APP + 14;
// How many times MSAA asked this taskbar for a location (a locator's pass ends with them).
inline constexpr UINT kLocationQueries = WM_APP + 15;

inline constexpr int kTaskbarHeight = 40;

}  // namespace standin11
