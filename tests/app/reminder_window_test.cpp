// The reminders of a running tavrino.exe (wine64 + Xvfb) under real input: a double-click on
// today's cell opens the dialog, a refusal stores nothing, a lunar-yearly reminder is typed in
// (xdotool) and saved; the cell carries the mark and the tooltip its line; the reminder is changed
// and, with the test hook's clock set just before it, the tray notification comes once and its
// click opens the day; the reminder is deleted. Screenshots of the whole screen (the dialog in two
// skins, the marked grid with its tooltip) are left in bin/screenshots.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <filesystem>
#include <string>

#include "app/logic/month_layout.h"
#include "tests/app/program_driver.h"

namespace {

using namespace tvprog;

long long OffsetToToday(int hour, int minute, int second) {
  SYSTEMTIME now = Today();
  return (hour * 60LL + minute) * 60 + second - ((now.wHour * 60LL + now.wMinute) * 60 + now.wSecond);
}

// A program of the X side (xdotool, import) with its arguments, waited for.
void RunX(const std::wstring& command) {
  ASSERT_TRUE(RunXProgram(command)) << "cannot run " << GetLastError();
  Sleep(150);
}
void Keys(const std::wstring& keys) { RunX(L"xdotool key --clearmodifiers " + keys); }
void Type(const std::wstring& text) { RunX(L"xdotool type --delay 30 \"" + text + L"\""); }

void DoubleClickAt(POINT p) {
  SetCursorPos(p.x, p.y);
  Sleep(80);
  tvtest::SendClicks(p, 2);
  Sleep(300);
}

POINT PointOf(const State& s, const std::u16string& key) { return {s.Field(key, 0), s.Field(key, 1)}; }

class ReminderWindowTest : public ProgramTest {
 protected:
  void TearDown() override {
    if (hwnd_ && IsWindow(hwnd_)) Click(app::kHookClock, 0);
    ProgramTest::TearDown();
  }
  // The middle of a day cell on the screen.
  POINT CellPoint(int cell) {
    const State s = Read();
    const std::u16string place = s.CellPart(cell, 3);
    int x = 0, y = 0, w = 0, h = 0;
    std::swscanf(reinterpret_cast<const wchar_t*>(place.c_str()), L"%d,%d,%d,%d", &x, &y, &w, &h);
    const double k = s.Int(u"dpi") / 96.0;
    return {s.Field(u"rect", 0) + static_cast<int>((x + w / 2) * k), s.Field(u"rect", 1) + static_cast<int>((y + h / 2) * k)};
  }
  ::testing::AssertionResult DialogSays(const std::string& key, const std::string& expected) {
    std::string got;
    const bool ok = WaitFor([&] { return (got = Read()[std::u16string(key.begin(), key.end())]) == expected; }, 4000);
    return ok ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << key << " is \"" << got << "\"";
  }
  void ClickDialog(const char16_t* control) {
    const State s = Read();
    ClickAt(PointOf(s, std::u16string(u"remind.at.") + control));
  }
  // A click on the list's first reminder: the form takes it (a click lost while the machine is
  // busy is made again).
  bool ChooseFirstReminder() {
    for (int attempt = 0; attempt < 3; ++attempt) {
      ClickDialog(u"item0");
      if (WaitFor([&] { return Read().Int(u"remind.editing") != 0; }, 2000)) return true;
    }
    return false;
  }
  // The keys go to the window under the pointer (an X display without a window manager): the
  // pointer rests on the dialog's title band.
  void PointerOnDialog() {
    const State s = Read();
    SetCursorPos(s.Field(u"remind.rect", 0) + 200, s.Field(u"remind.rect", 1) + 12);
    Sleep(100);
  }
  // The whole screen as bin/screenshots/<name>.png.
  void Shoot(const std::string& name) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::filesystem::path dir = std::filesystem::path(self).parent_path() / "screenshots";
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    std::wstring unix = (dir / (name + ".png")).wstring();
    if (unix.size() > 2 && unix[1] == L':') unix = unix.substr(2);
    for (wchar_t& c : unix)
      if (c == L'\\') c = L'/';
    RunX(L"import -window root \"" + unix + L"\"");
  }
  // Field n of the dialog's form: title|kind|date|time|notice.
  std::string FormField(int n) {
    std::string form = Read()[u"remind.form"];
    for (int i = 0; i < n; ++i) form = form.substr(std::min(form.size(), form.find('|') + 1));
    return form.substr(0, form.find('|'));
  }
  std::string Rows() { return install_->QueryValue("select count(*)||'|'||coalesce(group_concat(title||'|'||rule||'|'||time||'|'||lastshown),'') from reminders"); }
};

TEST_F(ReminderWindowTest, AddSeeBeRemindedChangeAndDeleteByRealInput) {
  Launch();
  ASSERT_EQ(Click(app::kHookClock, static_cast<LPARAM>(OffsetToToday(8, 0, 0))), 1);
  const SYSTEMTIME today = Today();
  const int cell = ShapeOfMonth(today.wYear, today.wMonth).leadingDays + today.wDay - 1;
  const std::string day = std::to_string(today.wYear) + "-" + std::to_string(today.wMonth) + "-" + std::to_string(today.wDay);

  // A double-click on today opens its reminders with the title field focused.
  DoubleClickAt(CellPoint(cell));
  ASSERT_TRUE(DialogSays("remind", "shown"));
  EXPECT_EQ(Read()[u"remind.day"], day);
  EXPECT_TRUE(DialogSays("remind.focus", "edit_title"));
  PointerOnDialog();
  // Enter with no title: a clear refusal, nothing stored.
  Keys(L"Return");
  EXPECT_TRUE(DialogSays("remind.problem", "请填写提醒内容。"));
  EXPECT_EQ(Rows(), "0|");

  // Typed in: the title; another kind refills the date, the lunar kind brings the lunar date back.
  Type(L"Mum birthday");
  ASSERT_TRUE(WaitFor([&] { return FormField(0) == "Mum birthday"; }, 3000)) << Read()[u"remind.form"];
  const std::string lunarDate = FormField(2);
  ClickDialog(u"kind1");
  char solar[8];
  std::snprintf(solar, sizeof(solar), "%02d-%02d", today.wMonth, today.wDay);
  EXPECT_EQ(FormField(1) + "|" + FormField(2), std::string("1|") + solar);
  ClickDialog(u"kind2");
  EXPECT_EQ(FormField(1) + "|" + FormField(2), "2|" + lunarDate);
  // The arrows on the chosen kind choose the next one and back.
  Keys(L"Right");
  EXPECT_TRUE(DialogSays("remind.focus", "kind3"));
  EXPECT_EQ(FormField(1), "3");
  Keys(L"Left");
  EXPECT_TRUE(DialogSays("remind.focus", "kind2"));
  EXPECT_EQ(FormField(2), lunarDate);
  // A time outside the day is refused too; then 08:01 with no notice, saved by Enter.
  ClickDialog(u"edit_title");
  Keys(L"Tab Tab Tab");
  EXPECT_TRUE(DialogSays("remind.focus", "edit_time"));
  Type(L"24:00");
  Keys(L"Return");
  EXPECT_NE(Read()[u"remind.problem"].find("00:00 到 23:59"), std::string::npos) << Read()[u"remind.problem"];
  EXPECT_EQ(Rows(), "0|");
  Keys(L"Shift+Tab Tab");  // back in, the field's text selected
  Type(L"08:01");
  Keys(L"Return");
  ASSERT_TRUE(DialogSays("remind.problem", "已保存。"));
  std::string rows = Rows();
  EXPECT_EQ(rows.rfind("1|Mum birthday|lunar ", 0), 0u) << rows;
  EXPECT_NE(rows.find("|08:01|"), std::string::npos) << rows;
  EXPECT_EQ(Read()[u"remind.list"].rfind("08:01 Mum birthday · 每年农历", 0), 0u) << Read()[u"remind.list"];
  Shoot("remind-dialog-skin1");

  // The cell's mark and the tooltip's line.
  EXPECT_TRUE(DialogSays("marks", std::to_string(cell) + ";"));
  Keys(L"Escape");
  EXPECT_TRUE(DialogSays("remind", "hidden"));
  const POINT at = CellPoint(cell);
  MovePointer(at.x + 3, at.y + 3);
  EXPECT_TRUE(DialogSays("tooltip.remind", "08:01 Mum birthday"));
  EXPECT_TRUE(DialogSays("tooltip", "1"));
  Shoot("remind-marked-grid");

  // Another skin; the dialog again, the reminder chosen in its list and renamed.
  SendMessageW(hwnd_, app::UM_SKIN_APPLY, 5, 0);
  MovePointer(at.x + 3, at.y + 3);
  DoubleClickAt(at);
  ASSERT_TRUE(DialogSays("remind", "shown"));
  PointerOnDialog();
  EXPECT_NE(Read()[u"remind.title"].find("5"), std::string::npos) << Read()[u"remind.title"];
  ASSERT_TRUE(ChooseFirstReminder());
  EXPECT_TRUE(DialogSays("remind.form", "Mum birthday|2|" + lunarDate + "|08:01|0"));
  ClickDialog(u"edit_title");
  Keys(L"ctrl+a BackSpace");
  Type(L"Mum 80th");
  Keys(L"Return");
  EXPECT_TRUE(DialogSays("remind.problem", "已保存。"));
  EXPECT_EQ(Rows().rfind("1|Mum 80th|", 0), 0u) << Rows();
  Shoot("remind-dialog-skin5");
  Keys(L"Escape");

  // Three seconds before it is due: the notification comes once, and its click opens the day.
  ASSERT_EQ(Read()[u"tray"], "1,1") << "no icon in the tray";
  ASSERT_EQ(Click(app::kHookClock, static_cast<LPARAM>(OffsetToToday(8, 0, 57))), 1);
  EXPECT_TRUE(WaitFor([&] { return Read().Field(u"tray.balloons", 0) == 1; }, 15000)) << Read()[u"tray.balloons"];
  EXPECT_EQ(Read()[u"tray.balloon"].rfind("Mum 80th|", 0), 0u) << Read()[u"tray.balloon"];
  char shown[16];
  std::snprintf(shown, sizeof(shown), "%04d-%02d-%02d", today.wYear, today.wMonth, today.wDay);
  EXPECT_NE(Rows().find(std::string("|08:01|") + shown), std::string::npos) << Rows();
  ASSERT_EQ(Click(app::kHookClock, static_cast<LPARAM>(OffsetToToday(8, 0, 58))), 1);
  Sleep(1500);
  EXPECT_EQ(Read().Field(u"tray.balloons", 0), 1);
  ASSERT_EQ(Click(app::kHookClick, 1), 1);  // monRight
  ASSERT_EQ(Click(app::kHookClick, 4), 1);  // close: hidden
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(hwnd_); }, 3000));
  HWND tray = WindowOf(process_, L"CTrayIcon");
  ASSERT_NE(tray, nullptr);
  PostMessageW(tray, app::UM_TRAY_CALLBACK, 129, NIN_BALLOONUSERCLICK);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(hwnd_) != FALSE; }, 5000));
  EXPECT_TRUE(WaitFor([&] { return Read().Field(u"shown", 1) == today.wMonth && Read().Field(u"shown", 3) == today.wDay; }, 3000))
      << Read()[u"shown"];

  // The note button (no note program beside this one) opens the focused day; delete it there.
  ASSERT_EQ(Click(app::kHookClick, 8), 1);
  ASSERT_TRUE(DialogSays("remind", "shown"));
  EXPECT_EQ(Read()[u"remind.day"], day);
  ASSERT_TRUE(ChooseFirstReminder());
  ClickDialog(u"btn_delete");
  EXPECT_TRUE(DialogSays("remind.problem", "已删除。"));
  EXPECT_EQ(Rows(), "0|");
  EXPECT_TRUE(DialogSays("marks", ""));
}

}  // namespace
