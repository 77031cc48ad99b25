#pragma once
// Day of month (1 ... 31, China Standard Time) on which solar term n (0 = 小寒 ... 23 = 冬至)
// falls in Gregorian year `year`; 0 outside the table's years.
int SolarTermTableDay(int n, int year);
constexpr int kSolarTermTableFirstYear = 1900;
constexpr int kSolarTermTableLastYear = 2100;
