#include "app/win32/startup.h"

#include <objbase.h>

#include <memory>

#include "app/logic/shutdown_sequence.h"
#include "app/logic/start_options.h"
#include "app/logic/window_messages.h"
#include "app/win32/dlg_main.h"
#include "app/win32/entry_points.h"
#include "app/win32/main_window_handle.h"
#include "app/win32/popup_host.h"
#include "app/win32/start_metrics.h"
#include "calendar/holiday_arrangement.h"
#include "calendar/reminder_store.h"
#include "platform/database.h"
#include "platform/file_utils.h"
#include "platform/http_client.h"
#include "platform/log.h"
#include "platform/program_dir.h"
#include "service/usage_recorder.h"
#include "platform/user_data.h"
#include "platform/user_data_upgrade.h"
#include "platform/win32/clock_hook.h"
#include "platform/win32/ipc.h"
#include "ui/win32/ui_app.h"
#include "weather/city_codes.h"
#include "weather/current_city.h"
#include "weather/weather_worker.h"
#include "weather/win32/window_poster.h"

namespace app {

namespace {

// How long the user-interface thread's statements wait for another program's lock on user.dat.
constexpr int kUiBusyWaitMs = 10;
// How long the exit waits for an abandoned weather refresh to end.
constexpr int kWeatherExitWaitMs = 1500;

void Shutdown(bool comStarted) {
  ShutdownSteps steps;
  steps.recordExit = [] { RecordUsageEvent(kUsageProgramExit, u"0"); };
  steps.stopClockHook = [] { StopClockHook(); };
  steps.stopIpcListener = [] { StopIpcListener(); };
  steps.stopUsageRecorder = [] { StopUsageRecorder(); };
  steps.closeUserData = [] {
    // A refresh still running uses the database: end it first, abandoning its request in flight.
    if (!StopWeatherWorker(kWeatherExitWaitMs)) LogError(u"app: a weather refresh was still running at exit");
    CloseUserData();
  };
  RunShutdown(steps);
  if (comStarted) CoUninitialize();
}

// The main window without its skin would be a blank, top-most rectangle: say what is wrong and
// end instead. The window has not been shown yet.
void ReportUnusableSkin(HWND hwnd, const std::u16string& error) {
  LogError(u"app: the main window's skin cannot be built, the program ends: " + error);
  std::u16string text = u"无法加载主窗口的皮肤，程序将退出。\nThe main window's skin cannot be built; the program ends.\n\n" + error;
  MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()), L"Velar日历",
              MB_OK | MB_ICONERROR | MB_TOPMOST | MB_SETFOREGROUND);
  DestroyWindow(hwnd);  // its destroy posts the quit message
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message != WM_QUIT) DispatchMessageW(&msg);
  }
}

}  // namespace

int RunTavrino(HINSTANCE instance, CDlgMain::MessageTap tap) {
  const StartOptions options = ParseStartOptions(CommandLineTokens(ProgramCommandLine()));
  // Started by itself to make one request: nothing of the program runs then.
  if (options.fetch) return RunHttpHelper();
  // Every request of this run goes through such a helper, so that the system's HTTP and TLS
  // libraries never load into the program that stays running.
  SetHttpHelperProgram(ExecutablePath());
  MarkProgramEntry();
  // One instance per session: a second start brings the first forward and leaves.
  if (!TakeSingleInstance()) return 0;
  MarkStartStep(u"single_instance");
  // Nothing on this thread waits for another program's lock on user.dat.
  SetDbBusyWait(kUiBusyWaitMs);

  InstallCurrentCityLoader();
  InstallHolidayLoader();
  InstallReminderTables();
  // A new version's data left by the installer becomes user.dat, with the user's rows, before it opens.
  // A user.dat that cannot be read at all is kept aside and replaced by the new or shipped data.
  std::u16string upgradeMessage;
  const UserDataUpgrade upgrade = ApplyPendingUserDataUpgrade(ProgramDirectory(), upgradeMessage);
  OpenUserData();
  MarkStartStep(u"user_data");
  if (upgrade == UserDataUpgrade::kReplacedDamaged) {
    LogError(u"app: " + upgradeMessage);
  } else if (!upgradeMessage.empty()) {
    LogError(u"app: upgrading user.dat: " + upgradeMessage);
  }
  // user.dat is locked: show the default city until it can be read, without storing it.
  if (UserDataDeferred()) {
    SetCurrentCity({std::u16string(kDefaultProvince), std::u16string(kDefaultCity), std::u16string(kDefaultCityCode)});
  }

  StartUsageRecorder();
  RecordUsageEvent(kUsageProgramStart, u"0");
  MarkStartStep(u"usage_recorder");

  tvui::UiApp::SetInstance(instance);
  tvui::UiApp::SetResourcePath(tvui::UiApp::GetInstancePath());

  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    LogError(u"app: COM cannot start on the user-interface thread");
    Shutdown(false);  // the start and its data are kept, not dropped
    return 0;
  }

  MarkStartStep(u"com");
  if (int event = options.InstallEvent()) RecordUsageEvent(event, u"0");

  // The calendar window and the host of its pop-ups: the window goes first, then the pop-ups.
  PopupHost popups;
  auto main = std::make_unique<CDlgMain>(popups, tap);
  HWND hwnd = main->Create(nullptr, L"Velar日历", WS_POPUP | WS_SYSMENU, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
  if (!hwnd) {
    LogError(u"app: cannot create the main window");
    main.reset();
    Shutdown(true);
    return 0;
  }
  if (!main->GetSkinError().empty()) {
    ReportUnusableSkin(hwnd, main->GetSkinError());
    main.reset();
    Shutdown(true);
    return kExitSkinUnusable;
  }
  MarkStartStep(u"window");
  SetWeatherPoster(MakeWindowPoster(hwnd));
  StartIpcListener(hwnd);
  MarkStartStep(u"ipc");
  if (!options.noShow) main->ShowWindow(true, true);
  if (options.autoStart) main->ShowWindow(false);
  MarkStartStep(u"shown");
  // Painted now: what follows (the workers, the prompt, the posted messages) comes after.
  if (IsWindowVisible(hwnd)) main->UpdateNow();
  // A window on show adds the tray icon once it has painted; a hidden one needs it now.
  if (!IsWindowVisible(hwnd)) ::PostMessageW(hwnd, UM_ADD_TRAY_ICON, 0, 0);
  SetMainWindowHandle(hwnd);
  ::PostMessageW(hwnd, UM_START_REFRESH, 0, 0);
  StartStatisticsWorker(hwnd);
  MarkStartStep(u"statistics");
  LoadHolidayArrangement();
  MarkStartStep(u"holidays");
  ShowAutostartPromptIfDue(popups, options);
  // user.dat was locked at start-up: the window shows the defaults until it can be read.
  MarkStartStep(u"prompt");
  CompleteDeferredUserData([hwnd] { ::PostMessageW(hwnd, app::UM_USER_DATA_READY, 0, 0); });

  tvui::UiApp::MessageLoop();  // until the main window is destroyed
  main.reset();
  popups.Release();

  SetWeatherPoster({});
  SetMainWindowHandle(nullptr);
  Shutdown(true);
  return 0;
}

}  // namespace app
