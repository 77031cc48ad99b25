#include "platform/win32/clock_interceptor.h"

#include <intrin.h>
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <memory>

#include "platform/abandonable_work.h"
#include "platform/ipc_events.h"
#include "platform/log.h"
#include "platform/taskbar_clock.h"
#include "platform/text_utils.h"
#include "platform/thread.h"
#include "platform/worker.h"
#include "platform/win32/clock_locator.h"

namespace taskbar {

namespace {

constexpr int kCallLimitMs = 1000;      // every UI Automation and MSAA call of a pass
constexpr int kPassLimitMs = 10000;     // a whole pass, however many taskbars and buttons
constexpr int kLookAgainMs = 30000;     // unasked looks
constexpr int kRetryMs = 2000;          // after a pass given up on
constexpr UINT kWatchdogMs = 1000;
constexpr UINT_PTR kWatchdogTimer = 1;
constexpr UINT kSnapshotMessage = WM_APP + 1;  // to the hook thread: a new snapshot is out
constexpr size_t kTimingSlots = 4096;

// What the hook procedure leaves to its thread: everything that waits on the window server. The
// thread does it once the procedure has returned, when the input is already on its way.
constexpr uint32_t kLookAgain = 1;  // the pointer came onto a taskbar
constexpr uint32_t kToggle = 2;     // a click on a clock: the calendar toggles
constexpr uint32_t kKeys = 4;       // the pointer came onto or went off the taskbars

// What both threads and the hook procedure share; owned by the road's start, outlives both.
struct Shared {
  HWND target = nullptr;
  std::atomic<std::shared_ptr<const ClockSnapshot>> snapshot{std::make_shared<const ClockSnapshot>()};
  // The hook thread's own hold on the snapshot it last took: the hook and WinEvent procedures run
  // on that thread, so they read it without any atomic operation (a shared_ptr's atomic load
  // takes a lock and may wake waiters, a system call under Wine).
  std::shared_ptr<const ClockSnapshot> hookHeld = std::make_shared<const ClockSnapshot>();
  Event lookAgain{false};
  std::atomic<uint32_t> hookThread{0};
  std::atomic<bool> hookActive{false};
  std::atomic<uint64_t> hookCalls{0};
  ClickRules rules;  // the hook thread's alone
  std::atomic<uint32_t> errands{0};
  std::atomic<uint32_t> clickAt{0};  // the clicked clock's centre, x and y in 16 bits each
  std::atomic<uint32_t> toggles{0};  // clicks not posted yet: each one is a toggle
  // Ctrl, followed by a keyboard hook while the pointer is on a taskbar: a press on a clock then
  // needs no question to the window server. Left and right keys in bits 0 and 1; bit 2 for a Ctrl
  // found held when the hook was set.
  std::atomic<bool> wantKeys{false};
  std::atomic<bool> keysWatched{false};
  std::atomic<uint32_t> ctrlKeys{0};
  // The procedure's own duration in time-stamp counter ticks: reading the counter takes a few
  // nanoseconds, where the performance counter is a system call under Wine that cost more than
  // the procedure itself. Ticks become microseconds against the performance counter when read.
  std::atomic<size_t> timingCount{0};
  float timings[kTimingSlots] = {};
  uint64_t startTicks = 0;
  LARGE_INTEGER startCounter{};
};

std::atomic<Shared*> g_shared{nullptr};  // for the hook and WinEvent procedures

PointerEvent EventOf(WPARAM message) {
  switch (message) {
    case WM_MOUSEMOVE:
      return PointerEvent::kMove;
    case WM_LBUTTONDOWN:
      return PointerEvent::kLeftDown;
    case WM_LBUTTONUP:
      return PointerEvent::kLeftUp;
    default:
      return PointerEvent::kOtherButton;
  }
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
  Shared* shared = g_shared.load(std::memory_order_acquire);
  if (code != HC_ACTION || !shared) return CallNextHookEx(nullptr, code, wParam, lParam);
  const uint64_t start = __rdtsc();
  shared->hookCalls.fetch_add(1, std::memory_order_relaxed);
  const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
  const ClockSnapshot* snapshot = shared->hookHeld.get();
  // Whether Ctrl is held comes from the keyboard hook that follows it while the pointer is on a
  // taskbar. Asking the system instead is a round trip to the window server under Wine: only for
  // a press on a clock before that hook is in place. Posting and signalling wait for the return.
  bool ctrl = false;
  if (wParam == WM_LBUTTONDOWN && ClockAt(*snapshot, info->pt.x, info->pt.y) >= 0) {
    ctrl = shared->keysWatched.load(std::memory_order_acquire)
               ? shared->ctrlKeys.load(std::memory_order_relaxed) != 0
               : (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
  }
  PointerVerdict verdict = shared->rules.OnEvent(*snapshot, EventOf(wParam), info->pt.x, info->pt.y, ctrl);
  uint32_t errands = verdict.enteredTaskbar ? kLookAgain : 0;
  if (verdict.enteredTaskbar || verdict.leftTaskbar) {
    shared->wantKeys.store(verdict.enteredTaskbar, std::memory_order_relaxed);
    errands |= kKeys;
  }
  if (verdict.toggle) {
    shared->clickAt.store(static_cast<uint32_t>(static_cast<uint16_t>(verdict.clockX)) |
                              static_cast<uint32_t>(static_cast<uint16_t>(verdict.clockY)) << 16,
                          std::memory_order_release);
    shared->toggles.fetch_add(1, std::memory_order_release);
    errands |= kToggle;
  }
  if (errands) shared->errands.fetch_or(errands, std::memory_order_release);
  const uint64_t end = __rdtsc();
  size_t slot = shared->timingCount.fetch_add(1, std::memory_order_relaxed) % kTimingSlots;
  shared->timings[slot] = static_cast<float>(end - start);
  return verdict.swallow ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  Shared* shared = g_shared.load(std::memory_order_acquire);
  if (code == HC_ACTION && shared) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    const uint32_t bit = key->vkCode == VK_LCONTROL || key->vkCode == VK_CONTROL ? 1u
                         : key->vkCode == VK_RCONTROL                           ? 2u
                                                                                : 0u;
    if (bit && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN)) {
      shared->ctrlKeys.fetch_or(bit, std::memory_order_relaxed);
    } else if (bit) {
      // A release also ends a Ctrl found held when the hook was set, whichever side it was.
      shared->ctrlKeys.fetch_and(~(bit | 4u), std::memory_order_relaxed);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK WinEventProc(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD) {
  Shared* shared = g_shared.load(std::memory_order_acquire);
  if (!shared || object != OBJID_WINDOW) return;
  if (event != EVENT_OBJECT_SHOW && event != EVENT_OBJECT_HIDE && event != EVENT_OBJECT_LOCATIONCHANGE) return;
  for (const TaskbarArea& t : shared->hookHeld->taskbars) {
    if (t.window == reinterpret_cast<std::uintptr_t>(window)) {
      shared->lookAgain.Set();
      return;
    }
  }
}

// The locator thread's body: passes on helper threads, given up when a call stays unanswered for
// a second.
void Locate(const std::stop_token& stop, Shared& shared) {
  bool saidNone = false, saidSlow = false;
  while (!stop.stop_requested()) {
    auto result = std::make_shared<ClockSnapshot>();
    auto found = std::make_shared<std::atomic<bool>>(false);
    auto progress = std::make_shared<std::atomic<uint64_t>>(0);
    const ULONGLONG start = GetTickCount64();
    ULONGLONG lastCall = start;
    uint64_t lastProgress = 0;
    bool done = RunUnlessStopped(
        [result, found, progress] {
          // No taskbar with a content bridge (an older shell, or none): nothing to read, and
          // neither COM nor the automation libraries are started for it.
          if (!ContentBridgeExists()) {
            found->store(true);
            return;
          }
          // Its own apartment and reader: a pass given up on runs to its end on its own.
          HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
          if (std::unique_ptr<TrayButtonReader> reader = MakeAutomationTrayButtonReader(progress.get())) {
            *result = LocateClocks(*reader, CurrentClockTexts());
            found->store(true);
          }
          if (SUCCEEDED(com)) CoUninitialize();
        },
        [&] {
          // Given up when one call has not returned within its second, or the pass as a whole
          // runs too long.
          const ULONGLONG now = GetTickCount64();
          if (uint64_t p = progress->load(); p != lastProgress) {
            lastProgress = p;
            lastCall = now;
          }
          return stop.stop_requested() || now - lastCall > kCallLimitMs || now - start > kPassLimitMs;
        });
    if (stop.stop_requested()) break;
    if (!done) {
      if (!saidSlow) LogError(u"clock: the taskbar did not answer UI Automation within 1 s; its last clock places stay");
      saidSlow = true;
    } else if (!found->load()) {
      if (!saidNone) LogError(u"clock: UI Automation or MSAA is missing; the taskbar clock stays the shell's");
      saidNone = true;
    } else {
      if (result->clocks.empty() && !saidNone) {
        LogError(u"clock: no taskbar clock found (no clock window, no clock button); the tray icon opens the calendar");
        saidNone = true;
      }
      if (!result->clocks.empty()) saidNone = false;
      shared.snapshot.store(std::shared_ptr<const ClockSnapshot>(std::move(result)));
      if (uint32_t hook = shared.hookThread.load()) PostThreadMessageW(hook, kSnapshotMessage, 0, 0);
    }
    // A pass given up on is tried again soon: the shell may only have been busy.
    shared.lookAgain.Wait(done ? kLookAgainMs : kRetryMs);
  }
}

LRESULT CALLBACK RoadWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
    case WM_SETTINGCHANGE:
      if (Shared* shared = g_shared.load()) shared->lookAgain.Set();
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The hook thread's body: its message loop runs the hook procedure, the WinEvents and the
// watchdog. Its state is the thread's own; ready is set once the loop is about to run.
class HookLoop {
 public:
  explicit HookLoop(Shared& shared) : shared_(shared) {}
  HookLoop(const HookLoop&) = delete;
  HookLoop& operator=(const HookLoop&) = delete;

  void Run(const std::stop_token& stop, Event& ready) {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts to it
    const uint32_t self = CurrentThreadId();
    WNDCLASSW wc{};
    wc.lpfnWndProc = &RoadWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TavrinoClockRoad";
    RegisterClassW(&wc);
    // A top-level window (never shown): broadcasts reach it, message-only windows get none.
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              wc.hInstance, nullptr);
    SetTimer(window_, kWatchdogTimer, kWatchdogMs, nullptr);
    shared_.hookThread.store(self);
    ready.Set();
    Apply();
    // Not GetMessage: it runs the hook procedure for sent messages and waits on without
    // returning. Peeking returns after them, so the procedure's errands run right away.
    bool quit = false;
    while (!quit && !stop.stop_requested()) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
          quit = true;
          break;
        }
        if (msg.hwnd == nullptr && msg.message == kSnapshotMessage) {
          Apply();
        } else if (msg.message == WM_TIMER && msg.wParam == kWatchdogTimer) {
          Watch();
        } else {
          DispatchMessageW(&msg);
        }
        RunErrands();
      }
      RunErrands();
      if (!quit) MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    Unhook();
    WatchKeys(false);
    if (events_) UnhookWinEvent(events_);
    if (window_) DestroyWindow(window_);
    shared_.hookThread.store(0);
  }

 private:
  // What the hook procedure left to do.
  void RunErrands() {
    const uint32_t errands = shared_.errands.exchange(0, std::memory_order_acq_rel);
    if (errands & kLookAgain) shared_.lookAgain.Set();
    if (errands & kKeys) WatchKeys(hook_ && shared_.wantKeys.load(std::memory_order_relaxed));
    if (errands & kToggle) {
      for (uint32_t n = shared_.toggles.exchange(0, std::memory_order_acq_rel); n > 0; --n) {
        PostMessageW(shared_.target, ipc::kClockLeftClickMessage, ipc::kClockClickedAt,
                     static_cast<LPARAM>(shared_.clickAt.load(std::memory_order_acquire)));
      }
    }
  }
  // Hook in place while there is a clock to take; the shell's window events while there is a taskbar.
  void Apply() {
    shared_.hookHeld = shared_.snapshot.load();
    const ClockSnapshot* snapshot = shared_.hookHeld.get();
    if (snapshot->clocks.empty()) {
      Unhook();
    } else if (!hook_) {
      Hook();
    }
    DWORD shell = 0;
    if (!snapshot->taskbars.empty()) {
      GetWindowThreadProcessId(reinterpret_cast<HWND>(snapshot->taskbars.front().window), &shell);
    }
    if (shell != eventsProcess_) {
      if (events_) UnhookWinEvent(events_);
      events_ = shell ? SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_LOCATIONCHANGE, nullptr, &WinEventProc, shell,
                                        0, WINEVENT_OUTOFCONTEXT)
                      : nullptr;
      eventsProcess_ = events_ ? shell : 0;
    }
  }
  void Hook() {
    hook_ = SetWindowsHookExW(WH_MOUSE_LL, &MouseProc, GetModuleHandleW(nullptr), 0);
    if (!hook_) LogError(u"clock: cannot set the pointer hook (error " + IntToText(GetLastError()) + u")");
    shared_.hookActive.store(hook_ != nullptr);
    GetCursorPos(&lastPointer_);
    lastCalls_ = shared_.hookCalls.load();
  }
  void Unhook() {
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    shared_.hookActive.store(false);
    WatchKeys(false);
  }
  // The keyboard hook lives only while the pointer is on a taskbar. Ctrl's state is read once
  // when it is set; the hook procedure runs on this thread only after that read, so no key
  // falls between the two.
  void WatchKeys(bool on) {
    if (on == (keys_ != nullptr)) return;
    if (on) {
      keys_ = SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardProc, GetModuleHandleW(nullptr), 0);
      if (!keys_) return;  // a press on a clock asks the system then
      shared_.ctrlKeys.store((GetAsyncKeyState(VK_CONTROL) & 0x8000) ? 4u : 0u);
      shared_.keysWatched.store(true, std::memory_order_release);
    } else {
      shared_.keysWatched.store(false, std::memory_order_release);
      UnhookWindowsHookEx(keys_);
      keys_ = nullptr;
    }
  }
  // The system removes a hook that once took too long, without a word: the pointer moved since
  // the last look and the procedure never ran means it is gone.
  void Watch() {
    if (!hook_) return;
    POINT pointer{};
    GetCursorPos(&pointer);
    uint64_t calls = shared_.hookCalls.load();
    bool moved = pointer.x != lastPointer_.x || pointer.y != lastPointer_.y;
    if (moved && calls == lastCalls_) {
      if (!saidLost_) LogError(u"clock: the pointer hook stopped receiving input; it is put back");
      saidLost_ = true;
      Unhook();
      Hook();
      return;
    }
    lastPointer_ = pointer;
    lastCalls_ = calls;
  }

  Shared& shared_;
  HWND window_ = nullptr;
  HHOOK hook_ = nullptr;
  HHOOK keys_ = nullptr;
  HWINEVENTHOOK events_ = nullptr;
  DWORD eventsProcess_ = 0;
  POINT lastPointer_{};
  uint64_t lastCalls_ = 0;
  bool saidLost_ = false;
};

struct Road {
  std::shared_ptr<Shared> shared;
  Worker hook;
  Worker locator;
};
std::unique_ptr<Road> g_road;  // UI thread only

void EndThread(Worker& thread, int waitMs) {
  if (!thread.Stop(waitMs)) LogError(u"clock: a tray-button thread did not end in time; it ends on its own");
}

}  // namespace

bool StartTrayButtonRoad(HWND target) {
  StopTrayButtonRoad();
  auto road = std::make_unique<Road>();
  road->shared = std::make_shared<Shared>();
  road->shared->target = target;
  QueryPerformanceCounter(&road->shared->startCounter);
  road->shared->startTicks = __rdtsc();
  g_shared.store(road->shared.get(), std::memory_order_release);
  // Each thread holds the shared state: one that outlives the road's stop keeps it.
  auto ready = std::make_shared<Event>(true);
  const auto runHook = [shared = road->shared, ready](std::stop_token stop) { HookLoop(*shared).Run(stop, *ready); };
  const auto runLocator = [shared = road->shared](std::stop_token stop) { Locate(stop, *shared); };
  // The wakes: the hook thread's queue gets its quit, the locator's wait ends.
  const auto quitHook = [shared = road->shared] {
    if (uint32_t id = shared->hookThread.load()) PostThreadMessageW(id, WM_QUIT, 0, 0);
  };
  const auto wakeLocator = [shared = road->shared] { shared->lookAgain.Set(); };
  if (!road->hook.Start(runHook, quitHook) || !ready->Wait(2000) || !road->locator.Start(runLocator, wakeLocator)) {
    LogError(u"clock: cannot start the tray-button threads (error " + IntToText(GetLastError()) + u")");
    g_road = std::move(road);
    StopTrayButtonRoad();
    return false;
  }
  g_road = std::move(road);
  return true;
}

void StopTrayButtonRoad() {
  if (!g_road) return;
  EndThread(g_road->hook, 2000);
  EndThread(g_road->locator, kCallLimitMs + 500);
  // The hook is gone with its thread, and the procedures' last readers with it. A hook thread
  // that did not end keeps its own hold on the state.
  g_shared.store(nullptr);
  g_road.reset();
}

void RefreshTrayButtonRoad() {
  if (Shared* shared = g_shared.load()) shared->lookAgain.Set();
}

bool TrayButtonHookActive() {
  Shared* shared = g_shared.load();
  return shared && shared->hookActive.load();
}

std::vector<double> HookProcedureMicroseconds() {
  std::vector<double> out;
  Shared* shared = g_shared.load();
  if (!shared) return out;
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  const uint64_t ticks = __rdtsc() - shared->startTicks;
  const double microseconds =
      static_cast<double>(now.QuadPart - shared->startCounter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
  if (ticks == 0 || microseconds <= 0) return out;
  const double ticksPerMicrosecond = static_cast<double>(ticks) / microseconds;
  size_t count = std::min(shared->timingCount.load(), kTimingSlots);
  for (size_t i = 0; i < count; ++i) out.push_back(shared->timings[i] / ticksPerMicrosecond);
  return out;
}

}  // namespace taskbar
