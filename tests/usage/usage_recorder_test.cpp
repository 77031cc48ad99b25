#include "service/usage_recorder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"
#include "platform/clock.h"
#include "platform/file_utils.h"
#include "platform/log.h"

using tvtest::TempDir;

namespace {

SystemTime FakeNow() {
  SystemTime t;
  t.wYear = 2014, t.wMonth = 5, t.wDay = 1, t.wHour = 9, t.wMinute = 30, t.wSecond = 12, t.wMilliseconds = 345;
  return t;
}

struct UsageTest : ::testing::Test {
  UsageTest() { SetLocalClock(&FakeNow); }
  ~UsageTest() override { StopUsageRecorder(), SetLocalClock(nullptr); }
  static std::string Bytes(const std::u16string& path) {
    std::string bytes;
    ReadWholeFile(path, bytes);
    return bytes;
  }
  TempDir temp;
  const std::u16string file = temp.Dir() + u"ubd.dat";
};

}  // namespace

TEST_F(UsageTest, LinesAreAppendedAsUtf8AndTheLastEventsReachTheFileAtStop) {
  StopUsageRecorder();  // never started: harmless
  ASSERT_TRUE(WriteWholeFile(file, "\r\n1,2014-04-30 08:00:00,0"));  // a previous run's lines stay
  RecordUsageEvent(12004, u"0");  // no recorder yet: dropped
  ASSERT_TRUE(StartUsageRecorderAt(file));  // a 10 s cycle: nothing is written before the stop
  ASSERT_TRUE(StartUsageRecorderAt(temp.Dir() + u"other.dat"));  // already running: keeps its file
  RecordUsageEvent(kUsageProgramStart, u"0");
  RecordUsageEvent(12007, u"自定义");
  RecordUsageEvent(12005, u"");
  RecordUsageEvent(12006, u"a\r\nb");
  RecordUsageEvent(kUsageProgramExit, u"0");
  StopUsageRecorder();
  StopUsageRecorder();
  RecordUsageEvent(12014, u"0");  // after the stop: dropped

  EXPECT_EQ(Bytes(file),
            "\r\n1,2014-04-30 08:00:00,0"
            "\r\n90001,2014-05-01 09:30:12,0\r\n12007,2014-05-01 09:30:12,\xE8\x87\xAA\xE5\xAE\x9A\xE4\xB9\x89"
            "\r\n12005,2014-05-01 09:30:12\r\n12006,2014-05-01 09:30:12,a  b\r\n90002,2014-05-01 09:30:12,0");
  EXPECT_FALSE(FileExists(temp.Dir() + u"other.dat"));
}

TEST_F(UsageTest, EventsOfEightThreadsAllLandWhole) {
  ASSERT_TRUE(StartUsageRecorderAt(file, 5));  // short cycle: writes run while threads record
  std::thread writer([] {
    for (int i = 0; i < 20; ++i) WriteUsageEventsNow(60000);  // and requested ones between them
  });
  std::vector<std::thread> threads;
  std::multiset<std::string> expected{""};  // the file starts with a line break
  for (int t = 0; t < 8; ++t) {
    for (int i = 0; i < 300; ++i) expected.insert(std::to_string(10000 + t * 1000 + i) + ",2014-05-01 09:30:12,0");
    threads.emplace_back([t] {
      for (int i = 0; i < 300; ++i) RecordUsageEvent(10000 + t * 1000 + i, u"0");
    });
  }
  for (auto& thread : threads) thread.join();
  writer.join();
  StopUsageRecorder();

  std::string bytes = Bytes(file);
  std::multiset<std::string> lines;
  for (size_t pos = 0, end; pos <= bytes.size(); pos = end + 2) {
    end = std::min(bytes.find("\r\n", pos), bytes.size());
    lines.insert(bytes.substr(pos, end - pos));
  }
  EXPECT_EQ(lines, expected);
}

TEST_F(UsageTest, CyclesWriteWithoutAStopAndKeepUnwritableLinesForTheNext) {
  EXPECT_FALSE(WriteUsageEventsNow(1000));  // no recorder
  StartLogWriter(temp.Dir());
  // "ubd.dat" is a folder: two cycles fail (said once), the stop logs the loss and does not hang.
  ASSERT_TRUE(CreateDirectoryLevels(file));
  ASSERT_TRUE(StartUsageRecorderAt(file));  // the 10 s cycle: only the requested cycles write
  RecordUsageEvent(13005, u"0");
  ASSERT_TRUE(WriteUsageEventsNow(60000));
  ASSERT_TRUE(WriteUsageEventsNow(60000));
  StopUsageRecorder();

  // A missing folder: the lines wait in memory and the first cycle after it exists writes them.
  const std::u16string later = temp.Dir() + u"later" + kPathSeparator;
  ASSERT_TRUE(StartUsageRecorderAt(later + u"ubd.dat"));
  RecordUsageEvent(12001, u"0");
  ASSERT_TRUE(WriteUsageEventsNow(60000));
  ASSERT_FALSE(FileExists(later + u"ubd.dat"));
  ASSERT_TRUE(CreateDirectoryLevels(later));
  ASSERT_TRUE(WriteUsageEventsNow(60000));
  EXPECT_EQ(Bytes(later + u"ubd.dat"), "\r\n12001,2014-05-01 09:30:12,0");  // written by the cycle
  RecordUsageEvent(12002, u"0");
  ASSERT_TRUE(WriteUsageEventsNow(60000));
  EXPECT_EQ(Bytes(later + u"ubd.dat"), "\r\n12001,2014-05-01 09:30:12,0\r\n12002,2014-05-01 09:30:12,0");
  StopUsageRecorder();
  EXPECT_EQ(Bytes(later + u"ubd.dat"), "\r\n12001,2014-05-01 09:30:12,0\r\n12002,2014-05-01 09:30:12,0");

  StopLogWriter();
  std::string log;
  for (const auto& entry : std::filesystem::directory_iterator(temp.Path()))
    if (entry.path().extension() == ".log") log = Bytes(entry.path().u16string());
  std::u16string text(reinterpret_cast<const char16_t*>(log.data()), log.size() / 2);  // UTF-16LE
  const std::u16string kept = u"write usage file error:" + file + u" (1 events kept)";
  EXPECT_NE(text.find(kept), std::u16string::npos);
  EXPECT_EQ(text.find(kept), text.rfind(kept));  // a streak of failing cycles is said once
  EXPECT_NE(text.find(u"write usage file error:" + later + u"ubd.dat"), std::u16string::npos);
  EXPECT_NE(text.find(u"usage events lost:1\r\n"), std::u16string::npos);
  EXPECT_EQ(text.find(u"usage events lost:"), text.rfind(u"usage events lost:"));  // the second run lost nothing
}
