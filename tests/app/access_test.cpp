// The calendar window for screen readers and the keyboard, under Windows (wine64 + Xvfb here): this
// process reads the running program's accessible objects through oleacc, as a screen reader does,
// listens to its focus events out of context, and types keys as real input.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/logic/tray_rules.h"
#include "tests/app/program_driver.h"

namespace {

using namespace tvprog;

// Written out: with static mingw-w64 linking the import library's IID_IAccessible is a thunk.
constexpr GUID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

VARIANT Child(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::u16string NameOf(IAccessible* object, LONG id) {
  BSTR name = nullptr;
  std::u16string text;
  if (object->get_accName(Child(id), &name) == S_OK && name) text = reinterpret_cast<const char16_t*>(name);
  SysFreeString(name);
  return text;
}

LONG LongOf(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), IAccessible* object, LONG id) {
  VARIANT v;
  VariantInit(&v);
  if ((object->*get)(Child(id), &v) != S_OK || v.vt != VT_I4) return -1;
  return v.lVal;
}

// The object's children as AccessibleChildren gives them.
std::vector<VARIANT> ChildrenOf(IAccessible* object) {
  LONG count = 0;
  EXPECT_EQ(object->get_accChildCount(&count), S_OK);
  std::vector<VARIANT> children(count);
  LONG got = 0;
  EXPECT_EQ(AccessibleChildren(object, 0, count, children.data(), &got), S_OK);
  EXPECT_EQ(got, count);
  children.resize(got);
  return children;
}

void Clear(std::vector<VARIANT>& children) {
  for (VARIANT& v : children) VariantClear(&v);
  children.clear();
}

// Focus events of the program's window, as names, gathered out of context.
std::vector<std::u16string> g_focusNames;
HWND g_watched = nullptr;

void CALLBACK OnFocusEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
  if (hwnd != g_watched || object != OBJID_CLIENT) return;
  IAccessible* found = nullptr;
  VARIANT id;
  VariantInit(&id);
  if (AccessibleObjectFromEvent(hwnd, object, child, &found, &id) != S_OK || !found) return;
  g_focusNames.push_back(NameOf(found, id.vt == VT_I4 ? id.lVal : CHILDID_SELF));
  found->Release();
}

// A key as real input: xdotool types it into the X display the program draws on (the pointer is
// kept on the window's title, where the keys then go).
void PressKey(const char* keys) {
  std::wstring command = L"xdotool key --clearmodifiers ";
  for (const char* k = keys; *k; ++k) command += static_cast<wchar_t>(*k);
  ASSERT_TRUE(RunXProgram(command, 10000)) << "xdotool: error " << GetLastError();
}

class AccessTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  }
  void TearDown() override {
    if (hook_) UnhookWinEvent(hook_);
    if (root_) root_->Release();
    ProgramTest::TearDown();
    CoUninitialize();
  }

  // The grid's table object among the window's children.
  IAccessible* Table() {
    std::vector<VARIANT> children = ChildrenOf(root_);
    IAccessible* table = nullptr;
    for (VARIANT& v : children) {
      if (v.vt != VT_DISPATCH || !v.pdispVal) continue;
      IAccessible* candidate = nullptr;
      if (v.pdispVal->QueryInterface(kIidAccessible, reinterpret_cast<void**>(&candidate)) != S_OK) continue;
      if (LongOf(&IAccessible::get_accRole, candidate, CHILDID_SELF) == ROLE_SYSTEM_TABLE && !table) table = candidate;
      else candidate->Release();
    }
    Clear(children);
    return table;
  }

  // Every cell of the month on show: its name against the cell's date and weekday, its place
  // against the cell's place, and the states of the focused day.
  void CheckMonth(int year, int month, int focusedDay) {
    SCOPED_TRACE(std::to_string(year) + "-" + std::to_string(month));
    ASSERT_TRUE(WaitFor([&] {
      const State now = Read();
      return now.Field(u"shown", 0) == year && now.Field(u"shown", 1) == month;
    }, 3000));
    State s = Read();
    ASSERT_TRUE(ShowsMonth(year, month, s.Field(u"shown", 2), s.Field(u"shown", 3)));
    IAccessible* table = Table();
    ASSERT_NE(table, nullptr) << "no table among the window's children";
    EXPECT_EQ(Narrow(NameOf(table, CHILDID_SELF)), std::to_string(year) + "年" + std::to_string(month) + "月");
    const int cells = ShapeOfMonth(year, month).rows * 7;
    std::vector<VARIANT> children = ChildrenOf(table);
    ASSERT_EQ(static_cast<int>(children.size()), cells);
    RECT window;
    GetWindowRect(hwnd_, &window);
    const int dpi = s.Int(u"dpi") > 0 ? s.Int(u"dpi") : 96;
    const int focusCell = ShapeOfMonth(year, month).leadingDays + focusedDay - 1;
    for (int i = 0; i < cells; ++i) {
      ASSERT_EQ(children[i].vt, VT_I4) << i;
      const LONG id = children[i].lVal;
      const std::u16string name = NameOf(table, id);
      // "date:2026年12月8日#week:星期二 十月廿九#…" → "2026年12月8日 星期二，农历十月廿九"
      const std::u16string data = s.CellPart(i, 4);
      const size_t week = data.find(u"#week:");
      const size_t blank = data.find(u' ', week);
      const size_t end = data.find(u'#', week + 1);
      ASSERT_NE(week, std::u16string::npos) << Narrow(data);
      const std::u16string expected = data.substr(5, week - 5) + u" " + data.substr(week + 6, blank - week - 6) +
                                      u"，农历" + data.substr(blank + 1, end - blank - 1);
      EXPECT_EQ(Narrow(name.substr(0, expected.size())), Narrow(expected)) << i;
      EXPECT_EQ(LongOf(&IAccessible::get_accRole, table, id), ROLE_SYSTEM_CELL) << i;
      LONG x = 0, y = 0, w = 0, h = 0;
      ASSERT_EQ(table->accLocation(&x, &y, &w, &h, Child(id)), S_OK);
      const std::u16string place = s.CellPart(i, 3);  // x,y,w,h at 96 DPI
      int px = 0, py = 0, pw = 0, ph = 0;
      std::sscanf(Narrow(place).c_str(), "%d,%d,%d,%d", &px, &py, &pw, &ph);
      EXPECT_NEAR(x, window.left + MulDiv(px, dpi, 96), 1) << i;
      EXPECT_NEAR(y, window.top + MulDiv(py, dpi, 96), 1) << i;
      EXPECT_NEAR(w, MulDiv(pw, dpi, 96), 1) << i;
      EXPECT_NEAR(h, MulDiv(ph, dpi, 96), 1) << i;
      const LONG state = LongOf(&IAccessible::get_accState, table, id);
      EXPECT_EQ((state & STATE_SYSTEM_SELECTED) != 0, i == focusCell) << i;
      EXPECT_EQ((state & STATE_SYSTEM_FOCUSED) != 0, i == focusCell) << i;
    }
    Clear(children);
    table->Release();
  }

  std::u16string FocusName() {
    VARIANT focus;
    VariantInit(&focus);
    if (root_->get_accFocus(&focus) != S_OK || focus.vt != VT_I4) return u"";
    return NameOf(root_, focus.lVal);
  }

  IAccessible* root_ = nullptr;
  HWINEVENTHOOK hook_ = nullptr;
};

TEST_F(AccessTest, ScreenReaderReadsTheMonthAndHearsTheKeyboard) {
  Launch();
  SetForegroundWindow(hwnd_);
  ASSERT_EQ(AccessibleObjectFromWindow(hwnd_, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                       reinterpret_cast<void**>(&root_)),
            S_OK);
  ASSERT_NE(root_, nullptr);
  EXPECT_EQ(Narrow(NameOf(root_, CHILDID_SELF)), "Velar日历");
  EXPECT_EQ(LongOf(&IAccessible::get_accRole, root_, CHILDID_SELF), ROLE_SYSTEM_DIALOG);

  // The header: named buttons and selectors, today's dates and the clock.
  std::vector<std::string> names;
  std::vector<VARIANT> children = ChildrenOf(root_);
  for (VARIANT& v : children) {
    if (v.vt == VT_I4) names.push_back(Narrow(NameOf(root_, v.lVal)));
  }
  Clear(children);
  auto has = [&](const std::string& wanted) {
    for (const std::string& n : names)
      if (n.rfind(wanted, 0) == 0) return true;
    return false;
  };
  for (const char* wanted : {"上个月", "下个月", "更换皮肤", "设置", "隐藏", "时间 ", "刷新天气"}) {
    EXPECT_TRUE(has(wanted)) << wanted;
  }

  const SYSTEMTIME today = Today();
  CheckMonth(today.wYear, today.wMonth, today.wDay);
  const std::u16string todayName = FocusName();
  EXPECT_EQ(Narrow(todayName).rfind(std::to_string(today.wYear) + "年", 0), 0u) << Narrow(todayName);
  EXPECT_NE(Narrow(todayName).find("今天"), std::string::npos) << Narrow(todayName);

  // Keys move the focus; the reader hears each new day.
  RECT window;
  GetWindowRect(hwnd_, &window);
  SetCursorPos(window.left + 150, window.top + 16);
  g_watched = hwnd_;
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd_, &pid);
  hook_ = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &OnFocusEvent, pid, 0,
                          WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook_, nullptr);
  g_focusNames.clear();
  PressKey("Right");
  ASSERT_TRUE(WaitFor([] { return !g_focusNames.empty(); }, 5000))
      << "no focus event after Right; focus on " << Narrow(FocusName()) << ", foreground "
      << (GetForegroundWindow() == hwnd_);
  EXPECT_NE(g_focusNames.back(), todayName);
  EXPECT_EQ(g_focusNames.back(), FocusName());

  // Page Down: the next month, every cell of it, the same day focused (or the month's last).
  PressKey("Page_Down");
  const int nextYear = today.wMonth == 12 ? today.wYear + 1 : today.wYear;
  const int nextMonth = today.wMonth % 12 + 1;
  const int daysNow = ShapeOfMonth(today.wYear, today.wMonth).daysInMonth;
  int day = today.wDay + 1;
  int y = today.wYear, m = today.wMonth;
  if (day > daysNow) {
    day = 1;
    y = nextYear;
    m = nextMonth;
  }
  const int afterYear = m == 12 ? y + 1 : y;
  const int afterMonth = m % 12 + 1;
  const int afterDay = std::min(day, ShapeOfMonth(afterYear, afterMonth).daysInMonth);
  CheckMonth(afterYear, afterMonth, afterDay);
  const size_t heard = g_focusNames.size();
  ASSERT_TRUE(WaitFor([&] { return g_focusNames.size() >= 2; }, 5000));
  EXPECT_EQ(Narrow(g_focusNames.back()).rfind(std::to_string(afterYear) + "年" + std::to_string(afterMonth) + "月", 0),
            0u)
      << Narrow(g_focusNames.back()) << " after " << heard;

  // Home: back to today; Escape hides the window.
  PressKey("Home");
  EXPECT_TRUE(ShowsMonth(today.wYear, today.wMonth, today.wDay, 0));
  EXPECT_TRUE(WaitFor([&] { return FocusName() == todayName; }, 3000)) << Narrow(FocusName());
  PressKey("Escape");
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(hwnd_); }, 5000)) << "Escape does not hide the window";
}

}  // namespace

namespace {

// The pop-ups: opened from the calendar window by keys, their controls named for a reader, Tab
// inside them, Escape closing them and giving the focus back.
TEST_F(AccessTest, PopUpTakesTheKeyboardAndNamesItsControls) {
  Launch();
  SetForegroundWindow(hwnd_);
  RECT window;
  GetWindowRect(hwnd_, &window);
  SetCursorPos(window.left + 150, window.top + 16);
  ASSERT_EQ(AccessibleObjectFromWindow(hwnd_, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                       reinterpret_cast<void**>(&root_)),
            S_OK);
  // Backwards from the grid: the last header controls, "隐藏" then "设置".
  PressKey("shift+Tab shift+Tab");
  ASSERT_TRUE(WaitFor([&] { return FocusName() == u"设置"; }, 3000)) << Narrow(FocusName());
  PressKey("Return");
  HWND settings = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    settings = WindowOf(process_, L"CSetDlg");
    return settings && IsWindowVisible(settings);
  }, 5000)) << "Enter does not open the settings";

  IAccessible* popup = nullptr;
  ASSERT_EQ(AccessibleObjectFromWindow(settings, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                       reinterpret_cast<void**>(&popup)),
            S_OK);
  EXPECT_EQ(Narrow(NameOf(popup, CHILDID_SELF)), "设置");
  EXPECT_EQ(LongOf(&IAccessible::get_accRole, popup, CHILDID_SELF), ROLE_SYSTEM_DIALOG);
  std::vector<VARIANT> children = ChildrenOf(popup);
  std::vector<std::string> names;
  for (VARIANT& v : children) {
    ASSERT_EQ(v.vt, VT_I4);
    names.push_back(Narrow(NameOf(popup, v.lVal)));
    EXPECT_FALSE(names.back().empty()) << "a nameless part";
    LONG x = 0, y = 0, w = 0, h = 0;
    EXPECT_EQ(popup->accLocation(&x, &y, &w, &h, v), S_OK);
  }
  Clear(children);
  for (const char* wanted : {"关闭", "开机时自动启动", "修改系统时间"}) {
    EXPECT_NE(std::find(names.begin(), names.end(), wanted), names.end()) << wanted;
  }

  // Tab walks its controls (the reader hears where the focus is); Escape closes it.
  PressKey("Tab");
  VARIANT focus;
  VariantInit(&focus);
  EXPECT_TRUE(WaitFor([&] { return popup->get_accFocus(&focus) == S_OK && focus.vt == VT_I4; }, 3000));
  EXPECT_FALSE(NameOf(popup, focus.lVal).empty());
  popup->Release();
  PressKey("Escape");
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(settings); }, 5000)) << "Escape does not close the settings";
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == hwnd_; }, 3000)) << "the focus does not come back";
  EXPECT_TRUE(IsWindowVisible(hwnd_));
}

}  // namespace

namespace {

class PopUpKeysTest : public AccessTest {
 protected:
  // The pop-up of this class, once shown and in the foreground (the keys then go to it: the pointer
  // is put on its edge, out of the way of its items).
  HWND Opened(const wchar_t* windowClass) {
    HWND popup = nullptr;
    if (!WaitFor([&] {
          popup = WindowOf(process_, windowClass);
          return popup && IsWindowVisible(popup);
        }, 5000)) {
      return nullptr;
    }
    SetForegroundWindow(popup);
    WaitFor([&] { return GetForegroundWindow() == popup; }, 5000);
    RECT r;
    GetWindowRect(popup, &r);
    SetCursorPos(r.left + 1, r.bottom - 2);
    // The display's own focus follows the system's a moment later, on a loaded machine.
    Sleep(300);
    return popup;
  }

  // The name of the pop-up's focused part, once the keys have given the focus to a part other than
  // `other`.
  std::u16string FocusAfter(IAccessible* popup, const char* keys, const std::u16string& other) {
    PressKey(keys);
    std::u16string name;
    WaitFor([&] {
      VARIANT focus;
      VariantInit(&focus);
      if (popup->get_accFocus(&focus) != S_OK || focus.vt != VT_I4 || focus.lVal == CHILDID_SELF) return false;
      name = NameOf(popup, focus.lVal);
      return !name.empty() && name != other;
    }, 6000);
    return name;
  }

  // Tab, Shift+Tab and (away from a selector, which takes them for its items) the arrows walk the
  // pop-up's controls; Escape closes it and the calendar window has the focus again.
  void WalkAndEscape(HWND popup, bool arrows) {
    IAccessible* object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(popup, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                         reinterpret_cast<void**>(&object)),
              S_OK);
    const std::u16string first = FocusAfter(object, "Tab", u"");
    EXPECT_FALSE(first.empty()) << "Tab gives no part the focus";
    const std::u16string second = FocusAfter(object, "Tab", first);
    EXPECT_FALSE(second.empty()) << "a second Tab stays on " << Narrow(first);
    EXPECT_EQ(Narrow(FocusAfter(object, "shift+Tab", second)), Narrow(first));
    if (arrows) {
      EXPECT_EQ(Narrow(FocusAfter(object, "Down", first)), Narrow(second));
      EXPECT_EQ(Narrow(FocusAfter(object, "Up", second)), Narrow(first));
    }
    object->Release();
    PressKey("Escape");
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(popup) || !IsWindowVisible(popup); }, 5000)) << "Escape does not close it";
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == hwnd_; }, 5000)) << "the focus does not come back";
    EXPECT_TRUE(IsWindowVisible(hwnd_));
  }
};

// The skin chooser, the city picker, the survey, the settings and the tray menu by the keyboard alone.
TEST_F(PopUpKeysTest, PopUpsWalkByKeysAndGiveTheFocusBackOnEscape) {
  Launch();
  SetForegroundWindow(hwnd_);
  struct PopUp {
    const char* what;
    LPARAM button;  // its opening button in the header
    const wchar_t* windowClass;
    bool arrows;
  };
  for (const PopUp& p : {PopUp{"skin chooser", 5, L"CSkinDlg", true}, PopUp{"city picker", 9, L"CDlgCity", false},
                         PopUp{"survey", 7, L"CSurveys", true}}) {
    SCOPED_TRACE(p.what);
    ASSERT_EQ(Click(app::kHookClick, p.button), 1);
    HWND popup = Opened(p.windowClass);
    ASSERT_NE(popup, nullptr) << "not shown";
    WalkAndEscape(popup, p.arrows);
  }

  // Enter on the focused control does its click (a tile stores its skin, a switch turns, a selector
  // confirms its choice as the dialog's default button); with nothing focused, the default button
  // (the prompt's "ok", with its preselected "yes" turning autostart on).
  const std::string city = Read()[u"current_city"];
  auto storedSkin = [&] { return install_->QueryValue("select value from userconfig where name = 'skin'"); };
  const std::string skin = storedSkin();
  const struct {
    const char* what;
    LPARAM button;
    const wchar_t* windowClass;
    const char* keys;
    std::function<bool()> done;
  } enters[] = {
      {"skin chooser", 5, L"CSkinDlg", "Tab Tab Return",
       [&] { return storedSkin() != skin && storedSkin().rfind("bg", 0) == 0; }},
      {"city picker", 9, L"CDlgCity", "Tab Tab Down Return", [&] { return Read()[u"current_city"] != city; }},
      {"prompt", 7, L"CSurveys", "Return", [] { return !RunValue().empty(); }},
      {"settings", 6, L"CSetDlg", "Tab Tab Return", [] { return RunValue().empty(); }},
  };
  for (const auto& e : enters) {
    SCOPED_TRACE(std::string("Enter in the ") + e.what);
    ASSERT_EQ(Click(app::kHookClick, e.button), 1);
    HWND popup = Opened(e.windowClass);
    ASSERT_NE(popup, nullptr) << "not shown";
    PressKey(e.keys);
    EXPECT_TRUE(WaitFor(e.done, 5000)) << "no outcome";
    if (e.button == 6) PressKey("Escape");  // the settings stay open after a switch
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(popup); }, 5000)) << "still open";
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == hwnd_; }, 5000)) << "the focus does not come back";
  }
}

}  // namespace
