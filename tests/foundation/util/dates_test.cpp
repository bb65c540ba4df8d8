#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/core/datecalc.h"

TEST(ParseDateText, GermanDateTexts) {
  struct Case { const char* text; int32_t value; int day, month, year; char sep; };
  const Case cases[] = {
      {"24.12.2001", 20011224, 24, 12, 2001, '.'},
      {"24/12/01", 11224, 24, 12, 1, '/'},         // year 1, not 2001
      {"12.2001", 20011200, 0, 12, 2001, '.'},
      {"2001", 20010000, 0, 0, 2001, '.'},
      {"31.13.2000", 20000031, 31, 0, 2000, '.'},  // month out of range
      {"32.1.2000", 20000100, 0, 1, 2000, '.'},
      {"1.2.3.2001", 20010302, 2, 3, 2001, '.'},   // the leading 1 is not read
      {"24-12;2001", 20011224, 24, 12, 2001, '-'}, // leftmost separator
      {"am 5.3.2001 um", 20010305, 5, 3, 2001, '.'},
      {"12345", 23450000, 0, 0, 2345, '.'},        // a fifth year digit ends the scan
      {"1.123.2000", 20000000, 0, 0, 2000, '.'},   // a third month digit ends it: 23
      {"", -1, 0, 0, 0, '.'},
      {"kein Datum", -1, 0, 0, 0, '.'},
      {nullptr, -1, 0, 0, 0, '.'},
  };
  for (const Case& c : cases) {
    int d = 9, m = 9, y = 9;
    char sep = '?';
    EXPECT_EQ(ParseDateText(c.text, d, m, y, sep), c.value) << (c.text ? c.text : "null");
    EXPECT_EQ(d, c.day) << c.text;
    EXPECT_EQ(m, c.month) << c.text;
    EXPECT_EQ(y, c.year) << c.text;
    EXPECT_EQ(sep, c.sep) << c.text;
  }
  EXPECT_EQ(ParseDate("24.12.2001"), 20011224);
  int d = 0, m = 0, y = 0;
  EXPECT_TRUE(ParseDateParts("5.3.2001", d, m, y));
  EXPECT_EQ(d * 10000 + m * 100, 50300);
  EXPECT_EQ(y, 2001);
  EXPECT_FALSE(ParseDateParts("--", d, m, y));
}

TEST(SplitDate, ValidationAndRepair) {
  struct Case { int32_t date; bool valid; int day, month, year; };  // repaired parts
  const Case cases[] = {
      {20010315, true, 15, 3, 2001},
      {20000229, true, 29, 2, 2000},
      {20010229, false, 28, 2, 2001},  // day above the length becomes the length
      {19000229, false, 28, 2, 1900},
      {20010015, false, 15, 12, 2000}, // month 0 is December of the year before
      {20011515, false, 15, 12, 2001},
      {20010300, false, 1, 3, 2001},
      {20010431, false, 30, 4, 2001},
  };
  for (const Case& c : cases) {
    int d, m, y;
    EXPECT_EQ(SplitDate(c.date, d, m, y, true, true), c.valid) << c.date;
    EXPECT_EQ(d, c.day) << c.date;
    EXPECT_EQ(m, c.month) << c.date;
    EXPECT_EQ(y, c.year) << c.date;
    EXPECT_EQ(IsValidDate(c.date), c.valid) << c.date;
  }
  int d, m, y;
  EXPECT_TRUE(SplitDate(20011599, d, m, y, false, false));
  EXPECT_EQ(d, 99);
  EXPECT_EQ(m, 15);
  EXPECT_FALSE(SplitDate(20011599, d, m, y, true, false));
  EXPECT_EQ(m, 15);  // not repaired
}

TEST(DateCalc, MonthLengthsAndLeapYears) {
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2004));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(2001));
  const int lengths2001[] = {31, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31, 31};
  for (int m = 0; m <= 13; ++m) EXPECT_EQ(DaysInMonth(20010000 + m * 100 + 5), lengths2001[m]) << m;
  EXPECT_EQ(DaysInMonth(20000210), 29);
  EXPECT_EQ(DaysInMonthOf(2, 2000), 29);
  EXPECT_EQ(DaysInMonthOf(0, 0), 0);
}

TEST(DateCalc, SteppingByDaysMonthsYears) {
  struct Case { const char* what; int32_t got, want; };
  const Case cases[] = {
      {"next after 31.12.2000", NextDay(20001231), 20010101},
      {"next after 28.2.2000", NextDay(20000228), 20000229},
      {"next after 28.2.2001", NextDay(20010228), 20010301},
      {"next after 30.4.2001", NextDay(20010430), 20010501},
      {"next after 5.4.2001", NextDay(20010405), 20010406},
      {"previous of 1.3.2000", PreviousDay(20000301), 20000229},
      {"previous of 1.1.2001", PreviousDay(20010101), 20001231},
      {"previous of 10.5.2001", PreviousDay(20010510), 20010509},
      {"previous of an invalid date", PreviousDay(20011340), 0},
      {"31.1.2000 + 1 month", AddMonths(20000131, 1), 20000231},  // day kept
      {"15.11.2000 + 2 months", AddMonths(20001115, 2), 20010115},
      {"15.12.2000 + 12 months", AddMonths(20001215, 12), 20011215},
      {"15.3.2001 - 3 months", SubtractMonths(20010315, 3), 20001215},
      {"15.3.2001 - 14 months", SubtractMonths(20010315, 14), 20000115},
      {"15.3.2001 + -3 months", AddMonths(20010315, -3), 20001215},
      {"29.2.2000 + 1 year", AddYears(20000229, 1), 20010229},
      {"29.2.2000 - 1 year", SubtractYears(20000229, 1), 19990229},
      {"+ 0 days", AddDays(20010315, 0), 20010315},
      {"+ -1 days", AddDays(20010315, -1), 0},
      {"- -1 days", SubtractDays(20010315, -1), 0},
      {"+ 366 days", AddDays(20000101, 366), 20010101},
      {"- 61 days", SubtractDays(20000301, 61), 19991231},
      {"make 5.3.2001", MakeDate(5, 3, 2001, false), 20010305},
      {"make 40.14.2000 unnormalized", MakeDate(40, 14, 2000, false), 20001440},
      {"make 40.14.2000 normalized", MakeDate(40, 14, 2000, true), 20010312},
      {"make 0.12.2000 normalized", MakeDate(0, 12, 2000, true), 20001200},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(DateCalc, PeriodsAndMonthBounds) {
  struct Case { const char* what; int32_t got, want; };
  const Case cases[] = {
      {"units J", PeriodUnits('J'), 10000},
      {"units H", PeriodUnits('H'), 600},
      {"units V", PeriodUnits('V'), 300},
      {"units M", PeriodUnits('M'), 100},
      {"units E", PeriodUnits('E'), 0},
      {"units blank", PeriodUnits(' '), 0},
      {"last day of Feb 2000", LastDayOfMonth(20000210), 20000229},
      {"first of next month in Dec", FirstOfNextMonth(20011231), 20020101},
      {"first of next month", FirstOfNextMonth(20010315), 20010401},
      {"rounded day 14", MonthStartRounded(20010314), 20010301},
      {"rounded day 15", MonthStartRounded(20010315), 20010401},
      {"rounded day 20 Dec", MonthStartRounded(20011220), 20020101},
      {"next month at length, Jan", NextMonthAtLength(20010117), 20010231},
      {"next month at length, Feb", NextMonthAtLength(20010203), 20010328},
      {"next month at length, Dec", NextMonthAtLength(20011209), 20020131},
      {"1y2m3d, years first", AddPeriod(20000131, 10203, false), 20010403},
      {"1m3d, years first", AddPeriod(20000228, 103, false), 20000331},
      {"1m3d, days first", AddPeriod(20000228, 103, true), 20000402},
      {"negative period", AddPeriod(20000131, -1, false), 0},
      {"minus 1m1d, years first", SubtractPeriod(20010301, 101, false), 20010131},
      {"minus 1m1d, days first", SubtractPeriod(20010301, 101, true), 20010128},
      {"day difference", DayFieldDifference(20010305, 20010420), 15},
      {"months between", MonthsBetween(20001115, 20010203), 3},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(DateCalc, PeriodEnd) {
  struct Case { int32_t start; char letter; int32_t end, wantStart, wantEnd; };
  const Case cases[] = {
      {20010110, 'V', 20010520, 20010101, 20010630},
      {20010110, 'V', 20010331, 20010101, 20010331},  // first period covers it
      {20010120, 'M', 20010305, 20010201, 20010331},
      {20010110, 'J', 20040101, 20010101, 20041231},
      {20010110, 'E', 20010520, 20010110, 20010110},  // no unit: end = start
      {-1, 'V', 20010210, -1, 20010228},
      {20010120, 'V', -1, 20010201, -1},
      {-1, 'V', -1, -1, -1},
  };
  for (const Case& c : cases) {
    int32_t s = c.start, e = c.end;
    PeriodEnd(s, c.letter, e);
    EXPECT_EQ(s, c.wantStart) << c.start << c.letter << c.end;
    EXPECT_EQ(e, c.wantEnd) << c.start << c.letter << c.end;
  }
  // An end beyond the calendar stops after the last period of year 9999.
  int32_t s = 20010110, e = INT32_MAX;
  PeriodEnd(s, 'M', e);
  EXPECT_GT(e, 99991231);
  EXPECT_LT(e, 100010000);
}

TEST(FormatDate, LooseAndFixedForms) {
  struct Case { int32_t date; const char* want; };
  const Case loose[] = {
      {20010315, "15.3.2001"}, {20010300, "3.2001"}, {20010000, "2001"}, {315, "15.3."},
      {0, ""},                 {-5, ""},             {20011340, "2001"}, {20011232, "12.2001"},
      {100001231, ""},
  };
  for (const Case& c : loose) {
    char buf[kDateTextSize];
    FormatDate(c.date, buf);
    EXPECT_STREQ(buf, c.want) << c.date;
    string s;
    FormatDateString(c.date, s);
    EXPECT_EQ(s, c.want);
  }
  struct Fixed { int32_t date; bool pad, validate, repair; const char* want; };
  const Fixed fixed[] = {
      {20010305, true, true, false, "05.03.2001"},
      {20010305, false, true, false, "5.3.2001"},
      {10305, true, false, false, "05.03.0001"},
      {990305, true, false, false, "05.03.0099"},
      {123450305, true, false, false, "05.03.2345"},  // year modulo 10000
      {20010230, true, true, false, ""},              // invalid, not repaired
      {20010230, true, true, true, "28.02.2001"},
      {20010230, true, false, false, "30.02.2001"},
      {-1, true, false, false, ""},
  };
  for (const Fixed& c : fixed) {
    char buf[kDateTextSize];
    FormatDateFixed(c.date, buf, c.pad, c.validate, c.repair);
    EXPECT_STREQ(buf, c.want) << c.date;
  }
}

TEST(FormatDate, TodayAndNowHaveTheirShapes) {
  int d, m, y, h, mi, s;
  EXPECT_EQ(std::sscanf(TodayText(), "%d.%d.%d", &d, &m, &y), 3);
  EXPECT_GE(y, 2020);
  EXPECT_EQ(std::sscanf(NowText(), "%d.%d.%d, %d:%d:%d", &d, &m, &y, &h, &mi, &s), 6);
}
