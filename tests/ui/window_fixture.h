#pragma once
// The windows the window tests drive: a skinned window that records its notifications, and a
// fixture that opens it on a skin of the test folder.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "tests/support/screen_input.h"
#include "ui/button.h"
#include "ui/combo.h"
#include "ui/container.h"
#include "ui/option.h"
#include "ui/win32/drop_down_window.h"
#include "ui/win32/ui_app.h"
#include "ui/win32/window_impl_base.h"
#include "tests/support/display.h"

namespace tvui {

inline const std::u16string kSkins = std::filesystem::path(TAVRINO_SOURCE_DIR "/tests/ui/skins/").u16string();

inline void PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000) {
  DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < timeoutMs) {
    UiApp::PumpPending();
    Sleep(5);
  }
}

inline void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

class SkinWindow : public WindowImplBase {
 public:
  explicit SkinWindow(std::u16string file = u"basic.xml") : file_(std::move(file)) {}
  const wchar_t* GetWindowClassName() const override { return L"TvUiTestWindow"; }
  std::u16string GetSkinFolder() override { return kSkins; }
  std::u16string GetSkinFile() override { return file_; }
  void InitWindow() override { initCalled = true; }
  void Notify(Notification& msg) override {
    log.push_back(std::u16string(NotifyTypeName(msg.type)) + u":" + (msg.sender ? msg.sender->GetName() : u""));
    if (msg.type == NotifyType::kWindowInit) sawInitAfterInitWindow = initCalled;
    WindowImplBase::Notify(msg);
  }
  void OnClick(Notification& msg) override { clicks.push_back(msg.sender->GetName()); }
  void OnSelectChanged(Notification& msg) override { selectChanges.push_back(msg.sender->GetName()); }
  void OnItemSelect(Notification& msg) override { itemSelects.push_back(static_cast<int>(msg.wParam)); }
  void OnTimer(Notification& msg) override { timerIds.push_back(static_cast<unsigned>(msg.wParam)); }
  std::optional<LRESULT> OnMessage(const Message& m) override {
    if (m.message == WM_LBUTTONDOWN) sawButtonDownBeforeClick = clicks.empty();
    if (m.message == WM_PAINT) ++paints;
    if (IsDialogKey(m, VK_ESCAPE)) ++dialogEscapes;
    return WindowImplBase::OnMessage(m);
  }
  int Count(const std::u16string& text) const { return static_cast<int>(std::count(log.begin(), log.end(), text)); }

  bool initCalled = false;
  bool sawInitAfterInitWindow = false;
  bool sawButtonDownBeforeClick = false;
  int paints = 0;
  int dialogEscapes = 0;
  std::vector<std::u16string> log;
  std::vector<std::u16string> clicks;
  std::vector<std::u16string> selectChanges;
  std::vector<int> itemSelects;
  std::vector<unsigned> timerIds;

 private:
  std::u16string file_;
};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!tvtest::HaveDisplay()) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("no display (set DISPLAY, e.g. with tools/xvfb.sh)");
    UiApp::SetInstance(GetModuleHandleW(nullptr));
    window = std::make_unique<SkinWindow>();
    HWND hwnd = window->Create(nullptr, L"ui test", WS_POPUP, 0, 100, 100);
    // Shown without activation: under Wine without a window manager an activated window becomes
    // "managed" and its destruction then waits two seconds for the manager.
    window->ShowWindow(true, false);
    if (!hwnd) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("cannot create a window on this display (error " + std::to_string(GetLastError()) + ")");
    ASSERT_TRUE(window->GetSkinError().empty());
    PumpUntil([&] { return window->Count(u"windowinit:root") > 0; });
  }
  void TearDown() override {
    window.reset();
    PumpFor(20);
  }
  POINT Center(std::u16string_view name) {
    Control* c = window->FindControl(name);
    EXPECT_NE(c, nullptr) << "no control " << std::string(name.begin(), name.end());
    if (!c) return {};
    Rect r = c->GetPos();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void PostClick(HWND hwnd, POINT pt) {
    LPARAM lp = MAKELPARAM(pt.x, pt.y);
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, lp);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, lp);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, lp);
    PumpFor(50);
  }
  void SendRealClick(POINT client) {
    POINT screen = client;
    ClientToScreen(window->GetHWND(), &screen);
    SetCursorPos(screen.x, screen.y);
    PumpFor(30);
    tvtest::SendClicks(screen);
  }
  std::unique_ptr<SkinWindow> window;
};


}  // namespace tvui
