#include "app/logic/settings_switches.h"

#include "platform/text_utils.h"

const StoredSwitch* FindStoredSwitch(std::u16string_view control) {
  for (const StoredSwitch& sw : kStoredSwitches) {
    if (EqualsNoCase(control, sw.control)) return &sw;
  }
  return nullptr;
}

bool IsSwitchOn(std::u16string_view value) { return EqualsNoCase(value, u"true"); }

bool IsSwitchOn(const StoredSwitch& sw, std::u16string_view value) {
  return value.empty() ? sw.onWhenAbsent : IsSwitchOn(value);
}

SwitchClick ClickStoredSwitch(const StoredSwitch& sw, std::u16string_view value) {
  bool off = EqualsNoCase(value, u"false") || (value.empty() && !sw.onWhenAbsent);
  SwitchClick click;
  click.usageEvent = EqualsNoCase(value, u"false") ? sw.eventTurningOn : sw.eventOtherwise;
  if (off) {
    click.store = u"true";
  } else if (IsSwitchOn(sw, value)) {
    click.store = u"false";
  }
  return click;
}

AutostartClick ClickAutostartSwitch(bool registered) {
  return {registered ? kUsageSettingsAutostartOff : kUsageSettingsAutostartOn, !registered};
}
