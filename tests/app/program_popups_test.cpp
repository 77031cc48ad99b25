// tavrino.exe as a whole under Windows (wine64 + Xvfb), as in program_test.cpp: the pop-ups (skins,
// settings, about and the feedback prompt).
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

class PopupTest : public ProgramTest {
 protected:
  // A picture of the screen when TAVRINO_SHOT_DIR names a folder (for people to look at).
  void Shot(const char* name) {
    const char* dir = std::getenv("TAVRINO_SHOT_DIR");
    if (!dir || !*dir) return;
    Sleep(300);
    tvtest::SaveScreenBmp(GetDesktopWindow(), fs::u8path(dir) / (std::string(name) + ".bmp"));
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

  ASSERT_EQ(Press(u"skin"), 1);
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
      ASSERT_EQ(Press(u"skin"), 1);
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
      tvtest::SaveScreenBmp(hwnd_, fs::u8path(dir) / ("skin" + std::to_string(skin) + ".bmp"));
    }
    ASSERT_EQ(Press(u"set"), 1);  // its title band in this skin's colour
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
      if (Press(u"set") != 1) break;
      st = WaitState(done);
      if (done(st)) break;
    }
    return st;
  };
  ASSERT_TRUE(install_->SetConfig("allow_push", ""));
  ASSERT_TRUE(install_->SetConfig("join_ue", "yes"));
  Launch();
  ASSERT_EQ(Press(u"set"), 1);
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

  Press(u"closebtn");  // the usage events reach ubd.dat
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
  ASSERT_EQ(Press(u"sendqq"), 1);
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
  ASSERT_EQ(Press(u"sendqq"), 1);
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
  ASSERT_EQ(Press(u"sendqq"), 1);
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

}  // namespace
