#include "platform/log.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/file_utils.h"
#include "platform/text_utils.h"
#include "platform/background_loop.h"
#include "tests/support/dates.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_clock.h"

using tvtest::TempDir;

namespace {

struct FakeClock : tvtest::TestClock {
  FakeClock(int y, int m, int d, int h, int mi, int s) : TestClock(tvtest::Date(y, m, d, h, mi, s)) {}
  void Set(int y, int m, int d, int h, int mi, int s) { TestClock::Set(tvtest::Date(y, m, d, h, mi, s)); }
};

// The file's text without its byte-order mark, as UTF-16.
std::u16string LogText(const std::u16string& path, bool* hasBom = nullptr) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return {};
  if (hasBom) *hasBom = bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xFE") == 0;
  std::u16string text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return text;
}

}  // namespace

TEST(XLog, LineReachesTheFileAtTheSecondFlushAndAtDestruction) {
  TempDir temp;
  FakeClock clock(2024, 2, 10, 8, 30, 15);
  auto* log = new XLog(temp.Dir(), u"PC1", u"tavrino.exe", 4096);
  std::u16string file = temp.Dir() + u"PC1_tavrino.exe_2024-02-10.log";
  EXPECT_EQ(log->FileNameFor(clock.Now()), file);

  ASSERT_TRUE(log->Append(u"create ipc event error:5"));
  log->Flush();
  EXPECT_FALSE(FileExists(file));
  log->Flush();
  bool bom = false;
  std::u16string text = LogText(file, &bom);
  EXPECT_TRUE(bom);
  // Time stamp, " error ", a blank, the thread id, a blank, the message.
  const std::u16string head = u"2024-02-10 08:30:15:000 error  ", tail = u" create ipc event error:5\r\n";
  ASSERT_GT(text.size(), head.size() + tail.size());
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  std::u16string id = text.substr(head.size(), text.size() - head.size() - tail.size());
  EXPECT_EQ(id, IntToText(CurrentThreadId()));

  // Logged just before the end: the destructor writes both buffers.
  ASSERT_TRUE(log->Append(u"first"));
  log->Flush();
  ASSERT_TRUE(log->Append(u"last"));
  delete log;
  text = LogText(file);
  EXPECT_NE(text.find(u" first\r\n"), std::u16string::npos);
  EXPECT_NE(text.find(u" last\r\n"), std::u16string::npos);
  EXPECT_EQ(text.find(u"\xFEFF"), std::u16string::npos);  // one byte-order mark, at the start only
}

TEST(XLog, WritingAfterMidnightGoesToTheNewDaysFile) {
  TempDir temp;
  FakeClock clock(2024, 12, 31, 23, 59, 59);
  {
    XLog log(temp.Dir(), u"PC1", u"t.exe", 4096);
    ASSERT_TRUE(log.Append(u"late"));
    clock.Set(2025, 1, 1, 0, 0, 1);
    log.Flush();
    log.Flush();
    EXPECT_FALSE(FileExists(temp.Dir() + u"PC1_t.exe_2024-12-31.log"));
    std::u16string text = LogText(temp.Dir() + u"PC1_t.exe_2025-01-01.log");
    EXPECT_EQ(text.substr(0, 24), u"2024-12-31 23:59:59:000 ");
    EXPECT_NE(text.find(u" late\r\n"), std::u16string::npos);
  }
}

TEST(XLog, FullBufferFlushesAndOversizeLinesAreDropped) {
  TempDir temp;
  FakeClock clock(2024, 1, 2, 3, 4, 5);
  std::u16string file = temp.Dir() + u"PC1_t.exe_2024-01-02.log";
  {
    XLog log(temp.Dir(), u"PC1", u"t.exe", 256);
    // A line that cannot fit any buffer is refused, nothing overruns.
    EXPECT_FALSE(log.Append(std::u16string(200, u'x')));
    // Lines of ~100 bytes: the third one finds the buffer full and makes room.
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(log.Append(u"line" + std::u16string(1, static_cast<char16_t>(u'0' + i))));
  }
  std::u16string text = LogText(file);
  for (int i = 0; i < 6; ++i) {
    EXPECT_NE(text.find(u" line" + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u"\r\n"), std::u16string::npos) << i;
  }
  EXPECT_EQ(text.find(u"xxxx"), std::u16string::npos);
  // In order.
  EXPECT_LT(text.find(u"line0"), text.find(u"line5"));
}

TEST(XLog, ProcessWriterStartsStopsAndDropsLinesOutsideItsLife) {
  TempDir temp;
  FakeClock clock(2024, 3, 4, 5, 6, 7);
  LogError(u"before start");  // no writer: dropped, no crash
  StartLogWriter(temp.Dir());
  StartLogWriter(temp.Dir());  // one writer only
  LogError(u"during");
  StopLogWriter();
  LogError(u"after stop");
  StopLogWriter();
  int files = 0;
  std::u16string text;
  for (auto& entry : std::filesystem::directory_iterator(temp.Path())) {
    ++files;
    text = LogText(entry.path().u16string());
  }
  EXPECT_EQ(files, 1);
  EXPECT_NE(text.find(u" during\r\n"), std::u16string::npos);
  EXPECT_EQ(text.find(u"before"), std::u16string::npos);
  EXPECT_EQ(text.find(u"after"), std::u16string::npos);
}

TEST(XLog, LinesFromManyThreadsWhileTheWriterRunsAreAllWrittenWhole) {
  TempDir temp;
  FakeClock clock(2024, 6, 1, 12, 0, 0);
  auto log = std::make_shared<XLog>(temp.Dir(), u"PC1", u"t.exe", 2048);  // small: appends often find it full
  ASSERT_TRUE(background_loop::Join(log));  // its turns flush too
  constexpr int kThreads = 4, kLines = 500;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([log, t] {
      for (int i = 0; i < kLines; ++i) log->Append(u"worker" + IntToText(t) + u" line" + IntToText(i) + u".");
    });
  }
  // Flushes as the writer's tick does, racing the appends.
  std::atomic<bool> done{false};
  std::thread flusher([&] {
    while (!done) log->Flush();
  });
  for (auto& th : threads) th.join();
  done = true;
  flusher.join();
  ASSERT_TRUE(background_loop::Leave(log.get(), 5000));
  log.reset();
  std::u16string text = LogText(temp.Dir() + u"PC1_t.exe_2024-06-01.log");
  size_t lines = 0;
  for (size_t at = text.find(u".\r\n"); at != std::u16string::npos; at = text.find(u".\r\n", at + 1)) ++lines;
  EXPECT_EQ(lines, size_t{kThreads * kLines});
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_NE(text.find(u"worker" + IntToText(t) + u" line" + IntToText(kLines - 1) + u".\r\n"), std::u16string::npos);
  }
}
