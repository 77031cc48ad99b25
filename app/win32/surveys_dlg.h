#pragma once
// CSurveys: the feedback window ("surveys.xml"): three survey questions whose answers are only
// reported as usage events, the offer to turn autostart on (shown or left out), a contact link
// and "ok". Made anew at every opening; "closex", "ok" and Escape only hide it (the focus goes
// back to the calendar window); Enter with no control focused is "ok".
#include <string>

#include "ui/win32/window_impl_base.h"

class CSurveys : public tvui::WindowImplBase {
 public:
  const wchar_t* GetWindowClassName() const override { return L"CSurveys"; }
  std::u16string GetSkinFolder() override { return u"skin15\\"; }
  std::u16string GetSkinFile() override { return u"surveys.xml"; }
  void Notify(tvui::Notification& msg) override;
  // Escape hides it.
  std::optional<LRESULT> OnMessage(const tvui::Message& m) override;
  tvui::Control* GetDefaultControl() override { return FindControl(u"ok"); }

  // Shows or leaves out the autostart question and moves "sendqq" and "ok" to match; returns
  // the window height for it.
  int LayOut(bool withAutostart);
  // The window's "prompt…" lines of the state text ("prompt=none" without its window).
  std::u16string DescribeForTest() const;

 private:
  bool withAutostart_ = false;
};
