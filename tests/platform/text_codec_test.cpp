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
  EXPECT_EQ(ToWide("\xC9", kCodePageGbk).substr(0, 0), u"");
}
