// Date rules, grid geometry and the hit-test of the month calendar.
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

// The window's calendar: 150 x 130, week numbers on, border 1, all arrows. Texts measure
// `px` pixels a character in the caption's font and 13 pixels high.
LayoutInput WindowInput(const std::string& caption, int month, int year, int startDay = 7, int px = 6) {
  LayoutInput in;
  in.width = 150;
  in.height = 130;
  in.borderWidth = 1;
  in.showWeeks = true;
  in.month = month;
  in.year = year;
  in.startDay = startDay;
  in.caption = caption;
  in.captionWidth = [px](const std::string& s) { return static_cast<int>(s.size()) * px; };
  in.yearWidth = 5 * px;
  in.captionHeight = 13;
  in.dayNameHeight = 13;
  return in;
}

TEST(CalendarLayout, WindowCalendarGeometry) {
  Geometry g = Geometry::Compute(WindowInput("Mar 2004", 3, 2004));
  EXPECT_EQ(g.dx, 17);
  EXPECT_EQ(g.dy, 17);
  EXPECT_EQ(g.wk, 17);
  EXPECT_EQ(g.t0, 16);
  for (int j = 1; j <= 6; ++j) {
    TRect c = g.DayCell(1, j);
    EXPECT_EQ(c.top, 17 * j + 14);
    EXPECT_EQ(c.bottom, 17 * j + 31);
  }
  EXPECT_EQ(g.DayCell(1, 6).bottom, 133);  // sixth row cut off 3 px below
  EXPECT_EQ(g.DayCell(2, 3), (TRect{38, 65, 53, 82}));
  EXPECT_EQ(g.DayNameCell(1), (TRect{17, 11, 34, 34}));
  EXPECT_EQ(g.WeekHeadingCell(), (TRect{2, 11, 19, 34}));
  EXPECT_EQ(g.WeekNumberCell(2), (TRect{0, 48, 17, 65}));
  EXPECT_EQ(g.CellRect(2, 3), (TRect{34, 65, 53, 82}));
  EXPECT_EQ(g.TodayFrame(1, 4), (TRect{21, 82, 36, 98}));
  EXPECT_EQ(g.captionBar, (TRect{1, 1, 149, 15}));
  EXPECT_EQ(g.dayNameLineY, 26);
  EXPECT_EQ(g.gradientBandY, 26);
}

TEST(CalendarLayout, ArrowsAndTheirZones) {
  Geometry g = Geometry::Compute(WindowInput("Mar 2004", 3, 2004));
  using Tri = std::vector<TPoint>;
  EXPECT_EQ(g.Place(Arrow::PrevMonth).triangles, (std::vector<Tri>{{{47, 2}, {42, 7}, {47, 12}}}));
  EXPECT_EQ(g.Place(Arrow::NextMonth).triangles, (std::vector<Tri>{{{120, 2}, {120, 12}, {125, 7}}}));
  EXPECT_EQ(g.Place(Arrow::PrevYear).triangles,
            (std::vector<Tri>{{{27, 2}, {22, 7}, {27, 12}}, {{32, 2}, {27, 7}, {32, 12}}}));
  EXPECT_EQ(g.Place(Arrow::NextYear).triangles,
            (std::vector<Tri>{{{140, 2}, {140, 12}, {145, 7}}, {{135, 2}, {135, 12}, {140, 7}}}));
  // "25 < x' < 35" and its siblings, widened to the triangles' outermost columns.
  EXPECT_EQ(g.Place(Arrow::PrevYear).zone, (TRect{22, 1, 33, 15}));
  EXPECT_EQ(g.Place(Arrow::PrevMonth).zone, (TRect{42, 1, 52, 15}));
  EXPECT_EQ(g.Place(Arrow::NextMonth).zone, (TRect{120, 1, 126, 15}));
  EXPECT_EQ(g.Place(Arrow::NextYear).zone, (TRect{135, 1, 146, 15}));
  // Without year arrows the month arrows go to the edges.
  LayoutInput in = WindowInput("Mar 2004", 3, 2004);
  in.arrowShown[static_cast<int>(Arrow::PrevYear)] = false;
  in.arrowShown[static_cast<int>(Arrow::NextYear)] = false;
  Geometry bare = Geometry::Compute(in);
  EXPECT_EQ(bare.Place(Arrow::PrevMonth).zone, (TRect{22, 1, 32, 15}));
  EXPECT_EQ(bare.Place(Arrow::NextMonth).zone, (TRect{140, 1, 146, 15}));
}

// The caption sits between the arrows as drawn (x 48 ... 119 of the window's calendar), not
// between their pointer zones, which reach four columns further. "December 2026" in a wide
// face does not fit there: it is cut to "Dec. 2026" rather than drawn under an arrow.
TEST(CalendarLayout, CaptionStaysClearOfTheArrows) {
  struct Case {
    const char* name;
    std::string caption;
    int px;
    std::string shown;
    int left, monthEnd, right;
    bool clipped;
  } cases[] = {
      {"short month, centred over the days", "Mar 2004", 6, "Mar 2004", 59, 77, 107, false},
      {"long month that fits", "July 2004", 6, "July 2004", 56, 80, 110, false},
      {"exactly the room between the drawn arrows", "Janvier 2004", 6, "Janvier 2004", 48, 90, 120, false},
      {"long month, narrow face", "December 2026", 5, "December 2026", 51, 91, 116, false},
      {"a little too wide", "December 2026", 6, "Dec. 2026", 56, 80, 110, false},
      {"long month, wide face", "December 2026", 7, "Dec. 2026", 52, 80, 115, false},
      {"too wide even cut", "December 2026", 9, "Dec. 2026", 48, 84, 129, true},
      {"a caption without a blank", "December2026", 7, "December2026", 48, 97, 132, true},
  };
  for (const auto& k : cases) {
    Geometry g = Geometry::Compute(WindowInput(k.caption, 12, 2026, 7, k.px));
    const CaptionPlace& cap = g.caption;
    EXPECT_EQ(cap.text, k.shown) << k.name;
    EXPECT_EQ(cap.x, k.left) << k.name;
    EXPECT_EQ(cap.left, k.left) << k.name;
    EXPECT_EQ(cap.monthEnd, k.monthEnd) << k.name;
    EXPECT_EQ(cap.right, k.right) << k.name;
    EXPECT_EQ(cap.clipped, k.clipped) << k.name;
    EXPECT_EQ(cap.room, (TRect{48, 0, 120, 15})) << k.name;
    if (!k.clipped) {
      for (const ArrowPlace& a : g.arrows) {
        bool apart = cap.right <= a.drawn.left || a.drawn.right <= cap.left;
        EXPECT_TRUE(apart) << k.name;
      }
    }
  }
  // Where a caption reaches into the previous-month arrow's zone, the arrow answers there.
  const Geometry g = Geometry::Compute(WindowInput("Janvier 2004", 1, 2004));
  EXPECT_EQ(HitTest(g, TPoint{48, 7}).zone, Zone::PrevMonth);
  EXPECT_EQ(HitTest(g, TPoint{51, 7}).zone, Zone::PrevMonth);
  EXPECT_EQ(HitTest(g, TPoint{52, 7}).zone, Zone::CaptionMonth);
}

// Every zone at its edges, for a short and a long caption and each first weekday.
TEST(CalendarLayout, HitTestZonesAtTheirEdges) {
  struct Caption {
    const char* caption;
    int month, year, px;
    int left, monthEnd, right;  // as CaptionStaysClearOfTheArrows places them
  } captions[] = {{"May 2004", 5, 2004, 6, 59, 77, 107}, {"September 2026", 9, 2026, 6, 56, 80, 110}};
  struct Row {
    int x, y;
    Zone zone;
    int column, row;
  };
  for (const Caption& cap : captions) {
    const Row rows[] = {
        // The caption band, 0 < y < 15, left to right.
        {21, 7, Zone::Nothing, 0, 0},
        {22, 7, Zone::PrevYear, 0, 0},
        {32, 7, Zone::PrevYear, 0, 0},
        {33, 7, Zone::Nothing, 0, 0},
        {41, 7, Zone::Nothing, 0, 0},
        {42, 7, Zone::PrevMonth, 0, 0},
        {51, 7, Zone::PrevMonth, 0, 0},
        {cap.left - 1, 7, Zone::Nothing, 0, 0},
        {cap.left, 7, Zone::CaptionMonth, 0, 0},
        {cap.monthEnd, 7, Zone::CaptionMonth, 0, 0},
        {cap.monthEnd + 1, 7, Zone::CaptionYear, 0, 0},
        {cap.right, 7, Zone::CaptionYear, 0, 0},
        {cap.right + 1, 7, Zone::Nothing, 0, 0},
        {119, 7, Zone::Nothing, 0, 0},
        {120, 7, Zone::NextMonth, 0, 0},
        {125, 7, Zone::NextMonth, 0, 0},
        {126, 7, Zone::Nothing, 0, 0},
        {134, 7, Zone::Nothing, 0, 0},
        {135, 7, Zone::NextYear, 0, 0},
        {145, 7, Zone::NextYear, 0, 0},
        {146, 7, Zone::Nothing, 0, 0},
        {45, 0, Zone::Nothing, 0, 0},
        {45, 1, Zone::PrevMonth, 0, 0},
        {45, 14, Zone::PrevMonth, 0, 0},
        {45, 15, Zone::Nothing, 0, 0},
        {cap.left, 1, Zone::CaptionMonth, 0, 0},
        {cap.left, 15, Zone::Nothing, 0, 0},
        // Day names, 15 < y < dy + t0 = 33, right of the week column.
        {18, 16, Zone::DayHeader, 1, 0},
        {17, 16, Zone::Nothing, 0, 0},
        {149, 32, Zone::DayHeader, 7, 0},
        {18, 33, Zone::Nothing, 0, 0},
        // Week numbers left of x' = 0, days right of it, below y = 33.
        {16, 34, Zone::WeekNumber, 1, 1},
        {0, 129, Zone::WeekNumber, 1, 6},
        {17, 34, Zone::Nothing, 1, 1},
        {18, 34, Zone::Day, 1, 1},
        {33, 49, Zone::Day, 1, 1},
        {34, 50, Zone::Day, 2, 2},
        {148, 129, Zone::Day, 7, 6},
        {500, 500, Zone::Day, 7, 6},  // past the grid: its nearest cell
    };
    for (int startDay = 1; startDay <= 7; ++startDay) {
      const Geometry g = Geometry::Compute(WindowInput(cap.caption, cap.month, cap.year, startDay, cap.px));
      const TDateTime first = EncodeDate(cap.year, cap.month, 1);
      for (const Row& r : rows) {
        const Hit hit = HitTest(g, TPoint{r.x, r.y});
        std::string where = std::string(cap.caption) + " StartDay " + std::to_string(startDay) + " at (" +
                            std::to_string(r.x) + ", " + std::to_string(r.y) + ")";
        EXPECT_EQ(hit.zone, r.zone) << where;
        EXPECT_EQ(hit.column, r.column) << where;
        EXPECT_EQ(hit.row, r.row) << where;
        if (hit.column == 0) continue;
        // The day named is the one in that column and row, day 1 standing in row 1 under its
        // own weekday.
        const int column = r.zone == Zone::WeekNumber ? 1 : r.column, row = r.row ? r.row : 1;
        const int mondayBased = (DayOfWeek(first) + 5) % 7 + 1;
        const int dayOneColumn = (mondayBased - startDay + 7) % 7 + 1;
        const TDateTime day = EncodeDate(hit.day.date);
        EXPECT_EQ(day, first + 7 * (row - 1) + column - dayOneColumn) << where;
        const int kind = day < first ? CellDay::Previous : DecodeDate(day).month != cap.month ? CellDay::Next
                                                                                             : CellDay::Current;
        EXPECT_EQ(hit.day.kind, kind) << where;
      }
    }
  }
}

TEST(CalendarLayout, TodayLineWinsOverTheLastRow) {
  LayoutInput in = WindowInput("Mar 2004", 3, 2004);
  in.height = 180;
  in.showGotoToday = true;
  in.todayWidth = 60;
  Geometry g = Geometry::Compute(in);
  ASSERT_EQ(g.dy, (180 + 8) / 9);
  const int top = 8 * g.dy - g.dy / 2;
  EXPECT_EQ(g.todayLineAt, (TPoint{g.wk + 2, 8 * g.dy - 4}));
  EXPECT_EQ(HitTest(g, TPoint{100, top}).zone, Zone::Day);
  Hit hit = HitTest(g, TPoint{100, top + 1});
  EXPECT_EQ(hit.zone, Zone::TodayLine) << "anywhere along the line";
  EXPECT_FALSE(hit.onTodayText);
  EXPECT_EQ(hit.row, 6) << "a drag there still reaches the last row";
  EXPECT_TRUE(HitTest(g, TPoint{g.wk + 3, top + 1}).onTodayText);
  EXPECT_FALSE(HitTest(g, TPoint{g.wk + 2 + 60, top + 1}).onTodayText);
}

TEST(CalendarLayout, GeometryWithoutWeeksAndTinyControls) {
  LayoutInput in = WindowInput("Mar 2004", 3, 2004);
  in.width = in.height = 180;
  in.showWeeks = false;
  Geometry g = Geometry::Compute(in);
  EXPECT_EQ(g.dx, (180 - 7) / 7);
  EXPECT_EQ(g.dy, (180 + 8) / 8);
  EXPECT_EQ(g.wk, 1);  // the border width
  EXPECT_EQ(HitTest(g, TPoint{1, 60}).zone, Zone::Nothing) << "the border holds no day";
  EXPECT_EQ(HitTest(g, TPoint{2, 60}).zone, Zone::Day);
  // Narrower than its seven columns: no column width, and every point is the first cell.
  in.width = 5;
  Geometry tiny = Geometry::Compute(in);
  EXPECT_EQ(tiny.dx, 0);
  int col = -1, row = -1;
  tiny.CellAt(TPoint{100, 100}, col, row);
  EXPECT_EQ(col, 1);
  EXPECT_EQ(row, 1);
}

TEST(CalendarLayout, CellOfDate) {
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
