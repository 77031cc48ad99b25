#pragma once
// The program's own window messages (decimal ids), the main window's timers and the usage-event
// codes of the main window. Posted with wParam and lParam 0 unless noted.
#include <cstdint>

#include "platform/ipc_events.h"

namespace app {

inline constexpr uint32_t UM_SKIN_RESTORE = 2024;
inline constexpr uint32_t UM_SKIN_PREVIEW = 2025;     // wParam = skin 1 … 9
inline constexpr uint32_t UM_SKIN_APPLY = 2026;       // wParam = skin 1 … 9
inline constexpr uint32_t UM_TOGGLE_MAIN = ipc::kClockLeftClickMessage;        // 10025
inline constexpr uint32_t UM_SHOW_TRAY_MENU = ipc::kClockRightClickMessage;  // 10026
inline constexpr uint32_t UM_STATISTICS_DONE = 10027;  // ignored by the main window
inline constexpr uint32_t UM_COMPANION_EXIT = ipc::kRestoreClockMessage;     // 10029
inline constexpr uint32_t UM_SHOW_MAIN = ipc::kActivateMessage;              // 10030
inline constexpr uint32_t UM_CITY_CHANGED = 10032;
inline constexpr uint32_t UM_RETURN_TO_MAIN = 10033;
inline constexpr uint32_t UM_SHOW_ABOUT = 10034;
inline constexpr uint32_t UM_HIDE_DIALOGS = 10035;
inline constexpr uint32_t UM_START_REFRESH = 10036;
inline constexpr uint32_t UM_SET_REFRESH = 10037;
inline constexpr uint32_t UM_USER_DATA_READY = 10038;  // user.dat was locked at start-up and is read now
inline constexpr uint32_t UM_ADD_TRAY_ICON = 10039;    // the main window's start is painted (or not shown)
inline constexpr uint32_t UM_PREPARE_OTHER_HEIGHT = 10040;  // the main window's other month height, drawn unseen
inline constexpr uint32_t UM_CLOCK_SWITCH = 10041;  // "clock_click" changed: take the taskbar clock or give it back
inline constexpr uint32_t UM_REMINDERS_CHANGED = 10042;  // the reminders dialog stored a change
inline constexpr uint32_t UM_TRAY_CALLBACK = 32871;
// UM_WEATHER_UPDATED (10028) belongs to the weather worker (weather/weather_worker.h).

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

// Usage events of the main window and of start-up.
inline constexpr int kUsageToggleShow = 10003;
inline constexpr int kUsageTrayMenu = 10004;
inline constexpr int kUsageYear = 12001;
inline constexpr int kUsageMonth = 12002;
inline constexpr int kUsageHoliday = 12003;
inline constexpr int kUsagePrevious = 12004;
inline constexpr int kUsageNext = 12005;
inline constexpr int kUsageToday = 12006;
inline constexpr int kUsageCityPicker = 12007;
inline constexpr int kUsageRemind = 12008;
inline constexpr int kUsageWeatherEnter = 12009;
inline constexpr int kUsageRefresh = 12010;
inline constexpr int kUsageSkin = 12012;
inline constexpr int kUsageSettings = 12013;
inline constexpr int kUsageHide = 12014;
inline constexpr int kUsageContact = 12015;

}  // namespace app
