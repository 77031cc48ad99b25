#pragma once
// A documented window message through which tests and benchmarks drive the main window and read
// its state from another process (see app/README.md). It only does what a user can do with the
// mouse, plus reading. It exists only in the test build of the program (tavrino_testable.exe):
// the shipped tavrino.exe neither registers nor answers it.
//
// Message: RegisterWindowMessage("TavrinoTestHook"), sent with SendMessage; wParam = command:
//   1 state    lParam = a window of the caller; receives WM_COPYDATA (dwData 0x54565354) with
//              the state as UTF-16 "key=value" lines
//   2 year     lParam = item index of "CmbYear", chosen as by a click on the item
//   3 month    the same for "CmbMonth"
//   4 holiday  the same for "CmbHoliday"
//   5 city     the same for "xcity"
//   6 click    lParam = index in kTestHookButtons: a "click" notification of that control
//   7 bench    lParam = n: n month rebuilds with painting; returns the mean in microseconds
//   8 paint    lParam = n: n paintings of the whole window alone; the mean in microseconds
//   9 picker   lParam = (combo << 16) | index: a click on that item of the city picker's
//              "CmbProvinces" (combo 0) or "CmbCity" (combo 1)
//  10 locate   lParam = an IPv4 address (a.b.c.d as a << 24 | b << 16 | c << 8 | d): looks it up
//              on a worker thread and keeps the result as the IP location, as the statistics
//              exchange does with the address the service reports
//  11 shot     lParam = 0 the weather pop-up, 1 the city picker, 2 the main window, 3 the
//              reminders dialog (its skin only: the edit boxes are windows of their own): saves
//              the window's client area as "shot-<lParam>.png" beside the program (0 when the
//              window does not exist)
//  12 clock    lParam = seconds (signed) added to the system clock from now on as the program's
//              local clock (0: the system clock again); then WM_TIMECHANGE, as after a change of
//              the clock
// The state also holds the weather pop-up's ("wxpop…"), the city picker's ("picker…") and the
// reminders dialog's ("remind…") lines, the cells with a reminder's mark ("marks") and the tray's
// notifications ("tray.balloons", "tray.balloon").
// The result is 1 for a command done, 0 for an unknown command or argument.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "app/win32/state_text.h"

class CDlgMain;
namespace tvui {
struct Message;
}

namespace app {

inline constexpr const wchar_t* kTestHookMessageName = L"TavrinoTestHook";
inline constexpr ULONG_PTR kTestHookStateTag = 0x54565354;
enum TestHookCommand : WPARAM {
  kHookState = 1,
  kHookYear = 2,
  kHookMonth = 3,
  kHookHoliday = 4,
  kHookCity = 5,
  kHookClick = 6,
  kHookBench = 7,
  kHookPaint = 8,
  kHookPickerItem = 9,
  kHookLocate = 10,
  kHookShot = 11,
  kHookClock = 12,
};
inline constexpr const char16_t* kTestHookButtons[] = {
    u"monLeft", u"monRight", u"returntoday", u"closebtn", u"close", u"skin",  u"set",
    u"sendqq",  u"note",     u"curcity",     u"city",     u"remind", u"refresh"};

class MainWindowTestHook {
 public:
  // Measures the start's steps with the working set (before the window is created).
  static void Install();
  // The hook's answer to its message (the main window's tap); nullopt for any other message.
  static std::optional<LRESULT> Answer(CDlgMain& window, const tvui::Message& message);

 private:
  // True when the message was the hook's (result set).
  static bool Handle(CDlgMain& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
};

}  // namespace app
