#include "framework/dates.h"

#include <algorithm>
#include <cmath>

#include "framework/object.h"

namespace vsi::dates {

namespace {
constexpr int64_t kDay18991230 = 693593;  // DayNumber(1899, 12, 30)
constexpr int64_t kFirstDay = -kDay18991230;        // 1 January 1, as a date value
constexpr int64_t kLastDay = 3652058 - kDay18991230;  // 31 December 9999
const int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
const int kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int month, int year) {
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeapYear(year)) return 29;
  return kMonthDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(month, year);
}

int64_t DayNumber(int year, int month, int day) {
  const int64_t y = year - 1;
  return y * 365 + y / 4 - y / 100 + y / 400 + kDaysBefore[month - 1] + (month > 2 && IsLeapYear(year)) + day - 1;
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out) {
  if (!IsValidDate(year, month, day)) return false;
  out = static_cast<TDateTime>(DayNumber(year, month, day) - kDay18991230);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime d;
  if (!TryEncodeDate(year, month, day, d)) throw EConvertError("Invalid date");
  return d;
}

Ymd DecodeDate(TDateTime date) {
  int64_t days = std::clamp<int64_t>(WholeDay(date), kFirstDay, kLastDay) + kDay18991230;
  int64_t n400 = days / 146097;
  days %= 146097;
  int64_t n100 = std::min<int64_t>(days / 36524, 3);  // the last day of a 400-year cycle
  days -= n100 * 36524;
  int64_t n4 = days / 1461;
  days %= 1461;
  int64_t n1 = std::min<int64_t>(days / 365, 3);  // the last day of a leap year
  days -= n1 * 365;
  Ymd r;
  r.year = static_cast<int>(1 + n400 * 400 + n100 * 100 + n4 * 4 + n1);
  r.month = 1;
  while (days >= DaysInMonth(r.month, r.year)) {
    days -= DaysInMonth(r.month, r.year);
    ++r.month;
  }
  r.day = static_cast<int>(days + 1);
  return r;
}

int DayOfWeek(TDateTime date) {
  // 30 December 1899 was a Saturday (7).
  long d = (WholeDay(date) + 6) % 7;
  if (d < 0) d += 7;
  return static_cast<int>(d) + 1;
}

Ymd PrevMonth(int month, int year) { return month <= 1 ? Ymd{year - 1, 12, 1} : Ymd{year, month - 1, 1}; }
Ymd NextMonth(int month, int year) { return month >= 12 ? Ymd{year + 1, 1, 1} : Ymd{year, month + 1, 1}; }

Ymd AddMonths(int month, int year, int delta) {
  long m0 = static_cast<long>(year) * 12 + (month - 1) + delta;
  long y = m0 >= 0 ? m0 / 12 : (m0 - 11) / 12;
  return Ymd{static_cast<int>(y), static_cast<int>(m0 - y * 12) + 1, 1};
}

TDateTime EncodeDateTime(const SystemTime& t) {
  // A month outside 1 ... 12 carries into the years, as the day past a month's end does.
  Ymd m = AddMonths(t.month, t.year, 0);
  double date = static_cast<double>(DayNumber(m.year, m.month, t.day) - DayNumber(1899, 12, 30));
  double time = (t.hour * 3600000.0 + t.minute * 60000.0 + t.second * 1000.0 + t.milliseconds) / 86400000.0;
  return date >= 0 ? date + time : date - time;
}

SystemTime DecodeDateTime(TDateTime value) {
  // The whole part is the day, counted either way from 30 December 1899; the time of day
  // always runs forward from its midnight (EncodeDateTime's convention). Flooring a negative
  // value here once gave the day before with the time mirrored.
  SystemTime t;
  double whole = std::trunc(value);
  long ms = std::lround(std::fabs(value - whole) * 86400000.0);
  if (ms >= 86400000) {
    ms -= 86400000;
    whole += 1;
  }
  Ymd d = DecodeDate(whole);
  t.dayOfWeek = static_cast<uint16_t>(DayOfWeek(whole) - 1);  // 0 = Sunday
  t.year = static_cast<uint16_t>(d.year);
  t.month = static_cast<uint16_t>(d.month);
  t.day = static_cast<uint16_t>(d.day);
  t.hour = static_cast<uint16_t>(ms / 3600000);
  t.minute = static_cast<uint16_t>(ms / 60000 % 60);
  t.second = static_cast<uint16_t>(ms / 1000 % 60);
  t.milliseconds = static_cast<uint16_t>(ms % 1000);
  return t;
}

}  // namespace vsi::dates
