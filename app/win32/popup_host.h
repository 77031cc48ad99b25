#pragma once
// PopupHost: the one owner of the calendar window's pop-ups, made by the program's entry beside
// the window. It holds the settings, skin chooser, about and feedback windows, the seven-day
// weather pop-up, the city picker, the reminders dialog and the tray menu, and the active skin. The windows are
// made on first use and hidden rather than destroyed (the feedback window is made anew at every
// opening, the weather pop-up at every opening after it was closed); all go with the host, after
// the calendar window. UI thread only.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "app/logic/skins.h"
#include "app/win32/popup_owner.h"
#include "platform/gregorian.h"
#include "ui/geometry.h"

class CAboutDlg;
class CDlgCity;
class CDlgWeather;
class CRemindDlg;
class CSetDlg;
class CSkinDlg;
class CSurveys;

namespace app {

class CMenuTray;

class PopupHost {
 public:
  PopupHost();
  ~PopupHost();
  PopupHost(const PopupHost&) = delete;
  PopupHost& operator=(const PopupHost&) = delete;

  // The window the pop-ups stand beside and belong to (before any is opened).
  void SetOwner(PopupOwner* owner) { owner_ = owner; }

  void OpenSettings();
  void OpenSkinChooser();
  void OpenAbout();
  // The feedback window, with or without its autostart part.
  void ShowAutostartPrompt(bool withAutostart);
  // Hides the settings window, the about window and the feedback window.
  void HideDialogs();
  void HideSkinChooser();
  // Hides every pop-up.
  void HideAll();
  // The shown settings, skin chooser and about windows placed again beside the owner (after a
  // display or work-area change moved it).
  void PlaceAgain();

  // --- The seven-day weather pop-up (dlg_weather.h) ---
  // Opens it over the screen rectangle `at` (device pixels; creating and filling it), unless the
  // feedback window or the city picker is up; an existing pop-up is moved there and shown again.
  void OpenWeatherPopup(const tvui::Rect& at);
  // Closes and releases it, if any.
  void CloseWeatherPopup();
  // Hands an existing pop-up the current report again.
  void RefillWeatherPopup();
  void HideWeatherPopup();
  bool IsWeatherPopupOpen() const;
  // The pop-up while its window exists, else nullptr.
  CDlgWeather* WeatherPopup() const;
  // The pop-up's "wxpop…" lines of the state text (its own after whether it is open).
  std::u16string DescribeWeatherPopup() const;

  // --- The city picker (dlg_city.h) ---
  // Hides the other pop-ups and shows the picker centred on the owner, creating it once.
  void OpenCityPicker();
  void HideCityPicker();
  bool IsCityPickerVisible() const;
  // A click on an item of one of the picker's combos (0 provinces, 1 cities), as the test hook
  // makes it; false when there is no such item.
  bool ClickCityPickerItem(int combo, int index);
  CDlgCity* CityPicker() const;
  // The current and located cities' lines and the picker's "picker…" lines of the state text.
  std::u16string DescribeCityPicker() const;

  // --- The reminders dialog (reminder_dlg.h) ---
  // Opens the reminders of a day beside the owner.
  void OpenReminders(Day day);
  void HideReminders();
  bool IsRemindersShown() const;
  // The dialog's state for the test hook ("remind=none" before it was first opened).
  std::u16string DescribeReminders() const;
  // Saves the dialog's picture as a PNG; false when it is not open.
  bool SaveRemindersPng(const std::u16string& path) const;

  // --- The tray menu (menu_tray.h) ---
  // Opens the menu owned by `owner` at the pointer (or at a screen point), in place of an open one.
  void ShowTrayMenu(HWND owner, std::optional<POINT> at = std::nullopt);
  // Destroys the menu, if any (its window goes with it).
  void CloseTrayMenu();
  // The menu's "menu=…" line for the test hook.
  std::u16string TrayMenuStateText() const;

  // --- Skins: the stored one, a preview, its end, a choice ---
  void ApplySavedSkin();
  void RestoreSkin();
  void PreviewSkin(int skin);
  void ApplyAndStoreSkin(int skin);
  // The "title" band of the settings, about, feedback, city-picker and reminders windows, and the
  // weather pop-up's background, in the active skin.
  const std::u16string& TitleImage() const { return skins_.TitleImage(); }
  const std::u16string& WeatherPopupImage() const { return skins_.WeatherPopupImage(); }

  // The settings, chooser, about and feedback windows' state and the skin's, as "key=value"
  // lines for the test hook.
  std::u16string Describe() const;
  // Frees every pop-up (after the owner's window is gone).
  void Release();

 private:
  void ReleaseOtherSkins();

  PopupOwner* owner_ = nullptr;
  std::unique_ptr<CSetDlg> settings_;
  std::unique_ptr<CSkinDlg> chooser_;
  std::unique_ptr<CAboutDlg> about_;
  std::unique_ptr<CSurveys> prompt_;
  std::unique_ptr<CDlgWeather> weather_;
  std::unique_ptr<CDlgCity> picker_;
  std::unique_ptr<CRemindDlg> reminders_;
  std::unique_ptr<CMenuTray> trayMenu_;
  SkinSwitcher skins_;
};

}  // namespace app
