#pragma once
// CTrayIcon: the program's icon in the notification area. A hidden window of class "CTrayIcon"
// receives the icon's callback (UM_TRAY_CALLBACK, icon id 129): a left button press shows or
// hides the calendar window, a right button release opens the tray menu (CMenuTray). There is one
// icon per process, kept by the calendar window; adding it again (the taskbar came back) replaces
// the old icon and window. A notification's click opens the calendar on the reminders' day
// (TrayIconOwner::ShowNoticeDay).
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>

#include "app/logic/tray_rules.h"

namespace app {

// What the icon asks of the window that keeps it (the calendar window).
class TrayIconOwner {
 public:
  // A left click or a key select: the window shown or hidden.
  virtual void ToggleFromTray() = 0;
  // A notification's click: the window shown on the reminders' day.
  virtual void ShowNoticeDay() = 0;
  // A right click, Shift+F10 or the menu key: the tray menu at a screen point (at the pointer
  // without one).
  virtual void ShowTrayMenuAt(std::optional<POINT> at) = 0;

 protected:
  ~TrayIconOwner() = default;
};

class CTrayIcon {
 public:
  explicit CTrayIcon(TrayIconOwner& owner);
  virtual ~CTrayIcon();  // removes the icon and its window
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;

  // Creates the message window and adds the icon; false (logged) when the window cannot be made.
  // An icon the shell refuses still keeps its window, so a later taskbar can take it.
  bool Add(HINSTANCE instance);
  void Remove();
  // The tip: the program's name, and today's date on a second line when not empty.
  void SetTip(const std::u16string& day);
  // A notification from the icon (a balloon; current Windows shows it as a toast). False when
  // the shell did not take it (no icon on show).
  bool ShowBalloon(const std::u16string& title, const std::u16string& text);
  virtual LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND MessageWindow() const { return data_.hWnd; }
  // Whether the shell took the icon.
  bool Shown() const { return shown_; }

 private:
  void OnLeftClick();
  void OnRightClick(bool atIcon);  // atIcon: by the icon rather than at the pointer

  TrayIconOwner& owner_;
  bool added_ = false;
  bool shown_ = false;
  HINSTANCE instance_ = nullptr;
  NOTIFYICONDATAW data_{};
  TrayCallbackFilter callbacks_;
};

// The process's icon, added (its owner, the calendar window, keeps it; after the taskbar came back
// the old one goes first, so that exactly one icon and one message window remain); nullptr (logged)
// when its window cannot be made.
std::unique_ptr<CTrayIcon> MakeTrayIcon(TrayIconOwner& owner);
// Today's date in the icon's tip, under the program's name; the shown icon's tip (if any) is
// changed at once, a later icon takes it.
void SetTrayTipDay(CTrayIcon* icon, const std::u16string& day);
// "tray=<message window present>,<icon shown>", its tip and notifications, for the test hook.
std::u16string TrayStateText(const CTrayIcon* icon);

}  // namespace app
