#include "calendar/solar_term_table.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

enum Term { kXiaoHan = 0, kLiChun = 2, kChunFen = 5, kQingMing = 6, kMangZhong = 10, kLiQiu = 14,
            kShuangJiang = 19, kDongZhi = 23 };

// Days since 1970-01-01 of a Gregorian date.
long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// Term n always falls in Gregorian month n / 2 + 1.
long TermDate(int n, int year) {
    return DaysFromCivil(year, n / 2 + 1, SolarTermTableDay(n, year));
}

constexpr double kUnixEpochJd = 2440587.5;
constexpr double kPi = 3.14159265358979323846;

// Low-precision apparent solar longitude in degrees (mean elements and equation of centre, good to
// about 0.01 degree), for a Julian day.
double ApproxSolarLongitude(double jd) {
    const double t = (jd - 2451545.0) / 36525.0;
    const double rad = kPi / 180.0;
    const double l0 = 280.46646 + 36000.76983 * t + 0.0003032 * t * t;
    const double m = (357.52911 + 35999.05029 * t - 0.0001537 * t * t) * rad;
    const double c = (1.914602 - 0.004817 * t - 0.000014 * t * t) * std::sin(m) +
                     (0.019993 - 0.000101 * t) * std::sin(2 * m) + 0.000289 * std::sin(3 * m);
    const double omega = (125.04 - 1934.136 * t) * rad;
    return l0 + c - 0.00569 - 0.00478 * std::sin(omega);
}

// Julian day (UTC+8, ignoring delta T) at which the Sun reaches term n's longitude in `year`.
double ApproxTermJd(int n, int year) {
    const double target = (285 + 15 * n) % 360;
    double jd = static_cast<double>(DaysFromCivil(year, n / 2 + 1, n % 2 ? 21 : 6)) + kUnixEpochJd;
    for (int i = 0; i < 8; ++i) {
        const double diff = std::remainder(target - ApproxSolarLongitude(jd), 360.0);
        jd += diff / 0.9856;
    }
    return jd + 8.0 / 24.0;
}

}  // namespace

// Published term days (China Standard Time) of recent years, including the two that a mean-year
// formula gets wrong (2026 芒种, 2023 霜降) and 2021 冬至, which came less than a minute before midnight.
TEST(SolarTermTable, MatchesPublishedDaysOfRecentYears) {
    struct Case { int year, term, month, day; };
    const Case cases[] = {
        {2026, kMangZhong, 6, 5},  {2023, kShuangJiang, 10, 24}, {2024, kLiChun, 2, 4},
        {2024, kChunFen, 3, 20},   {2025, kDongZhi, 12, 21},     {2022, kDongZhi, 12, 22},
        {2021, kLiQiu, 8, 7},      {2020, kQingMing, 4, 4},      {2021, kDongZhi, 12, 21},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.term / 2 + 1, c.month);
        EXPECT_EQ(SolarTermTableDay(c.term, c.year), c.day) << c.year << " term " << c.term;
    }
}

// First and last rows, and everything outside the table, which must read as "no data".
TEST(SolarTermTable, EdgesOfTheTable) {
    EXPECT_EQ(SolarTermTableDay(kXiaoHan, kSolarTermTableFirstYear), 6);
    EXPECT_EQ(SolarTermTableDay(kDongZhi, kSolarTermTableLastYear), 22);
    EXPECT_EQ(kSolarTermTableFirstYear, 1900);
    EXPECT_EQ(kSolarTermTableLastYear, 2100);
    for (int n : {0, 11, 23}) {
        EXPECT_EQ(SolarTermTableDay(n, 1899), 0);
        EXPECT_EQ(SolarTermTableDay(n, 2101), 0);
        EXPECT_EQ(SolarTermTableDay(n, -2024), 0);
    }
    for (int year : {1900, 2024, 2100}) {
        EXPECT_EQ(SolarTermTableDay(-1, year), 0);
        EXPECT_EQ(SolarTermTableDay(24, year), 0);
    }
}

// The Sun needs 14.7 to 15.7 days per 15 degrees, so consecutive terms (also across New Year) lie
// 14 to 16 calendar days apart; the first term of a month comes on the 3rd to 9th, the second on
// the 18th to 24th.
TEST(SolarTermTable, TermsAreInOrderAndInTheirPartOfTheMonth) {
    long previous = 0;
    for (int year = kSolarTermTableFirstYear; year <= kSolarTermTableLastYear; ++year) {
        for (int n = 0; n < 24; ++n) {
            const int day = SolarTermTableDay(n, year);
            if (n % 2 == 0) {
                EXPECT_TRUE(day >= 3 && day <= 9) << year << " term " << n << " on " << day;
            } else {
                EXPECT_TRUE(day >= 18 && day <= 24) << year << " term " << n << " on " << day;
            }
            const long date = TermDate(n, year);
            if (previous != 0) {
                EXPECT_GE(date - previous, 14) << year << " term " << n;
                EXPECT_LE(date - previous, 16) << year << " term " << n;
            }
            previous = date;
        }
    }
}

// Every entry against an independent low-precision solar theory (off by 20 minutes at most,
// delta T included): wherever that instant is more than half an hour from midnight, the day must
// be the same. This leaves out a few per cent of the terms and catches any other wrong digit.
TEST(SolarTermTable, AgreesWithLowPrecisionTheoryAwayFromMidnight) {
    int checked = 0;
    for (int year = kSolarTermTableFirstYear; year <= kSolarTermTableLastYear; ++year) {
        for (int n = 0; n < 24; ++n) {
            const double local = ApproxTermJd(n, year) + 0.5;  // days start at local midnight
            const double day = std::floor(local);
            if (std::fmin(local - day, day + 1 - local) < 0.5 / 24) continue;
            ++checked;
            EXPECT_EQ(TermDate(n, year), static_cast<long>(day - kUnixEpochJd - 0.5))
                << year << " term " << n;
        }
    }
    EXPECT_GT(checked, 4500);
}
