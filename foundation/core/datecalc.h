// Dates as one signed 32-bit YYYYMMDD value (year x 10000 + month x 100 +
// day), the form of dBase date fields and period settings, and periods in
// the same form read as a length (300 = three months). Stepping by months
// keeps the day as it is (31 January + 1 month = 31 February), as stored
// period settings expect. Portable: no Windows headers.
#pragma once
#include <cstdint>

#include "platform/core/cstring.h"

// Room for any text FormatDate and FormatDateFixed write.
constexpr int kDateTextSize = 32;

bool IsLeapYear(int year);
// Length of the date's month: February by the year, April, June, September
// and November 30, every other month value (0 and above 12 too) 31.
int DaysInMonth(int32_t date);
// DaysInMonth of day 0 of that month; 0 for month 0 of year 0.
int DaysInMonthOf(int month, int year);

// Splits a date. With `validate` the result says whether month is 1-12 and
// day 1 to the month's length; with `repair` an invalid date's parts are
// brought into range (the result stays false).
bool SplitDate(int32_t date, int& day, int& month, int& year, bool validate, bool repair);
bool IsValidDate(int32_t date);
// With `normalize` overflowing months and days carry over.
int32_t MakeDate(int day, int month, int year, bool normalize);

int32_t AddYears(int32_t date, int32_t n);
int32_t SubtractYears(int32_t date, int32_t n);
int32_t AddMonths(int32_t date, int32_t n);
int32_t SubtractMonths(int32_t date, int32_t n);
int32_t NextDay(int32_t date);
// 0 when the date is not valid.
int32_t PreviousDay(int32_t date);
// 0 for a negative n.
int32_t AddDays(int32_t date, int32_t n);
int32_t SubtractDays(int32_t date, int32_t n);
// 0 for a negative period; `daysFirst` applies days, months, years in this
// order, else years, months, days.
int32_t AddPeriod(int32_t date, int32_t period, bool daysFirst);
int32_t SubtractPeriod(int32_t date, int32_t period, bool daysFirst);

int32_t LastDayOfMonth(int32_t date);
int32_t FirstOfNextMonth(int32_t date);
// The 1st of the month for days up to 14, else the 1st of the next month.
int32_t MonthStartRounded(int32_t date);
// The next month with the day number of this month's length, unrepaired.
int32_t NextMonthAtLength(int32_t date);

// Period length of a unit letter: J year, H half year, V quarter, M month;
// anything else 0.
int32_t PeriodUnits(char letter);
// End of the run of periods from `start` that covers `end` (see the
// implementation); -1 marks a missing start or end.
void PeriodEnd(int32_t& start, char letter, int32_t& end);

int32_t DayFieldDifference(int32_t a, int32_t b);
int32_t MonthsBetween(int32_t a, int32_t b);

// German date texts ("24.12.2001", "12.2001", "24/12/01"): the value, or -1
// when the text has no digit. `separator` gets the leftmost separator.
int32_t ParseDateText(const char* text, int& day, int& month, int& year, char& separator);
int32_t ParseDate(const char* text);
bool ParseDateParts(const char* text, int& day, int& month, int& year);

// "15.3.2001": the parts that are set, without leading zeros. `buffer` holds
// kDateTextSize characters.
void FormatDate(int32_t date, char* buffer);
void FormatDateString(int32_t date, string& out);
// "05.03.2001" with `pad`; empty for -1 and for an invalid date when
// validating without repair.
void FormatDateFixed(int32_t date, char* buffer, bool pad, bool validate, bool repair);

// The local date ("%d.%d.%d") and date and time ("%d.%d.%d, %d:%d:%d"), in
// static buffers.
const char* TodayText();
const char* NowText();
