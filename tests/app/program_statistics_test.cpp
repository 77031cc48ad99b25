// tavrino.exe as a whole under Windows (wine64 + Xvfb), as in program_test.cpp: the statistics
// exchange against the local service stand-in.
#include <gtest/gtest.h>

#include <windows.h>

#include <nlohmann/json.hpp>
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

std::u16string Utf16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// What the stand-in received under an address: "reports" (queries) and "uploads" (base64 bodies).
nlohmann::json StatisticsReceived(const std::string& base) {
  std::string body;
  if (HttpGet(Utf16(base + "/stats-received"), body) != 0) return {};
  const nlohmann::json seen = nlohmann::json::parse(body, nullptr, false);
  return seen.is_object() ? seen : nlohmann::json::object();
}

TEST_F(ProgramTest, StatisticsExchangeConfiguresTheProgramAndTakesTheUsageFile) {
  int port = DevServicePort();
  if (port == 0) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("devservice is not running: run this test through ctest (fixture wx_devservice)");
  const std::string root = "http://127.0.0.1:" + std::to_string(port);
  const std::string base = root + "/_/tag=e2e" + std::to_string(std::random_device{}());
  ASSERT_TRUE(install_->SetConfig("svc_stats", base));
  ASSERT_TRUE(install_->SetConfig("svc_iplocation", root));
  std::ofstream(install_->Dir() / "bsc.dat", std::ios::binary) << "f/v6CmY=";  // channel 12345
  const std::string earlier = "\r\n12004,2026-01-01 08:00:00,0";
  std::ofstream(install_->Dir() / "ubd.dat", std::ios::binary) << earlier;
  // The document lists an updater: a stand-in that writes down its arguments.
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  fs::copy_file(fs::path(self).parent_path() / "args_recorder.exe", install_->Dir() / "tvupdate.exe");
  Launch();

  // The document's location, then the IP-location service's answer for its address.
  State s = Read();
  ASSERT_TRUE(WaitFor([&] {
    s = Read();
    return s[u"iplocation"] == "\xE5\x8C\x97\xE4\xBA\xAC,\xE5\x8C\x97\xE4\xBA\xAC";  // 北京,北京
  }, 60000)) << "iplocation=" << s[u"iplocation"];
  const nlohmann::json reports = StatisticsReceived(base).value("reports", nlohmann::json::array());
  ASSERT_EQ(reports.size(), 1u) << reports.dump(2);
  const std::string query = reports[0].is_string() ? reports[0].get<std::string>() : std::string();
  EXPECT_EQ(query.rfind("gm=", 0), 0u) << query;
  for (const char* key : {"&cm=", "&cc=12345&", "&cv=", "&fv=", "&lv=", "&uc=", "&ri=", "&ii=", "&lrt="}) {
    EXPECT_NE(query.find(key), std::string::npos) << key << " in " << query;
  }

  // The updater started with the main window's handle (its record: ids, command line, argument).
  std::string updaterRun;
  EXPECT_TRUE(WaitFor([&] {
    updaterRun = install_->ReadFile("tvupdate.exe.txt");
    return updaterRun.find("\n--") != std::string::npos;
  }, 10000)) << "the updater did not start";
  EXPECT_NE(updaterRun.find("\n" + Narrow(WindowHandleText(reinterpret_cast<uintptr_t>(hwnd_))) + "\n--"),
            std::string::npos)
      << updaterRun;

  // The document's duanwu: days 9 to 11 of this month off, the 12th a working day, seen once the
  // grid is built again (the window does not rebuild on the report's message).
  ASSERT_EQ(Press(u"monRight"), 1);
  ASSERT_EQ(Press(u"returntoday"), 1);
  SYSTEMTIME now = Today();
  const int lead = ShapeOfMonth(now.wYear, now.wMonth).leadingDays;
  ASSERT_TRUE(WaitFor([&] {
    s = Read();
    return s.CellPart(lead + 10 - 1, 5) == u"release.png";
  }, 10000)) << "the document's days off are not marked";
  for (int day : {9, 10, 11}) EXPECT_EQ(s.CellPart(lead + day - 1, 5), u"release.png") << day;
  EXPECT_EQ(s.CellPart(lead + 12 - 1, 5), u"work.png");

  // The upload: the earlier lines go with the header, "100" deletes them from the file.
  ASSERT_TRUE(WaitFor([&] {
    return StatisticsReceived(base)["uploads"].size() == 1 &&
           install_->ReadFile("ubd.dat").find("12004,") == std::string::npos;
  }, 30000)) << "no upload; the file holds: " << install_->ReadFile("ubd.dat");

  ASSERT_EQ(Press(u"closebtn"), 1);
  EXPECT_EQ(Installation::WaitExit(process_, 15000), 0);
  hwnd_ = nullptr;
  EXPECT_EQ(install_->QueryValue("select value from userconfig where name = 'uu'"),
            base + "/uninstall.htm?from=tavrino&v=1");
}

TEST_F(ProgramTest, ASilentStatisticsServiceDoesNotHoldTheExit) {
  int port = DevServicePort();
  if (port == 0) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("devservice is not running: run this test through ctest (fixture wx_devservice)");
  const std::string base = "http://127.0.0.1:" + std::to_string(port) + "/_/silent,tag=e2e" +
                           std::to_string(std::random_device{}());
  ASSERT_TRUE(install_->SetConfig("svc_stats", base));
  Launch();
  ASSERT_TRUE(WaitFor([&] { return StatisticsReceived(base)["reports"].size() >= 1; }, 30000))
      << "the report was not sent";
  const ULONGLONG closed = GetTickCount64();
  ASSERT_EQ(Press(u"closebtn"), 1);  // while the report waits for its answer
  EXPECT_EQ(Installation::WaitExit(process_, 15000), 0);
  // For the record only (the service holds the request far longer than this).
  RecordProperty("exit_ms", static_cast<int>(GetTickCount64() - closed));
  std::printf("exit with a silent statistics service: %llu ms after the close\n", GetTickCount64() - closed);
  hwnd_ = nullptr;
  const std::u16string log = LogText(install_->Dir());
  EXPECT_EQ(log.find(u"did not end in time"), std::u16string::npos) << Narrow(log);
  EXPECT_TRUE(install_->QueryValue("select value from userconfig where name = 'uu'").empty());
}

}  // namespace
