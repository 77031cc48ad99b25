#pragma once
// The program's end of the inter-process events (platform/ipc_events.h): the user-interface
// thread's message loop (platform/win32/message_loop_waits.h) turns the clock's clicks and a
// second start's request into window messages for the main window, all posted with wParam and
// lParam 0:
//   kClockLeftClickEvent  -> 10025 (toggle the calendar)
//   kClockRightClickEvent -> 10026 (the tray menu)
//   kActivateEvent        -> 10030 (show the calendar)
// The loop sleeps on these events and its messages at once, so a click reaches the window as soon
// as the hook library sets the event, with no thread of its own. Events set several times before
// the loop wakes give one message. While a modal loop of the system runs (a window being dragged,
// a message box) the events wait, set, and are served when the program's loop runs again.
// Everything here is called on the user-interface thread: the thread whose loop serves the events.
#include <windows.h>

// Creates the five listener events in table order (ipc::kListenerEvents) for the logged-on user
// and has this thread's message loop wait on the three above for mainWindow. Called once, after
// the main window exists; true at once while the loop waits already. When an event cannot be
// created, logs "create ipc event error:<code>" and returns false: the events made so far stay
// open (StopIpcListener closes them) and the loop waits on none.
bool StartIpcListener(HWND mainWindow);

// Ends the loop's waits on the events, sets kUnhookEvent and closes the events. Closes only what
// exists; safe twice and without StartIpcListener.
void StopIpcListener();

// The second start's side: when a window of class "TavrinoMain" exists, sets kActivateEvent and
// returns true (the caller exits). False when no instance runs.
bool SignalRunningInstance();
