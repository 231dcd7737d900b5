#include "calendar/calendar_layout.h"

#include <algorithm>
#include <cmath>

namespace vsi::cal {

using namespace dates;

int FirstDayOffset(int month, int year, int startDay) {
  TDateTime first;
  if (!TryEncodeDate(year, month, 1, first)) return 0;
  int c = DayOfWeek(first) - 1 - startDay;
  while (c < 0) c += 7;
  return c;
}

CellDay DayOfCell(int cell, int month, int year, int startDay) {
  int c = FirstDayOffset(month, year, startDay);
  int n = cell - c;
  int days = DaysInMonth(month, year);
  CellDay out;
  if (n < 1) {
    Ymd p = PrevMonth(month, year);
    out.kind = CellDay::Previous;
    out.date = Ymd{p.year, p.month, DaysInMonth(p.month, p.year) + n};
  } else if (n > days) {
    Ymd nx = NextMonth(month, year);
    out.kind = CellDay::Next;
    out.date = Ymd{nx.year, nx.month, n - days};
  } else {
    out.date = Ymd{year, month, n};
  }
  return out;
}

namespace {
// A start date of the week count; a day past the month's end counts as its last day.
TDateTime StartDate(int year, int month, int day) {
  month = std::clamp(month, 1, 12);
  day = std::clamp(day, 1, DaysInMonth(month, year));
  TDateTime d = 0;
  TryEncodeDate(year, month, day, d);
  return d;
}
}  // namespace

int WeekNumber(int row, int month, int year, int startDay, const YearStart& ys) {
  int c = FirstDayOffset(month, year, startDay);
  TDateTime rowEnd = EncodeDate(year, month, 7 - c) + 7.0 * (row - 1);
  TDateTime yearStart = StartDate(ys.startMonth == 12 ? year - 1 : year, ys.startMonth, ys.startDay);
  TDateTime nextStart = StartDate(ys.nextMonth == 12 ? year : year + 1, ys.nextMonth, ys.nextDay);
  TDateTime prevStart = StartDate(ys.prevMonth == 12 ? year - 2 : year - 1, ys.prevMonth, ys.prevDay);
  int rowYear = DecodeDate(rowEnd).year;
  TDateTime base;
  if ((rowYear == year && rowEnd >= yearStart) || (rowEnd < nextStart && month == 12))
    base = yearStart;
  else if (rowYear > year)
    base = nextStart;
  else
    base = prevStart;
  long diff = WholeDay(rowEnd) - WholeDay(base);
  return static_cast<int>(diff / 7) + 1;  // C++ division truncates toward zero
}

Geometry Geometry::Compute(int W, int H, int borderWidth, bool showWeeks, bool showGotoToday) {
  Geometry g;
  g.W = W;
  g.H = H;
  g.bw = borderWidth;
  g.showWeeks = showWeeks;
  g.showGotoToday = showGotoToday;
  int n = showWeeks ? 8 : 7;
  g.dx = (W - n) / n;
  int m = showGotoToday ? 9 : 8;
  g.dy = (H + 8) / m;
  g.wk = showWeeks ? g.dx : borderWidth;
  return g;
}

TRect Geometry::DayCell(int i, int j) const {
  int top = j * dy + t0 - 2;
  return TRect{(i - 1) * dx + wk + 4, top, i * dx + wk + 2, top + dy};
}

TRect Geometry::DayNameCell(int i) const { return TRect{(i - 1) * dx + wk, dy - 6, i * dx + wk, 2 * dy}; }

TRect Geometry::WeekHeadingCell() const { return TRect{2, dy - 6, dx + 2, 2 * dy}; }

TRect Geometry::WeekNumberCell(int j) const {
  int top = j * dy + t0 - 2;
  return TRect{0, top, dx, top + dy};
}

TRect Geometry::CellRect(int column, int row) const {
  int left = (column - 1) * dx + wk;
  int top = row * dy + t0 - 2;
  return TRect{left, top, left + dx + 2, top + dy};
}

void Geometry::ColumnRowAt(int xPrime, int y, int& column, int& row) const {
  // A control too small for its grid has no columns or rows to speak of.
  column = dx <= 0 || dy <= 0 ? 0 : xPrime / dx;
  row = dx <= 0 || dy <= 0 ? 0 : (y - t0 - dy) / dy;
  // Past the grid counts as its last column or row; before it as the first, so that a
  // pointer dragged far outside still names a real date.
  column = std::clamp(column, 0, 6);
  row = std::clamp(row, 0, 5);
}

CaptionSpan ComputeCaption(const Geometry& g, int captionWidth, int yearWidth) {
  CaptionSpan s;
  s.a = captionWidth;
  s.w = yearWidth;
  // A caption wider than the room right of the week column starts at the column.
  s.b = std::max(0, (g.W - s.a - g.wk) / 2);
  return s;
}

void CellOfDate(TDateTime date, int month, int year, int startDay, int& column, int& row) {
  int c = FirstDayOffset(month, year, startDay);
  TDateTime first = EncodeDate(year, month, 1);
  long k = std::lround(date - (first - c)) + 1;
  long rem = k % 7;
  column = static_cast<int>(rem == 0 ? 7 : rem);
  row = static_cast<int>(k / 7 + (rem != 0 ? 1 : 0));
}

}  // namespace vsi::cal
