#include "app/win32/activation_listener.h"

#include <memory>

#include "app/logic/window_messages.h"
#include "platform/log.h"
#include "platform/thread.h"

namespace app {

namespace {

constexpr DWORD kPollMs = 100;

class ActivationThread : public TThread {
 public:
  ActivationThread(HANDLE event, HWND target) : event_(event), target_(target) {}
  void Run() override {
    while (!StopRequested()) {
      if (WaitForSingleObject(event_, kPollMs) == WAIT_OBJECT_0) {
        ::PostMessageW(target_, UM_SHOW_MAIN, 0, 0);
      }
    }
  }

 private:
  HANDLE event_;
  HWND target_;
};

HANDLE g_event = nullptr;
std::unique_ptr<ActivationThread> g_thread;

}  // namespace

bool SignalRunningInstance() {
  if (!FindWindowW(kMainWindowClass, nullptr)) return false;
  HANDLE event = OpenEventW(EVENT_ALL_ACCESS, FALSE, kActivateEventName);
  if (event) {
    SetEvent(event);
    CloseHandle(event);
  }
  return true;
}

bool StartActivationListener(HWND mainWindow) {
  if (g_thread) return true;
  g_event = CreateEventW(nullptr, FALSE, FALSE, kActivateEventName);
  if (!g_event) {
    LogError(u"app: cannot create the activation event");
    return false;
  }
  g_thread = std::make_unique<ActivationThread>(g_event, mainWindow);
  if (!g_thread->Start()) {
    LogError(u"app: cannot start the activation listener");
    g_thread.reset();
    CloseHandle(g_event);
    g_event = nullptr;
    return false;
  }
  return true;
}

void StopActivationListener() {
  if (g_thread) {
    g_thread->RequestStop();
    if (g_thread->WaitForEnd(1000) || g_thread->ReleaseWhenDone()) {
      g_thread.reset();
    } else {
      g_thread.release();  // it deletes itself when Run returns
    }
  }
  if (g_event) {
    CloseHandle(g_event);
    g_event = nullptr;
  }
}

}  // namespace app
