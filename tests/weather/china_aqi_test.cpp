// China's AQI (HJ 633-2012): every breakpoint of the table, the special rules, and whole readings.
#include <gtest/gtest.h>

#include <vector>

#include "weather/china_aqi.h"

namespace {

struct TableRow {
  AqiRow row;
  std::vector<double> breakpoints;  // the concentrations of IAQI 0, 50, 100, ... as the table lists them
};

// The standard's table 1, written out again here (not taken from the code under test).
const TableRow kStandard[] = {
    {AqiRow::kSo2Day, {0, 50, 150, 475, 800, 1600, 2100, 2620}},
    {AqiRow::kSo2Hour, {0, 150, 500, 650, 800}},
    {AqiRow::kNo2Day, {0, 40, 80, 180, 280, 565, 750, 940}},
    {AqiRow::kNo2Hour, {0, 100, 200, 700, 1200, 2340, 3090, 3840}},
    {AqiRow::kPm10Day, {0, 50, 150, 250, 350, 420, 500, 600}},
    {AqiRow::kCoDay, {0, 2, 4, 14, 24, 36, 48, 60}},
    {AqiRow::kCoHour, {0, 5, 10, 35, 60, 90, 120, 150}},
    {AqiRow::kO3Hour, {0, 160, 200, 300, 400, 800, 1000, 1200}},
    {AqiRow::kO3EightHours, {0, 100, 160, 215, 265, 800}},
    {AqiRow::kPm25Day, {0, 35, 75, 115, 150, 250, 350, 500}},
};
constexpr int kIndex[] = {0, 50, 100, 150, 200, 300, 400, 500};

TEST(ChinaAqi, EveryBreakpointEdge) {
  for (const TableRow& t : kStandard) {
    for (size_t i = 0; i < t.breakpoints.size(); ++i) {
      double c = t.breakpoints[i];
      SCOPED_TRACE(testing::Message() << "row " << static_cast<int>(t.row) << " breakpoint " << c);
      EXPECT_EQ(IndividualAqi(t.row, c), kIndex[i]);  // exactly on it
      if (i > 0) {
        // Just below: the segment's upper end, reached from below (rounded up).
        EXPECT_EQ(IndividualAqi(t.row, c - 1e-4), kIndex[i]);
      }
      bool last = i + 1 == t.breakpoints.size();
      if (!last) {
        EXPECT_EQ(IndividualAqi(t.row, c + 1e-4), kIndex[i] + 1);  // into the next segment
      }
    }
  }
}

TEST(ChinaAqi, RowEndsAndBadValues) {
  EXPECT_EQ(IndividualAqi(AqiRow::kPm25Day, 501), 500);  // beyond the table: the highest index
  EXPECT_EQ(IndividualAqi(AqiRow::kCoHour, 1e6), 500);
  EXPECT_EQ(IndividualAqi(AqiRow::kSo2Hour, 800.01), -1);       // judged by the daily value instead
  EXPECT_EQ(IndividualAqi(AqiRow::kO3EightHours, 800.01), -1);  // judged by the hourly value instead
  EXPECT_EQ(IndividualAqi(AqiRow::kPm10Day, -1), -1);
  EXPECT_EQ(IndividualAqi(AqiRow::kPm10Day, NAN), -1);
  // Interior points, worked by hand: 80 µg/m³ PM2.5 is 100 + 50 * 5 / 40 = 106.25, rounded up.
  EXPECT_EQ(IndividualAqi(AqiRow::kPm25Day, 80), 107);
  EXPECT_EQ(IndividualAqi(AqiRow::kNo2Hour, 150), 75);
}

TEST(ChinaAqi, IndexPrimaryPollutantsAndLevels) {
  PollutantReadings r;
  EXPECT_EQ(ComputeChinaAqi(r).aqi, -1);  // nothing known
  EXPECT_EQ(ChinaAqiLevel(-1), u"");

  r.pm25Day = 30;  // 43
  r.pm10Day = 40;  // 40
  ChinaAqi clean = ComputeChinaAqi(r);
  EXPECT_EQ(clean.aqi, 43);
  EXPECT_TRUE(clean.primary.empty());  // no primary pollutant at 50 or below

  r.pm25Day = 80;       // 107
  r.coHour = 6000;      // 6 mg/m³: 60 (the source gives µg/m³)
  r.no2Hour = 150;      // 75
  ChinaAqi light = ComputeChinaAqi(r);
  EXPECT_EQ(light.aqi, 107);
  EXPECT_EQ(light.primary, std::vector<Pollutant>{Pollutant::kPm25});

  // SO2 above 800 in the hour: its daily average decides (200 → 100 + 50 * 50 / 325 → 108).
  r.so2Hour = 900;
  r.so2Day = 200;
  EXPECT_EQ(ComputeChinaAqi(r).aqi, 108);
  EXPECT_EQ(ComputeChinaAqi(r).primary, std::vector<Pollutant>{Pollutant::kSo2});
  r.so2Day = NAN;  // and without one SO2 has no index
  EXPECT_EQ(ComputeChinaAqi(r).aqi, 107);

  // O3: the larger of the hourly and the 8-hour index; above 800 the 8-hour value has none.
  r.o3Hour = 170;        // 63
  r.o3EightHours = 170;  // 100 + 50 * 10 / 55 → 110
  EXPECT_EQ(ComputeChinaAqi(r).aqi, 110);
  EXPECT_EQ(ComputeChinaAqi(r).primary, std::vector<Pollutant>{Pollutant::kO3});
  r.o3EightHours = 900;
  r.o3Hour = 850;  // 300 + 100 * 50 / 200 = 325
  EXPECT_EQ(ComputeChinaAqi(r).aqi, 325);

  // Equal largest indices are all primary.
  PollutantReadings tie;
  tie.pm25Day = 75;   // 100
  tie.pm10Day = 150;  // 100
  EXPECT_EQ(ComputeChinaAqi(tie).primary, (std::vector<Pollutant>{Pollutant::kPm25, Pollutant::kPm10}));

  const std::pair<int, std::u16string_view> levels[] = {
      {0, u"优"},         {50, u"优"},         {51, u"良"},         {100, u"良"},
      {101, u"轻度污染"}, {150, u"轻度污染"}, {151, u"中度污染"}, {200, u"中度污染"},
      {201, u"重度污染"}, {300, u"重度污染"}, {301, u"严重污染"}, {500, u"严重污染"}};
  for (const auto& [aqi, word] : levels) EXPECT_EQ(ChinaAqiLevel(aqi), word) << aqi;
  EXPECT_EQ(PollutantName(Pollutant::kPm25), u"PM2.5");
}

}  // namespace
