#pragma once
// The month grid's arithmetic and geometry, shared by painting and hit-testing. Everything
// here is a pure function of its inputs (sizes, text widths, settings); nothing asks the
// system.
#include "framework/dates.h"
#include "platform/types.h"

namespace vsi::cal {

constexpr int kTopOffset = 16;  // t0: fixed top offset of the rows

// Offset c of day 1 in the grid: day d of the month sits in cell A = d + c (cells 1 ... 42,
// column + 7 (row - 1)). startDay: weekday of the first column, 1 = Monday ... 7 = Sunday.
int FirstDayOffset(int month, int year, int startDay);

// What a grid cell holds.
struct CellDay {
  enum Kind { Previous, Current, Next } kind = Current;
  dates::Ymd date;
};
CellDay DayOfCell(int cell, int month, int year, int startDay);

// The six dates of the week-number rule (all 1 January by default).
struct YearStart {
  int startDay = 1, startMonth = 1;
  int prevDay = 1, prevMonth = 1;
  int nextDay = 1, nextMonth = 1;
};
// Week number of row 1 ... 6 of the shown month.
int WeekNumber(int row, int month, int year, int startDay, const YearStart& ys);

// The grid geometry of a calendar of W x H pixels.
struct Geometry {
  int W = 0, H = 0, bw = 0;
  bool showWeeks = false, showGotoToday = false;
  int dx = 0;  // column width
  int dy = 0;  // row height
  int wk = 0;  // left offset of the first day column
  int t0 = kTopOffset;

  static Geometry Compute(int W, int H, int borderWidth, bool showWeeks, bool showGotoToday);

  // Painted day cell of column i (1 ... 7), row j (1 ... 6).
  TRect DayCell(int i, int j) const;
  // Day-name cell of column i.
  TRect DayNameCell(int i) const;
  TRect WeekHeadingCell() const;
  TRect WeekNumberCell(int j) const;
  // The repaint rectangle of a cell: covers the painted cell.
  TRect CellRect(int column, int row) const;
  // Column and row (0-based, limited to 0 ... 6 and 0 ... 5) under a point given as
  // x' = x - wk and y.
  void ColumnRowAt(int xPrime, int y, int& column, int& row) const;
};

// The caption's place: a = its width, w = width of " 9999", b = its start measured from wk.
struct CaptionSpan {
  int a = 0, w = 0, b = 0;
  int MonthEnd() const { return b + a - w; }  // month part [b, b + a - w]
  int End() const { return b + a; }          // year part [b + a - w, b + a]
};
CaptionSpan ComputeCaption(const Geometry& g, int captionWidth, int yearWidth);

// Which grid cell (column 1 ... 7, row 1 ... 6) a date falls in for the month shown;
// outside the grid the numbers run past those bounds.
void CellOfDate(TDateTime date, int month, int year, int startDay, int& column, int& row);

}  // namespace vsi::cal
