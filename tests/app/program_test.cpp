// tavrino.exe as a whole, under Windows (wine64 + Xvfb here): each test starts the program from a
// scratch copy of bin/ (program, user.dat, skin15), drives it with real input or through its test
// hook message, and reads its state back through the hook (see app/README.md).
#include <gtest/gtest.h>

#include <windows.h>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/logic/feedback_window.h"
#include "app/logic/month_layout.h"
#include "app/logic/placement.h"
#include "app/logic/popup_placement.h"
#include "app/logic/skins.h"
#include "app/logic/tray_rules.h"
#include "app/logic/window_messages.h"
#include "platform/http_client.h"
#include "platform/launch.h"
#include "tests/app/program_driver.h"

namespace fs = std::filesystem;

namespace {

using namespace tvprog;

// The shipped program runs the same window but leaves the test hook unanswered: no other process
// can press its controls or read its state.
TEST_F(ProgramTest, TheShippedProgramHasNoTestHook) {
  install_ = std::make_unique<Installation>(kShipped);
  process_ = install_->Start();
  ASSERT_NE(process_, nullptr);
  hwnd_ = Installation::WaitWindow(process_);
  ASSERT_NE(hwnd_, nullptr) << "no main window";
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(hwnd_) != FALSE; }, 10000));
  DWORD_PTR result = 7;
  ASSERT_NE(SendMessageTimeoutW(hwnd_, StateReader::Hook(), app::kHookState, 0, SMTO_NORMAL, 5000, &result), 0);
  EXPECT_EQ(result, 0u);
  EXPECT_TRUE(reader_.Read(hwnd_).Empty());
  EXPECT_EQ(Press(u"closebtn"), 0);  // not pressed from outside
  EXPECT_TRUE(IsWindow(hwnd_));
  PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  EXPECT_EQ(Installation::WaitExit(process_, 15000), 0);
}

TEST_F(ProgramTest, WindowStandsAtTheAnchorAndShowsTodaysMonth) {
  Launch();
  SYSTEMTIME now = Today();
  State s = Read();
  EXPECT_EQ(s.Int(u"visible"), 1);

  // The anchor from this desktop's work area and taskbar.
  RECT wa;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &wa, 0);
  tvui::Rect taskbar;
  if (HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr)) {
    RECT tr;
    GetWindowRect(tray, &tr);
    taskbar = {tr.left, tr.top, tr.right, tr.bottom};
  }
  Anchor anchor;
  const tvui::Rect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  ComputeAnchor({screen, {wa.left, wa.top, wa.right, wa.bottom}}, taskbar, anchor);
  int rows = ShapeOfMonth(now.wYear, now.wMonth).rows;
  tvui::Rect expected = PlaceMonthWindow(anchor, rows).rect;
  RECT rc;
  GetWindowRect(hwnd_, &rc);
  EXPECT_EQ(rc.left, expected.left);
  EXPECT_EQ(rc.top, expected.top);
  EXPECT_EQ(rc.right - rc.left, 358);
  EXPECT_EQ(rc.bottom - rc.top, rows == 6 ? 506 : 460);
  EXPECT_EQ(s[u"background"], rows == 6 ? "bglong.png" : "bgshort.png");
  EXPECT_TRUE(ShowsMonth(now.wYear, now.wMonth, now.wDay, 0));
  EXPECT_EQ(s.Field(u"selectors", 2), 0);

  // Today's header, today's mark and the ticking clock.
  std::string world = s[u"worldday"];
  std::string prefix = std::to_string(now.wYear) + "年" + std::to_string(now.wMonth) + "月" +
                       std::to_string(now.wDay) + "日 周";
  EXPECT_EQ(world.rfind(prefix, 0), 0u) << world;
  EXPECT_NE(s[u"chineseday"].find("年"), std::string::npos);
  int todayCell = ShapeOfMonth(now.wYear, now.wMonth).leadingDays + now.wDay - 1;
  EXPECT_EQ(Narrow(s.CellPart(todayCell, 0)), "day_s.png");
  EXPECT_EQ(Narrow(s.CellPart(todayCell, 1)), std::to_string(now.wDay));
  std::string clock = s[u"clock"];
  ASSERT_EQ(clock.size(), 8u) << clock;
  EXPECT_TRUE(WaitFor([&] { return Read()[u"clock"] != clock; }, 3000)) << "the clock does not tick";
  EXPECT_EQ(Read()[u"xcity"].rfind("上海;", 0), 0u) << Read()[u"xcity"];
}

// The program's clock for the cases whose outcome hangs on the date: a day in a year of the
// shipped holiday table, whose year before is in it too.
constexpr SYSTEMTIME kPinnedDay{2025, 6, 0, 15, 12, 0, 0, 0};

TEST_F(ProgramTest, ArrowsSelectorsAndHolidaysChangeTheGrid) {
  Launch();
  PinClock(kPinnedDay);
  const SYSTEMTIME now = kPinnedDay;
  int y = now.wYear, m = now.wMonth;
  auto prev = [](int& yy, int& mm) { if (--mm == 0) { mm = 12; --yy; } };
  auto next = [](int& yy, int& mm) { if (++mm == 13) { mm = 1; ++yy; } };

  // Real clicks on the arrows and on "返回今天" (their places in DlgMain.xml).
  RealClickOn(u"monLeft");
  int py = y, pm = m;
  prev(py, pm);
  EXPECT_TRUE(ShowsMonth(py, pm, 0, 0));
  RealClickOn(u"monRight");
  RealClickOn(u"monRight");
  int ny = y, nm = m;
  next(ny, nm);
  EXPECT_TRUE(ShowsMonth(ny, nm, 0, 0));
  RealClickOn(u"returntoday");
  EXPECT_TRUE(ShowsMonth(y, m, now.wDay, 0));

  // The year and month selectors, and the arrows at the ends of the year list.
  ASSERT_EQ(Click(app::kHookYear, 0), 1);
  EXPECT_TRUE(ShowsMonth(1950, m, 0, 0));
  ASSERT_EQ(Click(app::kHookMonth, 0), 1);
  EXPECT_TRUE(ShowsMonth(1950, 1, 0, 0));
  RealClickOn(u"monLeft");
  EXPECT_TRUE(ShowsMonth(1950, 12, 0, 0)) << "January 1950 goes to December 1950";
  ASSERT_EQ(Click(app::kHookYear, 100), 1);
  EXPECT_TRUE(ShowsMonth(2050, 12, 0, 0));
  RealClickOn(u"monRight");
  EXPECT_TRUE(ShowsMonth(2050, 1, 0, 0)) << "December 2050 goes to January 2050";
  // A six-row month (March 2025) makes the window taller, keeping its bottom edge.
  RECT before;
  GetWindowRect(hwnd_, &before);
  Click(app::kHookYear, 75);
  Click(app::kHookMonth, 2);
  EXPECT_TRUE(ShowsMonth(2025, 3, 0, 0));
  RECT tall;
  GetWindowRect(hwnd_, &tall);
  EXPECT_EQ(tall.bottom - tall.top, 506);
  EXPECT_EQ(Read()[u"background"], "bglong.png");
  Click(app::kHookMonth, 1);  // February 2025: five rows
  RECT shortRect;
  GetWindowRect(hwnd_, &shortRect);
  EXPECT_EQ(shortRect.bottom - shortRect.top, 460);

  // Last year's National Day: its days off and make-up days come from last year's rows.
  const int last = y - 1;
  ASSERT_EQ(Click(app::kHookYear, last - 1950), 1);
  ASSERT_EQ(Click(app::kHookMonth, 9), 1);
  EXPECT_TRUE(ShowsMonth(last, 10, 0, 0));
  const std::string where = "from holiday where year = '" + std::to_string(last) + "' and name = 'guoqing'";
  const std::string off = install_->QueryValue(("select middleday " + where).c_str());
  const std::string worked = install_->QueryValue(("select leftday || ',' || rightday " + where).c_str());
  State october = Read();
  int marked = 0;
  for (int d = 1; d <= 31; ++d) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-10-%02d", last, d);
    const std::string badge = Narrow(october.CellPart(ShapeOfMonth(last, 10).leadingDays + d - 1, 5));
    const char* expected = worked.find(text) != std::string::npos ? "work.png"
                           : off.find(text) != std::string::npos  ? "release.png"
                                                                  : "";
    EXPECT_EQ(badge, expected) << text;
    marked += *expected != 0;
  }
  EXPECT_GE(marked, 7) << "the shipped table holds " << last;

  // The spring festival of this year from the shipped holiday table: its day is selected.
  std::string day = install_->QueryValue(
      ("select day from holiday where year = '" + std::to_string(y) + "' and name = 'chunjie'").c_str());
  ASSERT_EQ(Click(app::kHookHoliday, 2), 1);
  State s = Read();
  EXPECT_EQ(s.Field(u"selectors", 2), 2);
  ASSERT_GE(day.size(), 10u) << "the shipped table holds " << y;
  const int hy = std::atoi(day.substr(0, 4).c_str()), hm = std::atoi(day.substr(5, 2).c_str()),
            hd = std::atoi(day.substr(8, 2).c_str());
  EXPECT_TRUE(ShowsMonth(hy, hm, 0, hd));
  EXPECT_EQ(Narrow(Read().CellPart(ShapeOfMonth(hy, hm).leadingDays + hd - 1, 0)), "select.png");
  // An arrow puts the holiday selector back on its caption.
  RealClickOn(u"monRight");
  EXPECT_EQ(Read().Field(u"selectors", 2), 0);
}

TEST_F(ProgramTest, RestingOnADayShowsItsDetails) {
  Launch();
  PinClock(kPinnedDay);
  const SYSTEMTIME now = kPinnedDay;
  State s = Read();
  MonthShape shape = ShapeOfMonth(now.wYear, now.wMonth);
  RECT rc;
  GetWindowRect(hwnd_, &rc);
  auto rest = [&](int cell) {
    std::u16string pos = s.CellPart(cell, 3);
    int cx = 0, cy = 0, cw = 0, ch = 0;
    std::swscanf(reinterpret_cast<const wchar_t*>(pos.c_str()), L"%d,%d,%d,%d", &cx, &cy, &cw, &ch);
    // Two real moves, so that the window sees the pointer arrive even when it already stood there.
    MovePointer(rc.left + cx + cw / 2 - 3, rc.top + cy + ch / 2 - 3);
    Sleep(60);
    MovePointer(rc.left + cx + cw / 2, rc.top + cy + ch / 2);
  };
  int first = shape.leadingDays;  // day 1
  rest(first);
  ASSERT_TRUE(WaitFor([&] { return Read().Int(u"tooltip") == 1; }, 3000)) << "no tooltip";
  ASSERT_TRUE(WaitFor([&] { return !Read()[u"tooltip.day"].empty(); }, 2000));
  State t = Read();
  EXPECT_EQ(t[u"tooltip.day"],
            std::to_string(now.wYear) + "年" + std::to_string(now.wMonth) + "月1日");
  // The cell's data string, with the day's almanac lists from the first painting on.
  EXPECT_EQ(t.Text(u"tooltip.data"), s.CellPart(first, 4));
  EXPECT_NE(s.CellPart(first, 4).find(u"#宜:"), std::u16string::npos) << "the shipped almanac covers the day";
  EXPECT_EQ(t[u"tooltip.chinsesday"].rfind("星期", 0), 0u) << t[u"tooltip.chinsesday"];
  EXPECT_EQ(t.Field(u"tooltip.rect", 2), 230);
  EXPECT_EQ(t.Field(u"tooltip.rect", 3), 110);

  // Onto the next row's cell: the pop-up follows with that day.
  rest(first + 7);
  ASSERT_TRUE(WaitFor([&] { return Read()[u"tooltip.day"].find("月8日") != std::string::npos; }, 3000))
      << Read()[u"tooltip.day"];
  EXPECT_EQ(Read().Int(u"tooltip"), 1);
  // Off the grid: hidden.
  MovePointer(rc.left + 20, rc.top + 60);
  EXPECT_TRUE(WaitFor([&] { return Read().Int(u"tooltip") == 0; }, 3000));
}

TEST_F(ProgramTest, SecondStartShowsTheFirstAndExits) {
  Launch();
  ASSERT_EQ(Press(u"close"), 1);  // "close" hides the window
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(hwnd_); }, 3000));
  HANDLE second = install_->Start();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(Installation::WaitExit(second, 15000), 0);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(hwnd_) != FALSE; }, 3000)) << "the first did not come forward";
  EXPECT_TRUE(IsWindow(hwnd_));
}

TEST_F(ProgramTest, ToggleMessagesWithinTwoHundredMsActOnce) {
  Launch();
  PinClock(kPinnedDay);
  PostMessageW(hwnd_, app::UM_TOGGLE_MAIN, 0, 0);
  PostMessageW(hwnd_, app::UM_TOGGLE_MAIN, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(hwnd_); }, 3000));
  Sleep(400);
  EXPECT_FALSE(IsWindowVisible(hwnd_)) << "the second toggle came too soon and is ignored";
  PostMessageW(hwnd_, app::UM_TOGGLE_MAIN, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(hwnd_) != FALSE; }, 3000));
  EXPECT_TRUE(ShowsMonth(kPinnedDay.wYear, kPinnedDay.wMonth, kPinnedDay.wDay, 0)) << "shown anew on today's month";
}

TEST_F(ProgramTest, CloseButtonEndsTheProgramAndKeepsItsRecords) {
  Launch();
  std::string shown = Read()[u"shown"];
  RealClickOn(u"monLeft");  // one usage event of a window
  // Input is served after sent messages: close only once the click has arrived.
  ASSERT_TRUE(WaitFor([&] { return Read()[u"shown"] != shown; }, 5000)) << "the click did not arrive";
  ASSERT_EQ(Press(u"closebtn"), 1);
  EXPECT_EQ(Installation::WaitExit(process_, 15000), 0);
  std::string lrt = install_->QueryValue("select value from userconfig where name = 'lrt'");
  EXPECT_FALSE(lrt.empty()) << "no lrt";
  std::string events = install_->ReadFile("ubd.dat");
  EXPECT_EQ(events.rfind("\r\n", 0), 0u);
  EXPECT_NE(events.find("\r\n90001,"), std::string::npos) << events;
  EXPECT_NE(events.find("\r\n12004,"), std::string::npos) << events;
  EXPECT_NE(events.find("\r\n90002,"), std::string::npos) << "the exit event is lost: " << events;
  hwnd_ = nullptr;
}

TEST_F(ProgramTest, NoShowAndAutostartKeepTheWindowHidden) {
  Launch(L"-NOSHOW", false);
  State s = Read();
  EXPECT_EQ(s.Int(u"visible"), 0);
  EXPECT_EQ(s.Int(u"show_count"), 0) << "-noshow never shows it";
  EXPECT_GT(s.Int(u"cells"), 27) << "the month is built all the same";
  Press(u"closebtn");
  ASSERT_EQ(Installation::WaitExit(process_, 15000), 0);

  Launch(L"-autostart", false);
  s = Read();
  EXPECT_EQ(s.Int(u"visible"), 0);
  EXPECT_EQ(s.Int(u"show_count"), 1) << "-autostart shows, then hides";
  // Brought forward by a second start like any hidden window.
  HANDLE second = install_->Start();
  EXPECT_EQ(Installation::WaitExit(second, 15000), 0);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(hwnd_) != FALSE; }, 3000));
}

TEST_F(ProgramTest, WeatherPanelShowsTheRefreshedReport) {
  const std::string root = WeatherFromDevService();
  if (root.empty()) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("devservice is not running: run this test through ctest (fixture wx_devservice)");
  Launch();

  // The start-up refresh: the button turns until the update (10028) arrives, then rests.
  State s = Read();
  ASSERT_TRUE(WaitFor([&] {
    s = Read();
    return s.Int(u"weather_updates") >= 1;
  }, 60000)) << "no weather update";
  EXPECT_EQ(s[u"refresh"], "r0.png|0");
  std::u16string weather = s.Text(u"weather");
  size_t bar = weather.find(u'|');
  ASSERT_NE(bar, std::u16string::npos);
  std::u16string icon = weather.substr(0, bar), tip = weather.substr(bar + 1);
  EXPECT_EQ(icon.rfind(u"weather\\", 0), 0u) << s[u"weather"];
  EXPECT_NE(icon.find(u".png"), std::u16string::npos) << s[u"weather"];
  std::string picture = Narrow(icon);
  for (char& c : picture) c = c == '\\' ? '/' : c;
  EXPECT_TRUE(fs::exists(install_->Dir() / "skin15" / fs::u8path(picture))) << "no picture " << s[u"weather"];
  EXPECT_FALSE(tip.empty()) << "no condition text";
  EXPECT_NE(tip.find(u"风"), std::u16string::npos) << "no wind in " << s[u"weather"];
  std::u16string temperature = s.Text(u"temperature");
  ASSERT_FALSE(temperature.empty());
  EXPECT_EQ(temperature.back(), u'℃') << s[u"temperature"];
  // The badge: " 空气质量 L" or " L V", coloured by its level, at the skin's place.
  std::string air = s[u"air"];
  EXPECT_EQ(air.rfind(" ", 0), 0u) << air;
  EXPECT_GT(air.find("|"), 1u) << "no air-quality text";
  static const char* kColours[] = {"4286691887", "4294949655", "4291197185", "4293595419", "4289922651", "4284482050"};
  bool coloured = false;
  for (const char* c : kColours) coloured = coloured || air.find(std::string("|") + c + "|") != std::string::npos;
  EXPECT_TRUE(coloured) << air;
  EXPECT_NE(air.find("|122,93,"), std::string::npos) << air;

  // The refresh button: turning at once, resting again after the next update.
  int updates = s.Int(u"weather_updates");
  ASSERT_EQ(Press(u"refresh"), 1);
  s = Read();
  EXPECT_EQ(s[u"refresh"].substr(s[u"refresh"].size() - 2), "|1") << s[u"refresh"];
  ASSERT_TRUE(WaitFor([&] {
    s = Read();
    return s.Int(u"weather_updates") > updates;
  }, 60000)) << "the refresh button brought no update";
  EXPECT_EQ(s[u"refresh"], "r0.png|0");
  EXPECT_EQ(s.Text(u"temperature"), temperature) << "same city and date, same report";
}

// Another program holds user.dat's lock: the window comes up without waiting for it, says so in
// the log, and shows the stored city once the lock is gone.
TEST_F(ProgramTest, ALockedUserDatDoesNotHoldTheWindow) {
  ASSERT_TRUE(install_->SetConfig("province", "北京"));
  ASSERT_TRUE(install_->SetConfig("city", "北京"));
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open_v2((install_->Dir() / "user.dat").string().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr),
            SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
  Launch();
  State s = Read();
  EXPECT_GT(s.Int(u"cells"), 27) << "the month is built all the same";
  EXPECT_EQ(s[u"xcity"].rfind("上海;", 0), 0u) << "the default city while user.dat is locked: " << s[u"xcity"];
  EXPECT_TRUE(WaitFor([&] { return LogText(install_->Dir()).find(u"locked by another program") != std::u16string::npos; },
                      10000))
      << "the lock is not in the log";

  ASSERT_EQ(sqlite3_exec(other, "commit", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
  EXPECT_TRUE(WaitFor([&] { return Read()[u"xcity"].rfind("北京;", 0) == 0; }, 20000))
      << "the stored city never came: " << Read()[u"xcity"];
  EXPECT_EQ(install_->QueryValue("select value from userconfig where name = 'city'"), "北京") << "the stored city was overwritten";
}

// A user.dat that is missing, not a database, cut off or without its tables: the window still
// comes up, the log says what is wrong, and the file is neither created nor changed.
TEST_F(ProgramTest, ADamagedOrMissingUserDatIsReportedAndLeftAlone) {
  std::string shipped = install_->ReadFile("user.dat");
  ASSERT_GT(shipped.size(), 65536u);
  std::string tableless;
  {
    fs::path scratch = install_->Dir() / "scratch.dat";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(scratch.string().c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "create table unrelated (x)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    tableless = install_->ReadFile("scratch.dat");
    fs::remove(scratch);
  }
  struct Case {
    const char* name;
    std::string bytes;
    const char16_t* logged;
  } cases[] = {
      {"missing", "", u"user.dat is missing"},
      {"random", std::string(40000, 'Z'), u"is damaged"},
      {"cut off", shipped.substr(0, shipped.size() / 2), u"is damaged"},
      {"no tables", tableless, u"no such table"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& entry : fs::directory_iterator(install_->Dir())) {
      if (entry.path().extension() == ".log") fs::remove(entry.path());
    }
    fs::remove(install_->Dir() / "user.dat");
    if (!c.bytes.empty()) {
      std::ofstream(install_->Dir() / "user.dat", std::ios::binary) << c.bytes;
    }
    Launch();
    EXPECT_GT(Read().Int(u"cells"), 27);
    ASSERT_EQ(Press(u"closebtn"), 1);
    EXPECT_EQ(Installation::WaitExit(process_, 15000), 0);
    hwnd_ = nullptr;
    std::u16string log = LogText(install_->Dir());
    EXPECT_NE(log.find(c.logged), std::u16string::npos) << Narrow(log);
    if (c.bytes.empty()) {
      EXPECT_FALSE(fs::exists(install_->Dir() / "user.dat")) << "a missing user.dat was created";
    } else {
      EXPECT_TRUE(install_->ReadFile("user.dat") == c.bytes) << "user.dat was changed";
    }
  }
}

// A main window skin that cannot be built: a message box names the file and what is wrong, the
// window never shows, and the program ends with a failure code once the box is closed.
TEST_F(ProgramTest, AnUnusableMainSkinEndsTheProgramWithAMessage) {
  fs::path skin = install_->Dir() / "skin15";
  std::string dlgMain = install_->ReadFile("skin15/DlgMain.xml");
  ASSERT_FALSE(dlgMain.empty());
  struct Case {
    const char* name;
    std::function<void()> damage;
    const char16_t* said;
  } cases[] = {
      {"cut DlgMain.xml", [&] { std::ofstream(skin / "DlgMain.xml", std::ios::binary) << dlgMain.substr(0, dlgMain.size() / 2); },
       u"malformed XML"},
      {"no skin folder", [&] { fs::remove_all(skin); }, u"cannot open skin file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.damage();
    HANDLE process = install_->Start();
    ASSERT_NE(process, nullptr);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = WindowOf(process, L"#32770")) != nullptr; }, 20000)) << "no message box";
    std::u16string text;
    WaitFor([&] { return (text = DialogText(box)).find(u"DlgMain.xml") != std::u16string::npos; }, 5000);
    EXPECT_NE(text.find(u"DlgMain.xml"), std::u16string::npos) << Narrow(text);
    EXPECT_NE(text.find(c.said), std::u16string::npos) << Narrow(text);
    HWND main = WindowOf(process, L"TavrinoMain");
    EXPECT_TRUE(main == nullptr || !IsWindowVisible(main)) << "the blank window is on screen";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(Installation::WaitExit(process, 15000), 3);
    EXPECT_EQ(WindowOf(process, L"TavrinoMain"), nullptr);
    std::u16string log = LogText(install_->Dir());
    EXPECT_NE(log.find(u"skin cannot be built"), std::u16string::npos) << Narrow(log);
    EXPECT_NE(log.find(c.said), std::u16string::npos) << Narrow(log);
  }
}

}  // namespace
