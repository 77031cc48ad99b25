#include "platform/win32/ipc.h"

#include <memory>

#include "platform/ipc_events.h"
#include "platform/log.h"
#include "platform/text_utils.h"
#include "platform/worker.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/user_event.h"

namespace {

const wchar_t* W(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

constexpr size_t kEventCount = sizeof(ipc::kListenerEvents) / sizeof(ipc::kListenerEvents[0]);
// Indexes into ipc::kListenerEvents.
constexpr size_t kHit = 0, kLeft = 1, kRight = 2, kUnhook = 3, kActivate = 4;

// The events, shared by the program's end and the listener thread: a listener that outlives
// StopIpcListener's wait keeps them open until it ends.
struct Events {
  ScopedHandle handles[kEventCount];
};

// What the listener thread holds: its target, its stop signal and the events.
struct Listener {
  HWND target = nullptr;
  ScopedHandle stopped;
  std::shared_ptr<const Events> events;
};

// The listener thread's body: one wait on its stop signal and the three events that mean
// something to the main window.
void Listen(const std::stop_token& stop, const Listener& listener) {
  static constexpr UINT kMessages[] = {ipc::kClockLeftClickMessage, ipc::kClockRightClickMessage,
                                       ipc::kActivateMessage};
  const Events& events = *listener.events;
  const HANDLE watched[] = {events.handles[kLeft].get(), events.handles[kRight].get(),
                            events.handles[kActivate].get()};
  const HANDLE waits[] = {listener.stopped.get(), watched[0], watched[1], watched[2]};
  // The stop signal is one of the waited objects: no time-out, no polling.
  while (!stop.stop_requested()) {
    DWORD woke = WaitForMultipleObjects(4, waits, FALSE, INFINITE);
    if (woke == WAIT_OBJECT_0) break;
    if (woke == WAIT_FAILED || woke > WAIT_OBJECT_0 + 3) {
      LogError(u"ipc: the listener's wait failed (error " + IntToText(GetLastError()) + u"); it stops");
      break;
    }
    // The event that woke us, and any other that is set meanwhile (taking it clears it).
    for (DWORD i = 0; i < 3; ++i) {
      if (woke == WAIT_OBJECT_0 + 1 + i || WaitForSingleObject(watched[i], 0) == WAIT_OBJECT_0) {
        PostMessageW(listener.target, kMessages[i], 0, 0);
      }
    }
  }
}

std::shared_ptr<Events> g_events;  // UI thread only, as is the listener below
Worker g_listener;

}  // namespace

bool StartIpcListener(HWND mainWindow) {
  if (g_listener.Running()) return true;
  if (!g_events) g_events = std::make_shared<Events>();
  for (size_t i = 0; i < kEventCount; ++i) {
    ScopedHandle& event = g_events->handles[i];
    if (event) continue;
    event.reset(CreateUserEvent(ipc::kListenerEvents[i]));
    if (!event) {
      LogError(u"create ipc event error:" + IntToText(GetLastError()));
      return false;
    }
  }
  auto listener = std::make_shared<Listener>();
  listener->target = mainWindow;
  listener->stopped.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  listener->events = g_events;
  if (!listener->stopped ||
      !g_listener.Start([listener](std::stop_token stop) { Listen(stop, *listener); },
                        [listener] { SetEvent(listener->stopped.get()); })) {
    LogError(u"ipc: cannot start the listener (error " + IntToText(GetLastError()) + u")");
    return false;
  }
  return true;
}

void StopIpcListener() {
  if (!g_listener.Stop(1000)) LogError(u"ipc: the listener did not end within a second");
  if (!g_events) return;
  if (const ScopedHandle& unhook = g_events->handles[kUnhook]) SetEvent(unhook.get());
  // The hook library keeps its own handles, so its events outlive ours: no pause is needed
  // before closing them (a listener left running closes its share when it ends).
  g_events.reset();
}

bool SignalRunningInstance() {
  if (!FindWindowW(W(ipc::kMainWindowClass), nullptr)) return false;
  if (const ScopedHandle activate{OpenEventW(EVENT_MODIFY_STATE, FALSE, W(ipc::kActivateEvent))}) {
    SetEvent(activate.get());
  }
  return true;
}
