#include "platform/usage_recorder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "../platform/temp_dir.h"
#include "platform/clock.h"
#include "platform/file_utils.h"
#include "platform/log.h"

namespace {

SystemTime FakeNow() {
  SystemTime t;
  t.wYear = 2014, t.wMonth = 5, t.wDay = 1, t.wHour = 9, t.wMinute = 30, t.wSecond = 12, t.wMilliseconds = 345;
  return t;
}

struct FakeClock {
  FakeClock() { SetLocalClock(&FakeNow); }
  ~FakeClock() { SetLocalClock(nullptr); }
};

std::string FileBytes(const std::u16string& path) {
  std::string bytes;
  ReadWholeFile(path, bytes);
  return bytes;
}

// Every log line written while the writer ran, as UTF-16 text without byte-order marks.
std::u16string LogText(const TempDir& dir) {
  std::u16string text;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    if (entry.path().extension() != ".log") continue;
    std::string bytes = FileBytes(entry.path().u16string());
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return text;
}

}  // namespace

TEST(UsageRecorder, LinesAreAppendedAsUtf8AndTheLastEventsReachTheFileAtStop) {
  TempDir temp;
  FakeClock clock;
  const std::u16string file = temp.Dir() + u"ubd.dat";
  ASSERT_TRUE(WriteWholeFile(file, "\r\n1,2014-04-30 08:00:00,0"));  // a previous run's lines stay

  RecordUsageEvent(12004, u"0");  // no recorder yet: dropped
  ASSERT_TRUE(StartUsageRecorderAt(file));  // a 10 s cycle: nothing is written before the stop
  RecordUsageEvent(kUsageProgramStart, u"0");
  RecordUsageEvent(12007, u"自定义");
  RecordUsageEvent(12005, u"");
  RecordUsageEvent(12006, u"a\r\nb");
  RecordUsageEvent(kUsageProgramExit, u"0");
  StopUsageRecorder();
  RecordUsageEvent(12014, u"0");  // after the stop: dropped

  EXPECT_EQ(FileBytes(file),
            "\r\n1,2014-04-30 08:00:00,0"
            "\r\n90001,2014-05-01 09:30:12,0\r\n12007,2014-05-01 09:30:12,\xE8\x87\xAA\xE5\xAE\x9A\xE4\xB9\x89"
            "\r\n12005,2014-05-01 09:30:12\r\n12006,2014-05-01 09:30:12,a  b\r\n90002,2014-05-01 09:30:12,0");
}

TEST(UsageRecorder, EventsOfEightThreadsAllLandWhole) {
  TempDir temp;
  FakeClock clock;
  const std::u16string file = temp.Dir() + u"ubd.dat";
  ASSERT_TRUE(StartUsageRecorderAt(file, 5));  // short cycle: writes run while threads record
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 300; ++i) RecordUsageEvent(10000 + t * 1000 + i, u"0");
    });
  }
  for (auto& thread : threads) thread.join();
  StopUsageRecorder();

  std::string bytes = FileBytes(file);
  ASSERT_EQ(bytes.substr(0, 2), "\r\n");
  std::set<int> codes;
  size_t pos = 2;
  while (pos <= bytes.size()) {
    size_t end = bytes.find("\r\n", pos);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(pos, end - pos);
    ASSERT_EQ(line.size(), 5 + 22) << line;
    ASSERT_EQ(line.substr(5), ",2014-05-01 09:30:12,0") << line;
    codes.insert(std::stoi(line.substr(0, 5)));
    pos = end + 2;
  }
  EXPECT_EQ(codes.size(), 8u * 300u);
}

TEST(UsageRecorder, UnwritableFileIsLoggedAndItsLinesKeptForTheNextCycle) {
  TempDir temp;
  StartLogWriter(temp.Dir());
  FakeClock clock;

  // "ubd.dat" is a folder: nothing can be written, the loss is logged, nothing hangs.
  const std::u16string blocked = temp.Dir() + u"ubd.dat";
  ASSERT_TRUE(CreateDirectoryLevels(blocked));
  ASSERT_TRUE(StartUsageRecorderAt(blocked, 10));
  RecordUsageEvent(13005, u"0");
  std::this_thread::sleep_for(std::chrono::milliseconds(60));  // several failing cycles
  StopUsageRecorder();
  EXPECT_FALSE(FileExists(blocked));

  // A missing folder: the lines wait in memory and are written once the folder exists.
  const std::u16string dir = temp.Dir() + u"later" + kPathSeparator, file = dir + u"ubd.dat";
  ASSERT_TRUE(StartUsageRecorderAt(file, 10));
  RecordUsageEvent(12001, u"0");
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  ASSERT_FALSE(FileExists(file));
  ASSERT_TRUE(CreateDirectoryLevels(dir));
  RecordUsageEvent(12002, u"0");
  StopUsageRecorder();
  EXPECT_EQ(FileBytes(file), "\r\n12001,2014-05-01 09:30:12,0\r\n12002,2014-05-01 09:30:12,0");

  StopLogWriter();
  std::u16string log = LogText(temp);
  EXPECT_NE(log.find(u"write usage file error:" + blocked + u" (1 events kept)"), std::u16string::npos);
  EXPECT_NE(log.find(u"usage events lost:1\r\n"), std::u16string::npos);
  EXPECT_NE(log.find(u"write usage file error:" + file), std::u16string::npos);
  EXPECT_EQ(log.find(u"usage events lost:1\r\n"), log.rfind(u"usage events lost:"));  // the second run lost nothing
}

TEST(UsageRecorder, StopWithoutStartAndRepeatedStartsAndStopsAreHarmless) {
  TempDir temp;
  StopUsageRecorder();
  const std::u16string first = temp.Dir() + u"first.dat", second = temp.Dir() + u"second.dat";
  ASSERT_TRUE(StartUsageRecorderAt(first));
  ASSERT_TRUE(StartUsageRecorderAt(second));  // already running: keeps its file
  RecordUsageEvent(11004, u"0");
  StopUsageRecorder();
  StopUsageRecorder();
  EXPECT_NE(FileBytes(first).find(",0"), std::string::npos);
  EXPECT_FALSE(FileExists(second));
}
