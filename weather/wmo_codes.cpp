#include "weather/wmo_codes.h"

namespace {

struct WmoRow {
  int code;
  std::u16string_view word;
};

// Drizzle counts as light rain, freezing drizzle and freezing rain as 冻雨, snow grains as light
// snow; violent rain showers as 暴雨 and heavy snow showers as 大雪.
constexpr WmoRow kRows[] = {
    {0, u"晴"},       {1, u"晴"},       {2, u"多云"},     {3, u"阴"},       {45, u"雾"},
    {48, u"雾"},      {51, u"小雨"},    {53, u"小雨"},    {55, u"中雨"},    {56, u"冻雨"},
    {57, u"冻雨"},    {61, u"小雨"},    {63, u"中雨"},    {65, u"大雨"},    {66, u"冻雨"},
    {67, u"冻雨"},    {71, u"小雪"},    {73, u"中雪"},    {75, u"大雪"},    {77, u"小雪"},
    {80, u"阵雨"},    {81, u"阵雨"},    {82, u"暴雨"},    {85, u"阵雪"},    {86, u"大雪"},
    {95, u"雷阵雨"},  {96, u"雷阵雨冰雹"}, {99, u"雷阵雨冰雹"},
};


}  // namespace

std::u16string_view WmoWeatherWord(int code) {
  for (const WmoRow& row : kRows) {
    if (row.code == code) return row.word;
  }
  return {};
}

