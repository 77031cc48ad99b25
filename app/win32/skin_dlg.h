#pragma once
// CSkinDlg: the skin chooser ("skin.xml"), nine tiles "bg1" … "bg9". The pointer on a tile
// previews its skin on the owner (the main window), leaving the tile or the chooser restores the
// stored skin, a click stores the skin and hides the chooser. Escape and losing the focus hide it.
#include <string>

#include "app/logic/skin_chooser.h"
#include "ui/win32/window_impl_base.h"

class CSkinDlg : public tvui::WindowImplBase {
 public:
  explicit CSkinDlg(HWND owner) : owner_(owner) {}
  const wchar_t* GetWindowClassName() const override { return L"CSkinDlg"; }
  std::u16string GetSkinFolder() override { return u"skin15\\"; }
  std::u16string GetSkinFile() override { return u"skin.xml"; }
  void Notify(tvui::Notification& msg) override;
  LRESULT OnKillFocus(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT ResponseDefaultKeyEvent(WPARAM key) override;

  // Hides the chooser; a preview still showing ends. After losing the focus, the "skin" click
  // that took it away does not open the chooser again.
  void Hide(bool lostFocus = false);
  bool MayReopen(uint32_t tick) const { return reopen_.MayOpen(tick); }
  int Previewing() const { return model_.Previewing(); }

 private:
  void Apply(const SkinChooserStep& step);
  HWND owner_;
  SkinChooserModel model_;
  PopupReopenGuard reopen_;
};
