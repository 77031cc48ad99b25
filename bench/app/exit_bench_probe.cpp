// Times the whole exit of tavrino.exe: from the quit the tray menu sends (the main window's
// command 1101) to the end of the process, on a scratch copy of its folder, several times.
//   exit_bench_probe RUNS [NAME=VALUE ...]
// Each NAME=VALUE is stored in the copy's "userconfig" before the starts, e.g. a weather service
// that never answers (svc_forecast=http://127.0.0.1:PORT/_/timeout). With a weather service set,
// the quit comes while the start-up refresh is still turning.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/logic/window_messages.h"
#include "bench/app/probe_session.h"

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  probe::ProgramCopy copy("tavrino-exit-bench");
  bool refreshes = false;
  for (int i = 2; i < argc; ++i) {
    std::string setting = argv[i];
    size_t eq = setting.find('=');
    if (eq == std::string::npos || !copy.SetConfig(setting.substr(0, eq), setting.substr(eq + 1))) {
      std::printf("cannot store %s\n", argv[i]);
      return 1;
    }
    refreshes = refreshes || setting.rfind("svc_forecast=", 0) == 0;
  }

  probe::StateReader reader;

  std::vector<double> exits;
  int failures = 0, notTurning = 0;
  for (int run = 0; run < runs; ++run) {
    PROCESS_INFORMATION pi{};
    if (!copy.Start(pi)) {
      std::printf("cannot start tavrino.exe\n");
      return 1;
    }
    HWND main = probe::WaitForVisibleMainWindow();
    if (main) {
      // Settled: painted, its start-up work under way (a second for the statistics exchange to send).
      for (int i = 0; i < 300; ++i) {
        if (reader.Read(main).Number(u"entry_to_paint_ms") >= 0) break;
        Sleep(10);
      }
      Sleep(1000);
      if (refreshes) {
        const std::u16string refresh = reader.Read(main).Text(u"refresh");
        if (refresh.size() < 2 || refresh.compare(refresh.size() - 2, 2, u"|1") != 0) ++notTurning;
      }
      auto quit = std::chrono::steady_clock::now();
      PostMessageW(main, WM_COMMAND, app::kCommandQuit, 0);
      if (WaitForSingleObject(pi.hProcess, 15000) == WAIT_OBJECT_0) {
        exits.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - quit).count());
      } else {
        ++failures;
      }
    } else {
      ++failures;
    }
    if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) {
      TerminateProcess(pi.hProcess, 1);
      WaitForSingleObject(pi.hProcess, 5000);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }

  std::vector<double> sorted = exits;
  std::sort(sorted.begin(), sorted.end());
  std::printf("runs %d (failures %d", runs, failures);
  if (refreshes) std::printf(", quit without a refresh turning %d", notTurning);
  std::printf("): quit -> process ended, median %.0f ms, in run order:", sorted.empty() ? -1.0 : sorted[sorted.size() / 2]);
  for (double ms : exits) std::printf(" %.0f", ms);
  std::printf("\n");
  return failures == 0 ? 0 : 1;
}
