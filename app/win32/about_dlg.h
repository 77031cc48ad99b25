#pragma once
// CAboutDlg: the about window ("about.xml"): the program's name and file version ("ver") and the
// two contact links ("url", "sendqq"). Created once, then hidden and shown.
#include <string>

#include "ui/win32/window_impl_base.h"

class CAboutDlg : public tvui::WindowImplBase {
 public:
  const wchar_t* GetWindowClassName() const override { return L"CAboutDlg"; }
  std::u16string GetSkinFolder() override { return u"skin15\\"; }
  std::u16string GetSkinFile() override { return u"about.xml"; }
  void Notify(tvui::Notification& msg) override;
  // Escape hides it.
  std::optional<LRESULT> OnMessage(const tvui::Message& m) override;
  // The window's "about…" lines of the state text ("about=none" without its window).
  std::u16string DescribeForTest() const;
};
