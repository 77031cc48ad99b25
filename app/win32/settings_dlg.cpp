#include "app/win32/settings_dlg.h"

#include "app/logic/settings_switches.h"
#include "app/logic/window_messages.h"
#include "app/win32/main_window_handle.h"
#include "app/win32/state_text.h"
#include "platform/launch.h"
#include "platform/text_utils.h"
#include "service/usage_recorder.h"
#include "platform/user_config.h"
#include "ui/option.h"

namespace {

void Select(tvui::WindowImplBase& w, std::u16string_view name, bool selected) {
  if (auto* option = w.FindControlAs<tvui::Option>(name)) option->Selected(selected, false);
}

}  // namespace

void CSetDlg::ShowAutostartState() { Select(*this, u"tip_autostart", IsAutostartRegistered()); }

void CSetDlg::ShowStoredSwitches() {
  for (const StoredSwitch& sw : kStoredSwitches) Select(*this, sw.control, IsSwitchOn(sw, GetUserConfig(sw.key)));
}

void CSetDlg::Notify(tvui::Notification& msg) {
  const std::u16string name = msg.sender ? msg.sender->GetName() : std::u16string();
  if (msg.type == tvui::NotifyType::kWindowInit) {
    ShowAutostartState();
    ShowStoredSwitches();
  } else if (msg.type == tvui::NotifyType::kClick) {
    if (EqualsNoCase(name, u"closex")) {
      Hide();
      ReturnFocusToOwner();
    } else if (EqualsNoCase(name, u"tip_autostart")) {
      AutostartClick click = ClickAutostartSwitch(IsAutostartRegistered());
      RecordUsageEvent(click.usageEvent, u"0");
      SetAutostart(click.turnOn);  // a failure is logged where it happens
      ShowAutostartState();        // the option shows what the registry holds, not the wish
    } else if (const StoredSwitch* sw = FindStoredSwitch(name)) {
      SwitchClick click = ClickStoredSwitch(*sw, GetUserConfig(sw->key));
      RecordUsageEvent(click.usageEvent, u"0");
      if (click.store) SetUserConfig(*click.store, sw->key);
      ShowStoredSwitches();
      // The clock is taken or given back at once, without a restart.
      if (sw->key == kClockClickSwitch.key) ::PostMessageW(app::MainWindowHandle(), app::UM_CLOCK_SWITCH, 0, 0);
    } else if (EqualsNoCase(name, u"tip_modifytime")) {
      RecordUsageEvent(kUsageDateTime, u"0");
      OpenDateTimeSettings();
    }
  }
  WindowImplBase::Notify(msg);
}

std::optional<LRESULT> CSetDlg::OnMessage(const tvui::Message& m) {
  // The tray menu may have changed autostart while the window was hidden.
  if (m.message == WM_SHOWWINDOW && m.wParam) PostMessageW(app::UM_SET_REFRESH);
  if (m.message == app::UM_SET_REFRESH) {
    ShowAutostartState();
    return 0;
  }
  return TransientPopup::OnMessage(m);
}

std::u16string CSetDlg::DescribeForTest() const {
  std::u16string s = app::WindowState(u"settings", this);
  if (!GetHWND()) return s;
  for (const char16_t* name : {u"tip_autostart", u"tip_allowpush", u"tip_joinue", u"tip_clockclick", u"tip_modifytime", u"closex"}) {
    s += app::StateLine(std::u16string(u"settings.") + name, app::ControlState(*this, name));
  }
  return s;
}
