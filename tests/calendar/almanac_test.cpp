#include "calendar/almanac.h"

#include <gtest/gtest.h>

#include "calendar/day_info.h"
#include "platform/database.h"
#include "tests/calendar/holiday_test_support.h"
#include "tests/support/db_text.h"

using holiday_test::Date;
using holiday_test::ScratchDir;
using holiday_test::ShippedUserDat;

namespace {

size_t NameCount(const std::u16string& list) {
  if (list.empty()) return 0;
  size_t n = 1;
  for (size_t p = list.find(u"\r\n"); p != std::u16string::npos; p = list.find(u"\r\n", p + 2)) ++n;
  return n;
}

// A small database of our own: three activities and a few days.
class AlmanacTable : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenDatabase(dir_.Dir() + u"almanac.dat", DbOpenMode::kCreate);
    tvtest::Sql(u"create table yijidata (id text primary key, yi text, ji text)");
    tvtest::Sql(u"create table yijikey (key text, id text)");
    tvtest::Sql(u"insert into yijikey (key,id) values ('祭祀','1'),('祈福','2'),('嫁娶','3')");
    tvtest::Sql(u"insert into yijidata (id,yi,ji) values ('20300101','2','3')");
    tvtest::Sql(u"insert into yijidata (id,yi,ji) values ('20300102','1,77','')");
    tvtest::Sql(u"insert into yijidata (id,yi,ji) values ('20300103','2,0'' or ''1''=''1','x,,3')");
  }
  void TearDown() override { CloseDatabase(); }

 private:
  ScratchDir dir_;
};

}  // namespace

TEST(AlmanacQuery, BuildsTheConditionFromPlainNumbersOnly) {
  using Binds = std::vector<DbValue>;
  EXPECT_EQ(ActivityNameQuery(u"3").sql, u"select key from yijikey  where id = ?1 order by rowid");
  EXPECT_EQ(ActivityNameQuery(u"3").binds, (Binds{u"3"}));
  EXPECT_EQ(ActivityNameQuery(u"3,12,5").sql,
            u"select key from yijikey  where id = ?1 or id = ?2 or id = ?3 order by rowid");
  EXPECT_EQ(ActivityNameQuery(u"3,12,5").binds, (Binds{u"3", u"12", u"5"}));
  EXPECT_EQ(ActivityNameQuery(u" 7 ,8").binds, (Binds{u"7", u"8"}));
  // Anything that is not a plain number never reaches the statement.
  EXPECT_EQ(ActivityNameQuery(u"1' or '1'='1,4").sql, u"select key from yijikey  where id = ?1 order by rowid");
  EXPECT_EQ(ActivityNameQuery(u"1' or '1'='1,4").binds, (Binds{u"4"}));
  EXPECT_EQ(ActivityNameQuery(u"4,5);drop table yijikey;--").binds, (Binds{u"4"}));
  EXPECT_TRUE(ActivityNameQuery(u"").sql.empty());
  EXPECT_TRUE(ActivityNameQuery(u",,").sql.empty());
  EXPECT_TRUE(ActivityNameQuery(u"x,-1,1.5").sql.empty());
}

TEST_F(AlmanacTable, NamesOfTheDay) {
  EXPECT_EQ(LookUpSuitable(Day::FromCivil(2030, 1, 1)), u"祈福");
  EXPECT_EQ(LookUpAvoid(Day::FromCivil(2030, 1, 1)), u"嫁娶");
  // A number without a name contributes nothing; an empty list gives an empty text.
  EXPECT_EQ(LookUpSuitable(Day::FromCivil(2030, 1, 2)), u"祭祀");
  EXPECT_TRUE(LookUpAvoid(Day::FromCivil(2030, 1, 2)).empty());
  // No row at all.
  EXPECT_TRUE(LookUpSuitable(Day::FromCivil(2030, 1, 4)).empty());
  EXPECT_TRUE(LookUpAvoid(Day::FromCivil(2030, 1, 4)).empty());
}

TEST_F(AlmanacTable, AStoredListCannotWidenTheLookup) {
  // "0' or '1'='1" would select every name if it reached the statement.
  EXPECT_EQ(LookUpSuitable(Day::FromCivil(2030, 1, 3)), u"祈福");
  EXPECT_EQ(LookUpAvoid(Day::FromCivil(2030, 1, 3)), u"嫁娶");
  EXPECT_EQ(tvtest::FirstText(u"select count(*) from yijikey"), u"3");
}

using AlmanacData = ShippedUserDat;

TEST_F(AlmanacData, ShippedListsCoverTheNavigableRange) {
  const std::u16string yi = LookUpSuitable(Day::FromCivil(2024, 2, 10));
  EXPECT_EQ(NameCount(yi), 8u);
  EXPECT_NE(yi.find(u"嫁娶"), std::u16string::npos);
  EXPECT_NE(yi.find(u"开光"), std::u16string::npos);
  EXPECT_EQ(NameCount(LookUpAvoid(Day::FromCivil(2024, 2, 10))), 12u);
  EXPECT_NE(yi.substr(0, 2), u"\r\n");
  EXPECT_NE(yi.substr(yi.size() - 2), u"\r\n");
  for (const Day day : {Day::FromCivil(1949, 12, 1), Day::FromCivil(1990, 6, 15), Day::FromCivil(2051, 1, 31)}) {
    EXPECT_FALSE(LookUpSuitable(day).empty()) << day.Year();
    EXPECT_FALSE(LookUpAvoid(day).empty()) << day.Year();
  }
  EXPECT_TRUE(LookUpSuitable(Day::FromCivil(1949, 11, 30)).empty());
  EXPECT_TRUE(LookUpAvoid(Day::FromCivil(2051, 2, 1)).empty());
}

TEST_F(AlmanacData, DayInfoCarriesClippedLists) {
  const DayInfo info = BuildDayInfo(Day::FromCivil(2024, 2, 10));
  ASSERT_FALSE(info.avoid.empty());
  EXPECT_LE(info.avoid.size(), 25u);
  EXPECT_EQ(LookUpAvoid(Day::FromCivil(2024, 2, 10)).substr(0, info.avoid.size()), info.avoid);
  EXPECT_NE(info.avoid.back(), u'\r');
}
