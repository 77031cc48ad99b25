#pragma once
// The program's own window messages: one table of ids (decimal), one name each, for every layer
// that posts or answers them. Posted with wParam and lParam 0 unless noted. The ids that cross
// into the shell or the companion are taken from platform/ipc_events.h, which the hook library
// shares.
#include <cstdint>

#include "platform/ipc_events.h"

// The skin chooser to the main window.
inline constexpr uint32_t UM_SKIN_RESTORE = 2024;
inline constexpr uint32_t UM_SKIN_PREVIEW = 2025;  // wParam = skin 1 … 9
inline constexpr uint32_t UM_SKIN_APPLY = 2026;    // wParam = skin 1 … 9
// The inter-process listener and the pointer hook to the main window.
inline constexpr uint32_t UM_TOGGLE_MAIN = ipc::kClockLeftClickMessage;      // 10025
inline constexpr uint32_t UM_SHOW_TRAY_MENU = ipc::kClockRightClickMessage;  // 10026
// The statistics worker after each report exchange; the main window ignores it.
inline constexpr uint32_t UM_STATISTICS_DONE = 10027;
// The weather worker after every run, success or not.
inline constexpr uint32_t UM_WEATHER_UPDATED = 10028;
inline constexpr uint32_t UM_COMPANION_EXIT = ipc::kRestoreClockMessage;  // 10029, to the companion's window
inline constexpr uint32_t UM_SHOW_MAIN = ipc::kActivateMessage;           // 10030
// The program's own windows and start-up to the main window.
inline constexpr uint32_t UM_CITY_CHANGED = 10032;
inline constexpr uint32_t UM_RETURN_TO_MAIN = 10033;
inline constexpr uint32_t UM_SHOW_ABOUT = 10034;
inline constexpr uint32_t UM_HIDE_DIALOGS = 10035;
inline constexpr uint32_t UM_START_REFRESH = 10036;
inline constexpr uint32_t UM_SET_REFRESH = 10037;
inline constexpr uint32_t UM_USER_DATA_READY = 10038;       // user.dat was locked at start-up and is read now
inline constexpr uint32_t UM_ADD_TRAY_ICON = 10039;         // the main window's start is painted (or not shown)
inline constexpr uint32_t UM_PREPARE_OTHER_HEIGHT = 10040;  // the main window's other month height, drawn unseen
inline constexpr uint32_t UM_CLOCK_SWITCH = 10041;  // "clock_click" changed: take the taskbar clock or give it back
inline constexpr uint32_t UM_REMINDERS_CHANGED = 10042;  // the reminders dialog stored a change
// The tray icon's callback.
inline constexpr uint32_t UM_TRAY_CALLBACK = 32871;
