// tavrino.exe as a whole, under Windows (wine64 + Xvfb here): each test starts the program from a
// scratch copy of bin/ (program, user.dat, skin15), drives it with real input or through its test
// hook message, and reads its state back through the hook (see app/README.md).
#include <gtest/gtest.h>

#include <windows.h>

#include <json/json.h>
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
  EXPECT_EQ(Click(app::kHookClick, 3), 0);  // "closebtn" is not pressed from outside
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

TEST_F(ProgramTest, ArrowsSelectorsAndHolidaysChangeTheGrid) {
  Launch();
  SYSTEMTIME now = Today();
  int y = now.wYear, m = now.wMonth;
  auto prev = [](int& yy, int& mm) { if (--mm == 0) { mm = 12; --yy; } };
  auto next = [](int& yy, int& mm) { if (++mm == 13) { mm = 1; ++yy; } };

  // Real clicks on the arrows and on "返回今天" (their places in DlgMain.xml).
  RealClick(24, 162);  // monLeft
  int py = y, pm = m;
  prev(py, pm);
  EXPECT_TRUE(ShowsMonth(py, pm, 0, 0));
  RealClick(182, 162);  // monRight
  RealClick(182, 162);
  int ny = y, nm = m;
  next(ny, nm);
  EXPECT_TRUE(ShowsMonth(ny, nm, 0, 0));
  RealClick(314, 162);  // returntoday
  EXPECT_TRUE(ShowsMonth(y, m, now.wDay, 0));

  // The year and month selectors, and the arrows at the ends of the year list.
  ASSERT_EQ(Click(app::kHookYear, 0), 1);
  EXPECT_TRUE(ShowsMonth(1950, m, 0, 0));
  ASSERT_EQ(Click(app::kHookMonth, 0), 1);
  EXPECT_TRUE(ShowsMonth(1950, 1, 0, 0));
  RealClick(24, 162);
  EXPECT_TRUE(ShowsMonth(1950, 12, 0, 0)) << "January 1950 goes to December 1950";
  ASSERT_EQ(Click(app::kHookYear, 100), 1);
  EXPECT_TRUE(ShowsMonth(2050, 12, 0, 0));
  RealClick(182, 162);
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
  if (last >= 2004 && last <= 2026) {
    EXPECT_GE(marked, 7) << "the shipped table holds " << last;
  }

  // The spring festival of this year from the shipped holiday table: its day is selected.
  std::string day = install_->QueryValue(
      ("select day from holiday where year = '" + std::to_string(y) + "' and name = 'chunjie'").c_str());
  ASSERT_EQ(Click(app::kHookHoliday, 2), 1);
  State s = Read();
  EXPECT_EQ(s.Field(u"selectors", 2), 2);
  if (day.size() >= 10) {
    int hy = std::atoi(day.substr(0, 4).c_str()), hm = std::atoi(day.substr(5, 2).c_str()),
        hd = std::atoi(day.substr(8, 2).c_str());
    EXPECT_TRUE(ShowsMonth(hy, hm, 0, hd));
    int cell = ShapeOfMonth(hy, hm).leadingDays + hd - 1;
    EXPECT_EQ(Narrow(Read().CellPart(cell, 0)), "select.png");
  }
  // An arrow puts the holiday selector back on its caption.
  RealClick(182, 162);
  EXPECT_EQ(Read().Field(u"selectors", 2), 0);
}

TEST_F(ProgramTest, RestingOnADayShowsItsDetails) {
  Launch();
  SYSTEMTIME now = Today();
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
  EXPECT_NE(s.CellPart(first, 4).find(u"#宜:"), std::u16string::npos) << "the shipped data cover this year";
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
  ASSERT_EQ(Click(app::kHookClick, 4), 1);  // "close" hides the window
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(hwnd_); }, 3000));
  HANDLE second = install_->Start();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(Installation::WaitExit(second, 15000), 0);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(hwnd_) != FALSE; }, 3000)) << "the first did not come forward";
  EXPECT_TRUE(IsWindow(hwnd_));
}

TEST_F(ProgramTest, ToggleMessagesWithinTwoHundredMsActOnce) {
  Launch();
  PostMessageW(hwnd_, app::UM_TOGGLE_MAIN, 0, 0);
  PostMessageW(hwnd_, app::UM_TOGGLE_MAIN, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(hwnd_); }, 3000));
  Sleep(400);
  EXPECT_FALSE(IsWindowVisible(hwnd_)) << "the second toggle came too soon and is ignored";
  PostMessageW(hwnd_, app::UM_TOGGLE_MAIN, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(hwnd_) != FALSE; }, 3000));
  EXPECT_TRUE(ShowsMonth(Today().wYear, Today().wMonth, Today().wDay, 0)) << "shown anew on today's month";
}

TEST_F(ProgramTest, CloseButtonEndsTheProgramAndKeepsItsRecords) {
  Launch();
  std::string shown = Read()[u"shown"];
  RealClick(24, 162);  // one usage event of a window
  // Input is served after sent messages: close only once the click has arrived.
  ASSERT_TRUE(WaitFor([&] { return Read()[u"shown"] != shown; }, 5000)) << "the click did not arrive";
  ASSERT_EQ(Click(app::kHookClick, 3), 1);  // closebtn
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
  Click(app::kHookClick, 3);
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
  int port = DevServicePort();
  if (port == 0) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("devservice is not running: run this test through ctest (fixture wx_devservice)");
  std::string root = "http://127.0.0.1:" + std::to_string(port);
  ASSERT_TRUE(install_->SetConfig("svc_forecast", root + "/_/daytime"));
  ASSERT_TRUE(install_->SetConfig("svc_weather2", root));
  ASSERT_TRUE(install_->SetConfig("svc_air", root));
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
  ASSERT_EQ(Click(app::kHookClick, 12), 1);  // refresh
  s = Read();
  EXPECT_EQ(s[u"refresh"].substr(s[u"refresh"].size() - 2), "|1") << s[u"refresh"];
  ASSERT_TRUE(WaitFor([&] {
    s = Read();
    return s.Int(u"weather_updates") > updates;
  }, 60000)) << "the refresh button brought no update";
  EXPECT_EQ(s[u"refresh"], "r0.png|0");
  EXPECT_EQ(s.Text(u"temperature"), temperature) << "same city and date, same report";
}

// --- The pop-ups: skins, settings, about and the feedback prompt ---

// Parts of a pop-up control's state value "selected|l,t,r,b|shown".
struct ControlState {
  bool selected = false;
  tvui::Rect rect;
  bool shown = false;
};
ControlState ControlOf(const State& s, const std::u16string& key) {
  ControlState c;
  std::string v = s[key];
  int sel = 0, shown = 0;
  if (std::sscanf(v.c_str(), "%d|%d,%d,%d,%d|%d", &sel, &c.rect.left, &c.rect.top, &c.rect.right, &c.rect.bottom,
                  &shown) == 6) {
    c.selected = sel != 0;
    c.shown = shown != 0;
  }
  return c;
}

// "x,y,w,h" of a pop-up's state as a rectangle.
tvui::Rect RectOf(const State& s, const std::u16string& key) {
  return {s.Field(key, 0), s.Field(key, 1), s.Field(key, 0) + s.Field(key, 2), s.Field(key, 1) + s.Field(key, 3)};
}

// A pop-up just shown may not be active yet (Wine maps its window later): a click or a pointer
// move then reaches whatever is below. Waits (bounded) until it is.
void WaitActive(HWND popup) {
  WaitFor([&] { return GetForegroundWindow() == popup; }, 2000);
}

// A real click at the middle of a control of a pop-up (client rectangle; the pop-ups have no frame).
void ClickControl(HWND popup, const tvui::Rect& control) {
  WaitActive(popup);
  ClickInWindow(popup, (control.left + control.right) / 2, (control.top + control.bottom) / 2);
}

// Escape pressed in a window.
void PressEscape(HWND hwnd) {
  SetForegroundWindow(hwnd);
  INPUT key[2] = {};
  key[0].type = key[1].type = INPUT_KEYBOARD;
  key[0].ki.wVk = key[1].ki.wVk = VK_ESCAPE;
  key[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, key, sizeof(INPUT));
}

// Saves the screen area of a window as a 24-bit BMP (for people to look at; nothing is asserted).
void SaveWindowShot(HWND hwnd, const fs::path& file) {
  RECT rc;
  GetWindowRect(hwnd, &rc);
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
  GdiFlush();
  DWORD stride = ((w * 3 + 3) / 4) * 4;
  BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + stride * h), 0, 0,
                      sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fh), sizeof(fh));
  out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof(BITMAPINFOHEADER));
  out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(stride) * h);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

class PopupTest : public ProgramTest {
 protected:
  // A picture of the screen when TAVRINO_SHOT_DIR names a folder (for people to look at).
  void Shot(const char* name) {
    const char* dir = std::getenv("TAVRINO_SHOT_DIR");
    if (!dir || !*dir) return;
    Sleep(300);
    SaveWindowShot(GetDesktopWindow(), fs::u8path(dir) / (std::string(name) + ".bmp"));
  }
  // Waits until the state satisfies the condition; returns the last state read.
  State WaitState(const std::function<bool(const State&)>& done, int timeoutMs = 3000) {
    State s = Read();
    WaitFor([&] {
      s = Read();
      return done(s);
    }, timeoutMs);
    return s;
  }
  std::string Stored(const char* name) {
    return install_->QueryValue((std::string("select value from userconfig where name = '") + name + "'").c_str());
  }
};

TEST_F(PopupTest, ChooserPreviewsOnHoverAndStoresOnClick) {
  ASSERT_TRUE(install_->SetConfig("skin", "BG3"));
  Launch();
  State s = Read();
  EXPECT_EQ(s.Int(u"skin.active"), 3) << "the stored choice compares ignoring case";
  EXPECT_EQ(s.Text(u"skin.background"), SkinImagesOf(3).background);

  ASSERT_EQ(Click(app::kHookClick, 5), 1);  // "skin"
  s = WaitState([](const State& st) { return st[u"chooser"] == "shown"; });
  ASSERT_EQ(s[u"chooser"], "shown");
  RECT main;
  GetWindowRect(hwnd_, &main);
  EXPECT_EQ(RectOf(s, u"chooser.rect"), PlaceSkinChooser({main.left, main.top, main.right, main.bottom}, {274, 4, 298, 28}));
  std::vector<HWND> choosers = WindowsOf(process_, L"CSkinDlg");
  ASSERT_EQ(choosers.size(), 1u);
  RECT chooser;
  GetWindowRect(choosers[0], &chooser);

  // Onto tile 5 ("bg5" at 71,52,127,88 in skin.xml): previewed and framed; off the chooser: back.
  WaitActive(choosers[0]);
  MovePointer(chooser.left + 95, chooser.top + 66);
  Sleep(60);
  MovePointer(chooser.left + 99, chooser.top + 70);
  s = WaitState([](const State& st) { return st.Int(u"skin.active") == 5; });
  EXPECT_EQ(s.Text(u"skin.background"), SkinImagesOf(5).background);
  EXPECT_EQ(s[u"chooser.fore"], ";;;;bgskin_n.png;;;;;");
  MovePointer(main.left + 100, main.top + 420);
  s = WaitState([](const State& st) { return st.Int(u"skin.active") == 3; });
  EXPECT_EQ(s.Text(u"skin.background"), SkinImagesOf(3).background) << "the hover ended outside the chooser";
  EXPECT_EQ(s[u"chooser.fore"], ";;;;;;;;;");
  EXPECT_EQ(Stored("skin"), "BG3") << "a preview stores nothing";

  // A real click on tile 5: stored, the chooser hidden.
  MovePointer(chooser.left + 95, chooser.top + 66);
  Sleep(60);
  ClickControl(choosers[0], {71, 52, 127, 88});
  s = WaitState([](const State& st) { return st[u"chooser"] == "hidden"; });
  EXPECT_EQ(s[u"chooser"], "hidden");
  EXPECT_EQ(s.Int(u"skin.active"), 5);
  EXPECT_TRUE(WaitFor([&] { return Stored("skin") == "bg5"; }, 3000)) << Stored("skin");

  // Escape closes it; a hover cut short by it does not keep its preview either. A reopened chooser
  // that Wine's late activation change took down again, or a hover it missed, is opened and hovered
  // again (bounded).
  s = Read();
  for (int attempt = 0; attempt < 3 && s.Int(u"skin.active") != 9; ++attempt) {
    if (s[u"chooser"] != "shown") {
      ASSERT_EQ(Click(app::kHookClick, 5), 1);
      ASSERT_EQ(WaitState([](const State& st) { return st[u"chooser"] == "shown"; })[u"chooser"], "shown");
    }
    WaitActive(choosers[0]);
    if (attempt > 0) MovePointer(main.left + 100, main.top + 420);  // off it, so the hover starts anew
    MovePointer(chooser.left + 160, chooser.top + 108);  // tile 9
    s = WaitState([](const State& st) { return st.Int(u"skin.active") == 9; });
  }
  ASSERT_EQ(s.Int(u"skin.active"), 9);
  PressEscape(choosers[0]);
  s = WaitState([](const State& st) { return st[u"chooser"] == "hidden" && st.Int(u"skin.active") == 5; });
  EXPECT_EQ(s[u"chooser"], "hidden");
  EXPECT_EQ(s.Int(u"skin.active"), 5);
  EXPECT_EQ(Stored("skin"), "bg5");
}

TEST_F(PopupTest, EveryViewOfTheNineSkins) {
  // One picture of the main window per skin when TAVRINO_SHOT_DIR names a folder
  // (tools/skingen/contact_sheet.sh joins them); the title images of the pop-ups follow the skin.
  const char* dir = std::getenv("TAVRINO_SHOT_DIR");
  Launch();
  for (int skin = 1; skin <= kSkinCount; ++skin) {
    PostMessageW(hwnd_, app::UM_SKIN_PREVIEW, skin, 0);
    State s = WaitState([&](const State& st) { return st.Int(u"skin.active") == skin; });
    ASSERT_EQ(s.Text(u"skin.background"), SkinImagesOf(skin).background);
    if (dir && *dir) {
      Sleep(300);
      SaveWindowShot(hwnd_, fs::u8path(dir) / ("skin" + std::to_string(skin) + ".bmp"));
    }
    ASSERT_EQ(Click(app::kHookClick, 6), 1);  // "set": its title band in this skin's colour
    s = WaitState([](const State& st) { return st[u"settings"] == "shown"; });
    EXPECT_EQ(s.Text(u"settings.title"), SkinImagesOf(skin).title);
    PostMessageW(hwnd_, app::UM_HIDE_DIALOGS, 0, 0);
    WaitState([](const State& st) { return st[u"settings"] == "hidden"; });
  }
  // Nothing is stored: the end of the previews brings back the skin file's own, skin 1.
  PostMessageW(hwnd_, app::UM_SKIN_RESTORE, 0, 0);
  EXPECT_EQ(WaitState([](const State& st) { return st.Int(u"skin.active") == 1; }).Int(u"skin.active"), 1);
}

TEST_F(PopupTest, SettingsSwitchesAreStoredAndShownAgain) {
  // A click on "set" after the reopening gap opens the hidden window again. Without a window manager
  // Wine can deliver the activation change of the earlier hide late and take a just reopened window
  // down with it; a second click after the gap then shows it (bounded).
  auto ReopenSettings = [&](auto done) {
    State st = Read();
    for (int attempt = 0; attempt < 3; ++attempt) {
      Sleep(400);
      if (Click(app::kHookClick, 6) != 1) break;
      st = WaitState(done);
      if (done(st)) break;
    }
    return st;
  };
  ASSERT_TRUE(install_->SetConfig("allow_push", ""));
  ASSERT_TRUE(install_->SetConfig("join_ue", "yes"));
  Launch();
  ASSERT_EQ(Click(app::kHookClick, 6), 1);  // "set"
  State s = WaitState([](const State& st) { return st[u"settings"] == "shown"; });
  ASSERT_EQ(s[u"settings"], "shown");
  RECT main;
  GetWindowRect(hwnd_, &main);
  EXPECT_EQ(RectOf(s, u"settings.rect"), PlaceSettings({main.left, main.top, main.right, main.bottom}, {300, 4, 324, 28}));
  EXPECT_FALSE(ControlOf(s, u"settings.tip_autostart").selected);
  EXPECT_FALSE(ControlOf(s, u"settings.tip_allowpush").selected);
  EXPECT_FALSE(ControlOf(s, u"settings.tip_joinue").selected) << "a foreign value shows as off";
  std::vector<HWND> windows = WindowsOf(process_, L"CSetDlg");
  ASSERT_EQ(windows.size(), 1u);
  HWND settings = windows[0];

  ClickControl(settings, ControlOf(s, u"settings.tip_allowpush").rect);
  EXPECT_TRUE(WaitFor([&] { return Stored("allow_push") == "true"; }, 3000)) << Stored("allow_push");
  ClickControl(settings, ControlOf(s, u"settings.tip_joinue").rect);
  s = WaitState([](const State& st) { return ControlOf(st, u"settings.tip_allowpush").selected; });
  EXPECT_TRUE(ControlOf(s, u"settings.tip_allowpush").selected);
  EXPECT_FALSE(ControlOf(s, u"settings.tip_joinue").selected) << "the option shows the stored value, not the click";
  EXPECT_EQ(Stored("join_ue"), "yes") << "a foreign value is never overwritten";
  // The taskbar clock's switch is on while nothing is stored; a click stores "false".
  EXPECT_TRUE(ControlOf(s, u"settings.tip_clockclick").selected);
  ClickControl(settings, ControlOf(s, u"settings.tip_clockclick").rect);
  EXPECT_TRUE(WaitFor([&] { return Stored("clock_click") == "false"; }, 3000)) << Stored("clock_click");

  // Escape hides it; reopened, it shows the stored values again.
  PressEscape(settings);
  ASSERT_EQ(WaitState([](const State& st) { return st[u"settings"] == "hidden"; })[u"settings"], "hidden");
  s = ReopenSettings([](const State& st) { return st[u"settings"] == "shown"; });
  ASSERT_EQ(s[u"settings"], "shown") << "Escape is no click on \"set\": the window opens again";
  EXPECT_TRUE(ControlOf(s, u"settings.tip_allowpush").selected);
  EXPECT_FALSE(ControlOf(s, u"settings.tip_joinue").selected);

  // The autostart switch writes the entry; the option shows what the registry holds. A click that
  // Wine's late activation change took away (it lands on no window and changes nothing) is made
  // again, the window reopened first if it went (bounded).
  for (int attempt = 0; attempt < 3 && RunValue().empty(); ++attempt) {
    if (attempt > 0 && Read()[u"settings"] != "shown") {
      s = ReopenSettings([](const State& st) { return st[u"settings"] == "shown"; });
    }
    ClickControl(settings, ControlOf(s, u"settings.tip_autostart").rect);
    WaitFor([] { return !RunValue().empty(); }, 3000);
  }
  EXPECT_FALSE(RunValue().empty()) << "no autostart entry";
  EXPECT_EQ(RunValue(), L"\"" + (install_->Dir() / "tavrino.exe").wstring() + L"\" -autostart");
  EXPECT_TRUE(ControlOf(Read(), u"settings.tip_autostart").selected);
  // The tray menu turns autostart off while the window is hidden; reopened, it shows that.
  PressEscape(settings);
  ASSERT_EQ(WaitState([](const State& st) { return st[u"settings"] == "hidden"; })[u"settings"], "hidden");
  ClearRunValue();
  s = ReopenSettings([](const State& st) {
    return st[u"settings"] == "shown" && !ControlOf(st, u"settings.tip_autostart").selected;
  });
  EXPECT_FALSE(ControlOf(s, u"settings.tip_autostart").selected) << "the change made elsewhere is shown";
  EXPECT_EQ(ControlOf(Read(), u"settings.tip_autostart").selected, !RunValue().empty());

  Click(app::kHookClick, 3);  // closebtn: the usage events reach ubd.dat
  ASSERT_EQ(Installation::WaitExit(process_, 15000), 0);
  std::string events = install_->ReadFile("ubd.dat");
  for (const char* code : {"\r\n12013,", "\r\n14004,", "\r\n14006,", "\r\n14001,"}) {
    EXPECT_NE(events.find(code), std::string::npos) << code << " missing in " << events;
  }
  hwnd_ = nullptr;
}

TEST_F(PopupTest, AboutShowsTheProgramsFileVersion) {
  Launch();
  PostMessageW(hwnd_, app::UM_SHOW_ABOUT, 0, 0);
  State s = WaitState([](const State& st) { return st[u"about"] == "shown" && !st[u"about.ver"].empty(); });
  ASSERT_EQ(s[u"about"], "shown");
  EXPECT_EQ(s[u"about.ver"], TAVRINO_VERSION_TEXT);
  RECT main;
  GetWindowRect(hwnd_, &main);
  EXPECT_EQ(RectOf(s, u"about.rect"), PlaceAbout({main.left, main.top, main.right, main.bottom}, {300, 4, 324, 28}));
  EXPECT_EQ(s.Text(u"about.title"), SkinImagesOf(s.Int(u"skin.active")).title);
  Shot("about");
  // The tray icon hides the dialogs with the main window.
  PostMessageW(hwnd_, app::UM_HIDE_DIALOGS, 0, 0);
  EXPECT_EQ(WaitState([](const State& st) { return st[u"about"] == "hidden"; })[u"about"], "hidden");
}

TEST_F(PopupTest, PromptAsksForAutostartOnlyWhenItIsOff) {
  Launch();
  // Autostart off: 320 high with the question, beside the main window.
  ASSERT_EQ(Click(app::kHookClick, 7), 1);  // "sendqq"
  State s = WaitState([](const State& st) { return st[u"prompt"] == "shown"; });
  ASSERT_EQ(s[u"prompt"], "shown");
  FeedbackLayout with = FeedbackLayoutFor(true);
  EXPECT_EQ(s.Field(u"prompt.rect", 2), kFeedbackWidth);
  EXPECT_EQ(s.Field(u"prompt.rect", 3), 320);
  EXPECT_TRUE(ControlOf(s, u"prompt.laautostart").shown);
  EXPECT_TRUE(ControlOf(s, u"prompt.opautostarta").shown);
  EXPECT_EQ(ControlOf(s, u"prompt.sendqq").rect, with.sendqq);
  EXPECT_EQ(ControlOf(s, u"prompt.ok").rect, with.ok);
  RECT main;
  GetWindowRect(hwnd_, &main);
  EXPECT_EQ(s.Field(u"prompt.rect", 1), main.top);
  EXPECT_TRUE(s.Field(u"prompt.rect", 0) == main.left - kFeedbackWidth || s.Field(u"prompt.rect", 0) == main.right)
      << s[u"prompt.rect"];

  // Opening it again replaces it: one window remains.
  ASSERT_EQ(Click(app::kHookClick, 7), 1);
  EXPECT_TRUE(WaitFor([&] { return WindowsOf(process_, L"CSurveys").size() == 1; }, 3000))
      << WindowsOf(process_, L"CSurveys").size() << " feedback windows";
  std::vector<HWND> prompts = WindowsOf(process_, L"CSurveys");
  ASSERT_EQ(prompts.size(), 1u);
  s = Read();

  // The answers of one question exclude each other.
  ClickControl(prompts[0], ControlOf(s, u"prompt.opshiyonga").rect);
  ClickControl(prompts[0], ControlOf(s, u"prompt.opshiyongb").rect);
  s = WaitState([](const State& st) { return ControlOf(st, u"prompt.opshiyongb").selected; });
  EXPECT_FALSE(ControlOf(s, u"prompt.opshiyonga").selected);
  EXPECT_TRUE(ControlOf(s, u"prompt.opshiyongb").selected);
  EXPECT_TRUE(ControlOf(s, u"prompt.opautostarta").selected) << "yes is the offered answer";
  Shot("prompt320");

  // "ok" with yes: the entry is written and the prompt hides.
  ClickControl(prompts[0], with.ok);
  EXPECT_TRUE(WaitFor([] { return !RunValue().empty(); }, 3000)) << "ok with yes wrote no autostart entry";
  EXPECT_EQ(WaitState([](const State& st) { return st[u"prompt"] == "hidden"; })[u"prompt"], "hidden");

  // Autostart on: 290 high, no question.
  ASSERT_EQ(Click(app::kHookClick, 7), 1);
  s = WaitState([](const State& st) { return st[u"prompt"] == "shown"; });
  FeedbackLayout without = FeedbackLayoutFor(false);
  EXPECT_EQ(s.Field(u"prompt.rect", 3), 290);
  EXPECT_FALSE(ControlOf(s, u"prompt.laautostart").shown);
  EXPECT_FALSE(ControlOf(s, u"prompt.opautostartb").shown);
  EXPECT_EQ(ControlOf(s, u"prompt.sendqq").rect, without.sendqq);
  EXPECT_EQ(ControlOf(s, u"prompt.ok").rect, without.ok);
  EXPECT_EQ(WindowsOf(process_, L"CSurveys").size(), 1u);
  Shot("prompt290");
}

// --- The statistics exchange against the local service stand-in ---

std::u16string Utf16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// What the stand-in received under an address: "reports" (queries) and "uploads" (base64 bodies).
Json::Value StatisticsReceived(const std::string& base) {
  std::string body;
  Json::Value seen;
  if (HttpGet(Utf16(base + "/stats-received"), body) == 0) Json::Reader().parse(body, seen);
  return seen;
}

TEST_F(ProgramTest, StatisticsExchangeConfiguresTheProgramAndTakesTheUsageFile) {
  int port = DevServicePort();
  if (port == 0) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("devservice is not running: run this test through ctest (fixture wx_devservice)");
  const std::string root = "http://127.0.0.1:" + std::to_string(port);
  const std::string base = root + "/_/tag=e2e" + std::to_string(std::random_device{}());
  ASSERT_TRUE(install_->SetConfig("svc_stats", base));
  ASSERT_TRUE(install_->SetConfig("svc_iplocation", root));
  std::ofstream(install_->Dir() / "bsc.dat", std::ios::binary) << "f/v6CmY=";  // channel 12345
  const std::string earlier = "\r\n12004,2026-01-01 08:00:00,0";
  std::ofstream(install_->Dir() / "ubd.dat", std::ios::binary) << earlier;
  // The document lists an updater: a stand-in that writes down its arguments.
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  fs::copy_file(fs::path(self).parent_path() / "args_recorder.exe", install_->Dir() / "tvupdate.exe");
  Launch();

  // The document's location, then the IP-location service's answer for its address.
  State s = Read();
  ASSERT_TRUE(WaitFor([&] {
    s = Read();
    return s[u"iplocation"] == "\xE5\x8C\x97\xE4\xBA\xAC,\xE5\x8C\x97\xE4\xBA\xAC";  // 北京,北京
  }, 60000)) << "iplocation=" << s[u"iplocation"];
  const Json::Value reports = StatisticsReceived(base)["reports"];
  ASSERT_EQ(reports.size(), 1u) << reports.toStyledString();
  const std::string query = reports[0].asString();
  EXPECT_EQ(query.rfind("gm=", 0), 0u) << query;
  for (const char* key : {"&cm=", "&cc=12345&", "&cv=", "&fv=", "&lv=", "&uc=", "&ri=", "&ii=", "&lrt="}) {
    EXPECT_NE(query.find(key), std::string::npos) << key << " in " << query;
  }

  // The updater started with the main window's handle (its record: ids, command line, argument).
  std::string updaterRun;
  EXPECT_TRUE(WaitFor([&] {
    updaterRun = install_->ReadFile("tvupdate.exe.txt");
    return updaterRun.find("\n--") != std::string::npos;
  }, 10000)) << "the updater did not start";
  EXPECT_NE(updaterRun.find("\n" + Narrow(WindowHandleText(reinterpret_cast<uintptr_t>(hwnd_))) + "\n--"),
            std::string::npos)
      << updaterRun;

  // The document's duanwu: days 9 to 11 of this month off, the 12th a working day, seen once the
  // grid is built again (the window does not rebuild on the report's message).
  ASSERT_EQ(Click(app::kHookClick, 1), 1);  // monRight
  ASSERT_EQ(Click(app::kHookClick, 2), 1);  // returntoday
  SYSTEMTIME now = Today();
  const int lead = ShapeOfMonth(now.wYear, now.wMonth).leadingDays;
  ASSERT_TRUE(WaitFor([&] {
    s = Read();
    return s.CellPart(lead + 10 - 1, 5) == u"release.png";
  }, 10000)) << "the document's days off are not marked";
  for (int day : {9, 10, 11}) EXPECT_EQ(s.CellPart(lead + day - 1, 5), u"release.png") << day;
  EXPECT_EQ(s.CellPart(lead + 12 - 1, 5), u"work.png");

  // The upload: the earlier lines go with the header, "100" deletes them from the file.
  ASSERT_TRUE(WaitFor([&] {
    return StatisticsReceived(base)["uploads"].size() == 1 &&
           install_->ReadFile("ubd.dat").find("12004,") == std::string::npos;
  }, 30000)) << "no upload; the file holds: " << install_->ReadFile("ubd.dat");

  ASSERT_EQ(Click(app::kHookClick, 3), 1);  // closebtn
  EXPECT_EQ(Installation::WaitExit(process_, 15000), 0);
  hwnd_ = nullptr;
  EXPECT_EQ(install_->QueryValue("select value from userconfig where name = 'uu'"),
            base + "/uninstall.htm?from=tavrino&v=1");
}

TEST_F(ProgramTest, ASilentStatisticsServiceDoesNotHoldTheExit) {
  int port = DevServicePort();
  if (port == 0) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("devservice is not running: run this test through ctest (fixture wx_devservice)");
  const std::string base = "http://127.0.0.1:" + std::to_string(port) + "/_/silent,tag=e2e" +
                           std::to_string(std::random_device{}());
  ASSERT_TRUE(install_->SetConfig("svc_stats", base));
  Launch();
  ASSERT_TRUE(WaitFor([&] { return StatisticsReceived(base)["reports"].size() >= 1; }, 30000))
      << "the report was not sent";
  const ULONGLONG closed = GetTickCount64();
  ASSERT_EQ(Click(app::kHookClick, 3), 1);  // closebtn while the report waits for its answer
  EXPECT_EQ(Installation::WaitExit(process_, 15000), 0);
  // For the record only (the service holds the request far longer than this).
  RecordProperty("exit_ms", static_cast<int>(GetTickCount64() - closed));
  std::printf("exit with a silent statistics service: %llu ms after the close\n", GetTickCount64() - closed);
  hwnd_ = nullptr;
  const std::u16string log = LogText(install_->Dir());
  EXPECT_EQ(log.find(u"did not end in time"), std::u16string::npos) << Narrow(log);
  EXPECT_TRUE(install_->QueryValue("select value from userconfig where name = 'uu'").empty());
}

}  // namespace

// --- The notification-area icon, its menu and the autostart prompt ---

class TrayTest : public ProgramTest {
 protected:
  HWND TrayWindow() {
    std::vector<HWND> w = WindowsOf(process_, L"CTrayIcon");
    return w.size() == 1 ? w[0] : nullptr;
  }
  // The icon follows the window's first painting: its window made and the shell's answer in.
  bool IconReady() {
    return WaitFor([&] { return TrayWindow() != nullptr && Read()[u"tray"] == "1,1"; }, 3000);
  }
  // The shell's callback, sent: it has been handled when this returns (its result: 1 handled, 0 not).
  LRESULT TrayCallback(LPARAM mouse, WPARAM id = 129) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(TrayWindow(), app::UM_TRAY_CALLBACK, id, mouse, SMTO_NORMAL, 10000, &result);
    return static_cast<LRESULT>(result);
  }
  // Right button released over the icon with the pointer at (x, y); the menu's "menu=" fields.
  State OpenMenuAt(int x, int y) {
    SetCursorPos(x, y);
    Sleep(60);
    TrayCallback(WM_RBUTTONUP);
    return Read();
  }
  bool MenuClosed() {
    return WaitFor([&] { return Read().Field(u"menu", 0) == 0; }, 3000);
  }
};

TEST_F(TrayTest, IconShowsAndHidesTheWindowAndOpensOneMenuAtThePointer) {
  Launch();
  ASSERT_TRUE(IconReady()) << "no icon window, or the shell did not take the icon: " << Read()[u"tray"];

  // Left button: hides a shown window at once, but a hidden one shows only 200 ms after the last
  // toggle. Everything is sent, so each step is done when the call returns; a loaded machine may
  // take longer than 200 ms between the two, and then the click rightly shows the window.
  DWORD_PTR ignored = 0;
  DWORD start = GetTickCount();
  SendMessageTimeoutW(hwnd_, app::UM_TOGGLE_MAIN, 0, 0, SMTO_NORMAL, 10000, &ignored);
  EXPECT_EQ(TrayCallback(WM_LBUTTONDOWN), 1);
  if (GetTickCount() - start <= 200) {
    EXPECT_FALSE(IsWindowVisible(hwnd_)) << "shown within 200 ms of a toggle";
  } else if (IsWindowVisible(hwnd_)) {
    TrayCallback(WM_LBUTTONDOWN);
  }
  ASSERT_FALSE(IsWindowVisible(hwnd_));
  Sleep(250);
  EXPECT_EQ(TrayCallback(WM_LBUTTONDOWN), 1);
  EXPECT_TRUE(IsWindowVisible(hwnd_));
  // The icon's clicks are no toggles themselves: hide and show again right away.
  TrayCallback(WM_LBUTTONDOWN);
  EXPECT_FALSE(IsWindowVisible(hwnd_));
  TrayCallback(WM_LBUTTONDOWN);
  EXPECT_TRUE(IsWindowVisible(hwnd_));
  // Another icon id, or a message the icon does not use, does nothing.
  EXPECT_EQ(TrayCallback(WM_LBUTTONDOWN, 130), 0);
  TrayCallback(WM_MOUSEMOVE);
  EXPECT_TRUE(IsWindowVisible(hwnd_));

  // Right button: the menu at the pointer, folded back near the work area's bottom-right corner.
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  State s = OpenMenuAt(work.right - 20, work.bottom - 10);
  ASSERT_EQ(s.Field(u"menu", 0), 1) << s[u"menu"];
  tvui::Rect expected = PlaceTrayMenu({static_cast<int>(work.right - 20), static_cast<int>(work.bottom - 10)}, 148, 141,
                                      {work.left, work.top, work.right, work.bottom});
  EXPECT_EQ(s.Field(u"menu", 1), expected.left) << s[u"menu"];
  EXPECT_EQ(s.Field(u"menu", 2), expected.top) << s[u"menu"];
  EXPECT_EQ(s.Field(u"menu", 3) - s.Field(u"menu", 1), 148);
  EXPECT_EQ(s.Field(u"menu", 4) - s.Field(u"menu", 2), 141);
  EXPECT_EQ(s.Field(u"menu", 5), 0) << "autostart is off";
  // A second right click replaces the menu: one menu window, now at the new place.
  s = OpenMenuAt(work.left + 30, work.top + 40);
  EXPECT_EQ(s.Field(u"menu", 1), work.left + 30) << s[u"menu"];
  EXPECT_EQ(s.Field(u"menu", 2), work.top + 40) << s[u"menu"];
  EXPECT_EQ(WindowsOf(process_, L"MendWnd").size(), 1u);
  // Escape closes it.
  PostMessageW(WindowsOf(process_, L"MendWnd")[0], WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(MenuClosed());

  // The taskbar comes back: exactly one icon and one icon window again.
  HWND oldIcon = TrayWindow();
  for (int i = 0; i < 2; ++i)
    SendMessageTimeoutW(hwnd_, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_NORMAL, 10000, &ignored);
  EXPECT_FALSE(IsWindow(oldIcon));
  EXPECT_EQ(Read()[u"tray"], "1,1");
  EXPECT_EQ(WindowsOf(process_, L"CTrayIcon").size(), 1u);
  EXPECT_EQ(TrayCallback(WM_LBUTTONDOWN), 1);
  EXPECT_FALSE(IsWindowVisible(hwnd_)) << "the new icon does not answer";
}

TEST_F(TrayTest, MenuSwitchesAutostartOpensAboutAndQuits) {
  Launch();
  ASSERT_TRUE(IconReady());
  const std::wstring entry = L"\"" + (install_->Dir() / "tavrino.exe").wstring() + L"\" -autostart";
  // A real click at a point of the menu (RealClick counts from the main window's corner).
  auto clickItem = [&](const State& s, int y) {
    RECT rc;
    GetWindowRect(hwnd_, &rc);
    RealClick(s.Field(u"menu", 1) + 74 - rc.left, s.Field(u"menu", 2) + y - rc.top);
  };

  // "menu_startingup" writes the entry, and the next menu shows it ticked; a second click deletes it.
  State s = OpenMenuAt(200, 200);
  clickItem(s, 51);
  EXPECT_TRUE(MenuClosed());
  EXPECT_EQ(RunValue(), entry);
  s = OpenMenuAt(200, 200);
  // The tick is set when the menu's posted start-up message arrives, which may follow the read.
  EXPECT_TRUE(WaitFor([&] { return (s = Read()).Field(u"menu", 5) == 1; }, 3000)) << s[u"menu"];
  clickItem(s, 51);
  EXPECT_TRUE(MenuClosed());
  EXPECT_EQ(RunValue(), L"");

  // "menu_about" asks the main window for the about window.
  s = OpenMenuAt(200, 200);
  clickItem(s, 90);
  EXPECT_TRUE(WaitFor([&] { return Read().Int(u"about_requests") == 1; }, 3000));
  EXPECT_TRUE(MenuClosed());

  // "menu_quit" ends the program in order.
  s = OpenMenuAt(200, 200);
  clickItem(s, 120);
  ASSERT_EQ(Installation::WaitExit(process_, 15000), 0);
  hwnd_ = nullptr;
  EXPECT_FALSE(install_->QueryValue("select value from userconfig where name = 'lrt'").empty());
  std::string events = install_->ReadFile("ubd.dat");
  for (const char* code : {"10002", "11001", "11002", "11005", "11004", "90002"}) {
    EXPECT_NE(events.find(std::string("\r\n") + code + ","), std::string::npos) << code << " missing: " << events;
  }
}

TEST_F(TrayTest, InstallerStartsPromptEveryTimeAndLeaveTheConfirmationDate) {
  const std::string old = "2000-01-01 00:00:00:000";
  ASSERT_TRUE(install_->SetConfig("lastconfirm", old));
  auto startAndRead = [&](const std::wstring& args, bool visible) {
    Launch(args, visible);
    int prompts = Read().Int(u"autostart_prompts");
    Click(app::kHookClick, 3);  // closebtn
    EXPECT_EQ(Installation::WaitExit(process_, 15000), 0);
    hwnd_ = nullptr;
    return prompts;
  };
  EXPECT_EQ(startAndRead(L"-install", true), 1);
  EXPECT_EQ(startAndRead(L"-install", true), 1) << "on every installer start";
  EXPECT_EQ(startAndRead(L"-install -noshow", false), 0);
  EXPECT_EQ(install_->QueryValue("select value from userconfig where name = 'lastconfirm'"), old);
  // An ordinary start finds the old date: prompt, and today becomes the new date.
  EXPECT_EQ(startAndRead(L"", true), 1);
  std::string stamped = install_->QueryValue("select value from userconfig where name = 'lastconfirm'");
  char today[16];
  SYSTEMTIME now = Today();
  std::snprintf(today, sizeof(today), "%04d-%02d-%02d", now.wYear, now.wMonth, now.wDay);
  EXPECT_EQ(stamped.rfind(today, 0), 0u) << stamped;
  EXPECT_EQ(startAndRead(L"", true), 0) << "just confirmed";
  // With autostart on, never.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr), ERROR_SUCCESS);
  std::wstring entry = L"\"" + (install_->Dir() / "TAVRINO.EXE").wstring() + L"\" -autostart";
  RegSetValueExW(key, L"tavrino", 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.c_str()),
                 static_cast<DWORD>((entry.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  EXPECT_EQ(startAndRead(L"-install", true), 0);
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
    ASSERT_EQ(Click(app::kHookClick, 3), 1);  // closebtn
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
