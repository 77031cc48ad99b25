#pragma once
// CToolTipDlg: the small pop-up with one day's details, shown while the pointer rests on a day
// of the month grid. It knows nothing of the calendar: it shows the cell's data string.
#include <string>

#include "ui/win32/window_impl_base.h"

class CToolTipDlg : public tvui::WindowImplBase {
 public:
  const wchar_t* GetWindowClassName() const override { return L"CToolTipDlg"; }
  std::u16string GetSkinFolder() override { return u"skin15\\"; }
  std::u16string GetSkinFile() override { return u"tooltip.xml"; }
  LRESULT ResponseDefaultKeyEvent(WPARAM) override { return 0; }
  LRESULT OnShowWindow(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  void OnTimer(tvui::Notification& msg) override;

  // The cell's data string; a new text while the pop-up is up is shown at once.
  void SetData(std::u16string data);
  const std::u16string& GetData() const { return data_; }
  // Fills the five labels from the data string now.
  void Fill();

 private:
  std::u16string data_;
};
