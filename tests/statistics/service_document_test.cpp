#include "service/service_document.h"

#include <gtest/gtest.h>

#include "calendar/holiday_arrangement.h"
#include "service/service_record.h"
#include "tests/support/dates.h"
#include "tests/support/temp_dir.h"

using tvtest::Date;
using ScratchDir = tvtest::TempDir;

namespace {

// What a document is read onto: the calendar's holiday texts and the service record.
struct Target {
  DocumentHolidays holidays;
  ServiceRecord record;

  bool Parse(std::u16string_view document, const std::u16string& directory) {
    return ParseServiceDocument(document, holidays, record, directory);
  }
  friend bool operator==(const Target&, const Target&) = default;
};

Target Filled(const std::u16string& tag) {
  Target target;
  for (auto& texts : target.holidays) texts = {tag + u"L", tag + u"M", tag + u"R", tag + u"D"};
  target.record.address = tag;
  target.record.location = {tag, tag, tag};
  target.record.urls.dataUrl = {tag};
  return target;
}

}  // namespace

TEST(ServiceDocument, FillsHolidaysLocationAddressAndUrlLists) {
  ScratchDir dir;
  Target target;
  target.holidays[0].middle = u"kept";
  const std::u16string document =
      u"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      u"<config>\n"
      u"  <ipdata>上海.上海.电信.其它</ipdata>\n"
      u"  <ip> 203.0.113.7 </ip>\n"
      u"  <public_holiday>\n"
      u"    <chunjie><left>2026-02-14</left><middle>2026-02-15,2026-02-23</middle>"
      u"<right>2026-02-28</right><day>2026-02-17</day><note>x</note></chunjie>\n"
      u"    <unknown><middle>2026-03-03</middle></unknown>\n"
      u"  </public_holiday>\n"
      u"  <update_url><u> http://127.0.0.1:1/update </u><u></u></update_url>\n"
      u"  <userbehavior_url><a>http://127.0.0.1:1/a</a><b>http://127.0.0.1:1/b</b></userbehavior_url>\n"
      u"  <remark>hello</remark>\n"
      u"  <other>ignored</other>\n"
      u"</config>\n";
  ASSERT_TRUE(target.Parse(document, dir.Dir()));
  EXPECT_EQ(dir.FileCount(), 0u);
  const ServiceRecord& record = target.record;
  EXPECT_EQ(record.location[2], u"上海");
  EXPECT_EQ(record.location[0], u"上海");
  EXPECT_EQ(record.location[1], u"电信.其它");
  EXPECT_EQ(record.address, u"203.0.113.7");
  EXPECT_EQ(target.holidays[1], (HolidayTexts{u"2026-02-14", u"2026-02-15,2026-02-23",
                                               u"2026-02-28", u"2026-02-17"}));
  EXPECT_EQ(target.holidays[0].middle, u"kept");  // missing element: unchanged
  EXPECT_EQ(record.urls.updateUrl, std::vector<std::u16string>{u"http://127.0.0.1:1/update"});
  EXPECT_EQ(record.urls.userBehaviorUrl,
            (std::vector<std::u16string>{u"http://127.0.0.1:1/a", u"http://127.0.0.1:1/b"}));
  EXPECT_TRUE(record.urls.dataUrl.empty());
  EXPECT_EQ(record.urls.remark, u"hello");

  // A second document with the same list replaces it instead of piling up copies.
  ASSERT_TRUE(target.Parse(document, dir.Dir()));
  EXPECT_EQ(record.urls.userBehaviorUrl.size(), 2u);
}

TEST(ServiceDocument, KeyCaseIsIgnored) {
  ScratchDir dir;
  Target target;
  ASSERT_TRUE(target.Parse(
      u"<R><IPDATA>\n a.b </IPDATA><Public_Holiday><GuoQing><MIDDLE>2026-10-01</MIDDLE>"
      u"<Day>2026-10-01</Day></GuoQing></Public_Holiday><DATA_URL><x>d</x></DATA_URL></R>",
      dir.Dir()));
  EXPECT_EQ(target.holidays[6].middle, u"2026-10-01");
  EXPECT_EQ(target.holidays[6].day, u"2026-10-01");
  EXPECT_EQ(target.record.location[2], u"a");
  EXPECT_EQ(target.record.location[0], u"b");
  EXPECT_EQ(target.record.location[1], u"");
  EXPECT_EQ(target.record.urls.dataUrl, std::vector<std::u16string>{u"d"});
}

TEST(ServiceDocument, MalformedDocumentChangesNothingAndLeavesNoFile) {
  ScratchDir dir;
  Target target = Filled(u"x");
  const Target before = target;
  // 30,000 levels, a few hundred kilobytes: refused before the parser's recursion would overflow.
  std::u16string deep = u"<config><ip>9.9.9.9</ip>";
  for (int i = 0; i < 30000; ++i) deep += u"<x>";
  for (int i = 0; i < 30000; ++i) deep += u"</x>";
  deep += u"</config>";
  for (std::u16string_view bad : {std::u16string_view(u""), std::u16string_view(u"not xml at all"),
                                  std::u16string_view(u"<a><public_holiday><chunjie>"),
                                  std::u16string_view(u"<a><ip>1.2.3.4</ip></b>"), std::u16string_view(deep)}) {
    EXPECT_FALSE(target.Parse(bad, dir.Dir()));
    EXPECT_EQ(target, before);
    EXPECT_EQ(dir.FileCount(), 0u);
  }
}

TEST(ServiceDocument, ADirectoryWithoutRoomIsReadFromMemory) {
  ScratchDir dir;
  Target target = Filled(u"y");
  EXPECT_TRUE(target.Parse(u"<a><ip>1.2.3.4</ip></a>", dir.Dir() + u"missing/"));
  EXPECT_EQ(target.record.address, u"1.2.3.4");
  EXPECT_EQ(target.record.urls.dataUrl, std::vector<std::u16string>{u"y"});
  EXPECT_EQ(target.holidays[2].middle, u"yM");
  EXPECT_FALSE(target.Parse(u"<a>", dir.Dir() + u"missing/"));
  EXPECT_EQ(target.record.address, u"1.2.3.4");
  EXPECT_EQ(dir.FileCount(), 0u);
}

// The document's holiday texts go down to the calendar's shared record, the rest stays in the
// service record; a broken document changes neither.
TEST(ServiceDocument, TakenDocumentReachesBothSharedRecords) {
  ReplaceHolidayArrangement({});
  ReplaceServiceRecord({});
  // The process-wide parse writes its temporary file beside the program.
  ASSERT_TRUE(TakeServiceDocument(
      u"<a><ip>198.51.100.2</ip><data_url><u>d</u></data_url>"
      u"<public_holiday><laodong><middle>2031-05-01</middle></laodong></public_holiday></a>"));
  EXPECT_TRUE(MarkHolidayDate(Day::FromCivil(2031, 5, 1)).rest);
  EXPECT_EQ(ServiceRecordSnapshot()->address, u"198.51.100.2");
  EXPECT_EQ(ServiceRecordSnapshot()->urls.dataUrl, std::vector<std::u16string>{u"d"});
  const ServiceRecord before = *ServiceRecordSnapshot();
  EXPECT_FALSE(TakeServiceDocument(u"<broken"));
  EXPECT_TRUE(MarkHolidayDate(Day::FromCivil(2031, 5, 1)).rest);
  EXPECT_EQ(*ServiceRecordSnapshot(), before);
  ReplaceHolidayArrangement({});
  ReplaceServiceRecord({});
}
