// Click on a stand-in shell's clock -> message 10025 in a window of this program, and -> that
// window shown and painted (it shows itself on 10025, as the calendar does), with real input:
//   default         the hook library inside the Windows 10-style stand-in and the listener here
//                   (the program's own road); and, for comparison, the listener alone: the
//                   left-click event set here -> 10025;
//   --tray-buttons  the Windows 11-style stand-in, the locator and the pointer hook here; and the
//                   hook procedure's own time (microseconds, every call during the clicks).
// Prints min, median, 95th percentile, max and mean.
//   clock_latency_probe.exe [--tray-buttons] [clicks, default 40]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <vector>

#include <cstring>

#include "platform/win32/clock_hook.h"
#include "platform/win32/clock_interceptor.h"
#include "platform/win32/ipc.h"
#include "platform/win32/message_loop_waits.h"
#include "tests/shellhook/shell11_fixture.h"
#include "tests/shellhook/shell_fixture.h"

namespace {

LARGE_INTEGER g_arrived{};
LARGE_INTEGER g_painted{};
int g_toggles = 0;
int g_paints = 0;
HWND g_shown = nullptr;  // the window a toggle shows: 358 x 460 at the screen's top left

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == ipc::kClockLeftClickMessage) {
    QueryPerformanceCounter(&g_arrived);
    ++g_toggles;
    if (g_shown && !IsWindowVisible(g_shown)) ShowWindow(g_shown, SW_SHOWNOACTIVATE);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ShownProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawTextW(dc, L"2026年12月", -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(hwnd, &ps);
    QueryPerformanceCounter(&g_painted);
    ++g_paints;
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Milliseconds from act() to the next 10025 (or, with painted, to the shown window's painting),
// for each of n rounds (after prepare(), untimed).
template <typename Prepare, typename Act>
std::vector<double> Measure(int n, Prepare prepare, Act act, bool painted = false) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> ms;
  for (int i = 0; i < n; ++i) {
    prepare();
    int& counter = painted ? g_paints : g_toggles;
    int before = counter;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    act();
    // The listener's events are served by this thread's loop, as in the program.
    const ULONGLONG deadline = GetTickCount64() + 2000;
    for (ULONGLONG now = GetTickCount64(); counter == before && now < deadline; now = GetTickCount64()) {
      PumpMessagesAndWaits(static_cast<DWORD>(deadline - now));
    }
    if (counter == before) {
      std::fprintf(stderr, "round %d: nothing within 2 s\n", i + 1);
      continue;
    }
    const LARGE_INTEGER& end = painted ? g_painted : g_arrived;
    ms.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
  }
  std::sort(ms.begin(), ms.end());
  return ms;
}

void Report(const char* what, std::vector<double> ms, const char* unit = "ms") {
  if (ms.empty()) {
    std::printf("%s: no measurement\n", what);
    return;
  }
  std::sort(ms.begin(), ms.end());
  double mean = std::accumulate(ms.begin(), ms.end(), 0.0) / static_cast<double>(ms.size());
  std::printf("%s over %zu rounds (%s): min %.2f  median %.2f  p95 %.2f  p99 %.2f  max %.2f  mean %.2f\n", what,
              ms.size(), unit, ms.front(), ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 95 / 100)],
              ms[std::min(ms.size() - 1, ms.size() * 99 / 100)], ms.back(), mean);
}

void Click() {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof(INPUT));
}

// The window a toggle shows, hidden before each round.
void PrepareRound(POINT at) {
  if (g_shown) ShowWindow(g_shown, SW_HIDE);
  SetCursorPos(at.x, at.y);
  tvtest::WaitUntil([] { return false; }, 120);  // the pointer settles; nothing is timed yet
}

int TrayButtonsRoad(HWND window, int clicks) {
  tvtest::StandInShell11 shell;
  if (!shell.Start()) {
    std::fprintf(stderr, "the Windows 11-style stand-in did not start\n");
    return 1;
  }
  StartClockHookOn(ClockHookRoad::kTrayButtons, window);
  if (!tvtest::WaitUntil([] { return taskbar::TrayButtonHookActive(); }, 15000)) {
    std::fprintf(stderr, "the road found no clock\n");
    return 1;
  }
  POINT at = shell.Centre(standin11::kClock);
  std::vector<double> toToggle = Measure(clicks, [&] { PrepareRound(at); }, [] { Click(); });
  std::vector<double> toPaint = Measure(clicks, [&] { PrepareRound(at); }, [] { Click(); }, true);
  std::vector<double> hook = taskbar::HookProcedureMicroseconds();
  StopClockHook();
  Report("tray buttons: click -> 10025", toToggle);
  Report("tray buttons: click -> shown window painted", toPaint);
  Report("tray buttons: hook procedure", hook, "us");
  return toToggle.size() == static_cast<size_t>(clicks) && toPaint.size() == static_cast<size_t>(clicks) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  bool trayButtons = argc > 1 && std::strcmp(argv[1], "--tray-buttons") == 0;
  if (trayButtons) {
    --argc;
    ++argv;
  }
  int clicks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
  WNDCLASSW wc{};
  wc.lpfnWndProc = &ProbeProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ClockLatencyProbe";
  RegisterClassW(&wc);
  HWND window = CreateWindowW(wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
  WNDCLASSW shown{};
  shown.lpfnWndProc = &ShownProc;
  shown.hInstance = wc.hInstance;
  shown.lpszClassName = L"ClockLatencyShown";
  RegisterClassW(&shown);
  g_shown = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, shown.lpszClassName, L"", WS_POPUP, 0, 0, 358, 460,
                            nullptr, nullptr, wc.hInstance, nullptr);
  if (trayButtons) return TrayButtonsRoad(window, clicks);

  tvtest::StandInShell shell;
  if (!shell.Start()) {
    std::fprintf(stderr, "the stand-in shell did not start\n");
    return 1;
  }
  HMODULE library = LoadLibraryW((tvtest::BinDir() / "tvrshell64.dll").wstring().c_str());
  auto install = library ? reinterpret_cast<void (*)(int)>(reinterpret_cast<void*>(GetProcAddress(library, "dosomething"))) : nullptr;
  auto remove = library ? reinterpret_cast<void (*)(int)>(reinterpret_cast<void*>(GetProcAddress(library, "undosomething"))) : nullptr;
  if (!window || !install || !remove || !StartIpcListener(window)) {
    std::fprintf(stderr, "cannot set up the probe\n");
    return 1;
  }
  install(static_cast<int>(ipc::kHookKey));
  if (!shell.WaitSubclassed(true)) {
    std::fprintf(stderr, "the clock was not taken over\n");
    return 1;
  }

  HANDLE leftEvent = OpenEventW(EVENT_MODIFY_STATE, FALSE, tvtest::W(ipc::kClockLeftClickEvent));
  POINT at = shell.ClockCentre();
  std::vector<double> fromClick = Measure(clicks, [&] { PrepareRound(at); }, [] { Click(); });
  std::vector<double> toPaint = Measure(clicks, [&] { PrepareRound(at); }, [] { Click(); }, true);
  std::vector<double> fromEvent = Measure(clicks, [] { tvtest::WaitUntil([] { return false; }, 20); },
                                          [&] { SetEvent(leftEvent); });
  remove(static_cast<int>(ipc::kHookKey));
  StopIpcListener();
  Report("hook library: click -> 10025", fromClick);
  Report("hook library: click -> shown window painted", toPaint);
  Report("hook library: event -> 10025", fromEvent);
  return fromClick.size() == static_cast<size_t>(clicks) && toPaint.size() == static_cast<size_t>(clicks) &&
                 fromEvent.size() == static_cast<size_t>(clicks)
             ? 0
             : 1;
}
