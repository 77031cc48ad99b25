#pragma once
// The settings window's switches: autostart (the Run entry), "allow_push", "join_ue" and
// "clock_click" (stored preferences in "userconfig"). Portable rules; the window reads and writes
// through them.
#include <optional>
#include <string>
#include <string_view>

#include "service/usage_codes.h"


// One stored switch: its option in "set.xml", its "userconfig" key, the usage events of a click
// that turns it on (the value read "false") or anything else, and whether it is on while nothing
// is stored.
struct StoredSwitch {
  std::u16string_view control;
  std::u16string_view key;
  int eventTurningOn;
  int eventOtherwise;
  bool onWhenAbsent = false;
};
// "点击任务栏时钟打开日历": a click on the taskbar clock opens the calendar (on the hook library's
// road and on the tray buttons' alike); off, the clock is the system's again.
inline constexpr StoredSwitch kClockClickSwitch{u"tip_clockclick", u"clock_click", 14007, 14008, true};
inline constexpr StoredSwitch kStoredSwitches[] = {
    {u"tip_allowpush", u"allow_push", 14003, 14004},
    {u"tip_joinue", u"join_ue", 14005, 14006},
    kClockClickSwitch,
};
// The switch of an option name (any letter case); nullptr for other names.
const StoredSwitch* FindStoredSwitch(std::u16string_view control);

// A stored switch shows selected when its value is "true" in any letter case.
bool IsSwitchOn(std::u16string_view value);
// The same for a given switch: one that is on while absent is on for an empty value too.
bool IsSwitchOn(const StoredSwitch& sw, std::u16string_view value);

// A click on a stored switch whose value reads `value`: the usage event, and the value to store.
// "false" turns it on, "true" turns it off (any letter case), empty counts as the switch's
// absent state; a foreign value ("yes") stores nothing, so it is never overwritten by a guess.
struct SwitchClick {
  int usageEvent = 0;
  std::optional<std::u16string> store;
  friend bool operator==(const SwitchClick&, const SwitchClick&) = default;
};
SwitchClick ClickStoredSwitch(const StoredSwitch& sw, std::u16string_view value);

// A click on the autostart switch: the usage event and the state to write.
struct AutostartClick {
  int usageEvent = 0;
  bool turnOn = false;
};
AutostartClick ClickAutostartSwitch(bool registered);
