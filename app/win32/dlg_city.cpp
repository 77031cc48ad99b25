#include "app/win32/dlg_city.h"

#include "app/logic/window_messages.h"
#include "app/win32/entry_points.h"
#include "app/win32/main_window_handle.h"
#include "app/win32/state_text.h"
#include "platform/log.h"
#include "platform/text_utils.h"
#include "service/usage_recorder.h"
#include "platform/user_config.h"
#include "ui/attribute_values.h"
#include "weather/city_codes.h"
#include "weather/city_switch.h"
#include "weather/current_city.h"
#include "weather/weather_worker.h"

namespace {

constexpr UINT kTimerLocateCheck = 2000;

void Record(int code) { RecordUsageEvent(code, u"0"); }

CityPair CurrentPair() {
  CurrentCity c = GetCurrentCity();
  return {c.province, c.city};
}

void PostToMain(UINT message) {
  if (HWND main = app::MainWindowHandle()) ::PostMessageW(main, message, 0, 0);
}

void Fill(tvui::Combo* combo, const std::vector<std::u16string>& entries, int index) {
  if (!combo) return;
  combo->RemoveAll();
  for (const std::u16string& entry : entries) {
    if (tvui::ListLabelElement* item = combo->AddItem(entry)) item->SetToolTip(entry);
  }
  combo->SelectItem(index, false);  // silent: the picker's own choice
}

}  // namespace

std::vector<std::u16string> TableCityDirectory::Provinces() { return ListProvinces(); }

std::vector<std::u16string> TableCityDirectory::Cities(std::u16string_view province) {
  return ListCities(province);
}

bool TableCityDirectory::IsKnown(std::u16string_view province, std::u16string_view city) {
  return !LookupCityCode(province, city).empty();
}

void CDlgCity::InitWindow() {
  provinces_ = FindControlAs<tvui::Combo>(u"CmbProvinces");
  cities_ = FindControlAs<tvui::Combo>(u"CmbCity");
  closeButton_ = FindControl(u"closebtn");
  locateButton_ = FindControl(u"currentposbtn");
  sureButton_ = FindControl(u"BtnSure");
  const std::pair<const char16_t*, const void*> required[] = {{u"CmbProvinces", provinces_},
                                                              {u"CmbCity", cities_},
                                                              {u"closebtn", closeButton_},
                                                              {u"currentposbtn", locateButton_},
                                                              {u"BtnSure", sureButton_}};
  for (const auto& [control, found] : required) {
    if (!found) LogError(std::u16string(u"city picker: the skin has no control ") + control);
  }
  ShowPair({});
}

void CDlgCity::Notify(tvui::Notification& msg) {
  const std::u16string& name = msg.sender ? msg.sender->GetName() : std::u16string();
  if (msg.type == tvui::NotifyType::kWindowInit) {
    if (tvui::Control* add = FindControl(u"addcity")) {
      std::u16string setting = GetUserConfig(u"ADD_CITY");
      if (setting == u"true") add->SetVisible(true);
      else if (setting == u"false") add->SetVisible(false);
    }
  } else if (msg.type == tvui::NotifyType::kItemClick) {
    if (tvui::EqualsNoCase(name, u"CmbProvinces")) Record(kUsageProvinceClick);
    else if (tvui::EqualsNoCase(name, u"CmbCity")) Record(kUsageCityClick);
  }
  WindowImplBase::Notify(msg);
}

void CDlgCity::OnItemSelect(tvui::Notification& msg) {
  const std::u16string& name = msg.sender ? msg.sender->GetName() : std::u16string();
  int index = static_cast<int>(msg.wParam);
  if (tvui::EqualsNoCase(name, u"CmbProvinces")) {
    model_.ChooseProvince(index, CurrentPair());
    MirrorCities();
  } else if (tvui::EqualsNoCase(name, u"CmbCity")) {
    model_.ChooseCity(index);
  }
}

void CDlgCity::OnClick(tvui::Notification& msg) {
  const std::u16string& name = msg.sender ? msg.sender->GetName() : std::u16string();
  if (tvui::EqualsNoCase(name, u"closebtn")) {
    Record(kUsageCityClose);
    ReturnToMain();
  } else if (tvui::EqualsNoCase(name, u"BtnSure")) {
    Record(kUsageCitySure);
    CityPair chosen = model_.Selected();
    AddToMyCities(chosen.province, chosen.city);
    Apply(chosen);
  } else if (tvui::EqualsNoCase(name, u"currentposbtn")) {
    Record(kUsageCityLocate);
    IpLocation here = GetIpLocation();  // one copy: both names of the same answer
    if (!CanUseIpLocation(here.province, here.city)) {
      LogError(u"city picker: the network location is not known yet; nothing is chosen");
      return;
    }
    CityPair pair{here.province, here.city};
    ShowPair(pair);
    AddToMyCities(pair.province, pair.city);
    Apply(pair);
  }
}

void CDlgCity::Apply(const CityPair& chosen) {
  CityPair current = CurrentPair();
  bool known = chosen == current || directory_.IsKnown(chosen.province, chosen.city);
  switch (DecideCityChoice(chosen, current, known)) {
    case CityChoiceOutcome::kReturn:
      PostToMain(app::UM_RETURN_TO_MAIN);
      break;
    case CityChoiceOutcome::kUnknownReturn:
      LogError(u"city picker: " + chosen.province + u" " + chosen.city +
               u" has no weather code; the city stays " + current.province + u" " + current.city);
      PostToMain(app::UM_RETURN_TO_MAIN);
      break;
    case CityChoiceOutcome::kSwitch:
      SwitchCity(chosen.city, chosen.province);
      PostToMain(app::UM_CITY_CHANGED);
      break;
  }
  ShowWindow(false);
}

void CDlgCity::ReturnToMain() {
  PostToMain(app::UM_RETURN_TO_MAIN);
  ShowWindow(false);
}

void CDlgCity::ShowPair(const CityPair& pair) {
  if (model_.ShowPair(pair, CurrentPair())) {
    Fill(provinces_, model_.Provinces(), model_.ProvinceIndex());
  }
  MirrorCities();
}

void CDlgCity::MirrorCities() { Fill(cities_, model_.Cities(), model_.CityIndex()); }

void CDlgCity::OnTimer(tvui::Notification& msg) {
  if (msg.wParam != kTimerLocateCheck) return;
  KillTimer(kTimerLocateCheck);
  UpdateLocateButton();
}

void CDlgCity::UpdateLocateButton() {
  IpLocation here = GetIpLocation();
  if (locateButton_) locateButton_->SetEnabled(CanUseIpLocation(here.province, here.city));
}

std::optional<LRESULT> CDlgCity::OnMessage(const tvui::Message& m) {
  if (IsDialogKey(m, VK_RETURN)) {
    // Enter on a list takes the choice ("sure"), when it can be taken.
    const tvui::Control* focus = GetKeyboardFocus();
    if (focus && (focus == provinces_ || focus == cities_) && sureButton_ && sureButton_->IsEnabled()) {
      sureButton_->Activate();
      return 1;
    }
  } else if (IsDialogKey(m, VK_ESCAPE)) {
    ReturnToMain();
    return 1;
  } else if (m.message == WM_SHOWWINDOW) {
    // Set before the first paint (no enabled flash), and again once the window is up.
    if (m.wParam) UpdateLocateButton();
    SetTimer(kTimerLocateCheck, 1);
    if (!m.wParam) {
      // Whatever was chosen or browsed, the next opening starts from the current city.
      ShowPair({});
      if (GetHWND()) ::InvalidateRect(GetHWND(), nullptr, FALSE);
    }
  } else if (m.message == WM_CLOSE) {
    // The picker is kept for the whole run: closing it from the system menu or with Alt+F4 is the
    // close button.
    ReturnToMain();
    return 0;
  }
  return WindowImplBase::OnMessage(m);
}

std::u16string CDlgCity::DescribeForTest() const {
  using app::StateLine;
  std::u16string s = StateLine(u"picker.rect", app::StateRect(GetHWND()));
  if (tvui::Control* title = FindControl(u"title")) s += StateLine(u"picker.title", title->GetBkImage());
  // index/count|selected text|every item's text, separated by ";"
  auto combo = [](tvui::Combo* c) {
    if (!c) return std::u16string();
    std::u16string s = IntToText(c->GetCurSel()) + u"/" + IntToText(c->GetCount()) + u"|" + c->GetSelectedText() + u"|";
    for (int i = 0; i < c->GetCount(); ++i) s += c->GetItemAt(i)->GetText() + u";";
    return s;
  };
  s += StateLine(u"picker.provinces", combo(provinces_));
  s += StateLine(u"picker.cities", combo(cities_));
  for (const char16_t* name : {u"BtnSure", u"currentposbtn", u"closebtn", u"addcity"}) {
    tvui::Control* c = FindControl(name);
    if (!c) continue;
    s += StateLine(u"picker." + std::u16string(name), app::StateRect(c->GetPos()) + u"|" +
                                                         IntToText(c->IsEnabled() ? 1 : 0) + u"|" +
                                                         IntToText(c->IsVisible() ? 1 : 0));
  }
  return s;
}
