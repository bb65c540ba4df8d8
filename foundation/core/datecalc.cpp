#include "foundation/core/datecalc.h"

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {
// Dates are plain integers; arithmetic far outside the calendar wraps
// instead of overflowing.
int32_t Wrap(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }
int32_t Compose(int64_t year, int64_t month, int64_t day) { return Wrap(year * 10000 + month * 100 + day); }

void Parts(int32_t date, int& day, int& month, int& year) {
  year = date / 10000;
  month = (date - year * 10000) / 100;
  day = date % 100;
}

constexpr int32_t kLastDate = 99991231;
}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int32_t date) {
  int d, m, y;
  Parts(date, d, m, y);
  switch (m) {
    case 2: return IsLeapYear(y) ? 29 : 28;
    case 4: case 6: case 9: case 11: return 30;
    default: return 31;
  }
}

int DaysInMonthOf(int month, int year) {
  const int32_t date = Compose(year, month, 0);
  return date == 0 ? 0 : DaysInMonth(date);
}

bool SplitDate(int32_t date, int& day, int& month, int& year, bool validate, bool repair) {
  Parts(date, day, month, year);
  if (!validate) return true;
  const int length = DaysInMonth(date);
  if (month >= 1 && month <= 12 && day != 0 && day <= length) return true;
  if (repair) {
    if (month == 0) {
      month = 12;
      --year;
    } else if (month > 12) {
      month = 12;
    }
    if (day == 0)
      day = 1;
    else if (day > length)
      day = length;
  }
  return false;
}

bool IsValidDate(int32_t date) {
  int d, m, y;
  return SplitDate(date, d, m, y, true, true);
}

int32_t MakeDate(int day, int month, int year, bool normalize) {
  if (!normalize) return Compose(year, month, day);
  return AddDays(AddMonths(Compose(year, 0, 0), month), day);
}

int32_t AddYears(int32_t date, int32_t n) { return Wrap(int64_t{date} + int64_t{n} * 10000); }
int32_t SubtractYears(int32_t date, int32_t n) { return Wrap(int64_t{date} - int64_t{n} * 10000); }

int32_t AddMonths(int32_t date, int32_t n) {
  // Adding a negative count would leave a negative month behind.
  if (n < 0) return SubtractMonths(date, -int64_t{n} > INT32_MAX ? INT32_MAX : -n);
  int d, m, y;
  Parts(date, d, m, y);
  const int64_t total = int64_t{m} + n;
  int64_t year = y + total / 12, month = total % 12;
  if (month == 0) {
    month = 12;
    --year;
  }
  return Compose(year, month, d);
}

int32_t SubtractMonths(int32_t date, int32_t n) {
  int d, m, y;
  Parts(date, d, m, y);
  const int64_t total = int64_t{y} * 12 + m - n;
  int64_t year = total / 12, month = total % 12;
  if (month == 0) {
    month = 12;
    --year;
  }
  return Compose(year, month, d);
}

int32_t NextDay(int32_t date) {
  int d, m, y;
  Parts(date, d, m, y);
  if (d < 28 || DaysInMonth(date) > d) return Compose(y, m, int64_t{d} + 1);
  if (m == 12) return Compose(int64_t{y} + 1, 1, 1);
  return Compose(y, int64_t{m} + 1, 1);
}

int32_t PreviousDay(int32_t date) {
  int d, m, y;
  if (!SplitDate(date, d, m, y, true, false)) return 0;
  if (d > 1) return Compose(y, m, d - 1);
  if (m > 1) return Compose(y, m - 1, DaysInMonthOf(m - 1, y));
  return Compose(int64_t{y} - 1, 12, 31);
}

int32_t AddDays(int32_t date, int32_t n) {
  if (n < 0) return 0;
  for (int32_t i = 0; i < n; ++i) date = NextDay(date);
  return date;
}

int32_t SubtractDays(int32_t date, int32_t n) {
  if (n < 0) return 0;
  for (int32_t i = 0; i < n; ++i) date = PreviousDay(date);
  return date;
}

namespace {
int32_t ApplyPeriod(int32_t date, int32_t period, bool daysFirst, bool add) {
  if (period < 0) return 0;
  int days, months, years;
  Parts(period, days, months, years);
  auto Y = [&](int32_t v) { return add ? AddYears(v, years) : SubtractYears(v, years); };
  auto M = [&](int32_t v) { return add ? AddMonths(v, months) : SubtractMonths(v, months); };
  auto D = [&](int32_t v) { return add ? AddDays(v, days) : SubtractDays(v, days); };
  return daysFirst ? Y(M(D(date))) : D(M(Y(date)));
}
}  // namespace

int32_t AddPeriod(int32_t date, int32_t period, bool daysFirst) {
  return ApplyPeriod(date, period, daysFirst, true);
}
int32_t SubtractPeriod(int32_t date, int32_t period, bool daysFirst) {
  return ApplyPeriod(date, period, daysFirst, false);
}

int32_t LastDayOfMonth(int32_t date) {
  int d, m, y;
  Parts(date, d, m, y);
  return Compose(y, m, DaysInMonth(date));
}

int32_t FirstOfNextMonth(int32_t date) {
  int d, m, y;
  Parts(date, d, m, y);
  if (m == 12) return Compose(int64_t{y} + 1, 1, 1);
  return Compose(y, int64_t{m} + 1, 1);
}

int32_t MonthStartRounded(int32_t date) {
  int d, m, y;
  Parts(date, d, m, y);
  if (d >= 15) return FirstOfNextMonth(date);
  return Compose(y, m, 1);
}

int32_t NextMonthAtLength(int32_t date) {
  return Wrap(int64_t{FirstOfNextMonth(date)} + DaysInMonth(date) - 1);
}

int32_t PeriodUnits(char letter) {
  switch (letter) {
    case 'J': return 10000;
    case 'H': return 600;
    case 'V': return 300;
    case 'M': return 100;
    default: return 0;
  }
}

void PeriodEnd(int32_t& start, char letter, int32_t& end) {
  if (start == -1 && end == -1) return;
  if (start == -1) {
    end = LastDayOfMonth(end);
    return;
  }
  if (end == -1) {
    start = MonthStartRounded(start);
    return;
  }
  const int32_t units = PeriodUnits(letter);
  if (units == 0) {
    end = start;
    return;
  }
  start = MonthStartRounded(start);
  int32_t e = SubtractDays(AddPeriod(start, units, false), 1);
  // An end beyond the calendar would never be reached.
  while (e < end && e <= kLastDate) e = SubtractDays(AddPeriod(FirstOfNextMonth(e), units, false), 1);
  end = e;
}

int32_t DayFieldDifference(int32_t a, int32_t b) { return b % 100 - a % 100; }

int32_t MonthsBetween(int32_t a, int32_t b) {
  int ad, am, ay, bd, bm, by;
  Parts(a, ad, am, ay);
  Parts(b, bd, bm, by);
  return Wrap((int64_t{by} - ay) * 12 + bm - am);
}

int32_t ParseDateText(const char* text, int& day, int& month, int& year, char& separator) {
  day = month = year = 0;
  separator = '.';
  // Groups in reading order: year, month, day; digits gathered backwards.
  char groups[3][6] = {};
  int lengths[3] = {};
  int group = 0;
  bool anyDigit = false;
  const size_t n = text ? std::strlen(text) : 0;
  for (size_t i = n; i-- > 0;) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      if (group >= 3 || lengths[group] >= (group == 0 ? 4 : 2)) break;
      groups[group][lengths[group]++] = c;
      anyDigit = true;
    } else if (std::strchr(",./-;", c)) {
      separator = c;
      ++group;
    }
  }
  if (!anyDigit) return -1;
  int values[3] = {};
  for (int g = 0; g < 3; ++g)
    for (int k = lengths[g]; k-- > 0;) values[g] = values[g] * 10 + (groups[g][k] - '0');
  year = values[0];
  month = values[1] >= 1 && values[1] <= 12 ? values[1] : 0;
  day = values[2] >= 1 && values[2] <= 31 ? values[2] : 0;
  if (year < 0 || year > 9999) return -1;
  return Compose(year, month, day);
}

int32_t ParseDate(const char* text) {
  int d, m, y;
  char sep;
  return ParseDateText(text, d, m, y, sep);
}

bool ParseDateParts(const char* text, int& day, int& month, int& year) {
  const int32_t value = ParseDate(text);
  if (value == -1) return false;
  return SplitDate(value, day, month, year, false, false);
}

void FormatDate(int32_t date, char* buffer) {
  int d, m, y;
  Parts(date < 0 ? 0 : date, d, m, y);
  if (d > 31) d = 0;
  if (m > 12) m = d = 0;
  if (y > 9999) y = m = d = 0;
  int len = 0;
  buffer[0] = '\0';
  if (d > 0) len += std::snprintf(buffer + len, kDateTextSize - len, "%d.", d);
  if (m > 0) len += std::snprintf(buffer + len, kDateTextSize - len, "%d.", m);
  if (y >= 1) std::snprintf(buffer + len, kDateTextSize - len, "%d", y);
}

void FormatDateString(int32_t date, string& out) {
  char buffer[kDateTextSize];
  FormatDate(date, buffer);
  out = string(buffer);
}

void FormatDateFixed(int32_t date, char* buffer, bool pad, bool validate, bool repair) {
  buffer[0] = '\0';
  if (date == -1) return;
  int d, m, y;
  if (!SplitDate(date, d, m, y, validate, repair) && validate && !repair) return;
  if (!pad) {
    std::snprintf(buffer, kDateTextSize, "%d.%d.%d", d, m, y);
    return;
  }
  if (y > 9999) y %= 10000;
  const char* yearZeros = y < 10 ? "000" : y < 100 ? "00" : y < 1000 ? "0" : "";
  std::snprintf(buffer, kDateTextSize, "%s%d.%s%d.%s%d", d < 10 ? "0" : "", d, m < 10 ? "0" : "", m,
                yearZeros, y);
}

namespace {
std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return tm;
}
}  // namespace

const char* TodayText() {
  static char buffer[kDateTextSize];
  const std::tm t = LocalNow();
  std::snprintf(buffer, sizeof buffer, "%d.%d.%d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900);
  return buffer;
}

const char* NowText() {
  static char buffer[2 * kDateTextSize];
  const std::tm t = LocalNow();
  std::snprintf(buffer, sizeof buffer, "%d.%d.%d, %d:%d:%d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900,
                t.tm_hour, t.tm_min, t.tm_sec);
  return buffer;
}
