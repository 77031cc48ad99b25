#include "platform/text_codec.h"

#include <gtest/gtest.h>

TEST(TextCodec, RoundTripsChineseThroughUtf8AndGbk) {
  const std::u16string text = u"上海 晴转多云 12℃";
  EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
  EXPECT_EQ(ToWide(ToNarrow(text, kCodePageGbk), kCodePageGbk), text);
  // 上 is C9 CF in GBK, E4 B8 8A in UTF-8.
  EXPECT_EQ(ToNarrow(u"上", kCodePageGbk), "\xC9\xCF");
  EXPECT_EQ(WideToUtf8(u"上"), "\xE4\xB8\x8A");
}

TEST(TextCodec, EmptyAndBrokenInputNeverThrow) {
  EXPECT_TRUE(ToWide("", kCodePageUtf8).empty());
  EXPECT_TRUE(ToNarrow(u"", kCodePageGbk).empty());
  // A truncated UTF-8 sequence keeps the text before it.
  std::u16string w = ToWide("ab\xE4\xB8", kCodePageUtf8);
  ASSERT_GE(w.size(), 2u);
  EXPECT_EQ(w.substr(0, 2), u"ab");
}

// Weather pages arrive in GBK and are sometimes cut short or damaged: the good text on both sides
// of a bad byte survives, in order, and a lead byte cut off at the end takes nothing with it.
TEST(TextCodec, BrokenGbkKeepsTheGoodText) {
  std::u16string w = ToWide("\xC9\xCF" "a\xFF" "b\xC9", kCodePageGbk);
  ASSERT_GE(w.size(), 3u);
  EXPECT_EQ(w.substr(0, 2), u"上a");
  size_t b = w.find(u'b', 2);
  ASSERT_NE(b, std::u16string::npos);
  EXPECT_GT(b, 2u) << "the bad byte between a and b was dropped without a trace";
  EXPECT_EQ(w.find(u'\0'), std::u16string::npos);
  EXPECT_FALSE(ToWide("\xC9", kCodePageGbk).empty()) << "a lone lead byte vanished without a replacement";
  // A lead byte followed by one that cannot trail it (a digit, DEL): something marks the spot, and
  // the text after the broken pair arrives whole.
  for (std::string_view broken : {"\xC9\xCF" "\xC9" "1" "xyz", "\xC9\xCF" "\xC9\x7F" "xyz"}) {
    const std::u16string t = ToWide(broken, kCodePageGbk);
    ASSERT_GE(t.size(), 5u) << "the broken pair or the text around it was dropped";
    EXPECT_EQ(t.front(), u'上');
    EXPECT_EQ(t.substr(t.size() - 3), u"xyz");
    EXPECT_EQ(t.find(u'\0'), std::u16string::npos);
  }
}
