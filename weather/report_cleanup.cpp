#include "weather/report_cleanup.h"

#include "platform/text_utils.h"
#include "weather/text_search.h"

namespace {

std::u16string Compact(const std::u16string& s) {
  return ReplaceText(ReplaceText(Trim(s), u"\r\n", u""), u" ", u"");
}

void NormaliseSlot(WeatherSlot& slot) {
  slot.weather = Trim(slot.weather);
  slot.extra = Trim(slot.extra);
  slot.wind = Compact(slot.wind);
  slot.tempLow = Compact(slot.tempLow);
  slot.tempHigh = Compact(slot.tempHigh);
}

}  // namespace

void ClearReport(WeatherReport& report) {
  report.city.clear();
  report.province.clear();
  report.fetchDate.clear();
  report.periods.fill(WeatherSlot{});
  report.days.fill(WeatherDay{});
  for (int j = 0; j < 9; ++j) report.lifeIndex[j] = LifeIndexPair{};
}

void NormaliseReport(WeatherReport& report) {
  report.city = Trim(report.city);
  report.province = Trim(report.province);
  report.fetchDate = Trim(report.fetchDate);
  for (LifeIndexPair& p : report.lifeIndex) {
    p.name = Trim(p.name);
    p.value = Trim(p.value);
  }
  for (WeatherSlot& s : report.periods) NormaliseSlot(s);
  for (WeatherDay& d : report.days) {
    NormaliseSlot(d.daytime);
    NormaliseSlot(d.night);
  }
}
