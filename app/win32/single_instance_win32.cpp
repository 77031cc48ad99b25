// The single-instance claim on Windows: the session's instance mutex and the running program's
// activation event.
#include <windows.h>

#include "app/logic/single_instance.h"
#include "app/win32/entry_points.h"
#include "platform/ipc_events.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/user_event.h"

namespace app {

namespace {

const wchar_t* W(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

class WindowsInstanceSystem : public InstanceSystem {
 public:
  Claim ClaimLock() override {
    // Held, never closed, until the process ends: the next start may go on only then.
    static HANDLE lock = nullptr;
    if (!lock) lock = CreateUserMutex(ipc::kInstanceMutex);
    if (!lock) return Claim::kUnavailable;
    const DWORD taken = WaitForSingleObject(lock, 0);
    return taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED ? Claim::kOurs : Claim::kTaken;
  }
  bool OtherWindowExists() override { return FindWindowW(W(ipc::kMainWindowClass), nullptr) != nullptr; }
  bool SignalOther() override {
    const ScopedHandle activate(OpenEventW(EVENT_MODIFY_STATE, FALSE, W(ipc::kActivateEvent)));
    if (!activate) return false;
    SetEvent(activate.get());
    return true;
  }
  void Pause(int ms) override { Sleep(static_cast<DWORD>(ms)); }
};

}  // namespace

bool TakeSingleInstance() {
  WindowsInstanceSystem system;
  return ClaimSingleInstance(system);
}

}  // namespace app
