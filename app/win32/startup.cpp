#include "app/win32/startup.h"

#include <objbase.h>

#include <new>

#include "app/logic/shutdown_sequence.h"
#include "app/logic/start_options.h"
#include "app/logic/window_messages.h"
#include "app/win32/activation_listener.h"
#include "app/win32/dlg_main.h"
#include "app/win32/later_windows.h"
#include "app/win32/main_window_handle.h"
#include "app/win32/start_metrics.h"
#include "calendar/holiday_arrangement.h"
#include "platform/file_utils.h"
#include "platform/log.h"
#include "platform/usage_recorder.h"
#include "platform/user_data.h"
#include "ui/win32/ui_app.h"
#include "weather/current_city.h"
#include "weather/weather_worker.h"
#include "weather/win32/window_poster.h"

namespace app {

namespace {

void Shutdown(bool comStarted) {
  ShutdownSteps steps;
  steps.recordExit = [] { RecordUsageEvent(kUsageProgramExit, u"0"); };
  steps.stopClockHook = [] { StopClockHook(); };
  steps.stopIpcListener = [] { StopActivationListener(); };
  steps.stopUsageRecorder = [] { StopUsageRecorder(); };
  steps.closeUserData = [] {
    // A refresh still running writes through the database: let it end first.
    if (!WaitForWeatherIdle(15000)) LogError(u"app: a weather refresh was still running at exit");
    CloseUserData();
  };
  RunShutdown(steps);
  if (comStarted) CoUninitialize();
}

}  // namespace

int RunTavrino(HINSTANCE instance) {
  MarkProgramEntry();
  // One instance: a second start brings the first forward and leaves.
  if (SignalRunningInstance()) return 0;

  UserDataHooks hooks;
  hooks.loadCurrentCity = [] { LoadCurrentCity(); };
  AddHolidayLoading(hooks);
  SetUserDataHooks(std::move(hooks));
  OpenUserData();

  StartUsageRecorder();
  RecordUsageEvent(kUsageProgramStart, u"0");

  tvui::UiApp::SetInstance(instance);
  tvui::UiApp::SetResourcePath(tvui::UiApp::GetInstancePath());

  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    LogError(u"app: COM cannot start on the user-interface thread");
    Shutdown(false);  // the start and its data are kept, not dropped
    return 0;
  }

  StartOptions options = ParseStartOptions(CommandLineTokens(ProgramCommandLine()));
  if (int event = options.InstallEvent()) RecordUsageEvent(event, u"0");

  auto* main = new (std::nothrow) CDlgMain();
  HWND hwnd = main ? main->Create(nullptr, L"Velar日历", WS_POPUP | WS_SYSMENU, WS_EX_TOPMOST | WS_EX_TOOLWINDOW)
                   : nullptr;
  if (!hwnd) {
    LogError(u"app: cannot create the main window");
    delete main;
    Shutdown(true);
    return 0;
  }
  SetWeatherPoster(MakeWindowPoster(hwnd));
  StartActivationListener(hwnd);
  if (!options.noShow) main->ShowWindow(true, true);
  if (options.autoStart) main->ShowWindow(false);
  SetMainWindowHandle(hwnd);
  ::PostMessageW(hwnd, UM_START_REFRESH, 0, 0);
  StartStatisticsWorker(hwnd);
  LoadHolidayArrangement();
  ShowAutostartPromptIfDue(hwnd, options);

  tvui::UiApp::MessageLoop();  // until the main window is destroyed (it deletes itself)
  ReleasePopups();

  SetWeatherPoster({});
  SetMainWindowHandle(nullptr);
  Shutdown(true);
  return 0;
}

}  // namespace app
