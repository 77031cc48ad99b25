// On Windows the GBK pages and queries must not depend on the machine's ANSI code page.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/text_codec.h"
#include "weather/second_site_parser.h"

namespace {

TEST(WindowsCodePage, GbkTextIndependentOfAnsiCodePage) {
  const std::string gbk = "\xbd\xf1\xcc\xec";  // 今天 in GBK
  EXPECT_EQ(ToWide(gbk, kCodePageGbk), u"今天");
  EXPECT_EQ(SecondSiteQueryBody(u"上海", u"上海"), "city=%C9%CF%BA%A3&searchProvName=%C9%CF%BA%A3");
  UINT acp = GetACP();
  RecordProperty("ansi_code_page", static_cast<int>(acp));
  if (acp != 936) {
    // The machine's own code page would have garbled the page: the explicit 936 is what reads it.
    EXPECT_NE(ToWide(gbk, kCodePageAnsi), u"今天") << "ANSI code page " << acp;
  }
}

}  // namespace
