// Date rules and grid geometry of the month calendar.
#include <gtest/gtest.h>

#include <vector>

#include "calendar/calendar_layout.h"
#include "framework/dates.h"
#include "framework/object.h"

namespace vsi::cal {
using namespace dates;
namespace {

// February 2004 begins on a Sunday, so it walks c through every value as StartDay moves.
TEST(CalendarLayout, FirstDayOffsetForEveryStartDay) {
  // StartDay: 1 = Monday ... 7 = Sunday.
  const int expected[8] = {0, 6, 5, 4, 3, 2, 1, 0};
  for (int sd = 1; sd <= 7; ++sd) EXPECT_EQ(FirstDayOffset(2, 2004, sd), expected[sd]) << "StartDay " << sd;
  // Rule checked against the weekday of day 1 for many months: day 1 sits in the column
  // whose weekday it is.
  for (int y = 2003; y <= 2006; ++y)
    for (int m = 1; m <= 12; ++m)
      for (int sd = 1; sd <= 7; ++sd) {
        int c = FirstDayOffset(m, y, sd);
        ASSERT_GE(c, 0);
        ASSERT_LE(c, 6);
        // Column c+1 has weekday (sd + c) in Monday=1 numbering; DayOfWeek is Sunday=1.
        int mondayBased = (sd - 1 + c) % 7 + 1;
        int sundayBased = mondayBased % 7 + 1;
        ASSERT_EQ(DayOfWeek(EncodeDate(y, m, 1)), sundayBased) << y << "/" << m << " sd " << sd;
      }
}

TEST(CalendarLayout, CellsHoldPreviousCurrentAndNextMonth) {
  // January 2004 with Sunday first: c = 4, so cells 1..4 are 28..31 December 2003.
  CellDay first = DayOfCell(1, 1, 2004, 7);
  EXPECT_EQ(first.kind, CellDay::Previous);
  EXPECT_EQ(first.date, (Ymd{2003, 12, 28}));
  CellDay day1 = DayOfCell(5, 1, 2004, 7);
  EXPECT_EQ(day1.kind, CellDay::Current);
  EXPECT_EQ(day1.date, (Ymd{2004, 1, 1}));
  CellDay after = DayOfCell(36, 1, 2004, 7);
  EXPECT_EQ(after.kind, CellDay::Next);
  EXPECT_EQ(after.date, (Ymd{2004, 2, 1}));
  CellDay last = DayOfCell(42, 12, 2004, 7);
  EXPECT_EQ(last.kind, CellDay::Next);
  EXPECT_EQ(last.date, (Ymd{2005, 1, 8}));
}

struct WeekCase {
  const char* name;
  int month, year, startDay;
  YearStart ys;
  std::vector<int> weeks;
};

TEST(CalendarLayout, WeekNumbers) {
  YearStart defaults;
  YearStart april{1, 4, 1, 4, 1, 4};     // fiscal years from 1 April
  YearStart december{1, 12, 1, 12, 1, 12};  // the count starts in the December before
  const WeekCase cases[] = {
      {"January 2004", 1, 2004, 7, defaults, {1, 2, 3, 4, 5, 6}},
      {"December 2004", 12, 2004, 7, defaults, {49, 50, 51, 52, 1, 2}},
      {"January 2005", 1, 2005, 7, defaults, {1, 2, 3, 4, 5, 6}},
      {"June 2024", 6, 2024, 7, defaults, {22, 23, 24, 25, 26, 27}},
      // Monday first: rows end on Sunday. 4 January 2004 is a Sunday.
      {"January 2004 Monday first", 1, 2004, 1, defaults, {1, 2, 3, 4, 5, 6}},
      // 2 May 2004 ends row 1; the year counted from 1 April 2004: (31 + 1) div 7 + 1 = 5.
      {"May 2004 from April", 5, 2004, 7, april, {5, 6, 7, 8, 9, 10}},
      // Before 1 April the previous start (1 April 2003) applies: 3 January 2004 - 1 April 2003
      // = 277 days -> 40.
      {"January 2004 from April", 1, 2004, 7, april, {40, 41, 42, 43, 44, 45}},
      // Start 1 December 2003: 3 January 2004 is 33 days later -> 5.
      {"January 2004 from December", 1, 2004, 7, december, {5, 6, 7, 8, 9, 10}},
  };
  for (const auto& c : cases) {
    std::vector<int> got;
    for (int r = 1; r <= 6; ++r) got.push_back(WeekNumber(r, c.month, c.year, c.startDay, c.ys));
    EXPECT_EQ(got, c.weeks) << c.name;
  }
}

TEST(CalendarLayout, RowEndingOnYearStartIsWeekOne) {
  // 1 January 2005 is a Saturday: with Sunday first it ends the row, in December 2004's fifth
  // row and January 2005's first.
  EXPECT_EQ(WeekNumber(5, 12, 2004, 7, YearStart{}), 1);
  EXPECT_EQ(WeekNumber(1, 1, 2005, 7, YearStart{}), 1);
}

TEST(CalendarLayout, WeekStartDayPastMonthEndCountsAsLastDay) {
  // 31 February is not a date: the count starts on the last day of February.
  YearStart feb{31, 2, 31, 2, 31, 2};
  YearStart feb29{29, 2, 29, 2, 29, 2};
  EXPECT_EQ(WeekNumber(1, 3, 2004, 7, feb), WeekNumber(1, 3, 2004, 7, feb29));
}

TEST(CalendarLayout, WindowCalendarGeometry) {
  // 150 x 130, week numbers on, no today line, border 1.
  Geometry g = Geometry::Compute(150, 130, 1, true, false);
  EXPECT_EQ(g.dx, 17);
  EXPECT_EQ(g.dy, 17);
  EXPECT_EQ(g.wk, 17);
  EXPECT_EQ(g.t0, 16);
  for (int j = 1; j <= 6; ++j) {
    TRect c = g.DayCell(1, j);
    EXPECT_EQ(c.top, 17 * j + 14);
    EXPECT_EQ(c.bottom, 17 * j + 31);
  }
  EXPECT_EQ(g.DayCell(1, 6).bottom, 133);                     // sixth row cut off 3 px below
  EXPECT_EQ(g.DayCell(2, 3), (TRect{38, 65, 53, 82}));
  EXPECT_EQ(g.DayNameCell(1), (TRect{17, 11, 34, 34}));
  EXPECT_EQ(g.WeekHeadingCell(), (TRect{2, 11, 19, 34}));
  EXPECT_EQ(g.WeekNumberCell(2), (TRect{0, 48, 17, 65}));
  EXPECT_EQ(g.CellRect(2, 3), (TRect{34, 65, 53, 82}));
}

TEST(CalendarLayout, GeometryWithoutWeeksAndWithTodayLine) {
  Geometry g = Geometry::Compute(180, 180, 1, false, true);
  EXPECT_EQ(g.dx, (180 - 7) / 7);
  EXPECT_EQ(g.dy, (180 + 8) / 9);
  EXPECT_EQ(g.wk, 1);  // the border width
  // Narrower than its seven columns: no column width, and every point is the first cell.
  Geometry tiny = Geometry::Compute(5, 100, 0, false, false);
  EXPECT_EQ(tiny.dx, 0);
  int col = -1, row = -1;
  tiny.ColumnRowAt(100, 100, col, row);
  EXPECT_EQ(col, 0);
  EXPECT_EQ(row, 0);
}

TEST(CalendarLayout, ColumnRowClamping) {
  Geometry g = Geometry::Compute(150, 130, 1, true, false);
  struct Case {
    const char* name;
    int xPrime, y, column, row;
  } cases[] = {
      {"first cell", 1, 34, 0, 0},
      {"right of the seventh column", 500, 40, 6, 0},
      {"below the sixth row", 20, 1000, 1, 5},
      {"left of the grid", -200, 40, 0, 0},
      {"above the grid", 20, -50, 1, 0},
      {"inside", 17 * 3 + 2, 34 + 17 * 2 + 1, 3, 2},
  };
  for (const auto& c : cases) {
    int col = -1, row = -1;
    g.ColumnRowAt(c.xPrime, c.y, col, row);
    EXPECT_EQ(col, c.column) << c.name;
    EXPECT_EQ(row, c.row) << c.name;
  }
}

TEST(CalendarLayout, CaptionSpanAndCellOfDate) {
  Geometry g = Geometry::Compute(150, 130, 1, true, false);
  CaptionSpan s = ComputeCaption(g, 50, 24);
  EXPECT_EQ(s.b, (150 - 50 - 17) / 2);
  EXPECT_EQ(s.MonthEnd(), s.b + 26);
  EXPECT_EQ(s.End(), s.b + 50);
  int col = 0, row = 0;
  CellOfDate(EncodeDate(2004, 1, 1), 1, 2004, 7, col, row);  // c = 4
  EXPECT_EQ(col, 5);
  EXPECT_EQ(row, 1);
  CellOfDate(EncodeDate(2004, 1, 3), 1, 2004, 7, col, row);
  EXPECT_EQ(col, 7);
  EXPECT_EQ(row, 1);
  CellOfDate(EncodeDate(2004, 1, 31), 1, 2004, 7, col, row);
  EXPECT_EQ(col, 7);
  EXPECT_EQ(row, 5);
  CellOfDate(EncodeDate(2003, 12, 28), 1, 2004, 7, col, row);
  EXPECT_EQ(col, 1);
  EXPECT_EQ(row, 1);
}

}  // namespace
}  // namespace vsi::cal
