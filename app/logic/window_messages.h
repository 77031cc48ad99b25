#pragma once
// The main window's commands, timers and resources. The window messages are platform/message_ids.h's
// one table, the usage-event codes service/usage_codes.h's.
#include <cstdint>

#include "platform/message_ids.h"
#include "service/usage_codes.h"

namespace app {

// The window messages of platform/message_ids.h, reachable as app::UM_... as well.
using ::UM_SKIN_RESTORE;
using ::UM_SKIN_PREVIEW;
using ::UM_SKIN_APPLY;
using ::UM_TOGGLE_MAIN;
using ::UM_SHOW_TRAY_MENU;
using ::UM_STATISTICS_DONE;
using ::UM_COMPANION_EXIT;
using ::UM_SHOW_MAIN;
using ::UM_CITY_CHANGED;
using ::UM_RETURN_TO_MAIN;
using ::UM_SHOW_ABOUT;
using ::UM_HIDE_DIALOGS;
using ::UM_START_REFRESH;
using ::UM_SET_REFRESH;
using ::UM_USER_DATA_READY;
using ::UM_ADD_TRAY_ICON;
using ::UM_PREPARE_OTHER_HEIGHT;
using ::UM_CLOCK_SWITCH;
using ::UM_REMINDERS_CHANGED;
using ::UM_TRAY_CALLBACK;
using ::UM_WEATHER_UPDATED;

// Commands of WM_COMMAND.
inline constexpr uint32_t kCommandQuit = 1101;
inline constexpr uint32_t kCommandDateTime = 1102;
inline constexpr uint32_t kCommandSwallowed = 1103;

// Timers of the main window.
inline constexpr uint32_t kTimerClock = 1000;            // 500 ms
inline constexpr uint32_t kTimerRefreshAnim = 1001;      // 40 ms
inline constexpr uint32_t kTimerWeatherPeriodic = 1002;  // 30 minutes
inline constexpr uint32_t kTimerHover = 1003;            // 200 ms
inline constexpr uint32_t kTimerMidnight = 1004;         // just after the next local midnight
inline constexpr uint32_t kTimerReminder = 1005;         // the next reminder's due moment
inline constexpr uint32_t kTimerTooltipFill = 2000;      // the tooltip's 1 ms fill

// Resources.
inline constexpr int kIconWindow = 107;
inline constexpr int kIconTray = 129;

}  // namespace app
