#pragma once
// Entry points of the windows and services that the calendar window opens, built in their own
// files: the settings, skin chooser, about window and prompt (main_popups.cpp), the autostart
// prompt at start-up (autostart_at_start.cpp), the reminders dialog (reminder_dlg.cpp) and the
// statistics worker (statistics.cpp). The weather pop-up and the city picker: dlg_weather.h,
// dlg_city.h.
#include <windows.h>

#include <string>

#include "app/logic/start_options.h"

struct CalendarDate;

namespace app {

// --- The reminders dialog (reminder_dlg.cpp) ---
// Opens the reminders of a day beside the main window (created on first use, then hidden and
// shown again).
void OpenReminders(HWND owner, const CalendarDate& day);
void HideReminders();
bool IsRemindersShown();
// The dialog's state for the test hook ("remind=none" before it was first opened).
std::u16string DescribeReminders();
// Saves the dialog's picture as a PNG; false when it is not open.
bool SaveRemindersPng(const std::u16string& path);
// Frees the dialog (after its owner, the main window, is gone).
void ReleaseReminders();

void OpenSettings(HWND owner);
void OpenSkinChooser(HWND owner);
void OpenAbout(HWND owner);
// The autostart prompt, with or without its autostart part.
void ShowAutostartPrompt(HWND owner, bool withAutostart);
// At start-up: the installer's prompt or the periodic one when it is due (autostart_at_start.cpp).
void ShowAutostartPromptIfDue(HWND owner, const StartOptions& options);
// How many times this run's start showed the prompt (for the test hook).
int AutostartPromptsShown();
// Hides the settings window, the about window and the autostart prompt.
void HideDialogs();
void HideSkinChooser();
// Hides every pop-up of the main window.
void HideAllPopups();
// The shown settings, skin chooser and about windows placed again beside the main window (after
// a display or work-area change moved it).
void PlacePopupsAgain(HWND owner);

// Skins: the stored one, a preview, its end, a choice.
void ApplySavedSkin(HWND mainWindow);
void RestoreSkin(HWND mainWindow);
void PreviewSkin(HWND mainWindow, int skin);
void ApplyAndStoreSkin(HWND mainWindow, int skin);
// Images of the active skin for the pop-ups: the "title" band of the settings, about, prompt and
// city-picker windows, and the seven-day weather pop-up's "weather" background.
const std::u16string& ActiveTitleImage();
const std::u16string& ActiveWeatherPopupImage();
// Frees the settings, chooser, about and prompt windows (after the main window, their owner, is
// gone); the program's last step before shutdown.
void ReleasePopups();
// The pop-ups' state as "key=value" lines for the test hook.
std::u16string DescribePopups();

// The start's first step (single_instance_win32.cpp): true when this start is the session's one
// instance; false when another runs, which was asked to show itself.
bool TakeSingleInstance();

void StartStatisticsWorker(HWND mainWindow);
// The copy-data exchange with companion programs (companion_exchange_win32.cpp); returns the
// message result.
LRESULT HandleCompanionCopyData(HWND mainWindow, WPARAM wParam, LPARAM lParam);

}  // namespace app
