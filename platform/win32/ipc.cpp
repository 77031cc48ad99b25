#include "platform/win32/ipc.h"

#include "platform/ipc_events.h"
#include "platform/log.h"
#include "platform/text_utils.h"
#include "platform/win32/message_loop_waits.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/user_event.h"

namespace {

const wchar_t* W(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

constexpr size_t kEventCount = sizeof(ipc::kListenerEvents) / sizeof(ipc::kListenerEvents[0]);
// Indexes into ipc::kListenerEvents.
constexpr size_t kHit = 0, kLeft = 1, kRight = 2, kUnhook = 3, kActivate = 4;

// The events that mean something to the main window, and the message each one becomes.
struct Watched {
  size_t event;
  UINT message;
};
constexpr Watched kWatched[] = {{kLeft, ipc::kClockLeftClickMessage},
                                {kRight, ipc::kClockRightClickMessage},
                                {kActivate, ipc::kActivateMessage}};

ScopedHandle g_events[kEventCount];  // UI thread only, as is everything here
bool g_watching = false;

void Unwatch() {
  for (const Watched& watched : kWatched) {
    if (g_events[watched.event]) RemoveLoopWait(g_events[watched.event].get());
  }
  g_watching = false;
}

}  // namespace

bool StartIpcListener(HWND mainWindow) {
  if (g_watching) return true;
  for (size_t i = 0; i < kEventCount; ++i) {
    ScopedHandle& event = g_events[i];
    if (event) continue;
    event.reset(CreateUserEvent(ipc::kListenerEvents[i]));
    if (!event) {
      LogError(u"create ipc event error:" + IntToText(GetLastError()));
      return false;
    }
  }
  // The events are auto-reset: the loop's wait takes the signal, so clicks that come faster than
  // the loop wakes give one message.
  for (const Watched& watched : kWatched) {
    const UINT message = watched.message;
    const bool added = AddLoopWait(g_events[watched.event].get(), [mainWindow, message] {
      if (!PostMessageW(mainWindow, message, 0, 0)) {
        LogError(u"ipc: message " + IntToText(message) + u" cannot be posted to the main window (error " +
                 IntToText(GetLastError()) + u")");
      }
    });
    if (!added) {
      LogError(u"ipc: the message loop cannot wait on the events; clicks on the clock go unheard");
      Unwatch();
      return false;
    }
  }
  g_watching = true;
  return true;
}

void StopIpcListener() {
  Unwatch();
  if (const ScopedHandle& unhook = g_events[kUnhook]) SetEvent(unhook.get());
  // The hook library keeps its own handles, so its events outlive ours: no pause is needed
  // before closing them.
  for (ScopedHandle& event : g_events) event.reset();
}

bool SignalRunningInstance() {
  if (!FindWindowW(W(ipc::kMainWindowClass), nullptr)) return false;
  if (const ScopedHandle activate{OpenEventW(EVENT_MODIFY_STATE, FALSE, W(ipc::kActivateEvent))}) {
    SetEvent(activate.get());
  }
  return true;
}
