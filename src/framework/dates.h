#pragma once
// The one home of date arithmetic: the Gregorian calendar carried back before 1582, day
// numbers and date values. The month calendar, the process-wide date formatting and the
// performance-data clock all count their days here, so they cannot disagree.
#include <cstdint>

#include "platform/types.h"

namespace vsi {

// Days since 30 December 1899; the fraction is the time of day. For dates before that day the
// whole part counts back and the time of day still runs forward: -1.25 is 29 December 1899,
// 06:00.
using TDateTime = double;

namespace dates {

struct Ymd {
  int year = 0, month = 0, day = 0;
  bool operator==(const Ymd&) const = default;
};

bool IsLeapYear(int year);
// 28 ... 31; 0 for a month outside 1 ... 12.
int DaysInMonth(int month, int year);
// A real day of the years 1 ... 9999.
bool IsValidDate(int year, int month, int day);

// Days from 1 January of year 1 (day 0) to the given day, for any year from 1 on and a month
// of 1 ... 12; a day past the month's end counts on into the next.
int64_t DayNumber(int year, int month, int day);

// Whole days since 30 December 1899; false (out untouched) when the three do not form a date
// of the years 1 ... 9999.
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
// Raises EConvertError("Invalid date") on an impossible date.
TDateTime EncodeDate(int year, int month, int day);
inline TDateTime EncodeDate(const Ymd& d) { return EncodeDate(d.year, d.month, d.day); }
// The day of a date value; values before year 1 or after year 9999 give its first or last day.
Ymd DecodeDate(TDateTime date);

// The whole day of a date value (the time of day dropped, rounding toward zero).
inline long WholeDay(TDateTime date) { return static_cast<long>(date); }
inline bool SameDay(TDateTime a, TDateTime b) { return WholeDay(a) == WholeDay(b); }

// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime date);

// Day 1 of the month before / after, carrying the year.
Ymd PrevMonth(int month, int year);
Ymd NextMonth(int month, int year);
// Day 1 of month + delta, brought back into 1 ... 12 by carrying whole years.
Ymd AddMonths(int month, int year, int delta);

// Between the date value and broken-down time. A month outside 1 ... 12 and a day past the
// month's end carry on into the following ones; the day of the week is not read.
TDateTime EncodeDateTime(const SystemTime& t);
// With the day of the week (0 = Sunday); the time to the nearest millisecond.
SystemTime DecodeDateTime(TDateTime value);

}  // namespace dates
}  // namespace vsi
