#pragma once
// A thread's message loop that also serves waitable handles: the loop sleeps in one
// MsgWaitForMultipleObjectsEx on its messages and on every handle added here, and when a handle is
// signalled it runs that handle's callback on the loop's own thread. No thread of its own waits on
// anything, so what a signal is for (a message to a window, mostly) happens where it belongs.
//
// The waits belong to the thread that adds them, and only that thread's loop serves them; the
// program adds them on the user-interface thread only. The system's own modal loops (a window
// being moved or sized, a message box, a menu's tracking) dispatch messages but do not serve the
// waits: an auto-reset event stays set meanwhile and its callback runs as soon as this loop runs
// again. A pass over the waits (in the order they were added) waits on each handle once with a
// zero time-out, so a handle set over and over cannot keep another one from being served; taking
// a signalled auto-reset event resets it, so an event set several times before the loop wakes
// runs its callback once.
#include <windows.h>

#include <functional>

// Serves handle from this thread's loop: signalled() runs on this thread each time the loop finds
// the handle signalled. For an object that stays signalled (a manual-reset event, a process) the
// callback must reset it or remove the wait, or it runs on every pass. The handle stays open until
// RemoveLoopWait; adding a handle again replaces its callback. False, logged, for a null handle or
// callback, and when the thread serves the most one wait can take (MAXIMUM_WAIT_OBJECTS - 1).
bool AddLoopWait(HANDLE handle, std::function<void()> signalled);

// Stops serving handle; a handle not added is left alone. A callback may add or remove waits,
// its own included: one removed during a pass is not served again in that pass.
void RemoveLoopWait(HANDLE handle);

// Runs this thread's message loop until WM_QUIT and returns its code: dispatches every message
// (TranslateMessage, DispatchMessageW) and serves the waits, sleeping when there is nothing to do.
int RunMessageLoop();

// One pass without blocking: runs the callback of each signalled handle and dispatches every
// queued message. With waitMs, when none of that was ready, then waits up to waitMs for a message
// or a signalled handle and serves what came. False when WM_QUIT was taken, which is posted again
// for the outer loop.
bool PumpMessagesAndWaits(DWORD waitMs = 0);
