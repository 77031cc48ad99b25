// The calendar window's pop-ups and its skin, held by one PopupHost (popup_host.h).
#include "app/win32/popup_host.h"

#include <memory>
#include <string>

#include "app/logic/feedback_window.h"
#include "app/logic/popup_placement.h"
#include "app/win32/about_dlg.h"
#include "app/win32/dlg_city.h"
#include "app/win32/dlg_weather.h"
#include "app/win32/entry_points.h"
#include "app/win32/menu_tray.h"
#include "app/win32/reminder_dlg.h"
#include "app/win32/settings_dlg.h"
#include "app/win32/skin_dlg.h"
#include "app/win32/state_text.h"
#include "app/win32/surveys_dlg.h"
#include "calendar/ccalendar.h"
#include "platform/log.h"
#include "platform/text_utils.h"
#include "platform/user_config.h"
#include "ui/option.h"
#include "ui/win32/image_cache.h"
#include "weather/current_city.h"
#include "weather/weather_worker.h"

namespace app {

namespace {

bool IsShown(const tvui::WindowImplBase* w) { return w && w->GetHWND() && IsWindowVisible(w->GetHWND()); }

void HideIfShown(tvui::WindowImplBase* w) {
  if (IsShown(w)) w->ShowWindow(false);
}

tvui::Rect WindowRect(HWND hwnd) {
  RECT rc{};
  GetWindowRect(hwnd, &rc);
  return {rc.left, rc.top, rc.right, rc.bottom};
}

void MoveTo(tvui::WindowImplBase& w, const tvui::Rect& r) { w.MoveWindowTo(r.left, r.top, r.Width(), r.Height()); }

void SetTitleImage(tvui::WindowImplBase& w, const std::u16string& image) {
  if (tvui::Control* title = w.FindControl(u"title")) title->SetBkImage(image);
}

bool IsShownHwnd(HWND h) { return h && IsWindowVisible(h); }

// Makes a pop-up owned by the main window; nullptr (logged) when the window cannot be made.
template <class T, class... Args>
std::unique_ptr<T> MakePopup(HWND owner, const wchar_t* text, const char16_t* what, Args&&... args) {
  auto w = std::make_unique<T>(std::forward<Args>(args)...);
  if (!w->Create(owner, text, WS_POPUP, WS_EX_TOOLWINDOW)) {
    LogError(std::u16string(u"app: cannot create ") + what);
    return nullptr;
  }
  return w;
}

const auto& Line = StateLine;

}  // namespace

PopupHost::PopupHost()
    : skins_({
          [this](const std::u16string& image) { return owner_ && owner_->SetSkinBackground(image); },
          [] { return GetUserConfig(u"skin"); },
          [](const std::u16string& value) { SetUserConfig(value, u"skin"); },
      }) {}

PopupHost::~PopupHost() { Release(); }

void PopupHost::OpenSkinChooser() {
  if (!owner_) return;
  // The click that took the focus away from the chooser closed it; it does not open it again.
  if (chooser_ && !chooser_->MayReopen(GetTickCount())) return;
  HWND owner = owner_->OwnerWindow();
  if (!chooser_) chooser_ = MakePopup<CSkinDlg>(owner, L"CEditDlg", u"the skin chooser", owner);
  if (!chooser_) return;
  HideAll();
  MoveTo(*chooser_, PlaceSkinChooser(WindowRect(owner), owner_->ControlRect(u"skin"), owner_->OwnerScale()));
  chooser_->ShowWindow(true, true);
}

void PopupHost::OpenSettings() {
  if (!owner_) return;
  if (settings_ && !settings_->MayReopen(GetTickCount())) return;
  HWND owner = owner_->OwnerWindow();
  if (!settings_) settings_ = MakePopup<CSetDlg>(owner, L"CEditDlg", u"the settings window");
  if (!settings_) return;
  HideIfShown(about_.get());
  HideIfShown(prompt_.get());
  MoveTo(*settings_, PlaceSettings(WindowRect(owner), owner_->ControlRect(u"set"), owner_->OwnerScale()));
  settings_->ShowWindow(true, true);
  SetTitleImage(*settings_, TitleImage());
}

void PopupHost::OpenAbout() {
  if (!owner_) return;
  HWND owner = owner_->OwnerWindow();
  if (!about_) about_ = MakePopup<CAboutDlg>(owner, L"CAboutDlg", u"the about window");
  if (!about_) return;
  if (settings_) settings_->Hide();
  MoveTo(*about_, PlaceAbout(WindowRect(owner), owner_->ControlRect(u"set"), owner_->OwnerScale()));
  about_->ShowWindow(true, true);
  SetTitleImage(*about_, TitleImage());
}

void PopupHost::ShowAutostartPrompt(bool withAutostart) {
  if (!owner_) return;
  if (prompt_) {
    // Every opening replaces the window; the object's end destroys the old one.
    HideIfShown(prompt_.get());
    prompt_.reset();
  }
  prompt_ = MakePopup<CSurveys>(owner_->OwnerWindow(), L"CEditDlg", u"the feedback window");
  if (!prompt_) return;
  int height = prompt_->LayOut(withAutostart);
  MoveTo(*prompt_, PlaceFeedback(owner_->OwnerAnchor(), owner_->OwnerTop(), height, owner_->OwnerScale()));
  prompt_->ShowWindow(true, true);
  SetTitleImage(*prompt_, TitleImage());
}

void PopupHost::PlaceAgain() {
  if (!owner_) return;
  const tvui::Rect window = WindowRect(owner_->OwnerWindow());
  const tvui::Scale scale = owner_->OwnerScale();
  if (IsShown(chooser_.get())) MoveTo(*chooser_, PlaceSkinChooser(window, owner_->ControlRect(u"skin"), scale));
  if (IsShown(settings_.get())) MoveTo(*settings_, PlaceSettings(window, owner_->ControlRect(u"set"), scale));
  if (IsShown(about_.get())) MoveTo(*about_, PlaceAbout(window, owner_->ControlRect(u"set"), scale));
}

void PopupHost::HideDialogs() {
  if (settings_) settings_->Hide();
  HideIfShown(about_.get());
  HideIfShown(prompt_.get());
}

void PopupHost::HideSkinChooser() {
  if (chooser_) chooser_->Hide();
}

void PopupHost::HideAll() {
  HideDialogs();
  HideSkinChooser();
  HideWeatherPopup();
  HideCityPicker();
  HideReminders();
}

// --- The weather pop-up ---

void PopupHost::OpenWeatherPopup(const tvui::Rect& at) {
  // The pop-up would stand over a window that asks for the user's attention.
  if (IsShown(prompt_.get()) || IsCityPickerVisible()) return;
  if (weather_ && weather_->GetHWND()) {
    weather_->MoveWindowTo(at.left, at.top, at.Width(), at.Height());
    weather_->UseSkin(WeatherPopupImage());
    weather_->ShowWindow(true, true);
    return;
  }
  weather_.reset();  // closed by its own button: the object outlived its window
  auto popup = std::make_unique<CDlgWeather>();
  if (!popup->Create(nullptr, L"Velar日历", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                     WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED, at.left, at.top, at.Width(), at.Height())) {
    LogError(u"weather pop-up: the window cannot be created");
    return;
  }
  weather_ = std::move(popup);
  weather_->Populate(CurrentWeatherReport());
  weather_->UseSkin(WeatherPopupImage());
  weather_->FadeIn();
}

void PopupHost::CloseWeatherPopup() {
  if (!weather_) return;
  if (HWND hwnd = weather_->GetHWND()) ShowWindow(hwnd, SW_HIDE);
  weather_.reset();  // the window goes with its object
}

void PopupHost::RefillWeatherPopup() {
  if (weather_ && weather_->GetHWND()) weather_->Populate(CurrentWeatherReport());
}

void PopupHost::HideWeatherPopup() {
  if (weather_ && IsShownHwnd(weather_->GetHWND())) weather_->ShowWindow(false);
}

bool PopupHost::IsWeatherPopupOpen() const { return weather_ && IsShownHwnd(weather_->GetHWND()); }

CDlgWeather* PopupHost::WeatherPopup() const { return weather_ && weather_->GetHWND() ? weather_.get() : nullptr; }

// --- The city picker ---

void PopupHost::OpenCityPicker() {
  if (!owner_) return;
  HideAll();
  if (!picker_) {
    auto picker = std::make_unique<CDlgCity>();
    if (!picker->Create(owner_->OwnerWindow(), L"Velar日历", WS_CAPTION | WS_SYSMENU, WS_EX_TOPMOST)) {
      LogError(u"city picker: the window cannot be created");
      return;
    }
    picker_ = std::move(picker);
  }
  if (!picker_->GetHWND()) return;
  picker_->CenterWindow();
  picker_->ShowWindow(true, true);
  // The title band in the active skin's colour.
  SetTitleImage(*picker_, TitleImage());
}

void PopupHost::HideCityPicker() {
  if (picker_ && IsShownHwnd(picker_->GetHWND())) picker_->ShowWindow(false);
}

bool PopupHost::IsCityPickerVisible() const { return picker_ && IsShownHwnd(picker_->GetHWND()); }

CDlgCity* PopupHost::CityPicker() const { return picker_ && picker_->GetHWND() ? picker_.get() : nullptr; }

bool PopupHost::ClickCityPickerItem(int which, int index) {
  CDlgCity* picker = CityPicker();
  if (!picker) return false;
  tvui::Combo* combo = which == 0 ? picker->Provinces() : which == 1 ? picker->Cities() : nullptr;
  if (!combo || index < 0 || index >= combo->GetCount()) return false;
  combo->ItemClicked(index);
  return true;
}

// --- The reminders dialog ---

void PopupHost::OpenReminders(Day day) {
  if (!owner_) return;
  if (!reminders_) {
    HWND owner = owner_->OwnerWindow();
    auto w = std::make_unique<CRemindDlg>(owner);
    if (!w->Create(owner, L"提醒", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW)) {
      LogError(u"app: cannot create the reminders window");
      return;
    }
    reminders_ = std::move(w);
  }
  HideAll();
  reminders_->OpenOn(day, TitleImage());
}

void PopupHost::HideReminders() {
  if (reminders_) reminders_->Hide();
}

bool PopupHost::IsRemindersShown() const { return reminders_ && IsShownHwnd(reminders_->GetHWND()); }

std::u16string PopupHost::DescribeReminders() const {
  if (!reminders_ || !reminders_->GetHWND()) return Line(u"remind", u"none");
  return reminders_->DescribeForTest();
}

bool PopupHost::SaveRemindersPng(const std::u16string& path) const {
  return reminders_ && reminders_->GetHWND() && reminders_->SaveClientPng(path);
}

// --- Skins ---

// Lets the decoded pictures of skins no longer in use go (each skin's background is a few hundred
// kilobytes per drawn size); the chooser's tiles are small pictures of their own and stay.
void PopupHost::ReleaseOtherSkins() {
  tvui::ImageCache::Instance().Forget([this](const std::u16string& path) {
    const int skin = SkinOfPicture(path);
    return skin != 0 && !skins_.Uses(skin);
  });
}

void PopupHost::ApplySavedSkin() {
  skins_.ApplyStored();
  ReleaseOtherSkins();
}

void PopupHost::RestoreSkin() {
  skins_.Restore();
  ReleaseOtherSkins();
}

void PopupHost::PreviewSkin(int skin) {
  skins_.Apply(skin);
  ReleaseOtherSkins();
}

void PopupHost::ApplyAndStoreSkin(int skin) {
  skins_.ApplyAndStore(skin);
  ReleaseOtherSkins();
}

void PopupHost::ShowTrayMenu(HWND owner, std::optional<POINT> at) {
  CloseTrayMenu();
  trayMenu_ = CreateTrayMenu(owner, at);
  if (trayMenu_) ShowTrayMenuWindow(*trayMenu_);
}

void PopupHost::CloseTrayMenu() { trayMenu_.reset(); }

std::u16string PopupHost::TrayMenuStateText() const { return app::TrayMenuStateText(trayMenu_.get()); }

void PopupHost::Release() {
  trayMenu_.reset();
  reminders_.reset();
  picker_.reset();
  weather_.reset();
  prompt_.reset();
  about_.reset();
  chooser_.reset();
  settings_.reset();
  owner_ = nullptr;
}

std::u16string PopupHost::Describe() const {
  std::u16string s;
  s += Line(u"skin.active", IntToText(skins_.ActiveSkin()));
  s += Line(u"skin.background", owner_ ? owner_->SkinBackground() : u"");
  s += chooser_ ? chooser_->DescribeForTest() : WindowState(u"chooser", nullptr);
  s += settings_ ? settings_->DescribeForTest() : WindowState(u"settings", nullptr);
  s += about_ ? about_->DescribeForTest() : WindowState(u"about", nullptr);
  s += prompt_ ? prompt_->DescribeForTest() : WindowState(u"prompt", nullptr);
  return s;
}

std::u16string PopupHost::DescribeWeatherPopup() const {
  std::u16string s = Line(u"wxpop", IntToText(IsWeatherPopupOpen() ? 1 : 0));
  s += Line(u"wxpop.populated", IntToText(WeatherPopupFills()));
  s += Line(u"wxpop.url", LastForecastUrl());
  if (const CDlgWeather* popup = WeatherPopup()) s += popup->DescribeForTest();
  return s;
}

std::u16string PopupHost::DescribeCityPicker() const {
  IpLocation here = GetIpLocation();
  std::u16string s = Line(u"ip_location", here.province + u"," + here.city);
  CurrentCity current = GetCurrentCity();
  s += Line(u"current_city", current.province + u"," + current.city + u"," + current.code);
  s += Line(u"report_city", CurrentWeatherReport().city);
  s += Line(u"picker", IntToText(IsCityPickerVisible() ? 1 : 0));
  if (const CDlgCity* picker = CityPicker()) s += picker->DescribeForTest();
  return s;
}

}  // namespace app
