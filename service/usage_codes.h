#pragma once
// Every usage-event code the program records (service/usage_recorder.h writes them to "ubd.dat"
// and the statistics report carries them): one table, one name each. The numbers are the report's
// wire format: never reuse or renumber one.

// The notification-area icon and the taskbar clock.
inline constexpr int kUsageTrayLeftClick = 10001;
inline constexpr int kUsageTrayRightClick = 10002;
inline constexpr int kUsageToggleShow = 10003;  // the taskbar clock's click
inline constexpr int kUsageTrayMenu = 10004;    // the taskbar clock's right click

// The tray menu.
inline constexpr int kUsageMenuAutostartOn = 11001;
inline constexpr int kUsageMenuAutostartOff = 11002;
inline constexpr int kUsageDateTime = 11003;  // the system's date and time settings (menu or settings)
inline constexpr int kUsageQuit = 11004;
inline constexpr int kUsageAbout = 11005;

// The calendar window.
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
inline constexpr int kUsageMoreWeather = 12011;  // the weather pop-up's seven days
inline constexpr int kUsageSkin = 12012;
inline constexpr int kUsageSettings = 12013;
inline constexpr int kUsageHide = 12014;
inline constexpr int kUsageContact = 12015;

// The city picker.
inline constexpr int kUsageProvinceClick = 13001;
inline constexpr int kUsageCityClick = 13002;
inline constexpr int kUsageCitySure = 13003;
inline constexpr int kUsageCityLocate = 13004;
inline constexpr int kUsageCityClose = 13005;

// The settings window's autostart switch.
inline constexpr int kUsageSettingsAutostartOn = 14001;   // clicked while the entry is absent
inline constexpr int kUsageSettingsAutostartOff = 14002;  // clicked while the entry exists

// The about window.
inline constexpr int kUsageAboutClose = 16001;
inline constexpr int kUsageAboutWebSite = 16002;
inline constexpr int kUsageAboutContact = 16003;

// Start-up and exit.
inline constexpr int kUsageProgramStart = 90001;
inline constexpr int kUsageProgramExit = 90002;
inline constexpr int kUsageSetAutostart = 90006;
inline constexpr int kUsageRemoveAutostart = 90007;
