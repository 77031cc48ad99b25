// Header texts, the clock, the toggle and hover timing, options, the city list, shutdown order.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/logic/city_list.h"
#include "app/logic/header_texts.h"
#include "app/logic/input_guards.h"
#include "app/logic/shutdown_sequence.h"
#include "app/logic/start_options.h"
#include "platform/launch.h"
#include "service/usage_recorder.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(HeaderTexts, TodayAndClock) {
  DayInfo d;
  d.date = Day::FromCivil(2024, 2, 10);
  d.weekday = Weekday::kSaturday;
  d.zodiacAnimal = u"龙";
  d.lunarMonthName = u"一";
  d.lunarDayName = u"初一";
  EXPECT_EQ(WorldDayText(d), u"2024年2月10日 周六");
  d.weekday = Weekday::kSunday;
  EXPECT_EQ(WorldDayText(d), u"2024年2月10日 周日");
  EXPECT_EQ(ChineseDayText(d), u"龙年一月初一");

  SystemTime t{};
  t.wHour = 7;
  t.wMinute = 5;
  t.wSecond = 0;
  EXPECT_EQ(ClockTextsOf(t), (ClockTexts{u"07", u"05", u"00"}));
  t.wHour = 23;
  t.wMinute = 59;
  t.wSecond = 59;
  EXPECT_EQ(ClockTextsOf(t), (ClockTexts{u"23", u"59", u"59"}));
}

TEST(ToggleGuard, OnlyTheFirstOfTwoQuickTogglesActs) {
  ToggleGuard guard;
  EXPECT_TRUE(guard.Accept(5)) << "the first toggle acts even right after boot";
  EXPECT_FALSE(guard.Accept(105));
  EXPECT_FALSE(guard.Accept(205)) << "200 ms is still too soon";
  EXPECT_TRUE(guard.Accept(206));
  // Across the wrap of the 32-bit tick count.
  ToggleGuard wrap;
  EXPECT_TRUE(wrap.Accept(0xFFFFFFC0u));
  EXPECT_FALSE(wrap.Accept(0x00000010u));
  EXPECT_TRUE(wrap.Accept(0x00000100u));
}

TEST(RestingPointer, NeedsTheSamePointFor250Ms) {
  RestingPointer p;
  p.Moved(10, 20, 1000);
  EXPECT_FALSE(p.RestsAt(10, 20, 1249));
  EXPECT_TRUE(p.RestsAt(10, 20, 1250));
  EXPECT_FALSE(p.RestsAt(11, 20, 2000)) << "the pointer is elsewhere than recorded";
  p.Moved(11, 20, 1900);
  EXPECT_FALSE(p.RestsAt(11, 20, 2000)) << "a pointer that keeps moving never rests";
  EXPECT_TRUE(p.RestsAt(11, 20, 2150));
}

TEST(StartOptions, BareWordsIgnoringCaseAndBlanks) {
  std::vector<std::u16string> tokens{u"C:\\x\\tavrino.exe", u"-NoShow", u" -autostart\t"};
  EXPECT_TRUE(HasOption(tokens, u"-noshow"));
  EXPECT_TRUE(HasOption(tokens, u"-autostart"));
  EXPECT_FALSE(HasOption(tokens, u"-install"));
  EXPECT_FALSE(HasOption({u"-noshow=1"}, u"-noshow"));
  EXPECT_FALSE(HasOption({u"/noshow"}, u"-noshow"));
  EXPECT_FALSE(HasOption({u"noshow"}, u"-noshow"));
  EXPECT_FALSE(HasOption({}, u"-noshow"));

  StartOptions o = ParseStartOptions(tokens);
  EXPECT_TRUE(o.noShow);
  EXPECT_TRUE(o.autoStart);
  EXPECT_FALSE(o.install);
}

TEST(StartOptions, InstallerEvents) {
  EXPECT_EQ(ParseStartOptions({u"-setautostart"}).InstallEvent(), 0) << "only with -install";
  EXPECT_EQ(ParseStartOptions({u"-install"}).InstallEvent(), 0);
  EXPECT_EQ(ParseStartOptions({u"-install", u"-setautostart"}).InstallEvent(), 90006);
  EXPECT_EQ(ParseStartOptions({u"-install", u"-setnoautostart"}).InstallEvent(), 90007);
  EXPECT_EQ(ParseStartOptions({u"-install", u"-setnoautostart", u"-SETAUTOSTART"}).InstallEvent(), 90006);
}

TEST(StartOptions, WindowHandleText) {
  EXPECT_EQ(WindowHandleText(0x1a2b3), u"0001a2b3");
  EXPECT_EQ(WindowHandleText(0), u"00000000");
  EXPECT_EQ(WindowHandleText(0xFFFFFFFFull), u"ffffffff");
}

TEST(CityList, CurrentCityFirstRecentCitiesThenThePicker) {
  std::vector<CityPair> recent{{u"上海", u"上海"}, {u"北京", u"北京"}, {u"广东", u"广州"}, {u"省,甲", u"市,乙"}};
  auto items = BuildCityList({u"上海", u"上海"}, recent);
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0], (CityListItem{u"上海", {u"上海", u"上海"}}));
  EXPECT_EQ(items[1], (CityListItem{u"北京", {u"北京", u"北京"}}));
  EXPECT_EQ(items[2], (CityListItem{u"广州", {u"广东", u"广州"}}));
  EXPECT_EQ(items[3], (CityListItem{u"市,乙", {u"省,甲", u"市,乙"}})) << "names with a comma stay whole";
  EXPECT_EQ(items[4], (CityListItem{u"自定义", {}}));

  auto alone = BuildCityList({u"江苏", u"南京"}, {});
  ASSERT_EQ(alone.size(), 2u);
  EXPECT_EQ(alone[0].text, u"南京");
}

TEST(CityList, ChoosingAnItem) {
  CityPair current{u"Shanghai", u"Shanghai"};
  CityChoice same = ChooseCityItem({u"Shanghai", {u"SHANGHAI", u"shanghai"}}, current);
  EXPECT_EQ(same.kind, CityChoice::kCity);
  EXPECT_FALSE(same.changesCurrent) << "the current city, compared ignoring case";
  CityChoice other = ChooseCityItem({u"市,乙", {u"省,甲", u"市,乙"}}, current);
  EXPECT_TRUE(other.changesCurrent);
  EXPECT_EQ(other.pair, (CityPair{u"省,甲", u"市,乙"}));
  EXPECT_EQ(ChooseCityItem({u"自定义", {}}, current).kind, CityChoice::kPicker);
  // A city that happens to be called 自定义 is still a city.
  EXPECT_EQ(ChooseCityItem({u"自定义", {u"某省", u"自定义"}}, current).kind, CityChoice::kCity);
}

TEST(Shutdown, StepsRunInOrderAndMissingStepsAreSkipped) {
  std::vector<std::string> order;
  ShutdownSteps steps;
  steps.closeUserData = [&] { order.push_back("data"); };
  steps.stopUsageRecorder = [&] { order.push_back("recorder"); };
  steps.stopIpcListener = [&] { order.push_back("listener"); };
  steps.stopClockHook = [&] { order.push_back("hook"); };
  steps.recordExit = [&] { order.push_back("exit"); };
  RunShutdown(steps);
  EXPECT_EQ(order, (std::vector<std::string>{"exit", "hook", "listener", "recorder", "data"}));
  RunShutdown(ShutdownSteps{});  // nothing to do, nothing breaks
}

TEST(Shutdown, TheExitEventReachesTheUsageFile) {
  tvtest::TempDir dir("tvapp");
  std::filesystem::path file = dir.Path() / "ubd.dat";
  // A cycle far longer than the test: only the shutdown can write the lines.
  ASSERT_TRUE(StartUsageRecorderAt(file.u16string(), 600000));
  RecordUsageEvent(90001, u"0");
  ShutdownSteps steps;
  steps.recordExit = [] { RecordUsageEvent(90002, u"0"); };
  steps.stopUsageRecorder = [] { StopUsageRecorder(); };
  RunShutdown(steps);
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("\r\n90001,"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("\r\n90002,"), std::string::npos) << text.str();
  EXPECT_EQ(text.str().find("90002,"), text.str().rfind("90002,"));
}

}  // namespace
