#include "weather/second_site_parser.h"

#include "platform/text_codec.h"
#include "platform/text_utils.h"
#include "weather/text_search.h"

std::string SecondSiteQueryBody(std::u16string_view city, std::u16string_view province) {
  // The site expects GBK whatever the code page of the machine.
  return "city=" + PercentEncode(ToNarrow(city, kCodePageGbk)) +
         "&searchProvName=" + PercentEncode(ToNarrow(province, kCodePageGbk));
}

std::u16string LocationHeaderValue(std::u16string_view raw) {
  size_t start = 0;
  while (start <= raw.size()) {
    size_t end = raw.find(u"\r\n", start);
    if (end == std::u16string_view::npos) end = raw.size();
    std::u16string_view line = raw.substr(start, end - start);
    size_t colon = line.find(u':');
    if (colon != std::u16string_view::npos) {
      std::u16string name = Trim(line.substr(0, colon));
      if (name.size() == 8) {
        bool same = true;
        for (size_t i = 0; i < 8 && same; ++i) {
          char16_t c = name[i];
          if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
          same = c == u"location"[i];
        }
        if (same) return Trim(line.substr(colon + 1));
      }
    }
    if (end == raw.size()) break;
    start = end + 2;
  }
  return {};
}

bool ParseSecondSitePage(std::u16string_view text, WeatherReport& report) {
  size_t i = FindText(text, u"今天</font>", 0);
  if (i == kNotFound) return false;

  for (int d = 0; d < 6; ++d) {
    WeatherDay& day = report.days[d];
    size_t w = FindText(text, u"白天", i + 1);
    size_t b = FindText(text, u"</b>", Advance(w, 1));
    if (b == kNotFound) break;
    day.daytime.weather = InnerTextBefore(text, b, w);

    size_t n = FindText(text, u"夜间", b + 2);
    size_t b2 = FindText(text, u"</b>", Advance(n, 1));
    if (b2 == kNotFound) break;
    day.night.weather = InnerTextBefore(text, b2, n);

    size_t low = FindText(text, u"</font>", b2 + 2);
    if (low == kNotFound) break;
    day.night.tempLow = InnerTextBefore(text, low, b2);
    size_t high = FindText(text, u"</font>", low + 2);
    if (high == kNotFound) break;
    day.daytime.tempHigh = InnerTextBefore(text, high, low);

    size_t mark;
    std::u16string wind;
    if (d == 0) {
      mark = FindText(text, u"\")", high + 2);
      if (mark == kNotFound) break;
      wind = InnerTextBeforeQuote(text, mark, high);
    } else {
      mark = FindText(text, u"</i>", high + 2);
      if (mark == kNotFound) break;
      wind = InnerTextBefore(text, mark, high);
    }
    day.daytime.wind = wind;
    day.night.wind = wind;
    i = mark + 1;
  }

  size_t cur = FindText(text, u"今日生活指数", 0);
  if (cur == kNotFound) return false;
  for (size_t n = 0; n < kSecondSiteLifePairs.size(); ++n) {
    size_t h = FindText(text, u"</h4>", cur + 1);
    if (h == kNotFound) return false;
    size_t p = FindText(text, u"</p>", h + 2);
    if (p == kNotFound) return false;
    LifeIndexPair& pair = report.lifeIndex[kSecondSiteLifePairs[n]];
    pair.name = InnerTextBefore(text, h, cur);
    pair.value = InnerTextBefore(text, p, h);
    cur = p;
  }
  return true;
}
