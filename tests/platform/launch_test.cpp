// Autostart, the prompt rule, the browser lookup and process launch against a recorded system
// (no registry, no processes): what is written, asked and started, in which order.
#include "platform/launch.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "platform/clock.h"
#include "platform/database.h"
#include "platform/date_time.h"
#include "platform/launch_system.h"
#include "platform/program_dir.h"
#include "platform/user_config.h"
#include "tests/support/temp_dir.h"
#include "tests/support/db_text.h"
#include "tests/support/test_clock.h"

using tvtest::TempDir;

namespace {

struct Started {
  std::u16string path, commandLine;
  bool noWindow = false;
};

class RecordedSystem : public LaunchSystem {
 public:
  bool ReadRunValue(std::u16string& text) override {
    if (!hasRun) return false;
    text = run;
    return true;
  }
  bool WriteRunValue(std::u16string_view text) override {
    if (!runKey) return false;
    run = text;
    hasRun = true;
    return true;
  }
  bool DeleteRunValue() override {
    if (!runKey || !hasRun) return false;
    hasRun = false;
    run.clear();
    return true;
  }
  std::u16string ClassesRootValue(std::u16string_view key) override {
    asked.emplace_back(key);
    auto it = classes.find(std::u16string(key));
    return it == classes.end() ? std::u16string() : it->second;
  }
  std::u16string UserUrlChoice(std::u16string_view scheme) override {
    return scheme == u"http" ? userChoice : std::u16string();
  }
  std::u16string SystemDirectory() override { return u"D:\\Windows\\system32"; }
  std::u16string WindowsDirectory() override { return windowsDir; }
  bool FileExists(std::u16string_view path) override { return files.count(std::u16string(path)) > 0; }
  bool StartProcess(std::u16string_view path, std::u16string_view commandLine, bool noWindow) override {
    started.push_back({std::u16string(path), std::u16string(commandLine), noWindow});
    return true;
  }
  void ShellOpen(std::u16string_view program, std::u16string_view parameters) override {
    opened.push_back(std::u16string(program) + u"|" + std::u16string(parameters));
  }

  bool runKey = true, hasRun = false;
  std::u16string run, userChoice, windowsDir = u"C:\\Windows";
  std::map<std::u16string, std::u16string> classes;
  std::set<std::u16string> files;
  std::vector<std::u16string> asked, opened;
  std::vector<Started> started;
};

class Launch : public ::testing::Test {
 protected:
  void SetUp() override { SetLaunchSystem(&system_); }
  void TearDown() override {
    SetLaunchSystem(nullptr);
    SetCompanionWindow(0);
  }
  RecordedSystem system_;
};

}  // namespace

TEST_F(Launch, AutostartEntryNamesThisProgramAndOnlyThisCopy) {
  std::u16string exe = ExecutablePath();
  ASSERT_FALSE(exe.empty());
  EXPECT_FALSE(IsAutostartRegistered());
  ASSERT_TRUE(SetAutostart(true));
  EXPECT_EQ(system_.run, u"\"" + exe + u"\" -autostart");
  EXPECT_TRUE(IsAutostartRegistered());

  // Another letter case of the same path counts; another copy of the program or an empty text does not.
  std::u16string upper = exe;
  for (char16_t& c : upper) c = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  system_.run = u"\"" + upper + u"\" -autostart";
  EXPECT_TRUE(IsAutostartRegistered());
  system_.run = u"\"C:\\Other\\tavrino.exe\" -autostart";
  EXPECT_FALSE(IsAutostartRegistered());
  system_.run.clear();
  EXPECT_FALSE(IsAutostartRegistered());

  ASSERT_TRUE(SetAutostart(false));
  EXPECT_FALSE(system_.hasRun);
  EXPECT_FALSE(SetAutostart(false)) << "deleting an absent entry is no success";
  system_.runKey = false;
  EXPECT_FALSE(SetAutostart(true)) << "a missing Run key is not created";

  EXPECT_TRUE(HasAutostartToken({u"C:\\p\\tavrino.exe", u" -autostart\t"}));
  EXPECT_FALSE(HasAutostartToken({u"C:\\p\\tavrino.exe", u"-autostart=1", u"/autostart"}));
}

TEST_F(Launch, PromptIsDueAfterTwoWholeDaysAndStampsTheDate) {
  TempDir temp;
  OpenDatabase(temp.Dir() + u"user.dat", DbOpenMode::kCreate);
  tvtest::Sql(u"create table userconfig (name text primary key, value text)");
  const tvtest::TestClock clock({2024, 3, 5, 1, 9, 30, 0, 0});  // 2024-03-01 09:30, a Friday

  struct Case {
    const char16_t* stored;
    bool due;
  } cases[] = {
      {u"2024-02-28 23:59:59:999", false},  // two whole days before today
      {u"2024-02-27 00:00:00:000", true},   // three, across the leap day
      {u"2024-03-01 09:00:00:000", false},
      {u"", true},
      {u"yesterday", true},
      {u"2024-02-31 10:00:00:000", true},  // parses, but no such day
  };
  for (const Case& c : cases) {
    SetUserConfig(c.stored, u"lastconfirm");
    EXPECT_EQ(IsAutostartPromptDue(), c.due) << "case " << (&c - cases);
    EXPECT_EQ(GetUserConfig(u"lastconfirm"), c.due ? FormatTimestamp(clock.Now()) : std::u16string(c.stored));
  }
  // Registered: never due, and the stored date stays as it was.
  ASSERT_TRUE(SetAutostart(true));
  SetUserConfig(u"2000-01-01 00:00:00:000", u"lastconfirm");
  EXPECT_FALSE(IsAutostartPromptDue());
  EXPECT_EQ(GetUserConfig(u"lastconfirm"), u"2000-01-01 00:00:00:000");

  CloseDatabase();
}

TEST_F(Launch, BrowserIsTheUsersChoiceThenTheClassKeysThenTheFallback) {
  system_.classes[u"ChosenHTML\\shell\\open\\command"] = u"\"C:\\Chosen Browser\\chosen.exe\" --single-argument %1";
  system_.classes[u"http\\shell\\open\\command"] = u"\"C:\\Old\\old.exe\" -url \"%1\"";
  system_.classes[u"htmlfile\\shell\\open\\command"] = u"C:\\Html\\html.exe %1";
  system_.classes[u"InternetShortcut\\shell\\opencommand"] = u"C:\\Link\\link.exe";
  system_.files = {u"C:\\Old\\old.exe", u"C:\\Html\\html.exe", u"C:\\Link\\link.exe",
                   u"D:\\Program Files\\Internet Explorer\\iexplore.exe"};

  // The user's choice names a program that is gone: the class keys follow, in order.
  system_.userChoice = u"ChosenHTML";
  EXPECT_EQ(FindDefaultBrowser(), u"C:\\Old\\old.exe");
  system_.files.insert(u"C:\\Chosen Browser\\chosen.exe");
  EXPECT_EQ(FindDefaultBrowser(), u"C:\\Chosen Browser\\chosen.exe") << "the user's own choice comes first";
  system_.userChoice.clear();
  system_.files.erase(u"C:\\Old\\old.exe");
  EXPECT_EQ(FindDefaultBrowser(), u"C:\\Html\\html.exe");
  system_.classes.erase(u"htmlfile\\shell\\open\\command");
  EXPECT_EQ(FindDefaultBrowser(), u"C:\\Link\\link.exe");
  system_.asked.clear();
  system_.classes.clear();
  EXPECT_EQ(FindDefaultBrowser(), u"D:\\Program Files\\Internet Explorer\\iexplore.exe");
  EXPECT_EQ(system_.asked, (std::vector<std::u16string>{u"http\\shell\\open\\command",
                                                        u"htmlfile\\shell\\open\\command",
                                                        u"InternetShortcut\\shell\\opencommand"}));

  // The URL arrives as one argument, whatever it holds.
  const std::u16string url = u"http://127.0.0.1/天气 预报?a=1&b=\"x y\"&c=\\";
  OpenUrlInBrowser(url);
  ASSERT_EQ(system_.started.size(), 1u);
  EXPECT_EQ(system_.started[0].commandLine,
            u"\"D:\\Program Files\\Internet Explorer\\iexplore.exe\" "
            u"\"http://127.0.0.1/天气 预报?a=1&b=\\\"x y\\\"&c=\\\\\"");
  EXPECT_TRUE(system_.started[0].noWindow);

  // No registration and no fallback file: nothing starts.
  system_.files.clear();
  EXPECT_EQ(FindDefaultBrowser(), u"");
  OpenUrlInBrowser(url);
  EXPECT_EQ(system_.started.size(), 1u);
}

TEST_F(Launch, ProcessesStartWithQuotedUtf16CommandLines) {
  // Quoting as programs read their arguments back: blanks, quotes, backslashes only special before a quote.
  EXPECT_EQ(QuoteArgument(u"plain"), u"\"plain\"");
  EXPECT_EQ(QuoteArgument(u""), u"\"\"");
  EXPECT_EQ(QuoteArgument(u"a b\tc"), u"\"a b\tc\"");
  EXPECT_EQ(QuoteArgument(u"say \"hi\""), u"\"say \\\"hi\\\"\"");
  EXPECT_EQ(QuoteArgument(u"C:\\dir\\"), u"\"C:\\dir\\\\\"");
  EXPECT_EQ(QuoteArgument(u"a\\\\\"b"), u"\"a\\\\\\\\\\\"b\"");
  EXPECT_EQ(QuoteArgument(u"上海 浦东"), u"\"上海 浦东\"");

  system_.files = {u"C:\\Program Files\\上海\\app.exe"};
  EXPECT_FALSE(LaunchProcess(u"C:\\missing.exe", u"x", false));
  EXPECT_TRUE(system_.started.empty());
  EXPECT_TRUE(LaunchProcess(u"C:\\Program Files\\上海\\app.exe", u"--city 上海", false));
  ASSERT_EQ(system_.started.size(), 1u);
  EXPECT_EQ(system_.started[0].commandLine, u"\"C:\\Program Files\\上海\\app.exe\" --city 上海");
  EXPECT_FALSE(system_.started[0].noWindow);

  // The system's limit, never cutting a character in half.
  std::u16string path = u"C:\\a.exe";
  std::u16string longArgs(kMaxCommandLine, u'x');
  EXPECT_EQ(ProcessCommandLine(path, longArgs).size(), kMaxCommandLine);
  std::u16string pairs;
  while (pairs.size() < kMaxCommandLine) pairs += u"\U0001F600";
  std::u16string cut = ProcessCommandLine(path, pairs);
  EXPECT_LE(cut.size(), kMaxCommandLine);
  EXPECT_FALSE(cut.back() >= 0xD800 && cut.back() <= 0xDBFF);
}

TEST_F(Launch, UpdaterGetsTheWindowAsEightHexDigitsAndDateTimeOpensTheControlPanel) {
  std::u16string updater = ProgramDirectory() + u"tvupdate.exe";
  system_.files = {updater};
  LaunchUpdater();
  EXPECT_TRUE(system_.started.empty()) << "no window handle yet";
  SetCompanionWindow(0x1A2B);
  LaunchUpdater();
  ASSERT_EQ(system_.started.size(), 1u);
  EXPECT_EQ(system_.started[0].commandLine, u"\"" + updater + u"\" 00001a2b");
  EXPECT_FALSE(system_.started[0].noWindow);
  system_.files.clear();
  LaunchUpdater();
  EXPECT_EQ(system_.started.size(), 1u) << "no updater file, nothing started";

  OpenDateTimeSettings();
  system_.windowsDir = u"E:\\WINNT\\";
  OpenDateTimeSettings();
  EXPECT_EQ(system_.opened, (std::vector<std::u16string>{
                                u"rundll32.exe|Shell32.dll,Control_RunDLL \"C:\\Windows\\system32\\timedate.cpl\",",
                                u"rundll32.exe|Shell32.dll,Control_RunDLL \"E:\\WINNT\\system32\\timedate.cpl\","}));
}
