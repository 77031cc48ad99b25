#include "app/win32/surveys_dlg.h"

#include "app/logic/feedback_window.h"
#include "app/win32/contact_opener.h"
#include "app/win32/state_text.h"
#include "platform/launch.h"
#include "platform/text_utils.h"
#include "service/usage_recorder.h"
#include "ui/option.h"

void CSurveys::Notify(tvui::Notification& msg) {
  if (msg.type == tvui::NotifyType::kClick && msg.sender) {
    FeedbackClick click = ClickFeedbackControl(msg.sender->GetName());
    if (click.usageEvent != 0) RecordUsageEvent(click.usageEvent, u"0");
    for (std::u16string_view mate : click.clears) {
      if (auto* option = FindControlAs<tvui::Option>(mate)) option->Selected(false, false);
    }
    switch (click.action) {
      case FeedbackAction::kHide:
        ShowWindow(false);
        ReturnFocusToOwner();
        break;
      case FeedbackAction::kConfirm: {
        // Only an answer the user could see counts: the question is left out when autostart is on.
        auto* yes = FindControlAs<tvui::Option>(kAutostartYes);
        if (withAutostart_ && yes && yes->IsSelected()) SetAutostart(true);  // a failure is logged there
        ShowWindow(false);
        ReturnFocusToOwner();
        break;
      }
      case FeedbackAction::kOpenContact:
        app::OpenContactLink();
        break;
      case FeedbackAction::kNone:
        break;
    }
  }
  WindowImplBase::Notify(msg);
}

int CSurveys::LayOut(bool withAutostart) {
  withAutostart_ = withAutostart;
  FeedbackLayout layout = FeedbackLayoutFor(withAutostart);
  for (std::u16string_view name : {kAutostartLabel, kAutostartYes, kAutostartNo}) {
    if (tvui::Control* c = FindControl(name)) c->SetVisible(layout.autostartQuestion);
  }
  const std::pair<std::u16string_view, tvui::Rect> moves[] = {{u"sendqq", layout.sendqq}, {u"ok", layout.ok}};
  for (const auto& [name, r] : moves) {
    if (tvui::Control* c = FindControl(name)) c->SetPos({r.left, r.top, r.right, r.bottom});
  }
  return layout.height;
}

std::optional<LRESULT> CSurveys::OnMessage(const tvui::Message& m) {
  if (!IsDialogKey(m, VK_ESCAPE)) return WindowImplBase::OnMessage(m);
  ShowWindow(false);
  ReturnFocusToOwner();
  return 1;
}

std::u16string CSurveys::DescribeForTest() const {
  std::u16string s = app::WindowState(u"prompt", this);
  if (!GetHWND()) return s;
  for (const char16_t* name : {u"laautostart", u"opautostarta", u"opautostartb", u"sendqq", u"ok", u"closex",
                               u"opshiyonga", u"opshiyongb", u"opshiyongc"}) {
    s += app::StateLine(std::u16string(u"prompt.") + name, app::ControlState(*this, name));
  }
  return s;
}
