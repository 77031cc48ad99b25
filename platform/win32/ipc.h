#pragma once
// The program's end of the inter-process events (platform/ipc_events.h): the listener thread turns
// the clock's clicks and a second start's request into window messages for the main window, all
// posted with wParam and lParam 0:
//   kClockLeftClickEvent  -> 10025 (toggle the calendar)
//   kClockRightClickEvent -> 10026 (the tray menu)
//   kActivateEvent        -> 10030 (show the calendar)
// The listener waits on these events and its stop signal at once, so a click reaches the window
// as soon as the hook library sets the event. Events set several times before the listener
// wakes give one message. Everything here runs on the UI thread except the listener itself.
#include <windows.h>

// Creates the five listener events in table order (ipc::kListenerEvents) for the logged-on user
// and starts the listener for mainWindow. Called once, after the main window exists. When an
// event cannot be created, logs "create ipc event error:<code>" and returns false: the events
// made so far stay open (StopIpcListener closes them) and no listener runs.
bool StartIpcListener(HWND mainWindow);

// Stops the listener (waits up to 1000 ms for it), sets kUnhookEvent and closes the events.
// Closes only what exists; safe without StartIpcListener.
void StopIpcListener();

// The second start's side: when a window of class "TavrinoMain" exists, sets kActivateEvent and
// returns true (the caller exits). False when no instance runs.
bool SignalRunningInstance();
