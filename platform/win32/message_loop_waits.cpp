#include "platform/win32/message_loop_waits.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/log.h"
#include "platform/text_utils.h"

namespace {

// One wait may take MAXIMUM_WAIT_OBJECTS objects; the message queue counts as one.
constexpr size_t kMostWaits = MAXIMUM_WAIT_OBJECTS - 1;
// Messages dispatched in a row before the waits are looked at again: a window that keeps posting
// to itself cannot keep a signalled handle waiting.
constexpr int kMessagesBetweenWaits = 64;
constexpr size_t kNoneWoken = static_cast<size_t>(-1);

struct LoopWait {
  HANDLE handle = nullptr;
  std::function<void()> signalled;
  uint64_t id = 0;  // tells a wait from a later one on a reused handle value
};

// This thread's waits, in the order they were added.
thread_local std::vector<LoopWait> t_waits;
thread_local uint64_t t_lastId = 0;

std::vector<LoopWait>::iterator Find(HANDLE handle) {
  return std::find_if(t_waits.begin(), t_waits.end(), [handle](const LoopWait& w) { return w.handle == handle; });
}

bool StillAdded(uint64_t id) {
  return std::any_of(t_waits.begin(), t_waits.end(), [id](const LoopWait& w) { return w.id == id; });
}

std::u16string HandleText(HANDLE handle) {
  return IntToText(static_cast<int64_t>(reinterpret_cast<uintptr_t>(handle)));
}

// Runs the callback of every wait of the snapshot whose handle is signalled and that is still
// added. The wait at index woken was found signalled by the blocking wait, which took the signal.
// A handle that cannot be waited on (closed while added) is dropped, logged. True when one was.
bool ServeSignalled(const std::vector<LoopWait>& waits, size_t woken) {
  bool dropped = false;
  for (size_t i = 0; i < waits.size(); ++i) {
    const LoopWait& wait = waits[i];
    if (!StillAdded(wait.id)) continue;  // an earlier callback removed or replaced it
    if (i != woken) {
      const DWORD state = WaitForSingleObject(wait.handle, 0);
      if (state == WAIT_FAILED) {
        LogError(u"message loop: waiting on handle " + HandleText(wait.handle) + u" failed (error " +
                 IntToText(GetLastError()) + u"); the loop no longer waits on it");
        const uint64_t id = wait.id;
        t_waits.erase(std::remove_if(t_waits.begin(), t_waits.end(), [id](const LoopWait& w) { return w.id == id; }),
                      t_waits.end());
        dropped = true;
        continue;
      }
      if (state != WAIT_OBJECT_0 && state != WAIT_ABANDONED) continue;
    }
    wait.signalled();  // the snapshot's copy: the callback may remove its own wait
  }
  return dropped;
}

// Dispatches every queued message, serving the waits again every kMessagesBetweenWaits messages.
// False when WM_QUIT was taken (its code in quitCode).
bool DispatchQueued(int& quitCode) {
  MSG msg;
  int inARow = 0;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quitCode = static_cast<int>(msg.wParam);
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    if (++inARow == kMessagesBetweenWaits) {
      inARow = 0;
      if (!t_waits.empty()) ServeSignalled(std::vector<LoopWait>(t_waits), kNoneWoken);
    }
  }
  return true;
}

// One pass of the loop: waits up to waitMs for a message or a signalled handle (not at all with
// 0), serves every signalled handle, then dispatches the queue. False when WM_QUIT was taken.
bool ServeOnce(DWORD waitMs, int& quitCode) {
  const std::vector<LoopWait> waits = t_waits;  // callbacks may change t_waits
  size_t woken = kNoneWoken;
  if (waitMs != 0) {
    std::vector<HANDLE> handles;
    handles.reserve(waits.size());
    for (const LoopWait& wait : waits) handles.push_back(wait.handle);
    const DWORD count = static_cast<DWORD>(handles.size());
    const DWORD result = MsgWaitForMultipleObjectsEx(count, handles.data(), waitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (result < WAIT_OBJECT_0 + count) {
      woken = result - WAIT_OBJECT_0;
    } else if (result >= WAIT_ABANDONED_0 && result < WAIT_ABANDONED_0 + count) {
      woken = result - WAIT_ABANDONED_0;
    } else if (result == WAIT_FAILED) {
      const DWORD error = GetLastError();
      // Mostly a handle closed while still added: the pass below drops it. When none is to blame,
      // this pass waits for messages alone rather than spinning on the failing wait.
      if (!ServeSignalled(waits, kNoneWoken)) {
        LogError(u"message loop: the wait failed (error " + IntToText(error) + u"); this pass waits for messages only");
        MsgWaitForMultipleObjectsEx(0, nullptr, waitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      }
      return DispatchQueued(quitCode);
    }
  }
  if (!waits.empty()) ServeSignalled(waits, woken);
  return DispatchQueued(quitCode);
}

}  // namespace

bool AddLoopWait(HANDLE handle, std::function<void()> signalled) {
  if (!handle || !signalled) {
    LogError(u"message loop: a wait needs a handle and a callback; none added");
    return false;
  }
  auto found = Find(handle);
  if (found != t_waits.end()) {
    *found = LoopWait{handle, std::move(signalled), ++t_lastId};
    return true;
  }
  if (t_waits.size() >= kMostWaits) {
    LogError(u"message loop: already " + IntToText(static_cast<int64_t>(kMostWaits)) +
             u" waits on this thread; handle " + HandleText(handle) + u" not added");
    return false;
  }
  t_waits.push_back(LoopWait{handle, std::move(signalled), ++t_lastId});
  return true;
}

void RemoveLoopWait(HANDLE handle) {
  auto found = Find(handle);
  if (found != t_waits.end()) t_waits.erase(found);
}

int RunMessageLoop() {
  int quitCode = 0;
  while (ServeOnce(INFINITE, quitCode)) {
  }
  return quitCode;
}

bool PumpMessagesAndWaits(DWORD waitMs) {
  int quitCode = 0;
  if (ServeOnce(waitMs, quitCode)) return true;
  PostQuitMessage(quitCode);
  return false;
}
