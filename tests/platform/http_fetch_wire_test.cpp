#include "platform/http_fetch_wire.h"

#include <gtest/gtest.h>

#include <string>

// What passes between the program and its fetching helper: whole messages only, every field kept,
// and nothing from a stream that is cut short, too long or not ours.
TEST(HttpFetchWire, MessagesRoundTripAndCutOrForeignStreamsAreNeverTakenInPart) {
  HttpFetchRequest request;
  request.post = true;
  request.followRedirects = false;
  request.wantHeaders = true;
  request.connectMs = 1000;
  request.totalMs = 1500;
  request.remainingMs = 1234567890123;
  request.bodyLimit = 4u << 20;
  request.url = u"https://例え.test/a?城市=北京&x=\U0001F600";
  request.data = std::string("a=1&b=\0\xff", 9);
  const std::string sent = EncodeFetchRequest(request);
  HttpFetchRequest got;
  ASSERT_EQ(DecodeFetchRequest(sent, got), WireRead::kComplete);
  EXPECT_TRUE(got.post);
  EXPECT_FALSE(got.followRedirects);
  EXPECT_TRUE(got.wantHeaders);
  EXPECT_EQ(got.connectMs, 1000);
  EXPECT_EQ(got.totalMs, 1500);
  EXPECT_EQ(got.remainingMs, 1234567890123);
  EXPECT_EQ(got.bodyLimit, 4u << 20);
  EXPECT_EQ(got.url, request.url);
  EXPECT_EQ(got.data, request.data);
  request.remainingMs = -1;  // no deadline survives the trip as none
  ASSERT_EQ(DecodeFetchRequest(EncodeFetchRequest(request), got), WireRead::kComplete);
  EXPECT_EQ(got.remainingMs, -1);

  HttpFetchAnswer answer;
  answer.status = 12002;
  answer.hasHeaders = true;
  answer.headers = u"HTTP/1.1 200 OK\r\nX-名: 值\r\n\r\n";
  answer.body = std::string(70000, '\0') + "end";
  const std::string back = EncodeFetchAnswer(answer);
  HttpFetchAnswer a;
  ASSERT_EQ(DecodeFetchAnswer(back, 1 << 20, a), WireRead::kComplete);
  EXPECT_EQ(a.status, 12002);
  EXPECT_TRUE(a.hasHeaders);
  EXPECT_EQ(a.headers, answer.headers);
  EXPECT_EQ(a.body, answer.body);

  // Every prefix asks for more; a byte too many, another magic or a bad flag is broken.
  for (size_t n = 0; n < sent.size(); ++n) {
    ASSERT_EQ(DecodeFetchRequest(std::string_view(sent).substr(0, n), got), WireRead::kNeedMore) << n;
  }
  for (size_t n = 0; n < back.size(); n += 997) {
    ASSERT_EQ(DecodeFetchAnswer(std::string_view(back).substr(0, n), 1 << 20, a), WireRead::kNeedMore) << n;
  }
  EXPECT_EQ(DecodeFetchRequest(sent + "x", got), WireRead::kBroken);
  EXPECT_EQ(DecodeFetchRequest("HTTP/1.1 200", got), WireRead::kBroken);
  EXPECT_EQ(DecodeFetchAnswer(sent, 1 << 20, a), WireRead::kBroken) << "a request is no answer";
  std::string badFlag = sent;
  badFlag[4] = 2;
  EXPECT_EQ(DecodeFetchRequest(badFlag, got), WireRead::kBroken);

  // A body over the reader's limit, or a length no message could have, is broken at once rather
  // than waited for.
  EXPECT_EQ(DecodeFetchAnswer(back, 1000, a), WireRead::kBroken);
  std::string huge = "TVA1";
  huge += std::string("\0\0\0\0\0", 5);
  huge += std::string(8, '\xff');  // the headers' length
  EXPECT_EQ(DecodeFetchAnswer(huge, 1 << 20, a), WireRead::kBroken);
}
