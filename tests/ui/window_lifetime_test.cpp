// Real windows under Windows (wine64 + Xvfb here): the order in which a window's classes answer a
// message, windows destroyed from their own handlers or with their owned windows, and a skin that
// cannot be read.
#include "tests/ui/window_fixture.h"

namespace tvui {
namespace {


// Answers its own message, but not for 3 (passed on to the base's default: 0).
class CustomWindow : public SkinWindow {
 public:
  std::optional<LRESULT> OnMessage(const Message& m) override {
    if (m.message == 10025 && m.wParam != 3) {
      custom.push_back(static_cast<int>(m.wParam));
      return m.wParam == 7 ? kWideResult - 1 : 0;
    }
    return SkinWindow::OnMessage(m);
  }
  std::vector<int> custom;
};

// A window derived once more answers first, and leaves the rest to the class it derives from.
class TakingWindow : public CustomWindow {
 public:
  std::optional<LRESULT> OnMessage(const Message& m) override {
    if (m.message == 10025 && m.wParam == 99) {
      taken.push_back(static_cast<int>(m.wParam));
      return kWideResult;
    }
    if (m.message == WM_NCHITTEST && m.wParam == 1) return HTBOTTOMRIGHT;  // over the frame's own answer
    return CustomWindow::OnMessage(m);
  }
  std::vector<int> taken;
};

TEST(WindowMessages, TheMostDerivedWindowAnswersFirstThenItsBasesThenTheDefault) {
  if (!tvtest::HaveDisplay()) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("no display");
  UiApp::SetInstance(GetModuleHandleW(nullptr));
  TakingWindow w;
  ASSERT_NE(w.Create(nullptr, L"custom", WS_POPUP, 0, 0, 0), nullptr);
  w.PostMessageW(10025, 1);
  w.PostMessageW(10025, 99);
  w.PostMessageW(10025, 2);
  PumpFor(50);
  EXPECT_EQ(w.custom, (std::vector<int>{1, 2}));
  EXPECT_EQ(w.taken, (std::vector<int>{99}));
  // The full result width from either level to the sender.
  EXPECT_EQ(w.SendMessageW(10025, 99), kWideResult);
  EXPECT_EQ(w.SendMessageW(10025, 7), kWideResult - 1);
  // Left by both: the default's answer.
  EXPECT_EQ(w.SendMessageW(10025, 3), 0);
  EXPECT_EQ(w.custom, (std::vector<int>{1, 2, 7}));
  EXPECT_EQ(w.SendMessageW(WM_NCHITTEST, 1, MAKELPARAM(-30000, -30000)), HTBOTTOMRIGHT);
  EXPECT_EQ(w.SendMessageW(WM_NCHITTEST, 0, MAKELPARAM(-30000, -30000)), HTCLIENT) << "the frame's answer";
}

class SelfDeletingWindow : public SkinWindow {
 public:
  explicit SelfDeletingWindow(bool* deleted) : deleted_(deleted) {}
  ~SelfDeletingWindow() override { *deleted_ = true; }
  void OnClick(Notification& msg) override {
    SkinWindow::OnClick(msg);
    DestroyWindow(GetHWND());
  }
  void OnFinalMessage(HWND) override { delete this; }

 private:
  bool* deleted_;
};

TEST(WindowLifetime, DestroyingFromAClickHandlerIsSafe) {
  if (!tvtest::HaveDisplay()) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("no display");
  UiApp::SetInstance(GetModuleHandleW(nullptr));
  bool deleted = false;
  auto* w = new SelfDeletingWindow(&deleted);
  HWND hwnd = w->Create(nullptr, L"self", WS_POPUP, 0, 0, 0);
  ASSERT_NE(hwnd, nullptr);
  Rect r = w->FindControl(u"btnA")->GetPos();
  LPARAM lp = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, lp);
  SendMessageW(hwnd, WM_LBUTTONUP, 0, lp);
  EXPECT_TRUE(deleted);
  EXPECT_FALSE(IsWindow(hwnd));
  PumpFor(20);
}

// Counts the passes that would hide it (under Wine each waits for a window manager).
class HideCountingWindow : public SkinWindow {
 public:
  std::optional<LRESULT> OnMessage(const Message& m) override {
    if (m.message == WM_WINDOWPOSCHANGING && (reinterpret_cast<WINDOWPOS*>(m.lParam)->flags & SWP_HIDEWINDOW)) ++hides;
    if (m.message == WM_SHOWWINDOW && !m.wParam) ++hides;
    if (m.message == WM_DESTROY) destroyed = true;
    return SkinWindow::OnMessage(m);
  }
  int hides = 0;
  bool destroyed = false;
};

TEST(WindowLifetime, DestroyAtOnceTakesTheOwnedWindowsWithoutHidingAnyOfThem) {
  if (!tvtest::HaveDisplay()) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("no display");
  UiApp::SetInstance(GetModuleHandleW(nullptr));
  HideCountingWindow owner, owned, hiddenOwned;
  HWND ownerHwnd = owner.Create(nullptr, L"owner", WS_POPUP, 0, 0, 0);
  ASSERT_NE(ownerHwnd, nullptr);
  ASSERT_NE(owned.Create(ownerHwnd, L"owned", WS_POPUP, 0, 200, 0), nullptr);
  ASSERT_NE(hiddenOwned.Create(ownerHwnd, L"hidden", WS_POPUP, 0, 400, 0), nullptr);
  owner.ShowWindow(true, false);
  owned.ShowWindow(true, false);
  PumpFor(20);

  owner.DestroyAtOnce();
  for (HideCountingWindow* w : {&owner, &owned, &hiddenOwned}) {
    EXPECT_TRUE(w->destroyed);
    EXPECT_EQ(w->hides, 0);
  }
  EXPECT_FALSE(IsWindow(ownerHwnd));
  PumpFor(20);
}

TEST(WindowSkinErrors, AMalformedSkinLeavesAWorkingEmptyWindow) {
  if (!tvtest::HaveDisplay()) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("no display");
  UiApp::SetInstance(GetModuleHandleW(nullptr));
  SkinWindow w(u"broken.xml");
  ASSERT_NE(w.Create(nullptr, L"broken", WS_POPUP, 0, 0, 50, 40), nullptr);
  EXPECT_NE(w.GetSkinError().find(u"malformed XML"), std::u16string::npos);
  ASSERT_NE(w.GetRoot(), nullptr);
  PumpFor(20);
  w.Close();
  PumpFor(50);
  EXPECT_EQ(w.GetHWND(), nullptr) << "closing destroys the window";
}

}  // namespace
}  // namespace tvui
