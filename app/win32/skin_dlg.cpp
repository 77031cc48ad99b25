#include "app/win32/skin_dlg.h"

#include "app/logic/skins.h"
#include "app/win32/state_text.h"
#include "platform/text_utils.h"

void CSkinDlg::Notify(tvui::Notification& msg) {
  const std::u16string name = msg.sender ? msg.sender->GetName() : std::u16string();
  if (msg.type == tvui::NotifyType::kMouseEnter) {
    Apply(model_.MouseEnter(name));
  } else if (msg.type == tvui::NotifyType::kMouseLeave) {
    Apply(model_.MouseLeave(name));
  } else if (msg.type == tvui::NotifyType::kClick) {
    Apply(model_.Click(name));
  }
  WindowImplBase::Notify(msg);
}

void CSkinDlg::OnKeyboardFocusMoved(tvui::Control* control) {
  const int previewing = model_.Previewing();
  if (!control || SkinTileNumber(control->GetName()) == previewing) return;
  if (previewing != 0) Apply(model_.MouseLeave(u"bg" + IntToText(previewing)));
  Apply(model_.MouseEnter(control->GetName()));
}

tvui::Control* CSkinDlg::GetDefaultControl() {
  return model_.Previewing() != 0 ? FindControl(u"bg" + IntToText(model_.Previewing())) : nullptr;
}

void CSkinDlg::Apply(const SkinChooserStep& step) {
  if (step.tile != 0) {
    if (tvui::Control* tile = FindControl(u"bg" + IntToText(step.tile))) tile->SetForeImage(step.foreImage);
  }
  if (step.message != 0) ::PostMessageW(owner_, step.message, step.wParam, 0);
  if (step.hide) {
    Hide();
    ReturnFocusToOwner();
  }
}

std::u16string CSkinDlg::DescribeForTest() const {
  std::u16string s = app::WindowState(u"chooser", this);
  if (!GetHWND()) return s;
  std::u16string fore;
  for (int tile = 1; tile <= kSkinCount; ++tile) {
    tvui::Control* c = FindControl(u"bg" + IntToText(tile));
    fore += (c ? c->GetForeImage() : u"") + u";";
  }
  return s + app::StateLine(u"chooser.fore", fore);
}
