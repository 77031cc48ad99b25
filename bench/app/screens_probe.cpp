// Pictures of tavrino.exe's windows for comparing two builds pixel by pixel (tools/screens/compare.sh).
//   screens_probe OUT_DIR [SERVICE_URL]
// Starts the test build once per skin from a scratch copy, with the program's clock moved to a
// fixed moment (2026-03-16 10:00 local) and, with SERVICE_URL, the weather from the local stand-in.
// Saves the main window of every skin as main-<skin>.png; with the first skin also the weather
// pop-up, the city picker, the reminders dialog (by the test hook) and the settings, skin
// chooser, about, feedback and day tool-tip windows (from the screen, as BMP). Prints one line per
// picture; the exit code is the number of pictures that could not be taken.
#include <windows.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "app/logic/skins.h"
#include "bench/app/probe_session.h"
#include "app/logic/window_messages.h"
#include "app/win32/main_window_test_hook.h"
#include "tests/support/screen_input.h"

namespace {

namespace fs = std::filesystem;

using tvtest::MovePointer;
using tvtest::SaveScreenBmp;
using tvtest::WaitFor;

HWND WindowOf(DWORD pid, const wchar_t* cls) {
  struct Search {
    DWORD pid;
    const wchar_t* cls;
    HWND found;
  } s{pid, cls, nullptr};
  EnumWindows(
      [](HWND h, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        wchar_t name[64];
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner == s->pid && GetClassNameW(h, name, 64) && wcscmp(name, s->cls) == 0 && IsWindowVisible(h)) {
          s->found = h;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// Seconds from now to 2026-03-16 10:00:00 local time.
long long SecondsToFixedMoment() {
  std::tm fixed{};
  fixed.tm_year = 2026 - 1900;
  fixed.tm_mon = 2;
  fixed.tm_mday = 16;
  fixed.tm_hour = 10;
  fixed.tm_isdst = -1;
  return static_cast<long long>(std::mktime(&fixed)) - static_cast<long long>(std::time(nullptr));
}

class Session {
 public:
  Session(int skin, const std::string& service, const fs::path& out) : out_(out) {
    copy_.SetConfig("skin", "bg" + std::to_string(skin));
    copy_.SetConfig("lastconfirm", "2099-01-01 00:00:00:000");  // no autostart prompt of its own
    for (const char* key : {"svc_weather2", "svc_air", "svc_iplocation", "svc_meteo", "svc_meteo_air"}) {
      copy_.SetConfig(key, key[4] == 'm' ? std::string() : service);
    }
    copy_.SetConfig("svc_forecast", service.empty() ? service : service + "/_/daytime");
    PROCESS_INFORMATION pi{};
    if (!copy_.Start(pi)) return;
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    WaitFor([&] { return (main_ = WindowOf(pid_, L"TavrinoMain")) != nullptr; }, 20000);
    if (!main_ || !WaitFor([&] { return reader_.Read(main_).Int(u"started") == 1; }, 20000)) main_ = nullptr;
  }
  ~Session() {
    if (main_ && IsWindow(main_)) Send(app::kHookClick, 3);  // closebtn
    if (process_) {
      if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
      WaitForSingleObject(process_, 5000);
      CloseHandle(process_);
    }
    probe::WaitForShellIdle();
  }
  bool Up() const { return main_ != nullptr; }

  LRESULT Send(WPARAM command, LPARAM arg) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(main_, probe::StateReader::Hook(), command, arg, SMTO_NORMAL, 10000, &result);
    return static_cast<LRESULT>(result);
  }
  probe::State Read() { return reader_.Read(main_); }

  // The fixed moment, and the weather fetched again at it (its pictures depend on the hour).
  void Settle(bool weather) {
    Send(app::kHookClock, static_cast<LPARAM>(SecondsToFixedMoment()));
    WaitFor([&] { return Read()[u"shown"].rfind("2026,3,", 0) == 0; }, 5000);
    if (weather) {
      WaitFor([&] { return Read().Int(u"weather_updates") >= 1; }, 30000);
      const int before = Read().Int(u"weather_updates");
      Send(app::kHookClick, 12);  // refresh
      WaitFor([&] {
        probe::State s = Read();
        return s.Int(u"weather_updates") > before && s[u"refresh"] == "r0.png|0";
      }, 30000);
    }
    Sleep(300);
  }

  // A picture saved by the hook ("shot-<which>.png" beside the program) moved to OUT/name.png.
  bool HookShot(int which, const std::string& name) {
    Sleep(1300);  // fades and the first paintings are over
    if (Send(app::kHookShot, which) != 1) return Report(name, false);
    std::error_code ec;
    fs::path from = copy_.Dir() / ("shot-" + std::to_string(which) + ".png");
    fs::copy_file(from, out_ / (name + ".png"), fs::copy_options::overwrite_existing, ec);
    fs::remove(from, ec);
    return Report(name, !ec);
  }
  // A visible window of the program's, from the screen.
  bool ScreenShot(const wchar_t* cls, const std::string& name) {
    HWND w = nullptr;
    WaitFor([&] { return (w = WindowOf(pid_, cls)) != nullptr; }, 5000);
    Sleep(1000);
    return Report(name, w && SaveScreenBmp(w, out_ / (name + ".bmp")));
  }
  // The day tool tip of the grid's 10th cell, by resting the pointer on it.
  bool TooltipShot() {
    probe::State s = Read();
    RECT rc;
    GetWindowRect(main_, &rc);
    const double scale = s.Int(u"dpi") > 0 ? s.Int(u"dpi") / 96.0 : 1.0;
    const std::u16string cell = s.CellPart(9, 3);
    int x = 0, y = 0, w = 0, h = 0;
    std::swscanf(reinterpret_cast<const wchar_t*>(cell.c_str()), L"%d,%d,%d,%d", &x, &y, &w, &h);
    const int px = rc.left + static_cast<int>((x + w / 2) * scale), py = rc.top + static_cast<int>((y + h / 2) * scale);
    MovePointer(px - 3, py - 3);
    Sleep(100);
    MovePointer(px, py);
    return ScreenShot(L"CToolTipDlg", "tooltip");
  }
  // The seven-day pop-up, by pointing at the weather icon (after a step beside it).
  bool WeatherShot() {
    probe::State s = Read();
    RECT rc;
    GetWindowRect(main_, &rc);
    const double scale = s.Int(u"dpi") > 0 ? s.Int(u"dpi") / 96.0 : 1.0;
    const int px = rc.left + static_cast<int>((s.Field(u"weather.pos", 0) + s.Field(u"weather.pos", 2) / 2) * scale);
    const int py = rc.top + static_cast<int>((s.Field(u"weather.pos", 1) + s.Field(u"weather.pos", 3) / 2) * scale);
    MovePointer(px - 40, py + 60);
    Sleep(80);
    MovePointer(px, py);
    WaitFor([&] { return WindowOf(pid_, L"CDlgWeather") != nullptr; }, 5000);
    return HookShot(0, "weather-popup");
  }
  void PostToMain(UINT message) { PostMessageW(main_, message, 0, 0); }
  void Park() { MovePointer(0, 0); }

 private:
  static bool Report(const std::string& name, bool ok) {
    std::printf("%s %s\n", ok ? "shot" : "missing", name.c_str());
    std::fflush(stdout);
    return ok;
  }

  probe::ProgramCopy copy_{"tavrino-screens"};
  probe::StateReader reader_;
  fs::path out_;
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  HWND main_ = nullptr;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: screens_probe OUT_DIR [SERVICE_URL]\n");
    return 100;
  }
  const fs::path out = argv[1];
  std::string service;
  for (const wchar_t* c = argc > 2 ? argv[2] : L""; *c; ++c) service += static_cast<char>(*c);
  fs::create_directories(out);
  int missing = 0;
  // One start per picture: what a pop-up leaves behind never reaches the next one.
  auto session = [&](int skin, const std::string& name, const std::function<bool(Session&)>& take) {
    Session s(skin, service, out);
    if (!s.Up()) {
      std::printf("missing %s (the program did not start)\n", name.c_str());
      ++missing;
      return;
    }
    s.Park();
    s.Settle(!service.empty());
    missing += !take(s);
  };
  for (int skin = 1; skin <= kSkinCount; ++skin) {
    const std::string name = "main-" + std::to_string(skin);
    session(skin, name, [&](Session& s) { return s.HookShot(2, name); });
  }
  session(1, "tooltip", [](Session& s) { return s.TooltipShot(); });
  session(1, "weather-popup", [](Session& s) { return s.WeatherShot(); });
  const struct {
    int button;  // index in kTestHookButtons
    const wchar_t* cls;
    const char* name;
    int hookShot;  // the hook's picture of it, or -1: from the screen
  } popups[] = {{10, L"CDlgCity", "city-picker", 1}, {8, L"CRemindDlg", "reminders", 3},
                {6, L"CSetDlg", "settings", -1},     {5, L"CSkinDlg", "skin-chooser", -1},
                {7, L"CSurveys", "feedback", -1}};
  for (const auto& p : popups) {
    session(1, p.name, [&](Session& s) {
      s.Send(app::kHookClick, p.button);
      return p.hookShot >= 0 ? s.HookShot(p.hookShot, p.name) : s.ScreenShot(p.cls, p.name);
    });
  }
  session(1, "about", [](Session& s) {
    s.PostToMain(UM_SHOW_ABOUT);
    return s.ScreenShot(L"CAboutDlg", "about");
  });
  return missing;
}
