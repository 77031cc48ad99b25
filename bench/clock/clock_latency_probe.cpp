// Click on the stand-in shell's clock -> message 10025 in a window of this program, through the
// hook library inside the stand-in and the listener here (the program's own road), with real
// input; and, for comparison, the listener alone: the left-click event set here -> 10025.
// Prints min, median, 95th percentile, max and mean in milliseconds.
//   clock_latency_probe.exe [clicks, default 40]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "platform/win32/ipc.h"
#include "tests/shellhook/shell_fixture.h"

namespace {

LARGE_INTEGER g_arrived{};
int g_toggles = 0;

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == ipc::kClockLeftClickMessage) {
    QueryPerformanceCounter(&g_arrived);
    ++g_toggles;
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Milliseconds from act() to the next 10025, for each of n rounds (after prepare(), untimed).
template <typename Prepare, typename Act>
std::vector<double> Measure(int n, Prepare prepare, Act act) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> ms;
  for (int i = 0; i < n; ++i) {
    prepare();
    int before = g_toggles;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    act();
    MSG msg;
    while (g_toggles == before) {
      if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 2000, QS_ALLINPUT) == WAIT_TIMEOUT) break;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    if (g_toggles == before) {
      std::fprintf(stderr, "round %d: no 10025 within 2 s\n", i + 1);
      continue;
    }
    ms.push_back(1000.0 * static_cast<double>(g_arrived.QuadPart - start.QuadPart) /
                 static_cast<double>(frequency.QuadPart));
  }
  std::sort(ms.begin(), ms.end());
  return ms;
}

void Report(const char* what, const std::vector<double>& ms) {
  if (ms.empty()) {
    std::printf("%s: no measurement\n", what);
    return;
  }
  double mean = std::accumulate(ms.begin(), ms.end(), 0.0) / static_cast<double>(ms.size());
  std::printf("%s over %zu rounds (ms): min %.2f  median %.2f  p95 %.2f  max %.2f  mean %.2f\n", what, ms.size(),
              ms.front(), ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 95 / 100)], ms.back(), mean);
}

}  // namespace

int main(int argc, char** argv) {
  int clicks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
  tvtest::StandInShell shell;
  if (!shell.Start()) {
    std::fprintf(stderr, "the stand-in shell did not start\n");
    return 1;
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = &ProbeProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ClockLatencyProbe";
  RegisterClassW(&wc);
  HWND window = CreateWindowW(wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
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
  std::vector<double> fromClick = Measure(clicks, [&] {
    SetCursorPos(at.x, at.y);
    tvtest::WaitUntil([] { return false; }, 80);  // the pointer settles; nothing is timed yet
  }, [] {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
  });
  std::vector<double> fromEvent = Measure(clicks, [] { tvtest::WaitUntil([] { return false; }, 20); },
                                          [&] { SetEvent(leftEvent); });
  remove(static_cast<int>(ipc::kHookKey));
  StopIpcListener();
  Report("click -> 10025", fromClick);
  Report("event -> 10025", fromEvent);
  return fromClick.size() == static_cast<size_t>(clicks) && fromEvent.size() == static_cast<size_t>(clicks) ? 0 : 1;
}
