// The main window's small pop-ups (settings, skin chooser, about, feedback prompt) and its skin:
// one set per process, on the UI thread. The pop-ups are created on first use, owned by the main
// window, hidden rather than destroyed; the feedback window is made anew at every opening.
#include <memory>
#include <string>

#include "app/logic/feedback_window.h"
#include "app/logic/popup_placement.h"
#include "app/logic/skins.h"
#include "app/win32/about_dlg.h"
#include "app/win32/dlg_main.h"
#include "app/win32/entry_points.h"
#include "app/win32/settings_dlg.h"
#include "app/win32/skin_dlg.h"
#include "app/win32/surveys_dlg.h"
#include "platform/log.h"
#include "platform/text_utils.h"
#include "platform/user_config.h"
#include "ui/option.h"
#include "ui/win32/image_cache.h"

namespace app {

namespace {

CDlgMain* MainOf(HWND hwnd) { return dynamic_cast<CDlgMain*>(tvui::WindowImplBase::FromHandle(hwnd)); }

struct Popups {
  HWND main = nullptr;  // the window the skin is applied to
  std::unique_ptr<CSetDlg> settings;
  std::unique_ptr<CSkinDlg> chooser;
  std::unique_ptr<CAboutDlg> about;
  std::unique_ptr<CSurveys> prompt;
  SkinSwitcher skins{{
      [this](const std::u16string& image) {
        CDlgMain* window = MainOf(main);
        tvui::Control* background = window ? window->FindControl(u"chwea") : nullptr;
        if (!background) return false;
        background->SetBkImage(image);
        return true;
      },
      [] { return GetUserConfig(u"skin"); },
      [](const std::u16string& value) { SetUserConfig(value, u"skin"); },
  }};
};

Popups& P() {
  static Popups popups;
  return popups;
}

bool IsShown(const tvui::WindowImplBase* w) { return w && w->GetHWND() && IsWindowVisible(w->GetHWND()); }

void HideIfShown(tvui::WindowImplBase* w) {
  if (IsShown(w)) w->ShowWindow(false);
}

tvui::Rect WindowRect(HWND hwnd) {
  RECT rc{};
  GetWindowRect(hwnd, &rc);
  return {rc.left, rc.top, rc.right, rc.bottom};
}

// A control's rectangle in its window's client coordinates (empty when the skin lacks it).
tvui::Rect ControlRect(tvui::WindowImplBase& w, std::u16string_view name) {
  tvui::Control* c = w.FindControl(name);
  if (!c) {
    LogError(u"app: the main window's skin has no control " + std::u16string(name));
    return {};
  }
  const tvui::Rect& r = c->GetPos();
  return {r.left, r.top, r.right, r.bottom};
}

void MoveTo(tvui::WindowImplBase& w, const tvui::Rect& r) { w.MoveWindowTo(r.left, r.top, r.Width(), r.Height()); }

void SetTitleImage(tvui::WindowImplBase& w) {
  if (tvui::Control* title = w.FindControl(u"title")) title->SetBkImage(ActiveTitleImage());
}

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

std::u16string Line(std::u16string_view key, const std::u16string& value) {
  return std::u16string(key) + u"=" + value + u"\n";
}

std::u16string RectText(const tvui::Rect& r) {
  return IntToText(r.left) + u"," + IntToText(r.top) + u"," + IntToText(r.Width()) + u"," + IntToText(r.Height());
}

std::u16string DescribeWindow(std::u16string_view key, tvui::WindowImplBase* w) {
  if (!w || !w->GetHWND()) return Line(key, u"none");
  std::u16string s = Line(key, IsShown(w) ? u"shown" : u"hidden");
  s += Line(std::u16string(key) + u".rect", RectText(WindowRect(w->GetHWND())));
  tvui::Control* title = w->FindControl(u"title");
  s += Line(std::u16string(key) + u".title", title ? title->GetBkImage() : u"");
  return s;
}

// "selected|l,t,r,b|shown" of a control, in client coordinates.
std::u16string DescribeControl(tvui::WindowImplBase& w, std::u16string_view name) {
  tvui::Control* c = w.FindControl(name);
  if (!c) return u"none";
  auto* option = dynamic_cast<tvui::Option*>(c);
  const tvui::Rect& r = c->GetPos();
  return IntToText(option && option->IsSelected() ? 1 : 0) + u"|" + IntToText(r.left) + u"," + IntToText(r.top) +
         u"," + IntToText(r.right) + u"," + IntToText(r.bottom) + u"|" + IntToText(c->IsShown() ? 1 : 0);
}

}  // namespace

void OpenSkinChooser(HWND owner) {
  CDlgMain* main = MainOf(owner);
  if (!main) return;
  Popups& p = P();
  // The click that took the focus away from the chooser closed it; it does not open it again.
  if (p.chooser && !p.chooser->MayReopen(GetTickCount())) return;
  if (!p.chooser) p.chooser = MakePopup<CSkinDlg>(owner, L"CEditDlg", u"the skin chooser", owner);
  if (!p.chooser) return;
  HideAllPopups();
  MoveTo(*p.chooser, PlaceSkinChooser(WindowRect(owner), ControlRect(*main, u"skin"), main->GetScale()));
  p.chooser->ShowWindow(true, true);
}

void OpenSettings(HWND owner) {
  CDlgMain* main = MainOf(owner);
  if (!main) return;
  Popups& p = P();
  if (p.settings && !p.settings->MayReopen(GetTickCount())) return;
  if (!p.settings) p.settings = MakePopup<CSetDlg>(owner, L"CEditDlg", u"the settings window");
  if (!p.settings) return;
  HideIfShown(p.about.get());
  HideIfShown(p.prompt.get());
  MoveTo(*p.settings, PlaceSettings(WindowRect(owner), ControlRect(*main, u"set"), main->GetScale()));
  p.settings->ShowWindow(true, true);
  SetTitleImage(*p.settings);
}

void OpenAbout(HWND owner) {
  CDlgMain* main = MainOf(owner);
  if (!main) return;
  Popups& p = P();
  if (!p.about) p.about = MakePopup<CAboutDlg>(owner, L"CAboutDlg", u"the about window");
  if (!p.about) return;
  if (p.settings) p.settings->Hide();
  MoveTo(*p.about, PlaceAbout(WindowRect(owner), ControlRect(*main, u"set"), main->GetScale()));
  p.about->ShowWindow(true, true);
  SetTitleImage(*p.about);
}

void ShowAutostartPrompt(HWND owner, bool withAutostart) {
  CDlgMain* main = MainOf(owner);
  if (!main) return;
  Popups& p = P();
  if (p.prompt) {
    // Every opening replaces the window; the object's end destroys the old one.
    HideIfShown(p.prompt.get());
    p.prompt.reset();
  }
  p.prompt = MakePopup<CSurveys>(owner, L"CEditDlg", u"the feedback window");
  if (!p.prompt) return;
  int height = p.prompt->LayOut(withAutostart);
  MoveTo(*p.prompt, PlaceFeedback(main->GetAnchor(), main->GetCurrentTop(), height, main->GetScale()));
  p.prompt->ShowWindow(true, true);
  SetTitleImage(*p.prompt);
}

void PlacePopupsAgain(HWND owner) {
  CDlgMain* main = MainOf(owner);
  if (!main) return;
  Popups& p = P();
  const tvui::Rect window = WindowRect(owner);
  if (IsShown(p.chooser.get()))
    MoveTo(*p.chooser, PlaceSkinChooser(window, ControlRect(*main, u"skin"), main->GetScale()));
  if (IsShown(p.settings.get()))
    MoveTo(*p.settings, PlaceSettings(window, ControlRect(*main, u"set"), main->GetScale()));
  if (IsShown(p.about.get())) MoveTo(*p.about, PlaceAbout(window, ControlRect(*main, u"set"), main->GetScale()));
}

void HideDialogs() {
  Popups& p = P();
  if (p.settings) p.settings->Hide();
  HideIfShown(p.about.get());
  HideIfShown(p.prompt.get());
}

void HideSkinChooser() {
  if (P().chooser) P().chooser->Hide();
}

namespace {

// Lets the decoded pictures of skins no longer in use go (each skin's background is a few hundred
// kilobytes per drawn size); the chooser's tiles are small pictures of their own and stay.
void ReleaseOtherSkins() {
  tvui::ImageCache::Instance().Forget([](const std::u16string& path) {
    const int skin = SkinOfPicture(path);
    return skin != 0 && !P().skins.Uses(skin);
  });
}

}  // namespace

void ApplySavedSkin(HWND mainWindow) {
  P().main = mainWindow;
  P().skins.ApplyStored();
  ReleaseOtherSkins();
}

void RestoreSkin(HWND mainWindow) {
  P().main = mainWindow;
  P().skins.Restore();
  ReleaseOtherSkins();
}

void PreviewSkin(HWND mainWindow, int skin) {
  P().main = mainWindow;
  P().skins.Apply(skin);
  ReleaseOtherSkins();
}

void ApplyAndStoreSkin(HWND mainWindow, int skin) {
  P().main = mainWindow;
  P().skins.ApplyAndStore(skin);
  ReleaseOtherSkins();
}

const std::u16string& ActiveTitleImage() { return P().skins.TitleImage(); }
const std::u16string& ActiveWeatherPopupImage() { return P().skins.WeatherPopupImage(); }

void ReleasePopups() {
  ReleaseReminders();
  Popups& p = P();
  p.prompt.reset();
  p.about.reset();
  p.chooser.reset();
  p.settings.reset();
  p.main = nullptr;
}

std::u16string DescribePopups() {
  Popups& p = P();
  std::u16string s;
  s += Line(u"skin.active", IntToText(p.skins.ActiveSkin()));
  CDlgMain* main = MainOf(p.main);
  tvui::Control* background = main ? main->FindControl(u"chwea") : nullptr;
  s += Line(u"skin.background", background ? background->GetBkImage() : u"");
  s += DescribeWindow(u"chooser", p.chooser.get());
  if (p.chooser && p.chooser->GetHWND()) {
    std::u16string fore;
    for (int tile = 1; tile <= kSkinCount; ++tile) {
      tvui::Control* c = p.chooser->FindControl(u"bg" + IntToText(tile));
      fore += (c ? c->GetForeImage() : u"") + u";";
    }
    s += Line(u"chooser.fore", fore);
  }
  s += DescribeWindow(u"settings", p.settings.get());
  if (p.settings && p.settings->GetHWND()) {
    for (const char16_t* name : {u"tip_autostart", u"tip_allowpush", u"tip_joinue", u"tip_clockclick", u"tip_modifytime", u"closex"}) {
      s += Line(std::u16string(u"settings.") + name, DescribeControl(*p.settings, name));
    }
  }
  s += DescribeWindow(u"about", p.about.get());
  if (p.about && p.about->GetHWND()) {
    tvui::Control* ver = p.about->FindControl(u"ver");
    s += Line(u"about.ver", ver ? ver->GetText() : u"");
  }
  s += DescribeWindow(u"prompt", p.prompt.get());
  if (p.prompt && p.prompt->GetHWND()) {
    for (const char16_t* name : {u"laautostart", u"opautostarta", u"opautostartb", u"sendqq", u"ok", u"closex",
                                 u"opshiyonga", u"opshiyongb", u"opshiyongc"}) {
      s += Line(std::u16string(u"prompt.") + name, DescribeControl(*p.prompt, name));
    }
  }
  return s;
}

}  // namespace app
