// The IP location: the service's full place names brought to the tables' short names, and the
// shared location never read half written.
#include <gtest/gtest.h>

#include <atomic>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "weather/current_city.h"
#include "weather/ip_location.h"

TEST(IpLocationNames, EveryProvinceByItsFullName) {
  // The 34 provinces as the service names them, and as the "provinces" table does.
  const std::pair<const char16_t*, const char16_t*> provinces[] = {
      {u"北京市", u"北京"},         {u"天津市", u"天津"},         {u"上海市", u"上海"},
      {u"重庆市", u"重庆"},         {u"河北省", u"河北"},         {u"山西省", u"山西"},
      {u"辽宁省", u"辽宁"},         {u"吉林省", u"吉林"},         {u"黑龙江省", u"黑龙江"},
      {u"江苏省", u"江苏"},         {u"浙江省", u"浙江"},         {u"安徽省", u"安徽"},
      {u"福建省", u"福建"},         {u"江西省", u"江西"},         {u"山东省", u"山东"},
      {u"河南省", u"河南"},         {u"湖北省", u"湖北"},         {u"湖南省", u"湖南"},
      {u"广东省", u"广东"},         {u"海南省", u"海南"},         {u"四川省", u"四川"},
      {u"贵州省", u"贵州"},         {u"云南省", u"云南"},         {u"陕西省", u"陕西"},
      {u"甘肃省", u"甘肃"},         {u"青海省", u"青海"},         {u"台湾省", u"台湾"},
      {u"内蒙古自治区", u"内蒙古"}, {u"广西壮族自治区", u"广西"}, {u"西藏自治区", u"西藏"},
      {u"宁夏回族自治区", u"宁夏"}, {u"新疆维吾尔自治区", u"新疆"}, {u"香港特别行政区", u"香港"},
      {u"澳门特别行政区", u"澳门"}};
  ASSERT_EQ(std::size(provinces), 34u);
  for (const auto& [full, table] : provinces) {
    EXPECT_EQ(NormaliseIpProvinceName(full), table);
    EXPECT_EQ(NormaliseIpProvinceName(table), table) << "a short name stays as it is";
  }
  EXPECT_EQ(NormaliseIpProvinceName(u" 广西壮族自治区 "), u"广西");
  EXPECT_EQ(NormaliseIpProvinceName(u""), u"");
}

TEST(IpLocationNames, CitiesMatchTheProvincesTableNames) {
  const std::vector<std::u16string> jilin{u"长春", u"吉林", u"延边", u"四平"};
  EXPECT_EQ(MatchIpCityName(u"延边朝鲜族自治州", jilin), u"延边");
  EXPECT_EQ(MatchIpCityName(u"吉林市", jilin), u"吉林");
  EXPECT_EQ(MatchIpCityName(u"长春", jilin), u"长春");
  const std::vector<std::u16string> neimeng{u"呼和浩特", u"锡林郭勒", u"兴安盟", u"阿拉善盟"};
  EXPECT_EQ(MatchIpCityName(u"锡林郭勒盟", neimeng), u"锡林郭勒");
  EXPECT_EQ(MatchIpCityName(u"兴安盟", neimeng), u"兴安盟");
  EXPECT_EQ(MatchIpCityName(u"阿拉善盟市", neimeng), u"阿拉善盟");
  const std::vector<std::u16string> heilongjiang{u"哈尔滨", u"大兴安岭"};
  EXPECT_EQ(MatchIpCityName(u"大兴安岭地区", heilongjiang), u"大兴安岭");
  // A name the table does not hold: the plain clean-up (县, 市, 区 removed).
  EXPECT_EQ(MatchIpCityName(u"浦东新区", {}), u"浦东新");
  EXPECT_EQ(MatchIpCityName(u"北京市", {u"北京", u"北"}), u"北京");
  EXPECT_EQ(MatchIpCityName(u"南京市", {u"南"}), u"南京") << "one character is no name to match by";
}

TEST(IpLocationShared, ReadersNeverSeeHalfOfAnAnswer) {
  EXPECT_FALSE(SetIpLocation({u"广西", u""})) << "half an answer is no location";
  EXPECT_FALSE(SetIpLocation({u"", u"南宁"}));
  const IpLocation answers[] = {{u"广西", u"南宁"}, {u"内蒙古自治区兴安盟的很长的名字", u"兴安盟的很长的城市名字"}};
  ASSERT_TRUE(SetIpLocation(answers[0]));
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    for (int i = 0; !stop; ++i) SetIpLocation(answers[i % 2]);
  });
  int torn = 0;
  for (int i = 0; i < 200000; ++i) {
    IpLocation seen = GetIpLocation();
    bool whole = (seen.province == answers[0].province && seen.city == answers[0].city) ||
                 (seen.province == answers[1].province && seen.city == answers[1].city);
    if (!whole) ++torn;
  }
  stop = true;
  writer.join();
  EXPECT_EQ(torn, 0);
}
