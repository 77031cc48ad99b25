#include "weather/forecast_parser.h"

#include "weather/text_search.h"

namespace {

// Value of a `"key":"value",` pair: the text between the quotes that precede the `",` after the key.
std::u16string KeyValue(std::u16string_view text, size_t key) {
  size_t end = FindText(text, u"\",", key);
  return InnerTextBeforeQuote(text, end, key);
}

bool HasMissingMark(const std::u16string& s) { return s.find(u'暂') != std::u16string::npos; }

// One 6-hour period starting at the table searched from `from`; pos ends on the last marker read.
bool ReadPeriod(std::u16string_view text, size_t from, WeatherSlot& slot, size_t& pos) {
  size_t table = FindText(text, u"<table", from);
  size_t tr = table;
  for (int i = 0; i < 3; ++i) tr = FindText(text, u"<tr", Advance(tr, 1));
  size_t cell = FindText(text, u"<td>", Advance(tr, 1));
  size_t a = FindText(text, u"</a>", Advance(cell, 1));
  if (a == kNotFound) return false;
  slot.weather = InnerTextBefore(text, a, cell);
  pos = a;

  tr = FindText(text, u"<tr", pos + 5);
  cell = FindText(text, u"<td", Advance(tr, 1));
  a = FindText(text, u"</a>", Advance(cell, 1));
  if (a == kNotFound) return false;
  slot.tempHigh = InnerTextBefore(text, a, cell);
  pos = a;

  a = FindText(text, u"</a>", pos + 5);
  if (a == kNotFound) return false;
  slot.tempLow = InnerTextBefore(text, a, pos + 4);
  pos = a;

  tr = FindText(text, u"<tr>", pos + 5);
  a = FindText(text, u"</a>", Advance(tr, 1));
  if (a == kNotFound) return false;
  slot.wind = InnerTextBefore(text, a, tr);
  pos = a;

  size_t tableEnd = FindText(text, u"</table>", pos + 5);
  size_t rain = FindText(text, u"降水量", pos + 5);
  if (rain != kNotFound && (tableEnd == kNotFound || rain < tableEnd)) {
    size_t span = FindText(text, u"</span>", rain);
    if (span == kNotFound) return false;
    slot.extra = TextBetween(text, rain, span);
    pos = span;
  } else {
    if (tableEnd == kNotFound) return false;
    pos = tableEnd;
  }
  return true;
}

// One half of a day starting at its heading (白天 or 夜间). isDaytime chooses where the
// temperature goes. pos ends on the last marker read.
bool ReadHalf(std::u16string_view text, size_t heading, WeatherSlot& slot, bool isDaytime, size_t& pos) {
  size_t cell = FindText(text, u"<td", heading + 1);
  cell = FindText(text, u"<td", Advance(cell, 1));
  size_t a = FindText(text, u"</a>", Advance(cell, 1));
  if (a == kNotFound) return false;
  slot.weather = InnerTextBefore(text, a, cell);

  cell = FindText(text, u"<td", a + 1);
  size_t strong = FindText(text, u"</strong", Advance(cell, 1));
  if (strong == kNotFound) return false;
  (isDaytime ? slot.tempHigh : slot.tempLow) = InnerTextBefore(text, strong, cell);

  cell = FindText(text, u"<td", strong + 1);
  a = FindText(text, u"</a", Advance(cell, 1));
  if (a == kNotFound) return false;
  slot.wind = Trim(InnerTextBefore(text, a, cell));

  cell = FindText(text, u"<td", a + 1);
  a = FindText(text, u"</a", Advance(cell, 1));
  if (a == kNotFound) return false;
  slot.wind += Trim(InnerTextBefore(text, a, cell));
  pos = a;
  return true;
}

}  // namespace

void ParseCurrentConditions(std::u16string_view text, WeatherReport& report) {
  report.currentTemperature.clear();
  report.currentWind.clear();

  size_t temp = FindText(text, u"\"temp\":", 0);
  if (temp != kNotFound) {
    std::u16string value = KeyValue(text, temp);
    if (!value.empty() && !HasMissingMark(value)) report.currentTemperature = value + u"℃";
  }
  size_t wd = FindText(text, u"\"WD\":", temp == kNotFound ? 0 : temp + 1);
  if (wd == kNotFound) return;
  report.currentWind = KeyValue(text, wd);
  if (report.currentWind.empty() || HasMissingMark(report.currentWind)) report.currentWind.clear();
  size_t ws = FindText(text, u"\"WS\":", wd + 1);
  if (ws != kNotFound) {
    report.currentWind += KeyValue(text, ws);
    if (HasMissingMark(report.currentWind)) report.currentWind.clear();
  }
}

bool ParseForecastPage(std::u16string_view text, WeatherReport& report) {
  // Four 6-hour periods, only when the page has them; a missing marker ends this part.
  size_t six = FindText(text, u"逐6小时", 0);
  if (six != kNotFound) {
    size_t pos = six;
    for (int k = 0; k < kPeriodCount; ++k) {
      if (!ReadPeriod(text, pos + 1, report.periods[k], pos)) break;
    }
  }

  // Seven days, each in its own table after the first one following the marker.
  size_t box = FindText(text, u"weatherYubaoBox", 0);
  if (box == kNotFound) return false;
  size_t c = FindText(text, u"<table", box);
  if (c == kNotFound) return false;
  size_t pos = c;
  for (int d = 0; d < kDayCount; ++d) {
    size_t table = FindText(text, u"<table", c + 1);
    if (table == kNotFound) return false;
    size_t m = table + 1;
    size_t tableEnd = FindText(text, u"/table", m);
    size_t day = FindText(text, u"白天", m);
    bool hasDaytime = day != kNotFound && (tableEnd == kNotFound || day <= tableEnd);
    WeatherDay& out = report.days[d];
    if (hasDaytime) {
      if (!ReadHalf(text, day, out.daytime, true, pos)) return false;
      if (d == kDayCount - 1) break;  // the last day's night half is not read
      size_t night = FindText(text, u"夜间", pos);
      if (night == kNotFound) return false;
      if (!ReadHalf(text, night, out.night, false, pos)) return false;
    } else {
      // Evening page: the day has only its night column.
      size_t night = FindText(text, u"夜间", m);
      if (night == kNotFound) return false;
      if (!ReadHalf(text, night, out.night, false, pos)) return false;
    }
    c = pos;
  }

  // Life index: nine <aside> entries after the heading, name in <b>, value after it.
  size_t cur = FindText(text, u"今日生活指数", pos + 1);
  if (cur == kNotFound) return false;
  for (int j = 0; j < 9; ++j) {
    size_t aside = FindText(text, u"<aside>", cur + 1);
    size_t b = FindText(text, u"</b>", Advance(aside, 1));
    if (b == kNotFound) return false;
    std::u16string name = InnerTextBefore(text, b, aside);
    size_t nameStart = b - name.size();
    size_t asideEnd = FindText(text, u"</aside>", b);
    if (asideEnd == kNotFound) return false;
    std::u16string value = InnerTextBefore(text, asideEnd, nameStart);
    report.lifeIndex[j].name = Trim(name);
    report.lifeIndex[j].value = Trim(value);
    cur = asideEnd - value.size();
  }
  return true;
}
