// A month of use in one process: tavrino.exe (the test build, from a scratch copy of its folder)
// driven through its test hook and its own messages, with its clock moved for the midnights.
// Interleaved in rounds: month changes, weather refreshes against the local stand-in service,
// show/hide cycles, skin changes, midnights and wake-ups. Prints the working set, the handle count
// and the GDI/USER objects after the first thousand operations and at the end, and every kind of
// line the log received.
//   soak_probe SERVICE_BASE [percent of the full run, default 100]
// The full run: 10,000 month changes, 1,000 weather refreshes, 500 show/hide cycles, 100 skin
// changes, 30 midnights and 10 wake-ups (a weather refresh takes about 2 s: its animation asks
// for the weather on its 48th step).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "app/logic/window_messages.h"
#include "bench/app/probe_session.h"

namespace {

struct Figures {
  long long operations = 0;
  long long workingSetKib = -1;
  DWORD handles = 0, gdi = 0, user = 0;
};

// Seconds from now to 23:59:58 of the local day `days` after today.
long long SecondsToLateEvening(int days) {
  std::time_t now = std::time(nullptr);
  std::tm local = *std::localtime(&now);
  long long secondsToday = local.tm_hour * 3600LL + local.tm_min * 60LL + local.tm_sec;
  return (86400LL - 2 - secondsToday) + days * 86400LL;
}

// The log's lines without their time and thread, counted by text.
std::map<std::string, int> LogKinds(const std::filesystem::path& dir) {
  std::map<std::string, int> kinds;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() != ".log") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::wstring text;
    for (size_t i = 0; i + 1 < raw.size(); i += 2) {
      text += static_cast<wchar_t>(static_cast<unsigned char>(raw[i]) | (static_cast<unsigned char>(raw[i + 1]) << 8));
    }
    std::wistringstream lines(text);
    for (std::wstring line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == L'\r') line.pop_back();
      if (!line.empty() && line.front() == 0xFEFF) line.erase(0, 1);
      // "date time level thread text": the text from the fifth field on.
      size_t at = 0;
      for (int field = 0; field < 4 && at != std::wstring::npos; ++field) {
        at = line.find(L' ', at);
        if (at != std::wstring::npos) at = line.find_first_not_of(L' ', at);
      }
      if (at == std::wstring::npos) continue;
      std::wstring kind = line.substr(at);
      for (wchar_t& c : kind) {
        if (c >= L'0' && c <= L'9') c = L'#';  // times, counts and statuses alike
      }
      char utf8[1024];
      int n = WideCharToMultiByte(CP_UTF8, 0, kind.c_str(), static_cast<int>(kind.size()), utf8, sizeof utf8, nullptr,
                                  nullptr);
      ++kinds[std::string(utf8, n > 0 ? static_cast<size_t>(n) : 0)];
    }
  }
  return kinds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: soak_probe SERVICE_BASE [percent]\n");
    return 2;
  }
  const std::string service = argv[1];
  const int percent = argc > 2 ? std::atoi(argv[2]) : 100;
  const int rounds = percent > 0 ? percent : 100;  // one round: 1 % of the full run
  probe::ProgramCopy copy("tavrino-soak");
  for (const char* name : {"svc_meteo", "svc_meteo_air"}) {
    if (!copy.SetConfig(name, service)) {
      std::printf("cannot set %s in the copy's user.dat\n", name);
      return 1;
    }
  }
  PROCESS_INFORMATION pi;
  if (!copy.Start(pi)) {
    std::printf("cannot start the program\n");
    return 1;
  }
  HWND main = probe::WaitForVisibleMainWindow();
  if (!main) {
    std::printf("no main window\n");
    TerminateProcess(pi.hProcess, 1);
    return 1;
  }
  probe::StateReader reader;
  const UINT hook = probe::StateReader::Hook();
  auto measure = [&](long long operations) {
    Figures f;
    f.operations = operations;
    f.workingSetKib = reader.Read(main).Number(u"working_set_kib");
    GetProcessHandleCount(pi.hProcess, &f.handles);
    f.gdi = GetGuiResources(pi.hProcess, GR_GDIOBJECTS);
    f.user = GetGuiResources(pi.hProcess, GR_USEROBJECTS);
    return f;
  };
  auto weatherUpdates = [&] {
    return reader.Read(main).Number(u"weather_updates");
  };
  Sleep(3000);  // the start's own refresh is done

  long long operations = 0, months = 0, refreshes = 0, refreshesLate = 0, toggles = 0, skins = 0, midnights = 0,
            wakes = 0;
  Figures first, last;
  bool haveFirst = false;
  DWORD_PTR r = 0;
  const ULONGLONG started = GetTickCount64();
  for (int round = 0; round < rounds; ++round) {
    SendMessageTimeoutW(main, hook, app::kHookBench, 100, SMTO_NORMAL, 60000, &r);  // next ×100, then back
    months += 100;
    operations += 100;
    for (int i = 0; i < 10; ++i) {
      const long long before = weatherUpdates();
      PostMessageW(main, app::UM_START_REFRESH, 0, 0);
      bool arrived = false;
      for (int wait = 0; wait < 200 && !arrived; ++wait) {
        Sleep(50);
        arrived = weatherUpdates() > before;
      }
      if (!arrived) ++refreshesLate;
      ++refreshes;
      ++operations;
    }
    for (int i = 0; i < 5; ++i) {  // hide, show: the window ignores a second toggle within 200 ms
      for (int half = 0; half < 2; ++half) {
        PostMessageW(main, app::UM_TOGGLE_MAIN, 0, 0);
        Sleep(250);
      }
      ++toggles;
      ++operations;
    }
    PostMessageW(main, app::UM_SKIN_APPLY, static_cast<WPARAM>(1 + round % 9), 0);
    ++skins;
    ++operations;
    if ((round + 1) * 30 / 100 > round * 30 / 100) {  // the clock taken to 23:59:58, then past midnight
      SendMessageTimeoutW(main, hook, app::kHookClock, static_cast<LPARAM>(SecondsToLateEvening(static_cast<int>(++midnights))),
                          SMTO_NORMAL, 5000, &r);
      Sleep(3500);
      ++operations;
    }
    if ((round + 1) * 10 / 100 > round * 10 / 100) {
      SendMessageTimeoutW(main, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0, SMTO_NORMAL, 5000, &r);
      ++wakes;
      ++operations;
    }
    if (!haveFirst && operations >= 1000) {
      first = measure(operations);
      haveFirst = true;
    }
  }
  Sleep(3000);  // the last refresh and skin change settle
  last = measure(operations);
  const double minutes = static_cast<double>(GetTickCount64() - started) / 60000.0;
  SendMessageTimeoutW(main, hook, app::kHookClock, 0, SMTO_NORMAL, 5000, &r);
  SendMessageTimeoutW(main, hook, app::kHookClick, 3, SMTO_NORMAL, 5000, &r);  // closebtn
  const bool ended = WaitForSingleObject(pi.hProcess, 15000) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);

  std::printf("soak: %lld operations in %.1f min: %lld month changes, %lld weather refreshes (%lld without an "
              "update in 10 s), %lld show/hide cycles, %lld skin changes, %lld midnights, %lld wake-ups\n",
              operations, minutes, months, refreshes, refreshesLate, toggles, skins, midnights, wakes);
  std::printf("%-22s %12s %12s %8s\n", "", "working set", "handles", "GDI/USER");
  for (const Figures* f : {&first, &last}) {
    std::printf("after %6lld operations %8lld KiB %12lu %4lu/%lu\n", f->operations, f->workingSetKib, f->handles,
                f->gdi, f->user);
  }
  std::printf("growth %26lld KiB %12ld %4ld/%ld\n", last.workingSetKib - first.workingSetKib,
              static_cast<long>(last.handles) - static_cast<long>(first.handles),
              static_cast<long>(last.gdi) - static_cast<long>(first.gdi),
              static_cast<long>(last.user) - static_cast<long>(first.user));
  std::printf("program ended %s\nlog lines by kind (digits as #):\n", ended ? "by its close button" : "by force");
  for (const auto& [kind, count] : LogKinds(copy.Dir())) std::printf("  %6d  %s\n", count, kind.c_str());
  return 0;
}
