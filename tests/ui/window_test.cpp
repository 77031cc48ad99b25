// Real windows under Windows (wine64 + Xvfb here): input reaches controls as notifications,
// hit testing, option groups, combo lists, timers, templates and screenshots.
#include "tests/ui/window_fixture.h"

namespace tvui {
namespace {

TEST_F(WindowTest, CreationBuildsTheSkinThenSendsWindowInit) {
  RECT rc;
  GetClientRect(window->GetHWND(), &rc);
  EXPECT_EQ(rc.right, 320);
  EXPECT_EQ(rc.bottom, 240);
  EXPECT_TRUE(window->sawInitAfterInitWindow);
  EXPECT_EQ(window->Count(u"windowinit:root"), 1);
}

TEST_F(WindowTest, RealClickOnAButtonNotifiesClickWithItsName) {
  SendRealClick(Center(u"btnA"));
  PumpUntil([&] { return !window->clicks.empty(); });
  ASSERT_EQ(window->clicks, (std::vector<std::u16string>{u"btnA"}));
  EXPECT_TRUE(window->sawButtonDownBeforeClick) << "the window's OnMessage sees the press first";
  EXPECT_EQ(window->Count(u"click:btnA"), 1);
}

TEST_F(WindowTest, PointerMovesGiveEnterAndLeave) {
  POINT a = Center(u"btnA");
  POINT screen = a;
  ClientToScreen(window->GetHWND(), &screen);
  SetCursorPos(screen.x, screen.y);
  PumpUntil([&] { return window->Count(u"mouseenter:btnA") > 0; });
  EXPECT_EQ(window->Count(u"mouseenter:btnA"), 1);
  EXPECT_TRUE(window->FindControl(u"btnA")->IsHot());
  // Off the window altogether: the system's leave message ends the hover.
  SetCursorPos(900, 700);
  PumpUntil([&] { return window->Count(u"mouseleave:btnA") > 0; });
  EXPECT_EQ(window->Count(u"mouseleave:btnA"), 1);
  EXPECT_FALSE(window->FindControl(u"btnA")->IsHot());
}

TEST_F(WindowTest, RestingOnAControlShowsItsToolTip) {
  POINT screen = Center(u"closebtn");
  ClientToScreen(window->GetHWND(), &screen);
  SetCursorPos(screen.x, screen.y);
  auto visibleTip = [&]() -> HWND {
    HWND tip = nullptr;
    while ((tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr))) {
      if (IsWindowVisible(tip) && GetWindow(tip, GW_OWNER) == window->GetHWND()) return tip;
    }
    return nullptr;
  };
  PumpUntil([&] { return visibleTip() != nullptr; });
  HWND tip = visibleTip();
  ASSERT_NE(tip, nullptr);
  wchar_t text[64] = {};
  TTTOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = window->GetHWND();
  ti.uId = 1;
  ti.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&ti));
  EXPECT_STREQ(text, L"关闭窗口");
  SetCursorPos(900, 700);
  PumpUntil([&] { return visibleTip() == nullptr; });
  EXPECT_EQ(visibleTip(), nullptr);
}

TEST_F(WindowTest, OptionGroupStaysExclusive) {
  HWND hwnd = window->GetHWND();
  PostClick(hwnd, Center(u"opt2"));
  PostClick(hwnd, Center(u"opt3"));
  PostClick(hwnd, Center(u"opt3"));
  auto sel = [&](std::u16string_view n) { return window->FindControlAs<Option>(n)->IsSelected(); };
  EXPECT_FALSE(sel(u"opt1"));
  EXPECT_FALSE(sel(u"opt2"));
  EXPECT_TRUE(sel(u"opt3"));
  EXPECT_EQ(window->selectChanges,
            (std::vector<std::u16string>{u"opt1", u"opt2", u"opt2", u"opt3"}));
}

TEST_F(WindowTest, ComboListSelectsWithNotificationAndSilently) {
  auto* combo = window->FindControlAs<Combo>(u"cmb");
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->GetCurSel(), 0);
  PostClick(window->GetHWND(), Center(u"cmb"));
  HWND list = window->GetDropDownWindow();
  ASSERT_NE(list, nullptr) << "the list opens as its own pop-up window";
  wchar_t cls[64] = {};
  GetClassNameW(list, cls, 64);
  EXPECT_STREQ(cls, DropDownWindow::kClassName);
  RECT lr, cr;
  GetWindowRect(list, &lr);
  POINT below{combo->GetPos().left, combo->GetPos().bottom};
  ClientToScreen(window->GetHWND(), &below);
  EXPECT_EQ(lr.left, below.x);
  EXPECT_EQ(lr.top, below.y);
  GetClientRect(list, &cr);
  // Third item (index 2): items are 24 px high below a 1 px border.
  LPARAM lp = MAKELPARAM(20, 1 + 24 * 2 + 12);
  PostMessageW(list, WM_MOUSEMOVE, 0, lp);
  PostMessageW(list, WM_LBUTTONUP, 0, lp);
  PumpUntil([&] { return !window->itemSelects.empty(); });
  EXPECT_EQ(window->itemSelects, (std::vector<int>{2}));
  EXPECT_EQ(window->Count(u"itemclick:cmb"), 1);
  EXPECT_EQ(combo->GetSelectedText(), u"2026年");
  EXPECT_EQ(window->GetDropDownWindow(), nullptr) << "choosing closes the list";

  combo->SelectItem(3, false);
  PumpFor(30);
  EXPECT_EQ(window->itemSelects.size(), 1u);
  EXPECT_EQ(combo->GetCurSel(), 3);

  // A press outside the open list closes it without a choice; so does Escape on the owner.
  PostClick(window->GetHWND(), Center(u"cmb"));
  list = window->GetDropDownWindow();
  ASSERT_NE(list, nullptr);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-30, -30));
  PumpFor(30);
  EXPECT_EQ(window->GetDropDownWindow(), nullptr);
  PostClick(window->GetHWND(), Center(u"cmb"));
  ASSERT_NE(window->GetDropDownWindow(), nullptr);
  PostMessageW(window->GetHWND(), WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(window->GetHWND(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpFor(30);
  EXPECT_EQ(window->GetDropDownWindow(), nullptr);
  EXPECT_EQ(combo->GetCurSel(), 3);
  EXPECT_EQ(window->Count(u"itemclick:cmb"), 1);
  EXPECT_EQ(window->dialogEscapes, 0) << "the open list's Escape is no dialog key of the window";
  PostMessageW(window->GetHWND(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpFor(30);
  EXPECT_EQ(window->dialogEscapes, 1);
}

TEST_F(WindowTest, FindByPointAndCaptionHitTesting) {
  POINT close = Center(u"closebtn");
  ASSERT_NE(window->FindControl(close), nullptr);
  EXPECT_EQ(window->FindControl(close)->GetName(), u"closebtn");
  EXPECT_EQ(window->FindControl(Center(u"floater"))->GetName(), u"floater");
  auto hit = [&](POINT client) {
    POINT s = client;
    ClientToScreen(window->GetHWND(), &s);
    return SendMessageW(window->GetHWND(), WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y));
  };
  EXPECT_EQ(hit(Center(u"caption")), HTCAPTION) << "the caption band drags the window";
  EXPECT_EQ(hit(close), HTCLIENT) << "but a button in it still takes clicks";
  EXPECT_EQ(hit(Center(u"para")), HTCLIENT);
}

// The window moves to a monitor at 150 %: it takes the suggested rectangle and draws the same
// layout at 1.5x, and device-pixel input (clicks, hit tests, the combo list) still finds the
// control that is drawn there; back at 100 % nothing is left of the scale.
TEST_F(WindowTest, AMonitorOfAnotherScaleRedrawsAndHitTestsAtItsDpi) {
  HWND hwnd = window->GetHWND();
  auto changeDpi = [&](int dpi, RECT suggested) {
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    PumpFor(30);
  };
  changeDpi(144, {0, 100, 480, 460});
  const Scale& scale = window->GetScale();
  ASSERT_EQ(scale.Dpi(), 144);
  RECT rc;
  GetClientRect(hwnd, &rc);
  EXPECT_EQ(rc.right, 480);
  EXPECT_EQ(rc.bottom, 360);
  EXPECT_EQ(window->GetManager().GetClientSize(), (Size{320, 240})) << "the layout stays in 96-DPI units";
  auto device = [&](POINT logical) {
    Point p = scale.ToDevice(Point{logical.x, logical.y});
    return POINT{p.x, p.y};
  };
  // Edges: the first device pixel of opt2 is opt2's, the one before it is not.
  const Rect opt2 = scale.ToDevice(window->FindControl(u"opt2")->GetPos());
  EXPECT_EQ(window->FindControl(POINT{opt2.left, opt2.top + 3})->GetName(), u"opt2");
  EXPECT_NE(window->FindControl(POINT{opt2.left - 1, opt2.top + 3})->GetName(), u"opt2");
  PostClick(hwnd, device(Center(u"btnA")));
  EXPECT_EQ(window->clicks, (std::vector<std::u16string>{u"btnA"}));
  POINT caption = device(Center(u"caption"));
  ClientToScreen(hwnd, &caption);
  EXPECT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);

  // The combo list opens under the combo at 1.5x, and its third item is where it is drawn.
  auto* combo = window->FindControlAs<Combo>(u"cmb");
  PostClick(hwnd, device(Center(u"cmb")));
  HWND list = window->GetDropDownWindow();
  ASSERT_NE(list, nullptr);
  RECT lr;
  GetWindowRect(list, &lr);
  POINT below = device({combo->GetPos().left, combo->GetPos().bottom});
  ClientToScreen(hwnd, &below);
  EXPECT_EQ(lr.left, below.x);
  EXPECT_EQ(lr.top, below.y);
  EXPECT_EQ(lr.bottom - lr.top, scale.ToDevice(4 * 24 + 2));
  const LPARAM third = MAKELPARAM(30, scale.ToDevice(1 + 24 * 2 + 12));
  PostMessageW(list, WM_MOUSEMOVE, 0, third);
  PostMessageW(list, WM_LBUTTONUP, 0, third);
  PumpUntil([&] { return !window->itemSelects.empty(); });
  EXPECT_EQ(window->itemSelects, (std::vector<int>{2}));

  // The picture is drawn at the device size.
  auto out = std::filesystem::temp_directory_path() / "tvui_window_dpi_test.png";
  ASSERT_TRUE(window->SaveClientPng(out.u16string()));
  FILE* f = _wfopen(out.c_str(), L"rb");
  ASSERT_NE(f, nullptr);
  unsigned char header[24] = {};
  EXPECT_EQ(std::fread(header, 1, sizeof(header), f), sizeof(header));
  std::fclose(f);
  std::filesystem::remove(out);
  auto be32 = [&](int at) { return header[at] << 24 | header[at + 1] << 16 | header[at + 2] << 8 | header[at + 3]; };
  EXPECT_EQ(be32(16), 480);
  EXPECT_EQ(be32(20), 360);

  changeDpi(96, {0, 100, 320, 340});
  EXPECT_TRUE(window->GetScale().IsIdentity());
  GetClientRect(hwnd, &rc);
  EXPECT_EQ(rc.right, 320);
  EXPECT_EQ(window->FindControl(Center(u"opt2"))->GetName(), u"opt2");
}

// A result as wide as a pointer: any level that cut it to 32 bits would change it on x64.
const MessageResult kWideResult = static_cast<MessageResult>(UINTPTR_MAX / 3);
TEST_F(WindowTest, ResizingRelaysOutTheTree) {
  SetWindowPos(window->GetHWND(), nullptr, 0, 0, 358, 506, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpFor(30);
  window->GetManager().Layout();
  EXPECT_EQ(window->GetManager().GetClientSize(), (Size{358, 506}));
  EXPECT_EQ(window->FindControl(u"root")->GetPos(), (Rect{0, 0, 358, 506}));
  EXPECT_EQ(window->FindControl(u"closebtn")->GetPos().right, 358 - 8) << "the title row follows the new width";
}

TEST_F(WindowTest, CenterWindowStaysInsideTheWorkArea) {
  window->CenterWindow();
  RECT rc, work;
  GetWindowRect(window->GetHWND(), &rc);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((rc.left + rc.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((rc.top + rc.bottom) / 2, (work.top + work.bottom) / 2, 1);
}

TEST_F(WindowTest, TimerFiresOnItsWindowUntilKilled) {
  ASSERT_TRUE(window->SetTimer(77, 20));
  PumpUntil([&] { return window->timerIds.size() >= 2; });
  ASSERT_GE(window->timerIds.size(), 2u);
  EXPECT_EQ(window->timerIds[0], 77u);
  EXPECT_EQ(window->Count(u"timer:root"), static_cast<int>(window->timerIds.size()));
  EXPECT_TRUE(window->KillTimer(77));
  PumpFor(60);
  size_t after = window->timerIds.size();
  PumpFor(100);
  EXPECT_EQ(window->timerIds.size(), after);
}

TEST_F(WindowTest, ItemTemplatesAddCellsAndScreenshotsSave) {
  auto* tiles = window->FindControl(u"tiles")->AsContainer();
  tiles->RemoveAll();
  for (int i = 0; i < 3; ++i) {
    auto cell = window->CreateItem(u"item.xml");
    ASSERT_NE(cell, nullptr);
    tiles->Add(std::move(cell));
  }
  EXPECT_EQ(window->CreateItem(u"missing.xml"), nullptr);
  window->GetManager().Layout();
  PostClick(window->GetHWND(), {tiles->GetPos().left + 60, tiles->GetPos().top + 20});
  Control* hit = window->FindControl(POINT{tiles->GetPos().left + 60, tiles->GetPos().top + 20});
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->GetName(), u"isSelect");
  EXPECT_TRUE(dynamic_cast<Option*>(hit)->IsSelected());

  auto out = std::filesystem::temp_directory_path() / "tvui_window_test.png";
  std::filesystem::remove(out);
  ASSERT_TRUE(window->SaveClientPng(out.u16string()));
  EXPECT_GT(std::filesystem::file_size(out), 1000u);
  std::filesystem::remove(out);
}

TEST_F(WindowTest, ScreenshotsMatchAfterRepaintsAndAfterTheWindowGrowsAndShrinksBack) {
  // The second paint draws from cached, already composed images; after a grow and a shrink the
  // back buffer is larger than the window. Neither may change a pixel of the saved picture.
  auto dir = std::filesystem::temp_directory_path();
  auto first = dir / "tvui_window_test_a.png";
  auto again = dir / "tvui_window_test_b.png";
  auto resized = dir / "tvui_window_test_c.png";
  ASSERT_TRUE(window->SaveClientPng(first.u16string()));
  ASSERT_TRUE(window->SaveClientPng(again.u16string()));
  RECT rc;
  GetWindowRect(window->GetHWND(), &rc);
  int cx = rc.right - rc.left;
  int cy = rc.bottom - rc.top;
  SetWindowPos(window->GetHWND(), nullptr, 0, 0, cx + 40, cy + 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateWindow(window->GetHWND());
  PumpFor(20);
  SetWindowPos(window->GetHWND(), nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateWindow(window->GetHWND());
  PumpFor(20);
  ASSERT_TRUE(window->SaveClientPng(resized.u16string()));
  auto bytes = [](const std::filesystem::path& p) {
    std::FILE* f = _wfopen(p.wstring().c_str(), L"rb");
    std::string data;
    if (!f) return data;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof(buf), f)) > 0;) data.append(buf, n);
    std::fclose(f);
    return data;
  };
  std::string a = bytes(first);
  EXPECT_GT(a.size(), 1000u);
  EXPECT_EQ(a, bytes(again));
  EXPECT_EQ(a, bytes(resized));
  for (const auto& p : {first, again, resized}) std::filesystem::remove(p);
}

TEST_F(WindowTest, PreparingAnotherSizeLeavesTheWindowAsItWasAndNothingToRepaint) {
  // Drawn at a larger size out of sight, with one control changed for it: afterwards the layout,
  // the control and the picture are the window's own again, and no repaint is left behind.
  auto shot = [&](const char* name) {
    auto path = std::filesystem::temp_directory_path() / name;
    EXPECT_TRUE(window->SaveClientPng(path.u16string()));
    std::FILE* f = _wfopen(path.wstring().c_str(), L"rb");
    std::string data;
    char buf[4096];
    for (size_t n; f && (n = std::fread(buf, 1, sizeof(buf), f)) > 0;) data.append(buf, n);
    if (f) std::fclose(f);
    std::filesystem::remove(path);
    return data;
  };
  UpdateWindow(window->GetHWND());
  PumpFor(50);
  const std::string before = shot("tvui_prepare_a.png");
  const Rect closeAt = window->FindControl(u"closebtn")->GetPos();
  const Size client = window->GetManager().GetClientSize();
  const int paints = window->paints;
  RECT rc;
  GetClientRect(window->GetHWND(), &rc);
  Control* caption = window->FindControl(u"caption");
  std::vector<bool> dressed;
  std::u16string drawnThere;
  window->PrepareSize(rc.right + 40, rc.bottom + 60, [&](bool there) {
    dressed.push_back(there);
    if (there) drawnThere = caption->GetText();
    caption->SetText(there ? u"elsewhere" : u"测试窗口 Skin test");
  });
  EXPECT_EQ(dressed, (std::vector<bool>{true, false}));
  EXPECT_EQ(window->GetManager().GetClientSize(), client);
  EXPECT_EQ(window->FindControl(u"closebtn")->GetPos(), closeAt);
  PumpFor(60);
  EXPECT_EQ(window->paints, paints) << "the unseen drawing left a repaint behind";
  EXPECT_TRUE(shot("tvui_prepare_b.png") == before) << "the window's own picture changed";
}

// A window that deletes itself when it is gone, destroyed from inside its own click handler.
}  // namespace
}  // namespace tvui
