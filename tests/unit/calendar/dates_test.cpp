// The one home of dates: the calendar's rules, and the format settings counting their days
// the same way (the performance data's clock is tried in tests/unit/probes).
#include "framework/dates.h"

#include <gtest/gtest.h>

#include "framework/format_settings.h"
#include "framework/object.h"

namespace vsi::dates {
namespace {

struct MonthLengthCase {
  const char* name;
  int month, year, days;
};

TEST(Dates, DaysInMonth) {
  const MonthLengthCase cases[] = {
      {"january", 1, 2005, 31},       {"april", 4, 2005, 30},         {"common february", 2, 2005, 28},
      {"leap february", 2, 2004, 29}, {"century february", 2, 1900, 28}, {"400-year february", 2, 2000, 29},
      {"december", 12, 2004, 31},     {"september", 9, 2024, 30},     {"month 0", 0, 2004, 0},
      {"month 13", 13, 2004, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(DaysInMonth(c.month, c.year), c.days) << c.name;
}

TEST(Dates, EncodeDecodeRoundTripAndWeekday) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
  EXPECT_EQ(EncodeDate(2004, 1, 21), 38007.0);
  // Every day of a few years decodes to what encoded it and weekdays advance by one.
  int prevDow = DayOfWeek(EncodeDate(1999, 12, 31));
  for (int y = 2000; y <= 2005; ++y)
    for (int m = 1; m <= 12; ++m)
      for (int d = 1; d <= DaysInMonth(m, y); ++d) {
        TDateTime v = EncodeDate(y, m, d);
        ASSERT_EQ(DecodeDate(v), (Ymd{y, m, d}));
        int dow = DayOfWeek(v);
        ASSERT_EQ(dow, prevDow % 7 + 1) << y << "-" << m << "-" << d;
        prevDow = dow;
      }
  EXPECT_EQ(DayOfWeek(EncodeDate(2004, 1, 1)), 5);  // Thursday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 6, 1)), 7);  // Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2004, 2, 1)), 1);  // Sunday
  TDateTime out = 123;
  EXPECT_FALSE(TryEncodeDate(2005, 2, 29, out));
  EXPECT_FALSE(TryEncodeDate(2004, 4, 31, out));
  EXPECT_EQ(out, 123);
  EXPECT_THROW(EncodeDate(2004, 13, 1), EConvertError);
  // The time of day does not change the day.
  EXPECT_EQ(DecodeDate(EncodeDate(2004, 3, 5) + 0.99), (Ymd{2004, 3, 5}));
  EXPECT_TRUE(SameDay(EncodeDate(2004, 3, 5) + 0.2, EncodeDate(2004, 3, 5) + 0.8));
}

TEST(Dates, AddMonthsCarriesYears) {
  EXPECT_EQ(AddMonths(12, 2004, 1), (Ymd{2005, 1, 1}));
  EXPECT_EQ(AddMonths(1, 2005, -1), (Ymd{2004, 12, 1}));
  EXPECT_EQ(AddMonths(11, 2004, 3), (Ymd{2005, 2, 1}));
  EXPECT_EQ(AddMonths(3, 2004, -15), (Ymd{2002, 12, 1}));
  EXPECT_EQ(AddMonths(6, 2004, 0), (Ymd{2004, 6, 1}));
}

TEST(Dates, DayNumbersFromYearOne) {
  EXPECT_EQ(DayNumber(1, 1, 1), 0);
  EXPECT_EQ(DayNumber(1899, 12, 30), 693593);
  EXPECT_EQ(DayNumber(1600, 3, 1), 584082);
  EXPECT_EQ(DayNumber(2004, 2, 30), DayNumber(2004, 3, 1)) << "a day past the month's end counts on";
  EXPECT_EQ(DayNumber(30827, 12, 31) - DayNumber(30827, 1, 1), 364);
}

TEST(Dates, ValuesBeforeAndAfterTheYearsGiveTheirEnds) {
  EXPECT_EQ(DecodeDate(EncodeDate(1, 1, 1)), (Ymd{1, 1, 1}));
  EXPECT_EQ(DecodeDate(EncodeDate(1, 1, 1) - 400), (Ymd{1, 1, 1}));
  EXPECT_EQ(DecodeDate(EncodeDate(9999, 12, 31)), (Ymd{9999, 12, 31}));
  EXPECT_EQ(DecodeDate(EncodeDate(9999, 12, 31) + 400), (Ymd{9999, 12, 31}));
  TDateTime out = 0;
  EXPECT_FALSE(TryEncodeDate(0, 12, 31, out));
  EXPECT_FALSE(TryEncodeDate(10000, 1, 1, out));
}

// The format settings count days here: a date value means the same day to both, on either
// side of 30 December 1899, and the time of day runs forward from that day's midnight.
struct DateTimeCase {
  const char* name;
  SystemTime time;
  TDateTime value;
};

TEST(Dates, FormatSettingsAgreeOnEveryDay) {
  const DateTimeCase cases[] = {
      {"the day zero", {1899, 12, 6, 30, 0, 0, 0, 0}, 0.0},
      {"six in the morning the day before", {1899, 12, 5, 29, 6, 0, 0, 0}, -1.25},
      {"noon, a year before", {1898, 12, 5, 30, 12, 0, 0, 0}, -365.5},
      {"year one", {1, 1, 1, 1, 0, 0, 0, 0}, -693593.0},
      {"the last day", {9999, 12, 5, 31, 18, 0, 0, 0}, 2958465.75},
      {"a leap day", {2000, 2, 2, 29, 0, 0, 0, 0}, 36585.0},
  };
  for (const auto& k : cases) {
    EXPECT_DOUBLE_EQ(EncodeDateTime(k.time), k.value) << k.name;
    SystemTime back = DecodeDateTime(k.value);
    EXPECT_EQ((Ymd{back.year, back.month, back.day}), (Ymd{k.time.year, k.time.month, k.time.day})) << k.name;
    EXPECT_EQ(back.hour, k.time.hour) << k.name;
    EXPECT_EQ(back.dayOfWeek, k.time.dayOfWeek) << k.name;
    EXPECT_EQ(DecodeDate(k.value), (Ymd{k.time.year, k.time.month, k.time.day})) << k.name;
    EXPECT_EQ(DayOfWeek(k.value), k.time.dayOfWeek + 1) << k.name;
  }
  // Every day of a few years, both ways.
  for (TDateTime d = EncodeDate(1999, 1, 1); d <= EncodeDate(2001, 12, 31); d += 1) {
    SystemTime t = DecodeDateTime(d + 0.5);
    ASSERT_EQ((Ymd{t.year, t.month, t.day}), DecodeDate(d));
    ASSERT_DOUBLE_EQ(EncodeDateTime(t), d + 0.5);
  }
}

}  // namespace
}  // namespace vsi::dates
