#pragma once
// The month grid's date rules, its geometry and the one hit-test. Everything here is a pure
// function of its inputs (client size, settings, the sizes of texts measured in the
// calendar's fonts); nothing asks the system. Painting draws what the geometry places and
// every mouse handler asks HitTest, so a pixel means the same to both. Every measure of the
// calendar is made in Geometry::Compute: scaling the calendar is a change there alone.
#include <functional>
#include <string>
#include <vector>

#include "framework/dates.h"
#include "platform/types.h"

namespace vsi::cal {

// ---- date rules of the grid ----

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

// Which grid cell (column 1 ... 7, row 1 ... 6) a date falls in for the month shown;
// outside the grid the numbers run past those bounds.
void CellOfDate(TDateTime date, int month, int year, int startDay, int& column, int& row);

// ---- geometry ----

// The navigation arrows, in the order the mouse handlers try them.
enum class Arrow { PrevMonth, PrevYear, NextMonth, NextYear };
constexpr int kArrowCount = 4;

// Everything the layout depends on. The calendar fills it from its state and its fonts; a
// test fills it by hand.
struct LayoutInput {
  int width = 0, height = 0;  // client size
  int borderWidth = 0;
  bool showWeeks = false, showGotoToday = false;
  int month = 1, year = 2000, startDay = 7;  // the month shown
  bool arrowShown[kArrowCount] = {true, true, true, true};
  TSize glyph[kArrowCount] = {};  // arrow bitmaps; 0 x 0 draws triangles
  std::string caption;            // month name, one blank, year
  // Sizes measured in the calendar's fonts.
  // A text's width in Font as drawn at the window's scale, in 96-dpi units rounded up: what
  // fits by this measure fits on the screen.
  std::function<int(const std::string&)> captionWidth;
  int yearWidth = 0;       // width of " 9999" in Font
  int captionHeight = 0;   // height of "X" in Font
  int dayNameHeight = 0;   // height of "gh" in DayFont
  int todayWidth = 0;      // the today line's text in Font
};

// Where an arrow is drawn and where it answers.
struct ArrowPlace {
  bool shown = false;
  std::vector<std::vector<TPoint>> triangles;  // empty when a bitmap is drawn
  bool bitmap = false;
  TPoint bitmapAt;
  // Answers the pointer: left <= x < right, top <= y < bottom. It holds every pixel drawn for
  // the arrow, the outermost columns of the triangles included.
  TRect zone;
  // The pixels drawn (right and bottom exclusive); narrower than the zone, which reaches past
  // the triangles.
  TRect drawn;
};

// Where the caption goes: between the drawn arrows, shortened when the room there is too narrow.
struct CaptionPlace {
  std::string text;  // what is drawn
  int x = 0, y = 0;  // where it starts
  // Client x of the month part [left, monthEnd] and of the year part [monthEnd, right].
  int left = 0, monthEnd = 0, right = 0;
  TRect room;            // between the drawn arrows, in the caption band
  bool clipped = false;  // too wide even shortened: drawn clipped to the room
};

struct Geometry {
  LayoutInput in;
  int W = 0, H = 0, bw = 0;
  int dx = 0;  // column width
  int dy = 0;  // row height
  int wk = 0;  // left offset of the first day column
  int t0 = 0;  // fixed top offset of the rows
  int c = 0;   // offset of day 1 in the grid
  int bandBottom = 0;  // the caption band: 0 < y < bandBottom
  TRect captionBar;    // the caption bar's rectangle
  ArrowPlace arrows[kArrowCount];
  CaptionPlace caption;
  int gradientBandY = 0;  // where the caption band's gradient ends
  TRect dayNameBand;      // the day-name band's frame with the 3D look
  int dayNameLineY = 0;   // the separator under the day names
  int weekLineX = 0;      // the separator right of the week numbers
  int lineEndY = 0;       // where the week separator ends
  TPoint todayLineAt;     // the today line's text
  int todayLineTop = 0;   // a press below this goes to today
  TRect todayText;        // the today line's text, for hovering
  TPoint tipOffset;       // where a tooltip goes, from the pointer
  int clickSlack = 0;     // how far a release may stray from its press and still choose the day

  static Geometry Compute(const LayoutInput& in);

  // Painted day cell of column i (1 ... 7), row j (1 ... 6).
  TRect DayCell(int i, int j) const;
  // Day-name cell of column i.
  TRect DayNameCell(int i) const;
  TRect WeekHeadingCell() const;
  TRect WeekNumberCell(int j) const;
  // The repaint rectangle of a cell: covers the painted cell.
  TRect CellRect(int column, int row) const;
  // The corners of today's frame in the cell: left, top, right, bottom (all drawn).
  TRect TodayFrame(int i, int j) const;
  // The grid cell (column 1 ... 7, row 1 ... 6) at a client point; points past the grid
  // count as its nearest cell.
  void CellAt(TPoint p, int& column, int& row) const;
  const ArrowPlace& Place(Arrow a) const { return arrows[static_cast<int>(a)]; }
};

// ---- hit-test ----

enum class Zone {
  Nothing,
  CaptionMonth,  // opens the month menu
  CaptionYear,   // opens the year menu
  PrevMonth,
  PrevYear,
  NextMonth,
  NextYear,
  DayHeader,   // a day name: `column` and the first row's day below it
  WeekNumber,  // a week number: `row` and that row's first day
  Day,         // a day cell: `column`, `row` and `day`
  TodayLine,
};

struct Hit {
  Zone zone = Zone::Nothing;
  // For every point below the day names (and for DayHeader): the grid cell there, or the
  // nearest one past the grid, and the day it shows. column and row are 0 elsewhere.
  int column = 0, row = 0;
  CellDay day;
  bool onTodayText = false;  // TodayLine over the text itself
};

// What the point (client coordinates) is over. The arrows win over the caption, the today
// line over the last row.
Hit HitTest(const Geometry& g, TPoint p);

// The arrow a zone stands for; false for the other zones.
bool ArrowOf(Zone zone, Arrow& arrow);

}  // namespace vsi::cal
