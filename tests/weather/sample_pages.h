#pragma once
// Small whole pages in the formats of the weather and air-quality sites, for the parser tests.
#include <string>

namespace samples {

inline const std::u16string kCurrent =
    u"{\"weatherinfo\":{\"city\":\"上海\",\"cityid\":\"101020100\",\"temp\":\"25\",\"WD\":\"东北风\","
    u"\"WS\":\"3级\",\"SD\":\"71%\",\"time\":\"14:00\"}}";

inline std::u16string DayTable(const std::u16string& date, bool withDaytime, const std::u16string& dayWeather,
                               const std::u16string& high, const std::u16string& nightWeather,
                               const std::u16string& low) {
  std::u16string t = u"<table class=\"yuBaoTable\" cellspacing=\"0\">\n";
  if (withDaytime) {
    t += u"<tr><td rowspan=\"2\" class=\"date\">" + date + u"</td><td>白天</td><td class=\"icon\"><big></big></td>"
         u"<td class=\"wea\"><a href=\"#\">" + dayWeather + u"</a></td>"
         u"<td class=\"tem\">高温 <span><strong>" + high + u"</strong></span></td>"
         u"<td class=\"wind\"><a href=\"#\">\r\n  东南风 </a></td><td class=\"force\"><a href=\"#\"> 3-4级\n</a></td></tr>\n";
  }
  t += u"<tr><td>" + std::u16string(withDaytime ? u"" : date) + u"</td><td>夜间</td><td class=\"icon\"><big></big></td>"
       u"<td class=\"wea\"><a href=\"#\">" + nightWeather + u"</a></td>"
       u"<td class=\"tem\">低温 <span><strong>" + low + u"</strong></span></td>"
       u"<td class=\"wind\"><a href=\"#\">北风</a></td><td class=\"force\"><a href=\"#\">微风</a></td></tr>\n</table>\n";
  return t;
}

inline std::u16string Period(const std::u16string& weather, const std::u16string& high, const std::u16string& low,
                             bool rain) {
  return u"<table class=\"hour6\">\n<tr><th>08时-14时</th></tr>\n<tr><td><i class=\"d01\"></i></td></tr>\n"
         u"<tr><td><a href=\"#\">" + weather + u"</a></td></tr>\n"
         u"<tr class=\"tem\"><td><a href=\"#\">" + high + u"</a> / <a href=\"#\">" + low + u"</a></td></tr>\n"
         u"<tr><td><a href=\"#\">东风3级</a></td></tr>\n" +
         std::u16string(rain ? u"<tr><td><span>降水量 1.5mm</span></td></tr>\n" : u"") + u"</table>\n";
}

// evening: today's table has no daytime column; life: with the life-index section.
inline std::u16string ForecastPage(bool evening = false, bool life = true) {
  std::u16string p = u"<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>上海天气</title></head><body>\n"
                     u"<div class=\"nav\"><a href=\"/\">首页</a></div>\n<div class=\"hour6\"><h2>逐6小时预报</h2>\n";
  p += Period(u"多云", u"20℃", u"15℃", true) + Period(u"阴", u"21℃", u"16℃", false) +
       Period(u"小雨", u"18℃", u"14℃", true) + Period(u"晴", u"17℃", u"12℃", true);
  p += u"</div>\n<div id=\"7d\" class=\"weatherYubaoBox\">\n<table class=\"head\"><tr><th>日期</th></tr></table>\n";
  const char16_t* weathers[] = {u"晴", u"多云", u"阴", u"小雨", u"中雨", u"雾", u"霾"};
  for (int d = 0; d < 7; ++d) {
    std::u16string n = std::u16string(1, static_cast<char16_t>(u'0' + d));
    p += DayTable(u"12月" + n + u"日", !(evening && d == 0), weathers[d], u"2" + n + u"℃", weathers[6 - d],
                  u"1" + n + u"℃");
  }
  p += u"</div>\n";
  if (life) {
    p += u"<div class=\"livezs\"><h2>今日生活指数</h2><ul>\n";
    for (int j = 0; j < 9; ++j) {
      std::u16string n(1, static_cast<char16_t>(u'0' + j));
      p += u"<li><aside><b>指数" + n + u"</b> 等级" + n + u" </aside><p>说明</p></li>\n";
    }
    p += u"</ul></div>\n";
  }
  p += u"<div class=\"footer\">版权所有</div></body></html>\n";
  return p;
}

inline std::u16string SecondSitePage(bool life = true) {
  std::u16string p = u"<html><head><meta charset=\"gbk\"></head><body><div class=\"forecast\">\n";
  for (int d = 0; d < 6; ++d) {
    std::u16string n(1, static_cast<char16_t>(u'0' + d));
    p += u"<div class=\"day\"><h3><font color=\"red\">" + std::u16string(d == 0 ? u"今天" : u"12月" + n + u"日") +
         u"</font></h3>\n<p><span>白天</span>：<b>多云</b></p>\n<p><span>夜间</span>：<b>阴" + n + u"</b></p>\n"
         u"<p>气温：<font class=\"low\">1" + n + u"℃</font> ~ <font class=\"high\">2" + n + u"℃</font></p>\n";
    p += d == 0 ? u"<p>风力：<a href=\"#\" onclick='showWind(\"东北风3级\")'>详情</a></p></div>\n"
                : u"<p>风力：<i>东风" + n + u"级</i></p></div>\n";
  }
  p += u"</div>\n";
  if (life) {
    p += u"<div class=\"zs\"><h2>今日生活指数</h2>\n";
    for (int j = 0; j < 9; ++j) {
      std::u16string n(1, static_cast<char16_t>(u'0' + j));
      p += u"<dl><h4>项" + n + u"</h4><p>值" + n + u"</p></dl>\n";
    }
    p += u"</div>\n";
  }
  return p + u"</body></html>\n";
}

inline std::u16string AirRankFirst() {
  return u"<html><body><div class=\"pager\"><a>上一页</a></div><table>\n"
         u"<tr><th>排名</th><th>城市</th><th>AQI</th></tr>\n"
         u"<tr><td class=\"td td-1st\">1</td><td><a href=\"/a\" target=\"_blank\"> 上海 </a></td><td class=\"td td-3rd\">45</td></tr>\n"
         u"<tr><td class=\"td td-1st\">2</td><td><a href=\"/b\" target=\"_blank\">上海县</a></td><td class=\"td td-3rd\">88</td></tr>\n"
         u"<tr><td class=\"td td-1st\">3</td><td><a href=\"/c\" target=\"_blank\">北京市</a></td><td class=\"td td-3rd\">151</td></tr>\n"
         u"</table><div class=\"links\"><a href=\"/x\" target=\"_blank\">关于</a></div></body></html>\n";
}

inline std::u16string AirRankSecond() {
  return u"<html><body><h2>全国重点城市空气质量指数排行榜</h2>\n<ul><li><span>排名</span><span>城市</span>"
         u"<span>AQI</span><span>质量状况</span></li>\n"
         u"<li><span>1</span><a href=\"/a\" target=\"_blank\">拉萨</a><span class=\"t\">↑</span><span class=\"aqi\">21</span><span>优</span></li>\n"
         u"<li><span>2</span><a href=\"/b\" target=\"_blank\">西藏</a><span class=\"t\">↓</span><span class=\"aqi\">33</span><span>优</span></li>\n"
         u"</ul>\n<div><a href=\"/about\" target=\"_blank\">关于</a><span>x</span><span>y</span></div></body></html>\n";
}

}  // namespace samples
