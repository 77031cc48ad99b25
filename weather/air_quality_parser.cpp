#include "weather/air_quality_parser.h"

#include "platform/text_utils.h"
#include "weather/text_search.h"

namespace {

constexpr std::u16string_view kValueCell = u"class=\"td td-3rd\">";   // 18 characters
constexpr std::u16string_view kNameLink = u"target=\"_blank\">";      // 16 characters
constexpr std::u16string_view kBlankLink = u"\"_blank\">";            // 9 characters

}  // namespace

std::u16string AirLevelName(std::u16string_view indexText) {
  long value = 0;
  for (char16_t c : indexText) {
    if (c < u'0' || c > u'9') break;
    if (value < 100000) value = value * 10 + (c - u'0');
  }
  if (value <= 50) return u"优";
  if (value <= 100) return u"良";
  if (value <= 150) return u"轻度污染";
  if (value <= 200) return u"中度污染";
  if (value <= 300) return u"重度污染";
  return u"严重污染";
}

bool ParseAirRankingFirst(std::u16string_view text, std::vector<AirQualityEntry>& entries) {
  entries.clear();
  size_t a = FindText(text, u">1<", 0);
  if (a == kNotFound) return false;
  // End bound: just past the last value cell.
  size_t b = a;
  for (;;) {
    size_t hit = FindText(text, kValueCell, b);
    if (hit == kNotFound) break;
    b = hit + 5;
  }
  size_t end = b + 13;

  while (a <= end) {
    size_t nameStart = Advance(FindText(text, kNameLink, a), kNameLink.size());
    size_t nameEnd = FindText(text, u"<", nameStart);
    if (nameEnd == kNotFound) break;
    size_t valueStart = Advance(FindText(text, kValueCell, nameEnd), kValueCell.size());
    size_t valueEnd = FindText(text, u"<", valueStart);
    if (valueEnd == kNotFound) break;
    AirQualityEntry entry;
    entry.city = Trim(TextBetween(text, nameStart, nameEnd));
    entry.index = Trim(TextBetween(text, valueStart, valueEnd));
    entry.level = AirLevelName(entry.index);
    entries.push_back(std::move(entry));
    if (valueEnd <= a) break;
    a = valueEnd;
  }
  return true;
}

bool ParseAirRankingSecond(std::u16string_view text, std::vector<AirQualityEntry>& entries) {
  entries.clear();
  size_t heading = FindText(text, u"全国重点城市空气质量指数排行榜", 0);
  if (heading == kNotFound) return false;
  size_t c = FindText(text, u"质量状况", heading + 1);
  if (c == kNotFound) return false;
  size_t listEnd = FindText(text, u"</ul>", c + 1);
  if (listEnd == kNotFound) listEnd = text.size();

  size_t from = c + 1;
  for (;;) {
    size_t link = FindText(text, kBlankLink, from);
    if (link == kNotFound || link > listEnd) break;
    size_t nameEnd = FindText(text, u"</a>", link + 1);
    if (nameEnd == kNotFound) break;
    size_t d = FindText(text, u"</span>", nameEnd + 2);
    size_t h = FindText(text, u"</span>", Advance(d, 1));
    if (h == kNotFound) break;
    size_t valueStart = d;
    for (size_t p = h - 1; p > d; --p) {
      if (text[p] == u'>') {
        valueStart = p + 1;
        break;
      }
    }
    AirQualityEntry entry;
    entry.city = TextBetween(text, link + kBlankLink.size(), nameEnd);
    entry.index = TextBetween(text, valueStart, h);
    entry.level = AirLevelName(entry.index);
    entries.push_back(std::move(entry));
    from = valueStart + 1;
  }
  return true;
}

void PickAirQuality(const std::vector<AirQualityEntry>& entries, std::u16string_view name,
                    AirQualityReport& report) {
  std::u16string withShi = std::u16string(name) + u"市";
  std::u16string withXian = std::u16string(name) + u"县";
  for (const AirQualityEntry& e : entries) {
    if (EqualsNoCase(e.city, name) || EqualsNoCase(e.city, withShi) ||
        EqualsNoCase(e.city, withXian)) {
      report = e;
    }
  }
}
