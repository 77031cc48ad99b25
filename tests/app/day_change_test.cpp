// A running tavrino.exe (wine64 + Xvfb) whose clock the test hook moves: the open window at
// 23:59:56 turns to the new day by its midnight timer alone, a change of the clock to another
// date does the same, and a wake-up with a two-hour-old weather report fetches once. The window
// before and after midnight is left in bin/screenshots for people to look at.
#include <gtest/gtest.h>

#include <windows.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "app/logic/month_layout.h"
#include "tests/app/program_driver.h"

namespace {

using namespace tvprog;

// Seconds to add to the system clock so that it reads `hour:minute:second` on the day `days` on.
long long OffsetTo(int days, int hour, int minute, int second) {
  SYSTEMTIME now = Today();
  const long long sinceMidnight = (now.wHour * 60LL + now.wMinute) * 60 + now.wSecond;
  return days * 86400LL + (hour * 60LL + minute) * 60 + second - sinceMidnight;
}

// The date `days` from today as the program's header writes it ("2027年1月1日 周").
struct ShownDay {
  int year, month, day;
  std::string Header() const {
    return std::to_string(year) + "年" + std::to_string(month) + "月" + std::to_string(day) + "日 周";
  }
};
ShownDay DayFromToday(int days) {
  SYSTEMTIME now = Today();
  std::tm t{};
  t.tm_year = now.wYear - 1900;
  t.tm_mon = now.wMonth - 1;
  t.tm_mday = now.wDay + days;
  t.tm_hour = 12;
  std::mktime(&t);
  return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday};
}

class DayChangeTest : public ProgramTest {
 protected:
  void TearDown() override {
    if (hwnd_ && IsWindow(hwnd_)) Click(app::kHookClock, 0);
    ProgramTest::TearDown();
  }
  ::testing::AssertionResult ShowsToday(const ShownDay& d) {
    State s = Read();
    if (s[u"worldday"].rfind(d.Header(), 0) != 0) return ::testing::AssertionFailure() << "header " << s[u"worldday"];
    const int cell = ShapeOfMonth(d.year, d.month).leadingDays + d.day - 1;
    if (Narrow(s.CellPart(cell, 0)) != "day_s.png") return ::testing::AssertionFailure() << "no today frame on " << cell;
    if (s[u"tray.tip"].find(d.Header()) == std::string::npos) return ::testing::AssertionFailure() << "tip " << s[u"tray.tip"];
    return ShowsMonth(d.year, d.month, d.day, 0);
  }
  // Keeps the main window's picture as bin/screenshots/<name>.png for people to look at.
  void Shot(const std::string& name) {
    if (Click(app::kHookShot, 2) != 1) return;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::filesystem::path dir = std::filesystem::path(self).parent_path() / "screenshots";
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    std::filesystem::copy_file(install_->Dir() / "shot-2.png", dir / (name + ".png"),
                               std::filesystem::copy_options::overwrite_existing, ignored);
  }
};

TEST_F(DayChangeTest, MidnightAndAChangedClockRenewTodayInTheOpenWindow) {
  Launch();
  // 23:59:56 tomorrow: the clock change itself shows tomorrow, the midnight timer then the day after.
  ASSERT_EQ(Click(app::kHookClock, static_cast<LPARAM>(OffsetTo(1, 23, 59, 56))), 1);
  EXPECT_TRUE(ShowsToday(DayFromToday(1)));
  Shot("day-before-midnight");
  // Header, frame and tip are renewed in one handler, but the test hook may read between them.
  WaitFor([&] { return static_cast<bool>(ShowsToday(DayFromToday(2))); }, 15000);
  EXPECT_TRUE(ShowsToday(DayFromToday(2))) << "midnight passed unnoticed";
  Shot("day-after-midnight");

  // A month the user went to stays across a change of the clock; the header still follows.
  ASSERT_EQ(Click(app::kHookClick, 1), 1);  // monRight
  const State before = Read();
  ASSERT_EQ(Click(app::kHookClock, static_cast<LPARAM>(OffsetTo(40, 10, 0, 0))), 1);
  State s = Read();
  EXPECT_EQ(s[u"shown"], before[u"shown"]);
  EXPECT_EQ(s[u"worldday"].rfind(DayFromToday(40).Header(), 0), 0u) << s[u"worldday"];
  // Back to today's month, then the clock set back to today: the month follows.
  ASSERT_EQ(Click(app::kHookClick, 2), 1);  // returntoday
  ASSERT_EQ(Click(app::kHookClock, 0), 1);
  EXPECT_TRUE(ShowsToday(DayFromToday(0)));
}

// A display or work-area change puts a window that stood elsewhere back by the clock.
TEST_F(DayChangeTest, DisplayAndWorkAreaChangesPlaceTheWindowAgain) {
  Launch();
  RECT placed;
  GetWindowRect(hwnd_, &placed);
  for (UINT message : {static_cast<UINT>(WM_DISPLAYCHANGE), static_cast<UINT>(WM_SETTINGCHANGE)}) {
    SetWindowPos(hwnd_, nullptr, placed.left - 200, placed.top - 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(hwnd_, message, message == WM_SETTINGCHANGE ? SPI_SETWORKAREA : 32, 0);
    RECT rc;
    GetWindowRect(hwnd_, &rc);
    EXPECT_EQ(rc.left, placed.left) << message;
    EXPECT_EQ(rc.top, placed.top) << message;
  }
}

TEST_F(DayChangeTest, AWakeUpFetchesAnOldReportOnce) {
  const std::string root = WeatherFromDevService();
  if (root.empty()) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("devservice is not running: run this test through ctest (fixture wx_devservice)");
  Launch();
  ASSERT_TRUE(WaitFor([&] { return Read().Int(u"weather_updates") >= 1; }, 60000)) << "no weather update";
  const int updates = Read().Int(u"weather_updates");

  // A fresh report: a wake-up renews today and fetches nothing.
  SendMessageW(hwnd_, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  Sleep(1500);
  EXPECT_EQ(Read().Int(u"weather_updates"), updates);
  // Two hours on: both resume messages come, one refresh is made.
  ASSERT_EQ(Click(app::kHookClock, 2 * 3600), 1);
  SendMessageW(hwnd_, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  SendMessageW(hwnd_, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
  ASSERT_TRUE(WaitFor([&] { return Read().Int(u"weather_updates") > updates; }, 60000)) << "no refresh after the wake-up";
  Sleep(2000);
  EXPECT_EQ(Read().Int(u"weather_updates"), updates + 1);
}

}  // namespace
