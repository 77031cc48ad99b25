#pragma once
// CSkinDlg: the skin chooser ("skin.xml"), nine tiles "bg1" … "bg9". The pointer on a tile
// previews its skin on the owner (the main window), leaving the tile or the chooser restores the
// stored skin, a click stores the skin and hides the chooser. Escape and turning elsewhere hide
// it, and a preview still showing then ends. By the keyboard the focused tile previews its skin,
// Enter or Space stores it, and Enter with no tile focused takes the previewed one.
#include <string>

#include "app/logic/skin_chooser.h"
#include "app/win32/transient_popup.h"

class CSkinDlg : public TransientPopup {
 public:
  explicit CSkinDlg(HWND owner) : owner_(owner) {}
  const wchar_t* GetWindowClassName() const override { return L"CSkinDlg"; }
  std::u16string GetSkinFolder() override { return u"skin15\\"; }
  std::u16string GetSkinFile() override { return u"skin.xml"; }
  void Notify(tvui::Notification& msg) override;
  void OnKeyboardFocusMoved(tvui::Control* control) override;
  tvui::Control* GetDefaultControl() override;
  // The window's "chooser…" lines of the state text ("chooser=none" without its window).
  std::u16string DescribeForTest() const;

 protected:
  void OnHidden() override { Apply(model_.Hidden()); }

 private:
  void Apply(const SkinChooserStep& step);
  HWND owner_;
  SkinChooserModel model_;
};
