#pragma once
// Entry points of the services that the program's start and the calendar window use, built in
// their own files: the autostart prompt at start-up (autostart_at_start.cpp), the single-instance
// claim, the statistics worker (statistics.cpp) and the companion exchange. The pop-ups are the
// pop-up host's (popup_host.h).
#include <windows.h>

#include <string>

#include "app/logic/start_options.h"

namespace app {

class PopupHost;

// At start-up: the installer's prompt or the periodic one when it is due (autostart_at_start.cpp).
void ShowAutostartPromptIfDue(PopupHost& popups, const StartOptions& options);
// How many times this run's start showed the prompt (for the test hook).
int AutostartPromptsShown();
// The start's first step (single_instance_win32.cpp): true when this start is the session's one
// instance; false when another runs, which was asked to show itself.
bool TakeSingleInstance();

void StartStatisticsWorker(HWND mainWindow);
// The copy-data exchange with companion programs (companion_exchange_win32.cpp); returns the
// message result.
LRESULT HandleCompanionCopyData(HWND mainWindow, WPARAM wParam, LPARAM lParam);

}  // namespace app
