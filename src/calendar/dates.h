#pragma once
// Whole-day date arithmetic of the calendar. A date is a date value (days since
// 30 December 1899); the calendar works on whole days and ignores the time of day.
#include <cstdint>

#include "framework/format_settings.h"

namespace vsi::cal {

struct Ymd {
  int year = 0, month = 0, day = 0;
  bool operator==(const Ymd&) const = default;
};

bool IsLeapYear(int year);
// 28 ... 31; 0 for a month outside 1 ... 12.
int DaysInMonth(int month, int year);
bool IsValidDate(int year, int month, int day);

// Whole days since 30 December 1899; false (out untouched) when the three do not form a date
// of the years 1 ... 9999.
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
// Raises EConvertError on an impossible date.
TDateTime EncodeDate(int year, int month, int day);
inline TDateTime EncodeDate(const Ymd& d) { return EncodeDate(d.year, d.month, d.day); }
Ymd DecodeDate(TDateTime date);

// The whole day of a date value (the time of day dropped, rounding toward zero).
inline long WholeDay(TDateTime date) { return static_cast<long>(date); }
inline bool SameDay(TDateTime a, TDateTime b) { return WholeDay(a) == WholeDay(b); }

// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime date);

// The month before / after, carrying the year.
Ymd PrevMonth(int month, int year);
Ymd NextMonth(int month, int year);
// month + delta brought back into 1 ... 12 by carrying whole years; day stays.
Ymd AddMonths(int month, int year, int delta);

}  // namespace vsi::cal
