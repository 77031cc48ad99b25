#include "platform/win32/ipc.h"

#include <memory>

#include "platform/ipc_events.h"
#include "platform/log.h"
#include "platform/text_utils.h"
#include "platform/thread.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/user_event.h"

namespace {

const wchar_t* W(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

constexpr size_t kEventCount = sizeof(ipc::kListenerEvents) / sizeof(ipc::kListenerEvents[0]);
// Indexes into ipc::kListenerEvents.
constexpr size_t kHit = 0, kLeft = 1, kRight = 2, kUnhook = 3, kActivate = 4;

// The listener thread: one wait on its stop signal and the three events that mean something to
// the main window.
class DIpc : public TThread {
 public:
  DIpc(HWND target, HANDLE left, HANDLE right, HANDLE activate)
      : target_(target), stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), events_{left, right, activate} {}
  bool Ready() const { return static_cast<bool>(stop_); }
  void Stop() {
    RequestStop();
    SetEvent(stop_.get());
  }

  void Run() override {
    static constexpr UINT kMessages[] = {ipc::kClockLeftClickMessage, ipc::kClockRightClickMessage,
                                         ipc::kActivateMessage};
    const HANDLE waits[] = {stop_.get(), events_[0], events_[1], events_[2]};
    // The stop signal is one of the waited objects: no time-out, no polling.
    while (!StopRequested()) {
      DWORD woke = WaitForMultipleObjects(4, waits, FALSE, INFINITE);
      if (woke == WAIT_OBJECT_0) break;
      if (woke == WAIT_FAILED || woke > WAIT_OBJECT_0 + 3) {
        LogError(u"ipc: the listener's wait failed (error " + IntToText(GetLastError()) + u"); it stops");
        break;
      }
      // The event that woke us, and any other that is set meanwhile (taking it clears it).
      for (DWORD i = 0; i < 3; ++i) {
        if (woke == WAIT_OBJECT_0 + 1 + i || WaitForSingleObject(events_[i], 0) == WAIT_OBJECT_0) {
          PostMessageW(target_, kMessages[i], 0, 0);
        }
      }
    }
  }

 private:
  HWND target_;
  ScopedHandle stop_;
  HANDLE events_[3];  // lent by the events below, which outlive the listener
};

ScopedHandle g_events[kEventCount];
std::unique_ptr<DIpc> g_listener;

}  // namespace

bool StartIpcListener(HWND mainWindow) {
  if (g_listener) return true;
  for (size_t i = 0; i < kEventCount; ++i) {
    if (g_events[i]) continue;
    g_events[i].reset(CreateUserEvent(ipc::kListenerEvents[i]));
    if (!g_events[i]) {
      LogError(u"create ipc event error:" + IntToText(GetLastError()));
      return false;
    }
  }
  auto listener = std::make_unique<DIpc>(mainWindow, g_events[kLeft].get(), g_events[kRight].get(),
                                         g_events[kActivate].get());
  if (!listener->Ready() || !listener->Start()) {
    LogError(u"ipc: cannot start the listener (error " + IntToText(GetLastError()) + u")");
    return false;
  }
  g_listener = std::move(listener);
  return true;
}

void StopIpcListener() {
  if (g_listener) {
    g_listener->Stop();
    if (g_listener->WaitForEnd(1000) || g_listener->ReleaseWhenDone()) {
      g_listener.reset();
    } else {
      LogError(u"ipc: the listener did not end within a second");
      g_listener.release();  // it deletes itself when Run returns
    }
  }
  if (g_events[kUnhook]) SetEvent(g_events[kUnhook].get());
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
