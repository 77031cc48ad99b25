#pragma once
// CDlgCity: the city picker ("DlgCity.xml"): a province combo, a city combo, a confirm button, a
// button that takes the city of the machine's IP location and a close button. One window for the
// whole run (held by the pop-up host, popup_host.h), shown and hidden; its lists and decisions are CityPickerModel's (app/logic).
#include <string>

#include "app/logic/city_picker.h"
#include "ui/combo.h"
#include "ui/win32/window_impl_base.h"

// The shipped tables "provinces" and "weathercode".
class TableCityDirectory : public CityDirectory {
 public:
  std::vector<std::u16string> Provinces() override;
  std::vector<std::u16string> Cities(std::u16string_view province) override;
  bool IsKnown(std::u16string_view province, std::u16string_view city) override;
};

class CDlgCity : public tvui::WindowImplBase {
 public:
  CDlgCity() : model_(directory_) {}
  const wchar_t* GetWindowClassName() const override { return L"CDlgCity"; }
  std::u16string GetSkinFolder() override { return u"skin15\\"; }
  std::u16string GetSkinFile() override { return u"DlgCity.xml"; }
  void InitWindow() override;
  void Notify(tvui::Notification& msg) override;
  void OnClick(tvui::Notification& msg) override;
  void OnItemSelect(tvui::Notification& msg) override;
  void OnTimer(tvui::Notification& msg) override;
  // Escape: back to the calendar window, nothing chosen. Enter, as in a dialog, confirms from a
  // selector whose list is closed (Space, F4 and Alt+Down open it) and with no control focused.
  tvui::Control* GetDefaultControl() override { return sureButton_; }
  std::optional<LRESULT> OnMessage(const tvui::Message& m) override;

  const CityPickerModel& Model() const { return model_; }
  tvui::Combo* Provinces() const { return provinces_; }
  tvui::Combo* Cities() const { return cities_; }
  // The window's "picker.…" lines of the state text, from its place on.
  std::u16string DescribeForTest() const;

 private:
  // Shows a pair in both combos (empty names: the current city).
  void ShowPair(const CityPair& pair);
  void MirrorCities();
  // The current-position button works only with a known IP location.
  void UpdateLocateButton();
  // Makes the chosen pair current (or not) and leaves the picker.
  void Apply(const CityPair& chosen);
  // Back to the main window without a change.
  void ReturnToMain();

  TableCityDirectory directory_;
  CityPickerModel model_;
  tvui::Combo* provinces_ = nullptr;
  tvui::Combo* cities_ = nullptr;
  tvui::Control* closeButton_ = nullptr;
  tvui::Control* locateButton_ = nullptr;
  tvui::Control* sureButton_ = nullptr;
};
