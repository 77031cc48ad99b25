#include "app/win32/about_dlg.h"

#include "app/win32/contact_opener.h"
#include "app/win32/state_text.h"
#include "platform/file_utils.h"
#include "platform/program_dir.h"
#include "platform/text_utils.h"
#include "service/usage_recorder.h"

namespace {


}  // namespace

void CAboutDlg::Notify(tvui::Notification& msg) {
  const std::u16string name = msg.sender ? msg.sender->GetName() : std::u16string();
  if (msg.type == tvui::NotifyType::kWindowInit) {
    // The version resource of the program's own file: the number the build gave every binary.
    if (tvui::Control* ver = FindControl(u"ver")) ver->SetText(FileVersionText(ExecutablePath()));
  } else if (msg.type == tvui::NotifyType::kClick) {
    if (EqualsNoCase(name, u"closex")) {
      RecordUsageEvent(kUsageAboutClose, u"0");
      ShowWindow(false);
    } else if (EqualsNoCase(name, u"url")) {
      RecordUsageEvent(kUsageAboutWebSite, u"0");
      app::OpenWebSite();
    } else if (EqualsNoCase(name, u"sendqq")) {
      RecordUsageEvent(kUsageAboutContact, u"0");
      app::OpenContactLink();
    }
  }
  WindowImplBase::Notify(msg);
}

std::optional<LRESULT> CAboutDlg::OnMessage(const tvui::Message& m) {
  if (!IsDialogKey(m, VK_ESCAPE)) return WindowImplBase::OnMessage(m);
  ShowWindow(false);
  ReturnFocusToOwner();
  return 1;
}

std::u16string CAboutDlg::DescribeForTest() const {
  std::u16string s = app::WindowState(u"about", this);
  if (!GetHWND()) return s;
  return s + app::StateLine(u"about.ver", app::ControlText(*this, u"ver"));
}
