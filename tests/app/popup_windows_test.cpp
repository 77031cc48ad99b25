// The seven-day weather pop-up and the city picker of a running tavrino.exe (wine64 + Xvfb), with
// the local service stand-in serving the pages: real pointer moves and clicks, state read through
// the test hook. Screenshots of both windows are left in bin/screenshots for people to look at.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/logic/skins.h"
#include "app/logic/weather_popup_view.h"
#include "app/logic/window_messages.h"
#include "tests/app/program_driver.h"
#include "weather/weather_report.h"

namespace {

using namespace tvprog;

// One "day|icon|temperature|tool tip" item of the pop-up's strip.
struct Item {
  std::u16string day, icon, temperature, tip;
};
std::vector<Item> Items(const std::u16string& text) {
  std::vector<Item> out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(u';', start);
    if (end == std::u16string::npos) end = text.size();
    std::u16string part = text.substr(start, end - start);
    std::u16string f[4];
    size_t a = 0;
    for (int i = 0; i < 4; ++i) {
      size_t b = i < 3 ? part.find(u'|', a) : std::u16string::npos;
      f[i] = part.substr(a, b == std::u16string::npos ? std::u16string::npos : b - a);
      a = b == std::u16string::npos ? part.size() : b + 1;
    }
    out.push_back({f[0], f[1], f[2], f[3]});
    start = end + 1;
  }
  return out;
}

// Texts of a picker combo's items ("index/count|selected|a;b;c;").
std::vector<std::u16string> ComboItems(const std::u16string& value) {
  std::vector<std::u16string> out;
  size_t bar = value.find(u'|');
  bar = bar == std::u16string::npos ? bar : value.find(u'|', bar + 1);
  if (bar == std::u16string::npos) return out;
  size_t start = bar + 1;
  while (start < value.size()) {
    size_t end = value.find(u';', start);
    if (end == std::u16string::npos) break;
    out.push_back(value.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

int IndexOf(const std::vector<std::u16string>& items, std::u16string_view name) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].size() > 2 && items[i].substr(2) == name) return static_cast<int>(i);
  }
  return -1;
}

// The current user's browser for http, for one test: a copy of the argument recorder in the
// installation, chosen as the user's own browser; the old choice comes back at the end.
class StandInBrowser {
 public:
  explicit StandInBrowser(const fs::path& dir) : program_(dir / "browser.exe") {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    fs::copy_file(fs::path(self).parent_path() / "args_recorder.exe", program_);
    wchar_t old[256] = {};
    DWORD size = sizeof(old);
    hadChoice_ = RegGetValueW(HKEY_CURRENT_USER, kUserChoice, L"ProgId", RRF_RT_REG_SZ, nullptr, old, &size) == ERROR_SUCCESS;
    oldChoice_ = old;
    Set(HKEY_CLASSES_ROOT, std::wstring(kProgId) + L"\\shell\\open\\command", nullptr,
        L"\"" + program_.wstring() + L"\" \"%1\"");
    Set(HKEY_CURRENT_USER, kUserChoice, L"ProgId", kProgId);
  }
  ~StandInBrowser() {
    if (hadChoice_) Set(HKEY_CURRENT_USER, kUserChoice, L"ProgId", oldChoice_);
    else RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserChoice, L"ProgId");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
  }
  // The first argument of the browser's first start, once it has started.
  std::string FirstArgument() const {
    std::string argument;
    WaitFor([&] {
      std::ifstream in(fs::path(program_.wstring() + L".txt"), std::ios::binary);
      std::string pids, command;
      return std::getline(in, pids) && std::getline(in, command) && std::getline(in, argument);
    }, 20000);
    return argument;
  }

 private:
  static constexpr const wchar_t* kProgId = L"TavrinoTestPopupURL";
  static constexpr const wchar_t* kUserChoice =
      L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice";
  static void Set(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY k = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS) return;
    RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
  }
  fs::path program_;
  bool hadChoice_ = false;
  std::wstring oldChoice_;
};

class PopupWindowsTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    int port = DevServicePort();
    if (port == 0) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("devservice is not running: run this test through ctest (fixture wx_devservice)");
    root_ = "http://127.0.0.1:" + std::to_string(port);
  }
  // Services of the stand-in; the air-quality pages may be made for another date (another level).
  void Configure(const std::string& airDate = "") {
    std::string air = airDate.empty() ? root_ : root_ + "/_/date=" + airDate;
    ASSERT_TRUE(install_->SetConfig("svc_forecast", root_ + "/_/daytime"));
    ASSERT_TRUE(install_->SetConfig("svc_weather2", air));
    ASSERT_TRUE(install_->SetConfig("svc_air", air));
    ASSERT_TRUE(install_->SetConfig("svc_iplocation", root_));
  }
  void WaitForUpdates(int atLeast) {
    ASSERT_TRUE(WaitFor([&] { return Read().Int(u"weather_updates") >= atLeast; }, 60000)) << "no weather update";
  }
  // Screen point of the middle of a control ("x,y,w,h" in client coordinates, 96-DPI units) at the
  // display's scale.
  POINT MiddleOf(HWND window, const State& s, const std::u16string& key) {
    RECT rc;
    GetWindowRect(window, &rc);
    const tvui::Scale scale(s.Int(u"dpi"));
    return {rc.left + scale.ToDevice(s.Field(key, 0) + s.Field(key, 2) / 2),
            rc.top + scale.ToDevice(s.Field(key, 1) + s.Field(key, 3) / 2)};
  }
  // Points at the weather icon (after a step beside it, so that the entry is seen).
  void PointAtWeather() {
    State s = Read();
    POINT p = MiddleOf(hwnd_, s, u"weather.pos");
    MovePointer(p.x - 40, p.y + 60);
    Sleep(80);
    MovePointer(p.x, p.y);
  }
  // Keeps the window's picture as bin/screenshots/<name>.png.
  void Shot(int window, const std::string& name) {
    if (Click(app::kHookShot, window) != 1) {
      ADD_FAILURE() << "no screenshot of " << name;
      return;
    }
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    fs::path dir = fs::path(self).parent_path() / "screenshots";
    std::error_code ignored;
    fs::create_directories(dir, ignored);
    fs::copy_file(install_->Dir() / ("shot-" + std::to_string(window) + ".png"), dir / (name + ".png"),
                  fs::copy_options::overwrite_existing, ignored);
  }

  std::string root_;
};

TEST_F(PopupWindowsTest, WeatherPopupFadesInBesideTheWindowAndFollowsTheReport) {
  Configure();
  ASSERT_TRUE(install_->SetConfig("skin", "bg4"));
  Launch();
  WaitForUpdates(1);

  // The pointer on the weather icon opens the pop-up beside the window, fading in.
  PointAtWeather();
  ASSERT_TRUE(WaitFor([&] { return Read().Int(u"wxpop") == 1; }, 5000)) << "no pop-up";
  State s = Read();
  Anchor anchor{s.Field(u"anchor", 0), s.Field(u"anchor", 1), static_cast<TaskbarEdge>(s.Field(u"anchor", 2)), true};
  // At the display's scale: 196 x 205 at 96 DPI, 294 x 308 at 144.
  const tvui::Scale scale(s.Int(u"dpi"));
  tvui::Rect at = PlaceWeatherPopup(anchor, s.Int(u"top"), scale);
  EXPECT_EQ(s.Field(u"wxpop.rect", 0), at.left);
  EXPECT_EQ(s.Field(u"wxpop.rect", 1), at.top);
  EXPECT_EQ(s.Field(u"wxpop.rect", 2), at.Width());
  EXPECT_EQ(s.Field(u"wxpop.rect", 3), at.Height());
  EXPECT_TRUE(WaitFor([&] { return Read().Int(u"wxpop.alpha") == 255; }, 4000)) << "the fade does not end";
  EXPECT_EQ(s.Text(u"wxpop.background"), SkinImagesOf(4).weatherPopup) << "the background follows the stored skin";

  // Today, tomorrow and the day after from the served pages, and an empty fourth item.
  EXPECT_EQ(s[u"wxpop.city"], "上海");
  EXPECT_EQ(s[u"wxpop.report_city"], "上海");
  std::vector<Item> items = Items(s.Text(u"wxpop.items"));
  ASSERT_EQ(items.size(), 4u) << s[u"wxpop.items"];
  const char16_t* labels[] = {u"今天", u"明天", u"后天", u""};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(items[i].day, labels[i]);
    std::string picture = Narrow(items[i].icon);
    for (char& c : picture) c = c == '\\' ? '/' : c;
    EXPECT_TRUE(fs::exists(install_->Dir() / "skin15" / fs::u8path(picture))) << picture;
    EXPECT_NE(picture.find("small.png"), std::string::npos) << picture;
    // Either the day's temperatures, or 晴 for a condition without a picture.
    bool sunny = items[i].temperature == u"晴" && items[i].icon == u"weather\\day\\sunnysmall.png";
    bool temperatures = items[i].temperature.find(u'℃') != std::u16string::npos;
    EXPECT_TRUE(sunny || temperatures) << Narrow(items[i].temperature);
  }
  EXPECT_FALSE(items[1].tip.empty()) << "tomorrow's condition from the page";
  EXPECT_FALSE(items[2].tip.empty()) << "the day after's condition from the page";
  EXPECT_EQ(items[3].temperature, u"晴");
  std::string temperature = s[u"wxpop.temperature"];
  EXPECT_FALSE(temperature.empty());
  EXPECT_EQ(temperature.find("℃"), std::string::npos) << temperature;
  std::string air = s[u"wxpop.air"];
  EXPECT_EQ(air.rfind(" ", 0), 0u) << air;
  EXPECT_NE(air.find(" PM2.5 "), std::string::npos) << air;
  EXPECT_NE(air.find("|12,95,"), std::string::npos) << air;
  Shot(0, "weather-popup");

  // "moreweather" starts the user's browser with the forecast page of the current city.
  POINT popupMiddle{at.left + at.Width() / 2, at.top + scale.ToDevice(60)};
  RECT pr{at.left, at.top, at.right, at.bottom};
  {
    StandInBrowser browser(install_->Dir());
    State p = Read();
    // The link's place is in 96-DPI units.
    POINT more{pr.left + scale.ToDevice(p.Field(u"wxpop.moreweather", 0) + p.Field(u"wxpop.moreweather", 2) / 2),
               pr.top + scale.ToDevice(p.Field(u"wxpop.moreweather", 1) + p.Field(u"wxpop.moreweather", 3) / 2)};
    ClickAt(more);
    const std::string page = root_ + "/_/daytime/weather/101020100.shtml";
    EXPECT_TRUE(WaitFor([&] { return Read()[u"wxpop.url"] == page; }, 3000)) << Read()[u"wxpop.url"];
    EXPECT_EQ(browser.FirstArgument(), page) << "the browser did not get the page";
  }

  // The pointer leaves the pop-up: hidden.
  MovePointer(popupMiddle.x, popupMiddle.y);
  Sleep(100);
  MovePointer(pr.left - 30, pr.bottom + 40);
  EXPECT_TRUE(WaitFor([&] { return Read().Int(u"wxpop") == 0; }, 3000)) << "still shown after the pointer left";

  // Back on the icon, then a refresh while it is open: the new report fills it again.
  PointAtWeather();
  ASSERT_TRUE(WaitFor([&] { return Read().Int(u"wxpop") == 1; }, 5000));
  s = Read();
  int populated = s.Int(u"wxpop.populated");
  int updates = s.Int(u"weather_updates");
  ASSERT_EQ(Click(app::kHookClick, 12), 1);  // refresh
  WaitForUpdates(updates + 1);
  ASSERT_TRUE(WaitFor([&] { return Read().Int(u"wxpop.populated") > populated; }, 3000));
  s = Read();
  EXPECT_EQ(s.Int(u"wxpop"), 1) << "an open pop-up stays open across a refresh";
  EXPECT_EQ(Items(s.Text(u"wxpop.items")).size(), 4u);

  // A click elsewhere in the main window closes it.
  RealClick(300, 400);
  EXPECT_TRUE(WaitFor([&] { return Read().Int(u"wxpop") == 0 && WindowOf(process_, L"CDlgWeather") == nullptr; }, 3000));

  // A press on the icon closes the pop-up the pointer opened, the next press opens it again.
  PointAtWeather();
  ASSERT_TRUE(WaitFor([&] { return Read().Int(u"wxpop") == 1; }, 5000));
  const POINT icon = MiddleOf(hwnd_, Read(), u"weather.pos");
  ClickAt(icon);
  EXPECT_TRUE(WaitFor([&] { return Read().Int(u"wxpop") == 0; }, 3000)) << "a press on the icon leaves it open";
  ClickAt(icon);
  EXPECT_TRUE(WaitFor([&] { return Read().Int(u"wxpop") == 1; }, 3000)) << "a press on the icon does not open it";
}

TEST_F(PopupWindowsTest, WeatherPopupAirBadgeOfThreeLevels) {
  // Dates whose served air quality for 上海 is 优 46, 良 60 and 严重污染 333 (the stand-in's values
  // depend on city and date only). Badge: text|background|text colour|l,t,r,b.
  struct Case {
    const char* date;
    const char* badge;
    const char* panel;
    const char* shot;
  };
  const Case cases[] = {
      {"2026-01-07", " 优 PM2.5 46|4286691887|4294967295|12,95,96,112", " 空气质量 优", "weather-popup-air-good"},
      {"2026-02-06", " 良 PM2.5 60|4294949655|4294967295|12,95,96,112", " 空气质量 良", "weather-popup-air-fair"},
      {"2026-01-05", " 严重污染 PM2.5 333|4284482050|4294967295|12,95,133,112", " 严重污染 333", "weather-popup-air-severe"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.date);
    Configure(c.date);
    Launch();
    WaitForUpdates(1);
    PointAtWeather();
    ASSERT_TRUE(WaitFor([&] { return Read().Int(u"wxpop") == 1; }, 5000));
    WaitFor([&] { return Read().Int(u"wxpop.alpha") == 255; }, 3000);
    State s = Read();
    EXPECT_EQ(s[u"wxpop.air"], c.badge);
    EXPECT_EQ(s[u"air"].substr(0, s[u"air"].find('|')), c.panel) << "the main window's badge";
    Shot(0, c.shot);
    Click(app::kHookClick, 3);  // closebtn
    ASSERT_EQ(Installation::WaitExit(process_, 15000), 0);
    hwnd_ = nullptr;
  }
}

TEST_F(PopupWindowsTest, CityPickerSwitchesTheCityAndComesBack) {
  Configure();
  ASSERT_TRUE(install_->SetConfig("skin", "bg6"));
  Launch();
  WaitForUpdates(1);

  // Opening selects the current city; without an IP location the position button is off.
  ASSERT_EQ(Click(app::kHookClick, 9), 1);  // curcity
  ASSERT_TRUE(WaitFor([&] { return Read().Int(u"picker") == 1; }, 5000)) << "no picker";
  HWND picker = WindowOf(process_, L"CDlgCity");
  ASSERT_NE(picker, nullptr);
  State s = Read();
  EXPECT_EQ(s.Text(u"picker.title"), SkinImagesOf(6).title) << "the title band follows the stored skin";
  EXPECT_EQ(s.Text(u"picker.provinces").find(u"|S 上海|"), s.Text(u"picker.provinces").find(u'|'));
  EXPECT_EQ(s.Text(u"picker.cities").find(u"|S 上海|"), s.Text(u"picker.cities").find(u'|'));
  EXPECT_NE(Read()[u"picker.currentposbtn"].find("|0|1"), std::string::npos) << Read()[u"picker.currentposbtn"];
  // Centred on the main window.
  RECT mw, pw;
  GetWindowRect(hwnd_, &mw);
  GetWindowRect(picker, &pw);
  EXPECT_NEAR((pw.left + pw.right) / 2, (mw.left + mw.right) / 2, 1);
  Shot(1, "city-picker");

  // Another province and city, confirmed with a real click: the city, panel and weather follow.
  std::vector<std::u16string> provinces = ComboItems(s.Text(u"picker.provinces"));
  int guangdong = IndexOf(provinces, u"广东");
  ASSERT_GE(guangdong, 0);
  int updates = s.Int(u"weather_updates");
  ASSERT_EQ(Click(app::kHookPickerItem, guangdong), 1);
  s = Read();
  std::vector<std::u16string> cities = ComboItems(s.Text(u"picker.cities"));
  int shenzhen = IndexOf(cities, u"深圳");
  ASSERT_GE(shenzhen, 0) << s[u"picker.cities"];
  EXPECT_EQ(s.Text(u"picker.cities").rfind(u"0/", 0), 0u) << "a new province starts on its first city";
  ASSERT_EQ(Click(app::kHookPickerItem, (1 << 16) | shenzhen), 1);
  ClickAt(MiddleOf(picker, s, u"picker.BtnSure"));
  ASSERT_TRUE(WaitFor([&] { return Read().Int(u"picker") == 0; }, 3000)) << "the picker stays";
  s = Read();
  EXPECT_EQ(s[u"current_city"], "广东,深圳,101280601");
  // The main window refills its city list on the picker's posted UM_CITY_CHANGED.
  EXPECT_TRUE(WaitFor([&] { return Read()[u"xcity"].rfind("深圳;", 0) == 0; }, 5000)) << Read()[u"xcity"];
  EXPECT_EQ(s.Int(u"visible"), 1);
  WaitForUpdates(updates + 1);
  EXPECT_TRUE(WaitFor([&] { return Read()[u"report_city"] == "深圳"; }, 60000)) << Read()[u"report_city"];
  EXPECT_TRUE(WaitFor([&] { return install_->QueryValue("select value from userconfig where name = 'city'") == "深圳"; }, 5000));

  // Confirming the current city only returns: no refresh starts.
  ASSERT_TRUE(WaitFor([&] { return Read()[u"refresh"] == "r0.png|0"; }, 60000));
  updates = Read().Int(u"weather_updates");
  ASSERT_EQ(Click(app::kHookClick, 9), 1);
  ASSERT_TRUE(WaitFor([&] { return Read().Int(u"picker") == 1; }, 3000));
  s = Read();
  EXPECT_NE(s.Text(u"picker.cities").find(u"|S 深圳|"), std::u16string::npos) << s[u"picker.cities"];
  ClickAt(MiddleOf(picker, s, u"picker.BtnSure"));
  ASSERT_TRUE(WaitFor([&] { return Read().Int(u"picker") == 0; }, 3000));
  Sleep(2500);  // longer than the refresh button's way to its fetch
  s = Read();
  EXPECT_EQ(s[u"refresh"], "r0.png|0") << "confirming the current city refreshes nothing";
  EXPECT_EQ(s.Int(u"weather_updates"), updates);

  // The IP location from the service: an autonomous region's full name finds its city.
  ASSERT_EQ(Click(app::kHookLocate, (222 << 24) | (84 << 16) | 1), 1);
  ASSERT_TRUE(WaitFor([&] { return Read()[u"ip_location"] == "广西,南宁"; }, 15000)) << Read()[u"ip_location"];
  ASSERT_EQ(Click(app::kHookClick, 9), 1);
  ASSERT_TRUE(WaitFor([&] { return Read()[u"picker.currentposbtn"].find("|1|1") != std::string::npos; }, 3000))
      << "the position button stays off: " << Read()[u"picker.currentposbtn"];
  s = Read();
  ClickAt(MiddleOf(picker, s, u"picker.currentposbtn"));
  ASSERT_TRUE(WaitFor([&] { return Read().Int(u"picker") == 0; }, 3000));
  EXPECT_TRUE(WaitFor([&] { return Read()[u"current_city"].rfind("广西,南宁,", 0) == 0; }, 3000))
      << Read()[u"current_city"] << "\nthe program's log:\n" << Narrow(LogText(install_->Dir()));
  // The city list is refilled on the picker's posted UM_CITY_CHANGED, which may come after a read.
  EXPECT_TRUE(WaitFor([&] { return Read()[u"xcity"].rfind("南宁;", 0) == 0; }, 5000)) << Read()[u"xcity"];

  // Browsing and closing: back to the main window, the combos back on the current city.
  ASSERT_EQ(Click(app::kHookClick, 9), 1);
  ASSERT_TRUE(WaitFor([&] { return Read().Int(u"picker") == 1; }, 3000));
  s = Read();
  ASSERT_EQ(Click(app::kHookPickerItem, IndexOf(ComboItems(s.Text(u"picker.provinces")), u"辽宁")), 1);
  ClickAt(MiddleOf(picker, Read(), u"picker.closebtn"));
  ASSERT_TRUE(WaitFor([&] { return Read().Int(u"picker") == 0; }, 3000));
  s = Read();
  EXPECT_EQ(s.Int(u"visible"), 1);
  EXPECT_NE(s.Text(u"picker.provinces").find(u"|G 广西|"), std::u16string::npos) << s[u"picker.provinces"];
  EXPECT_NE(s.Text(u"picker.cities").find(u"|N 南宁|"), std::u16string::npos) << s[u"picker.cities"];
  EXPECT_EQ(s[u"current_city"].rfind("广西,南宁,", 0), 0u);

  // Hiding the main window while the picker is up hides both, and the main window stays hidden.
  ASSERT_EQ(Click(app::kHookClick, 9), 1);
  ASSERT_TRUE(WaitFor([&] { return Read().Int(u"picker") == 1; }, 3000));
  PostMessageW(hwnd_, app::UM_TOGGLE_MAIN, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(hwnd_) && Read().Int(u"picker") == 0; }, 3000));
  Sleep(500);
  EXPECT_FALSE(IsWindowVisible(hwnd_)) << "the hidden picker brought the main window back";
}

}  // namespace
