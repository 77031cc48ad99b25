// tavrino.exe as a whole under Windows (wine64 + Xvfb), as in program_test.cpp: the notification-area
// icon, its menu and the autostart prompt.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

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
  // The keyboard on the icon (the shell's callback version 3): Shift+F10 or the menu key opens the
  // menu (by the icon, or at the pointer where the shell cannot tell where the icon is); Enter or
  // Space toggles the window as a left click does.
  TrayCallback(WM_CONTEXTMENU);
  ASSERT_TRUE(WaitFor([&] { return Read().Field(u"menu", 0) == 1; }, 3000)) << "no menu for the keyboard";
  PostMessageW(WindowsOf(process_, L"MendWnd")[0], WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(MenuClosed());
  ASSERT_TRUE(IsWindowVisible(hwnd_));
  EXPECT_EQ(TrayCallback(NIN_KEYSELECT), 1);
  EXPECT_FALSE(IsWindowVisible(hwnd_));
  Sleep(kTrayEchoMs + 100);
  TrayCallback(NIN_KEYSELECT);
  EXPECT_TRUE(IsWindowVisible(hwnd_));

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
    Press(u"closebtn");
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

}  // namespace
