// Starts tavrino.exe from a scratch copy of its folder several times and prints its start-up
// time, the month rebuild time and its working set, read through the program's test hook.
//   app_bench_probe [runs]
//   app_bench_probe frames YEAR MONTH CHANGES PERIOD_MS
//     one start; shows YEAR-MONTH, prints "A x,y,w,h" (the window), shows the next month and
//     prints "B x,y,w,h", goes back, prints "go", changes month CHANGES times (next and back in
//     turn) every PERIOD_MS, prints "done" and ends the program: for a screen recorder beside it.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/app/probe_session.h"

namespace {

double Median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The start's steps from the state text ("start_step=<name> <µs> <KiB>" lines), in the order
// of the first run that named them.
struct StartSteps {
  std::vector<std::string> names;
  std::vector<std::vector<double>> ms, mib;

  void Add(const std::u16string& state) {
    const std::u16string key = u"start_step=";
    for (size_t at = state.find(key); at != std::u16string::npos; at = state.find(key, at + 1)) {
      size_t end = state.find(u'\n', at);
      std::string line;
      for (size_t i = at + key.size(); i < std::min(end, state.size()); ++i) line += static_cast<char>(state[i]);
      char name[64];
      long long us = 0, kib = 0;
      if (std::sscanf(line.c_str(), "%63s %lld %lld", name, &us, &kib) != 3) continue;
      size_t k = std::find(names.begin(), names.end(), name) - names.begin();
      if (k == names.size()) {
        names.push_back(name);
        ms.emplace_back();
        mib.emplace_back();
      }
      ms[k].push_back(static_cast<double>(us) / 1000.0);
      if (kib >= 0) mib[k].push_back(static_cast<double>(kib) / 1024.0);
    }
  }
  void Print() const {
    if (names.empty()) return;
    std::printf("  start steps (medians: ms since the entry point, working set then):\n");
    for (size_t k = 0; k < names.size(); ++k)
      std::printf("    %-16s %8.1f ms %8.1f MiB\n", names[k].c_str(), Median(ms[k]), Median(mib[k]));
  }
};

}  // namespace

std::string RectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right - r.left) + "," +
         std::to_string(r.bottom - r.top);
}

int main(int argc, char** argv) {
  const bool frames = argc > 5 && std::string(argv[1]) == "frames";
  int runs = frames ? 1 : argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  probe::ProgramCopy copy("tavrino-bench");
  probe::StateReader reader;
  const UINT hook = probe::StateReader::Hook();
  auto Value = [&reader](const char16_t* key) { return reader.Last().Number(key); };

  long long dpi = -1;
  std::vector<double> entryToPaint, createToPaint, launchToVisible, rebuildPaint, rebuildOnly, daysOnly, paintOnly, workingSet,
      clickMedian, clickSlowest;
  StartSteps steps;
  int failures = 0;
  for (int run = 0; run < runs; ++run) {
    PROCESS_INFORMATION pi{};
    auto launched = std::chrono::steady_clock::now();
    if (!copy.Start(pi)) {
      std::printf("cannot start tavrino.exe\n");
      return 1;
    }
    HWND main = probe::WaitForVisibleMainWindow();
    double visibleMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - launched).count();
    bool ok = main != nullptr;
    if (ok) {
      // Wait for the first painting, then read.
      for (int i = 0; i < 200; ++i) {
        reader.Read(main);
        if (Value(u"entry_to_paint_ms") >= 0) break;
        Sleep(10);
      }
      if (frames) {
        DWORD_PTR r = 0;
        const int year = std::atoi(argv[2]), month = std::atoi(argv[3]), changes = std::atoi(argv[4]);
        const DWORD period = static_cast<DWORD>(std::max(1, std::atoi(argv[5])));
        SendMessageTimeoutW(main, hook, app::kHookYear, year - 1950, SMTO_NORMAL, 5000, &r);
        SendMessageTimeoutW(main, hook, app::kHookMonth, month - 1, SMTO_NORMAL, 5000, &r);
        Sleep(1500);
        std::printf("A %s\n", RectOf(main).c_str());
        std::fflush(stdout);
        SendMessageTimeoutW(main, hook, app::kHookClick, 1, SMTO_NORMAL, 5000, &r);  // monRight
        Sleep(1500);
        std::printf("B %s\n", RectOf(main).c_str());
        std::fflush(stdout);
        SendMessageTimeoutW(main, hook, app::kHookClick, 0, SMTO_NORMAL, 5000, &r);  // monLeft
        Sleep(1500);
        std::printf("go\n");
        std::fflush(stdout);
        for (int i = 0; i < changes; ++i) {
          SendMessageTimeoutW(main, hook, app::kHookClick, i % 2 == 0 ? 1 : 0, SMTO_NORMAL, 5000, &r);
          Sleep(period);
        }
        std::printf("done\n");
        std::fflush(stdout);
        Sleep(1000);
        SendMessageTimeoutW(main, hook, app::kHookClick, 3, SMTO_NORMAL, 5000, &r);  // closebtn
        WaitForSingleObject(pi.hProcess, 15000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        break;
      }
      steps.Add(reader.Last().Raw());
      dpi = Value(u"dpi");
      // A person's first click comes later than this, after the pointer has come onto the window:
      // what the start leaves for after its first painting (the tray icon) and for the pointer's
      // arrival (the other month height's pictures) is done by then.
      PostMessageW(main, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
      Sleep(300);
      entryToPaint.push_back(static_cast<double>(Value(u"entry_to_paint_ms")));
      createToPaint.push_back(static_cast<double>(Value(u"create_to_paint_ms")));
      launchToVisible.push_back(visibleMs);
      DWORD_PTR mean = 0;
      SendMessageTimeoutW(main, hook, app::kHookBench, 50, SMTO_NORMAL, 60000, &mean);
      rebuildPaint.push_back(static_cast<double>(mean) / 1000.0);
      DWORD_PTR paint = 0;
      SendMessageTimeoutW(main, hook, app::kHookPaint, 50, SMTO_NORMAL, 60000, &paint);
      paintOnly.push_back(static_cast<double>(paint) / 1000.0);
      reader.Read(main);
      DWORD_PTR r = 0;
      clickMedian.push_back(static_cast<double>(Value(u"bench_median_us")) / 1000.0);
      clickSlowest.push_back(static_cast<double>(Value(u"bench_slowest_us")) / 1000.0);
      rebuildOnly.push_back(static_cast<double>(Value(u"rebuild_us")) / 1000.0);
      daysOnly.push_back(static_cast<double>(Value(u"month_days_us")) / 1000.0);
      workingSet.push_back(static_cast<double>(Value(u"working_set_kib")) / 1024.0);
      SendMessageTimeoutW(main, hook, app::kHookClick, 3, SMTO_NORMAL, 5000, &r);  // closebtn
    } else {
      ++failures;
    }
    if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0) {
      TerminateProcess(pi.hProcess, 1);
      WaitForSingleObject(pi.hProcess, 5000);
      ++failures;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    probe::WaitForShellIdle();  // each start a cold one, not one behind the last one's exit
  }
  if (frames) return failures == 0 ? 0 : 1;

  std::printf("runs: %d (failures %d) at %lld DPI, medians:\n", runs, failures, dpi);
  std::printf("  start: entry point -> first visible paint   %8.1f ms (target <= 300)\n", Median(entryToPaint));
  std::printf("  start: process creation -> first paint      %8.1f ms\n", Median(createToPaint));
  std::printf("  start: CreateProcess -> window visible      %8.1f ms (includes Wine's process start)\n", Median(launchToVisible));
  std::printf("  month change on a click, mean of 50         %8.2f ms\n", Median(rebuildPaint));
  std::printf("    median click of the 50                    %8.2f ms\n", Median(clickMedian));
  std::printf("    slowest (a change of row count)           %8.2f ms\n", Median(clickSlowest));
  std::printf("  month rebuild alone (cells built)           %8.2f ms\n", Median(rebuildOnly));
  std::printf("    of which the day records with their data  %8.2f ms\n", Median(daysOnly));
  std::printf("  painting the whole window alone             %8.2f ms\n", Median(paintOnly));
  std::printf("  working set after showing a month           %8.1f MiB\n", Median(workingSet));
  steps.Print();
  return failures == 0 ? 0 : 1;
}
