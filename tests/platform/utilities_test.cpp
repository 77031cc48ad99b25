#include "platform/utilities.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/memory_stream.h"
#include "tests/support/dates.h"
#include "tests/support/temp_dir.h"

using tvtest::Date;
using tvtest::TempDir;

TEST(DateText, ParsesByPositionAndRangeChecksLoosely) {
  SystemTime t;
  // The day is compared only against 1..31.
  ASSERT_TRUE(ParseDateText(std::string_view("2014-02-30"), t));
  EXPECT_EQ(FormatTimestampA(t), "2014-02-30 00:00:00:000");
  EXPECT_FALSE(ParseDateText(std::string_view("2014-13-01"), t));
  EXPECT_EQ(t.wYear + t.wMonth + t.wDay, 0);
  // Time parts out of range become 0.
  ASSERT_TRUE(ParseDateText(std::string_view("2014-05-01 25:61:00"), t));
  EXPECT_EQ(FormatTimestampA(t), "2014-05-01 00:00:00:000");
  ASSERT_TRUE(ParseDateText(u"2024-02-10 08:30:15:250", t));
  EXPECT_EQ(FormatTimestamp(t), u"2024-02-10 08:30:15:250");
  EXPECT_EQ(t.wDayOfWeek, 0);
  // Separators are not examined; too short, year 0 and day 0 fail.
  EXPECT_TRUE(ParseDateText(std::string_view("2024/02/10"), t));
  EXPECT_FALSE(ParseDateText(std::string_view("2024-02-1"), t));
  EXPECT_FALSE(ParseDateText(std::string_view("0000-02-10"), t));
  EXPECT_FALSE(ParseDateText(std::string_view("2024-02-00"), t));
  EXPECT_FALSE(ParseDateText(u"", t));
}

TEST(DateArithmetic, CountsAndMovesAcrossMonthAndYearEnds) {
  EXPECT_EQ(DaysBetween(Date(2012, 2, 28), Date(2012, 3, 1)), 2);
  EXPECT_EQ(DaysBetween(Date(2013, 2, 28), Date(2013, 3, 1)), 1);
  EXPECT_EQ(DaysBetween(Date(2012, 3, 1), Date(2012, 2, 28)), -2);
  EXPECT_EQ(DaysBetween(Date(2013, 3, 1), Date(2013, 2, 28)), -1);
  EXPECT_EQ(DaysBetween(Date(1999, 12, 31, 23), Date(2000, 1, 1, 1)), 1);  // time of day ignored
  EXPECT_EQ(DaysBetween(Date(1900, 1, 1), Date(2100, 1, 1)), 73049);
  EXPECT_EQ(DaysBetween(Date(2013, 2, 29), Date(2013, 3, 1)), 0);  // invalid date

  EXPECT_TRUE(IsValidDate(Date(2000, 2, 29)));
  EXPECT_FALSE(IsValidDate(Date(1900, 2, 29)));
  EXPECT_FALSE(IsValidDateTime(Date(2000, 1, 1, 24)));

  SystemTime t = Date(2023, 12, 31, 7);
  AddDays(t, 1);
  EXPECT_EQ(FormatDateA(t), "2024-01-01");
  AddDays(t, 59);
  EXPECT_EQ(FormatDateA(t), "2024-02-29");
  AddDays(t, -425);
  EXPECT_EQ(FormatDateA(t), "2022-12-31");
  EXPECT_EQ(t.wHour, 7);
  SystemTime bad = Date(2023, 2, 30);
  AddDays(bad, 1);
  EXPECT_EQ(FormatDateA(bad), "2023-02-30");
}

// A day's texts are written and read by one function each: every day of years 1 ... 9999 comes
// back from its "YYYY-MM-DD" text in both widths, and only that exact shape of a real day is read.
TEST(DayTexts, WrittenAndReadBackAtTheEdges) {
  for (Day day = Day::FromCivil(1, 1, 1); day <= Day::FromCivil(9999, 12, 31); day += 97) {
    const std::u16string wide = FormatDate(day);
    ASSERT_EQ(DayOfDateText(wide), day) << FormatDateA(day);
    ASSERT_EQ(DayOfDateText(std::string_view(FormatDateA(day))), day) << FormatDateA(day);
    ASSERT_EQ(DateIdText(day), ReplaceText(std::u16string_view(wide), u"-", u""));
  }
  EXPECT_EQ(FormatDateA(Day::FromCivil(987, 6, 5)), "0987-06-05");
  EXPECT_EQ(DateIdTextA(Day::FromCivil(2024, 2, 9)), "20240209");
  EXPECT_EQ(SystemTimeOf(Day::FromCivil(2024, 2, 11)).wDayOfWeek, 0);
  EXPECT_EQ(DayOfClock(Date(2024, 2, 10, 23, 59)), Day::FromCivil(2024, 2, 10));
  for (std::string_view refused : {"2024-02-30", "2024-2-10", "2024/02/10", " 2024-02-10", "2024-02-10 ",
                                   "+024-02-10", "0000-01-01", "2024-13-01", ""}) {
    EXPECT_FALSE(DayOfDateText(refused).has_value()) << refused;
  }
  EXPECT_EQ(DayInDateText(u"休 2025-10-01,2025-10-02", 13), Day::FromCivil(2025, 10, 2));
  EXPECT_FALSE(DayInDateText(u"2025-10-0", 0).has_value());

  EXPECT_EQ(DecimalValue(std::u16string_view(u"0042"), 4), 42);
  EXPECT_EQ(DecimalValue(std::string_view("999999999999999999"), 18), 999999999999999999LL);
  for (std::u16string_view refused : {u"", u"12345", u"-1", u"1 ", u"１"})
    EXPECT_FALSE(DecimalValue(refused, 4).has_value());
  EXPECT_FALSE(DecimalValue(std::string_view("9999999999999999999"), 30).has_value()) << "over 18 digits";
}

TEST(TextRoutines, HexTrimReplaceIntegersGuid) {
  EXPECT_EQ(HexText(std::string_view("\x0A\xFF", 2)), u"0AFF");
  EXPECT_EQ(HexTextA(std::string_view("\x00\x7f", 2)), "007F");
  EXPECT_EQ(HexText({}), u"");
  EXPECT_EQ(TrimText(std::u16string_view(u" \t\r\n晴 \x01")), u"晴");
  EXPECT_EQ(TrimText(std::string_view("   ")), "");
  EXPECT_EQ(ReplaceText(std::u16string_view(u"a--b--"), u"--", u"-"), u"a-b-");
  EXPECT_EQ(ReplaceText(std::string_view("abc"), "", "x"), "abc");
  EXPECT_EQ(IntToText(-2147483648LL), u"-2147483648");
  EXPECT_EQ(IntToTextA(0), "0");

  std::u16string a = MakeGuidText(), b = MakeGuidText();
  ASSERT_EQ(a.size(), 38u);
  EXPECT_NE(a, b);
  EXPECT_EQ(a[0], u'{');
  EXPECT_EQ(a[37], u'}');
  for (size_t i : {9u, 14u, 19u, 24u}) EXPECT_EQ(a[i], u'-');
  for (char16_t c : a) EXPECT_TRUE(c == u'{' || c == u'}' || c == u'-' || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'));
}

TEST(CommandLine, SplitsOnBlanksOutsideQuotes) {
  auto tokens = CommandLineTokens(u"\"C:\\Program Files\\tavrino.exe\"  -noshow a\"b c\"d \"\"");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[0], u"C:\\Program Files\\tavrino.exe");
  EXPECT_EQ(tokens[1], u"-noshow");
  EXPECT_EQ(tokens[2], u"ab cd");
  EXPECT_TRUE(CommandLineTokens(u"   ").empty());
  EXPECT_FALSE(ProgramCommandLine().empty());
}

TEST(Files, DirectoriesTextFilesAndTheProgramsPlace) {
  TempDir temp;
  std::u16string deep = temp.Dir() + u"a" + kPathSeparator + u"目录" + kPathSeparator + u"c" + kPathSeparator;
  EXPECT_TRUE(CreateDirectoryLevels(deep));
  EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(deep)));
  EXPECT_TRUE(CreateDirectoryLevels(deep));  // already there

  std::u16string file = deep + u"t.txt";
  EXPECT_FALSE(FileExists(file));
  EXPECT_EQ(ReadTextFile(file), "");
  ASSERT_TRUE(WriteWholeFile(file, "\xEF\xBB\xBFplain"));
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(deep));
  EXPECT_EQ(ReadTextFile(file), "plain");
  ASSERT_TRUE(WriteWholeFile(file, std::string("\xFF\xFE" "A\0B\0", 6)));
  EXPECT_EQ(ReadTextFile(file), "AB");
  ASSERT_TRUE(WriteWholeFile(file, "raw\xC9\xCF"));
  EXPECT_EQ(ReadTextFile(file), "raw\xC9\xCF");
  // A file in the way of a level is a failure, not a crash.
  EXPECT_FALSE(CreateDirectoryLevels(file + kPathSeparator + u"x"));

  std::u16string exe = ExecutablePath();
  std::u16string dir = ProgramDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), kPathSeparator);
  EXPECT_EQ(dir + ExecutableFileName(), exe);
  EXPECT_TRUE(FileExists(exe));
  EXPECT_NE(ExecutableFileName().find(u"platform_tests"), std::u16string::npos);
  EXPECT_EQ(FileVersionText(file), u"0.0.0.0");
#ifdef _WIN32
  // A system library carries version information: four numbers, not all zero.
  std::u16string version = FileVersionText(u"C:\\windows\\system32\\kernel32.dll");
  EXPECT_NE(version, u"0.0.0.0");
  EXPECT_EQ(std::count(version.begin(), version.end(), u'.'), 3);
#endif
  EXPECT_FALSE(ComputerName().empty());
  EXPECT_LE(ComputerName().size(), 15u);
}

TEST(MemoryStream, DoublesFromTheInitialCapacity) {
  MemoryStream stream(1024);
  EXPECT_EQ(stream.Capacity(), 0);
  EXPECT_FALSE(stream.Write(0, "x"));
  std::string data(3000, 'q');
  data[2999] = 'z';
  ASSERT_TRUE(stream.Write(3000, data.data()));
  EXPECT_EQ(stream.Capacity(), 4096);
  EXPECT_EQ(stream.Size(), 3000);
  EXPECT_EQ(stream.Position(), 3000);

  char out[4000];
  EXPECT_EQ(stream.Read(out, 10), 0);  // at the end
  stream.Seek(2990);
  EXPECT_EQ(stream.Read(out, 4000), 10);
  EXPECT_EQ(out[9], 'z');
  stream.Seek(10);
  ASSERT_TRUE(stream.Write(5, "hello"));
  EXPECT_EQ(stream.Size(), 3000);  // overwrote inside, did not grow
  stream.Seek(10);
  EXPECT_EQ(stream.Read(out, 5), 5);
  EXPECT_EQ(std::string(out, 5), "hello");
}
