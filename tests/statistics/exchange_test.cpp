// The statistics exchange end to end against the local service stand-in (tools/devservice): the
// report, the service document's effects on the calendar, the city and the settings, the upload
// of the usage file, answers that are no document, and a prompt stop while the service is silent.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>

#include "tests/support/temp_dir.h"
#include "../weather/weather_test_env.h"
#include "calendar/holiday_arrangement.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/file_utils.h"
#include "platform/http_client.h"
#include "platform/program_dir.h"
#include "platform/text_codec.h"
#include "platform/text_utils.h"
#include "platform/user_config.h"
#include "service/descramble.h"
#include "service/exchange_partners.h"
#include "service/network_identity.h"
#include "service/service_record.h"
#include "service/statistics_exchange.h"
#include "service/usage_recorder.h"
#include "service/usage_report.h"
#include "weather/current_city.h"

namespace {

bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 60000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

std::string ReadBytes(const std::u16string& path) {
  std::string bytes;
  ReadWholeFile(path, bytes);
  return bytes;
}

class ExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    port_ = DevServicePort();
    if (port_ == 0) GTEST_SKIP() << "the local service stand-in does not run";
    ASSERT_TRUE(data_.Copied());
    SetUserConfig(u"http://127.0.0.1:" + IntToText(port_), u"svc_iplocation");
    ReplaceHolidayArrangement({});
    ReplaceServiceRecord({});
    LoadHolidayArrangement();
  }
  void TearDown() override {
    StopStatisticsExchange();
    StopUsageRecorder();
    SetUsageUploader({});
    SetHttpTimeouts(0, 0);
  }

  // The service's address with these switches and a tag of this test's own.
  std::u16string UseService(const std::string& switches) {
    std::string prefix = "/_/tag=" + std::to_string(std::random_device{}()) + (switches.empty() ? "" : "," + switches);
    base_ = u"http://127.0.0.1:" + IntToText(port_) + Utf8ToWide(prefix);
    SetUserConfig(base_, u"svc_stats");
    return base_;
  }

  // Starts the exchange with the program's partners; counts the updater and the 10027 messages.
  void StartExchange(int retryMs) {
    ExchangePartners partners = MakeExchangePartners([this](uint32_t message) {
      std::lock_guard<std::mutex> lock(mutex_);
      if (message == UM_STATISTICS_DONE) ++reports_;
    });
    partners.launchUpdater = [this] {
      std::lock_guard<std::mutex> lock(mutex_);
      ++updaterStarts_;
    };
    ASSERT_TRUE(StartStatisticsExchange(std::move(partners), {retryMs, 1500}));
  }
  int Reports() {
    std::lock_guard<std::mutex> lock(mutex_);
    return reports_;
  }
  int UpdaterStarts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return updaterStarts_;
  }

  // What the service received under this test's address.
  nlohmann::json Received() {
    std::string body;
    if (HttpGet(base_ + u"/stats-received", body) != 0) return nlohmann::json::object();
    const nlohmann::json seen = nlohmann::json::parse(body, nullptr, false);
    return seen.is_object() ? seen : nlohmann::json::object();
  }

  // Starts the recorder on a usage file holding one earlier line, records an event and waits
  // until it is written: the recorder's first cycle, and so its upload attempt, is then over.
  void RunRecorderOnce(const std::string& earlier) {
    ASSERT_TRUE(WriteWholeFile(usageFile_, earlier));
    ASSERT_TRUE(StartUsageRecorderAt(usageFile_, 200));
    RecordUsageEvent(15013, u"0");
    ASSERT_TRUE(WaitUntil([&] { return ReadBytes(usageFile_).find("15013,") != std::string::npos; }));
  }

  ScratchUserData data_;
  tvtest::TempDir temp_{"tvstats"};
  const std::u16string usageFile_ = temp_.Dir() + u"ubd.dat";
  int port_ = 0;
  std::u16string base_;
  std::mutex mutex_;
  int reports_ = 0;
  int updaterStarts_ = 0;
};

std::map<std::string, std::string> QueryValues(const std::string& query) {
  std::map<std::string, std::string> values;
  size_t start = 0;
  while (start < query.size()) {
    size_t end = query.find('&', start);
    std::string part = query.substr(start, end == std::string::npos ? std::string::npos : end - start);
    size_t eq = part.find('=');
    values[part.substr(0, eq)] = eq == std::string::npos ? "" : part.substr(eq + 1);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return values;
}

TEST_F(ExchangeTest, OneReportConfiguresTheProgramAndTheUsageFileIsTaken) {
  const std::u16string channelFile = ProgramDirectory() + u"bsc.dat";
  ASSERT_TRUE(WriteWholeFile(channelFile, "f/v6CmY="));  // channel 12345, scrambled
  SetUserConfig(u"a&b c", u"fv");
  SetCurrentCity({u"", u"", u""});  // no city yet: the exchange moves to the IP location
  UseService("");
  StartExchange(200);
  ASSERT_TRUE(WaitUntil([&] { return Reports() >= 1; }));
  std::filesystem::remove(std::filesystem::path(channelFile));

  // One report with the ten values; no second one, since the document named the address.
  const nlohmann::json seen = Received();
  const nlohmann::json reports = seen.value("reports", nlohmann::json::array());
  ASSERT_EQ(reports.size(), 1u);
  const auto values = QueryValues(reports[0].get<std::string>());
  for (const char* key : {"gm", "cm", "cc", "cv", "fv", "lv", "uc", "ri", "ii", "lrt"}) {
    EXPECT_EQ(values.count(key), 1u) << key;
  }
  EXPECT_EQ(values.size(), 10u);
  EXPECT_EQ(values.at("cc"), "12345");
  EXPECT_EQ(values.at("fv"), "a%26b%20c");
  EXPECT_EQ(values.at("gm"), ReplaceText(GatewayMac(), "-", ""));

  // The document's arrangement of duanwu (days of this month) replaces the table's.
  const SystemTime now = LocalNow();
  const std::u16string month = FormatDate(now).substr(0, 8);
  EXPECT_TRUE(MarkHolidayDate(*HolidayArrangementSnapshot(), DayInDateText(month + u"10").value()).rest);
  EXPECT_TRUE(MarkHolidayDate(*HolidayArrangementSnapshot(), DayInDateText(month + u"12").value()).work);
  EXPECT_EQ(HolidayArrangementSnapshot()->holidays[4].day, month + u"10");
  EXPECT_FALSE(HolidayArrangementSnapshot()->holidays[1].middle.empty());  // chunjie still from the table

  EXPECT_EQ(GetUserConfig(u"uu"), base_ + u"/uninstall.htm?from=tavrino&v=1");
  EXPECT_EQ(UpdaterStarts(), 1);
  EXPECT_TRUE(UploadEnabled());
  const IpLocation location = GetIpLocation();
  EXPECT_EQ(location.province, u"北京");
  EXPECT_EQ(location.city, u"北京");
  EXPECT_EQ(GetCurrentCity().city, u"北京");
  EXPECT_EQ(GetUserConfig(u"province"), u"北京");

  // The upload: header and the file's bytes unchanged; "100" deletes the file.
  const std::string earlier = "\r\n12004,2026-01-01 08:00:00,0\r\n12005,2026-01-01 08:00:01,0";
  RunRecorderOnce(earlier);
  EXPECT_EQ(ReadBytes(usageFile_).find("12004,"), std::string::npos) << "the uploaded lines stay";
  const nlohmann::json uploads = Received().value("uploads", nlohmann::json::array());
  ASSERT_EQ(uploads.size(), 1u);
  EXPECT_EQ(DecodeBase64Prefix(uploads[0].get<std::string>()),
            UploadHeader(GatewayMac(), AdapterMac(), 0, WideToUtf8(FileVersionText(ExecutablePath()))) + earlier);
}

TEST_F(ExchangeTest, AFileTheServiceDoesNotTakeOrMayNotHaveStays) {
  const std::string earlier = "\r\n12004,2026-01-01 08:00:00,0";
  for (const char* mode : {"upload=0100", "upload=refused", "join_ue=false"}) {
    SCOPED_TRACE(mode);
    const bool notJoined = std::string(mode) == "join_ue=false";
    SetUserConfig(notJoined ? u"false" : u"true", u"join_ue");
    UseService(notJoined ? "" : mode);
    StartExchange(200);
    ASSERT_TRUE(WaitUntil([&] { return UploadEnabled(); }));
    RunRecorderOnce(earlier);
    EXPECT_EQ(ReadBytes(usageFile_).rfind(earlier, 0), 0u) << "the file lost its lines";
    EXPECT_EQ(Received()["uploads"].size(), notJoined ? 0u : 1u);
    EXPECT_TRUE(StopStatisticsExchange());
    StopUsageRecorder();
  }
}

TEST_F(ExchangeTest, AnswersThatAreNoDocumentChangeNothingAndAreAskedAgain) {
  const HolidayArrangement before = CurrentHolidayArrangement();
  const ServiceRecord serviceBefore = *ServiceRecordSnapshot();
  // "deep": a document nested 30,000 levels deep, which the parser must never be given.
  for (const char* mode : {"short", "garbage", "deep"}) {
    SCOPED_TRACE(mode);
    UseService(mode);
    StartExchange(100);
    ASSERT_TRUE(WaitUntil([&] { return Received()["reports"].size() >= 3; }));
    EXPECT_TRUE(StopStatisticsExchange());
    EXPECT_EQ(CurrentHolidayArrangement(), before);
    EXPECT_EQ(*ServiceRecordSnapshot(), serviceBefore);
    EXPECT_FALSE(UploadEnabled());
    EXPECT_EQ(GetUserConfig(u"uu"), u"");
  }
}

TEST_F(ExchangeTest, ASilentServiceIsAskedAgainAndDoesNotHoldTheStop) {
  // Short limits first, so that requests fail and are repeated; then a request that would wait
  // for the full default limit, which the stop abandons.
  SetHttpTimeouts(300, 400);
  UseService("silent");
  StartExchange(50);
  ASSERT_TRUE(WaitUntil([&] { return Received()["reports"].size() >= 2; }));
  SetHttpTimeouts(0, 0);
  ASSERT_TRUE(WaitUntil([&] { return Received()["reports"].size() >= 4; }));
  EXPECT_TRUE(StopStatisticsExchange()) << "the worker waited for the silent service";
  EXPECT_EQ(Reports(), 0);

  // A worker in its wait between two attempts ends at the stop too.
  UseService("short");
  StartExchange(600000);
  ASSERT_TRUE(WaitUntil([&] { return Reports() >= 1; }));
  EXPECT_TRUE(StopStatisticsExchange()) << "the worker finished its wait first";
}

TEST_F(ExchangeTest, NoServiceMeansNoTraffic) {
  SetUserConfig(u"", u"svc_stats");
  StartExchange(50);
  // The worker ends by itself at once, having sent nothing.
  EXPECT_TRUE(StopStatisticsExchange());
  EXPECT_EQ(Reports(), 0);
  EXPECT_FALSE(UploadEnabled());
}

}  // namespace
