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

// What a look at the waits did.
struct Served {
  int callbacks = 0;
  bool dropped = false;  // a handle that cannot be waited on
};

// Runs the callback of every wait of the snapshot whose handle is signalled and that is still
// added. The wait at index woken was found signalled by the blocking wait, which took the signal.
// A handle that cannot be waited on (closed while added) is dropped, logged.
Served ServeSignalled(const std::vector<LoopWait>& waits, size_t woken) {
  Served served;
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
        served.dropped = true;
        continue;
      }
      if (state != WAIT_OBJECT_0 && state != WAIT_ABANDONED) continue;
    }
    wait.signalled();  // the snapshot's copy: the callback may remove its own wait
    ++served.callbacks;
  }
  return served;
}

// Serves every signalled handle (a snapshot: callbacks may change the waits).
Served ServeReady() { return t_waits.empty() ? Served{} : ServeSignalled(std::vector<LoopWait>(t_waits), kNoneWoken); }

// Dispatches every queued message, serving the waits again every kMessagesBetweenWaits messages;
// adds the count to dispatched. False when WM_QUIT was taken (its code in quitCode).
bool DispatchQueued(int& quitCode, int& dispatched) {
  MSG msg;
  int inARow = 0;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quitCode = static_cast<int>(msg.wParam);
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    ++dispatched;
    if (++inARow == kMessagesBetweenWaits) {
      inARow = 0;
      ServeReady();
    }
  }
  return true;
}

// Sleeps up to waitMs until a message comes or a handle of waits is signalled; the index of the
// handle whose signal the wait took, or kNoneWoken.
size_t WaitForInputOrHandle(const std::vector<LoopWait>& waits, DWORD waitMs) {
  std::vector<HANDLE> handles;
  handles.reserve(waits.size());
  for (const LoopWait& wait : waits) handles.push_back(wait.handle);
  const DWORD count = static_cast<DWORD>(handles.size());
  const DWORD result = MsgWaitForMultipleObjectsEx(count, handles.data(), waitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  if (result < WAIT_OBJECT_0 + count) return result - WAIT_OBJECT_0;
  if (result >= WAIT_ABANDONED_0 && result < WAIT_ABANDONED_0 + count) return result - WAIT_ABANDONED_0;
  if (result == WAIT_FAILED) {
    const DWORD error = GetLastError();
    // Mostly a handle closed while still added, which a look at each one drops. When none is to
    // blame, this wait is for messages alone rather than a spin on the failing one.
    if (!ServeSignalled(waits, kNoneWoken).dropped) {
      LogError(u"message loop: the wait failed (error " + IntToText(error) + u"); this time it waits for messages only");
      MsgWaitForMultipleObjectsEx(0, nullptr, waitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
  }
  return kNoneWoken;
}

// One pass of the loop. First what is ready: each signalled handle, then every queued message.
// Only with the queue empty does it sleep (up to waitMs; not with 0, nor after serving anything),
// as GetMessage does: PeekMessage and the wait take in the system's pending input (a focus moving
// with a window hidden), and a wait ahead of the queued messages would let that input overtake
// what was posted before it. After the sleep, serves what came. False when WM_QUIT was taken.
bool ServeOnce(DWORD waitMs, int& quitCode) {
  int dispatched = 0;
  const int served = ServeReady().callbacks;
  if (!DispatchQueued(quitCode, dispatched)) return false;
  if (waitMs == 0 || served + dispatched > 0) return true;
  const std::vector<LoopWait> waits = t_waits;  // callbacks may change t_waits
  const size_t woken = WaitForInputOrHandle(waits, waitMs);
  if (woken != kNoneWoken) ServeSignalled(waits, woken);
  return DispatchQueued(quitCode, dispatched);
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
