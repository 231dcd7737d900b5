#include "calendar/calendar_layout.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace vsi::cal {

using dates::Ymd;

// ---------------------------------------------------------------------------------------
// Date rules of the grid

int FirstDayOffset(int month, int year, int startDay) {
  TDateTime first;
  if (!dates::TryEncodeDate(year, month, 1, first)) return 0;
  int c = dates::DayOfWeek(first) - 1 - startDay;
  while (c < 0) c += 7;
  return c;
}

CellDay DayOfCell(int cell, int month, int year, int startDay) {
  int c = FirstDayOffset(month, year, startDay);
  int n = cell - c;
  int days = dates::DaysInMonth(month, year);
  CellDay out;
  if (n < 1) {
    Ymd p = dates::PrevMonth(month, year);
    out.kind = CellDay::Previous;
    out.date = Ymd{p.year, p.month, dates::DaysInMonth(p.month, p.year) + n};
  } else if (n > days) {
    Ymd nx = dates::NextMonth(month, year);
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
  day = std::clamp(day, 1, dates::DaysInMonth(month, year));
  TDateTime d = 0;
  dates::TryEncodeDate(year, month, day, d);
  return d;
}
}  // namespace

int WeekNumber(int row, int month, int year, int startDay, const YearStart& ys) {
  int c = FirstDayOffset(month, year, startDay);
  TDateTime rowEnd = dates::EncodeDate(year, month, 7 - c) + 7.0 * (row - 1);
  TDateTime yearStart = StartDate(ys.startMonth == 12 ? year - 1 : year, ys.startMonth, ys.startDay);
  TDateTime nextStart = StartDate(ys.nextMonth == 12 ? year : year + 1, ys.nextMonth, ys.nextDay);
  TDateTime prevStart = StartDate(ys.prevMonth == 12 ? year - 2 : year - 1, ys.prevMonth, ys.prevDay);
  int rowYear = dates::DecodeDate(rowEnd).year;
  TDateTime base;
  if ((rowYear == year && rowEnd >= yearStart) || (rowEnd < nextStart && month == 12))
    base = yearStart;
  else if (rowYear > year)
    base = nextStart;
  else
    base = prevStart;
  long diff = dates::WholeDay(rowEnd) - dates::WholeDay(base);
  return static_cast<int>(diff / 7) + 1;  // C++ division truncates toward zero
}

void CellOfDate(TDateTime date, int month, int year, int startDay, int& column, int& row) {
  int c = FirstDayOffset(month, year, startDay);
  TDateTime first = dates::EncodeDate(year, month, 1);
  long k = std::lround(date - (first - c)) + 1;
  long rem = k % 7;
  column = static_cast<int>(rem == 0 ? 7 : rem);
  row = static_cast<int>(k / 7 + (rem != 0 ? 1 : 0));
}

// ---------------------------------------------------------------------------------------
// Geometry

namespace {

// The pixel measures of the calendar, at 96 dots per inch.
constexpr int kTopOffset = 16;      // t0: the rows start this far down
constexpr int kBandBottom = 15;     // the caption band: 0 < y < 15
constexpr int kCaptionTop = 2;
constexpr int kArrowWidth = 5;      // a triangle's width; its height is twice that
constexpr int kArrowInset = 5;      // the outer arrows' distance from the edges
constexpr int kArrowPitch = 20;     // from the year arrow to the month arrow beside it
constexpr int kTipBelowPointer = 20;  // a tooltip goes below the pointer's arrow
constexpr int kClickSlack = 3;

// The smallest rectangle holding both; an empty one holds nothing.
TRect Union(const TRect& a, const TRect& b) {
  if (a.right <= a.left || a.bottom <= a.top) return b;
  return TRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
               std::max(a.bottom, b.bottom)};
}

TRect Bounds(const std::vector<std::vector<TPoint>>& shapes) {
  TRect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (const auto& shape : shapes)
    for (TPoint p : shape) r = TRect{std::min(r.left, p.x), std::min(r.top, p.y), std::max(r.right, p.x + 1),
                                     std::max(r.bottom, p.y + 1)};
  return shapes.empty() ? TRect{} : r;
}

void PlaceArrows(Geometry& g) {
  const LayoutInput& in = g.in;
  const int W = g.W, wk = g.wk;
  const int top = g.bw + 1, mid = top + kArrowWidth, bottom = top + 2 * kArrowWidth;
  // A left-pointing triangle with its tip at x, a right-pointing one with its base at x.
  auto left = [&](int tip) {
    return std::vector<TPoint>{{tip + kArrowWidth, top}, {tip, mid}, {tip + kArrowWidth, bottom}};
  };
  auto right = [&](int base) {
    return std::vector<TPoint>{{base, top}, {base, bottom}, {base + kArrowWidth, mid}};
  };
  // Zones span the caption band between x bounds that are exclusive on both sides, as "a < x < b";
  // that leaves out a triangle's tip or base column, which is added back below.
  auto zone = [&](int after, int before) { return TRect{after + 1, 1, before, kBandBottom}; };
  const TSize py = in.glyph[static_cast<int>(Arrow::PrevYear)];
  const TSize ny = in.glyph[static_cast<int>(Arrow::NextYear)];
  const bool pyBitmap = py.cx > 0, nyBitmap = ny.cx > 0;
  for (int k = 0; k < kArrowCount; ++k) {
    ArrowPlace& a = g.arrows[k];
    a.shown = in.arrowShown[k];
    const TSize glyph = in.glyph[k];
    auto useBitmap = [&](int x) {
      a.bitmap = true;
      a.bitmapAt = TPoint{x, top};
      a.zone = a.drawn = TRect{x, top, x + glyph.cx, top + glyph.cy};
    };
    switch (static_cast<Arrow>(k)) {
      case Arrow::PrevYear:
        if (pyBitmap) {
          useBitmap(wk + kArrowInset);
        } else {
          a.triangles = {left(wk + kArrowInset), left(wk + 2 * kArrowInset)};
          a.zone = zone(wk + kArrowInset, wk + 3 * kArrowInset);
        }
        break;
      case Arrow::PrevMonth: {
        const int x0 = in.arrowShown[static_cast<int>(Arrow::PrevYear)] ? wk + kArrowPitch : wk;
        if (glyph.cx > 0) {
          useBitmap(pyBitmap ? py.cx + wk + 2 * kArrowInset : x0 + kArrowInset);
        } else if (pyBitmap) {
          a.triangles = {left(x0 + py.cx)};
          a.zone = zone(x0 + py.cx, x0 + py.cx + 2 * kArrowInset);
        } else {
          a.triangles = {left(x0 + kArrowInset)};
          a.zone = zone(x0 + kArrowInset, x0 + 3 * kArrowInset);
        }
        break;
      }
      case Arrow::NextYear:
        if (nyBitmap) {
          useBitmap(W - ny.cx - kArrowInset);
        } else {
          a.triangles = {right(W - 2 * kArrowInset), right(W - 3 * kArrowInset)};
          a.zone = zone(W - 3 * kArrowInset, W - kArrowInset);
        }
        break;
      case Arrow::NextMonth: {
        const bool nextYear = in.arrowShown[static_cast<int>(Arrow::NextYear)];
        const int s = nextYear ? kArrowInset + kArrowPitch : kArrowInset;
        if (glyph.cx > 0) {
          useBitmap(nyBitmap && nextYear ? W - (glyph.cx + ny.cx + 2 * kArrowInset) : W - s - glyph.cx);
        } else if (nyBitmap && nextYear) {
          a.triangles = {right(W - ny.cx - 3 * kArrowInset)};
          a.zone = zone(W - ny.cx - 3 * kArrowInset, W - ny.cx - 2 * kArrowInset);
        } else {
          a.triangles = {right(W - s - kArrowWidth)};
          a.zone = zone(W - s - kArrowWidth, W - s);
        }
        break;
      }
    }
    // A press on any pixel of the arrow steps, its tip and base included.
    if (!a.bitmap) {
      a.drawn = Bounds(a.triangles);
      a.zone = Union(a.drawn, a.zone);
    }
  }
}

// The caption centred over the days, kept clear of the arrows: where the whole text does not
// fit between them the month name is cut to its first three letters and a full stop
// ("December 2026" becomes "Dec. 2026"); where even that is too wide it is clipped there.
// The room is what lies between the pixels the arrows draw: their pointer zones reach further
// (the previous-month zone by four columns), and measuring against those cut names that fit.
void PlaceCaption(Geometry& g) {
  const LayoutInput& in = g.in;
  CaptionPlace& cap = g.caption;
  int roomLeft = g.wk, roomRight = g.W;
  for (Arrow a : {Arrow::PrevMonth, Arrow::PrevYear})
    if (g.Place(a).shown) roomLeft = std::max(roomLeft, g.Place(a).drawn.right);
  for (Arrow a : {Arrow::NextMonth, Arrow::NextYear})
    if (g.Place(a).shown) roomRight = std::min(roomRight, g.Place(a).drawn.left);
  cap.room = TRect{roomLeft, 0, std::max(roomLeft, roomRight), kBandBottom};
  const int room = cap.room.right - cap.room.left;
  auto width = [&](const std::string& s) { return in.captionWidth ? in.captionWidth(s) : 0; };

  cap.text = in.caption;
  int a = width(cap.text);
  if (a > room) {
    size_t blank = cap.text.rfind(' ');
    if (blank != std::string::npos && blank > 4) {
      std::string shorter = cap.text.substr(0, 3) + "." + cap.text.substr(blank);
      cap.text = shorter;
      a = width(cap.text);
    }
  }
  int x = (g.W - a - g.wk) / 2 + g.wk;
  if (a <= room) {
    x = std::clamp(x, cap.room.left, cap.room.right - a);
  } else {
    x = cap.room.left;
    cap.clipped = true;
  }
  cap.x = x;
  cap.y = kCaptionTop;
  cap.left = x;
  cap.right = x + a;
  cap.monthEnd = x + a - in.yearWidth;
}

}  // namespace

Geometry Geometry::Compute(const LayoutInput& in) {
  Geometry g;
  g.in = in;
  g.W = in.width;
  g.H = in.height;
  g.bw = in.borderWidth;
  const int n = in.showWeeks ? 8 : 7;
  g.dx = (g.W - n) / n;
  const int m = in.showGotoToday ? 9 : 8;
  g.dy = (g.H + 8) / m;
  g.wk = in.showWeeks ? g.dx : g.bw;
  g.t0 = kTopOffset;
  g.c = FirstDayOffset(in.month, in.year, in.startDay);
  g.bandBottom = kBandBottom;
  g.captionBar = TRect{g.bw, g.bw, g.W - g.bw, in.captionHeight + 2};
  PlaceArrows(g);
  PlaceCaption(g);
  const int th = in.dayNameHeight;
  g.gradientBandY = (g.H + m) / m + th - 4;
  g.dayNameBand = TRect{g.bw + 1, g.dy - 8, g.W - g.bw - 1, th + g.dy - 4};
  g.dayNameLineY = g.dy + th - 4;
  g.weekLineX = g.dx;
  g.lineEndY = g.H - 2;
  g.todayLineAt = TPoint{g.wk + 2, 8 * g.dy - 4};
  g.todayLineTop = 8 * g.dy - g.dy / 2;
  g.todayText = TRect{g.todayLineAt.x, g.todayLineTop + 1, g.todayLineAt.x + in.todayWidth, INT_MAX};
  g.tipOffset = TPoint{0, kTipBelowPointer};
  g.clickSlack = kClickSlack;
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

TRect Geometry::TodayFrame(int i, int j) const {
  return TRect{(i - 1) * dx + wk + 4, j * dy + t0 - 2, i * dx + wk + 2, (j + 1) * dy + t0 - 3};
}

void Geometry::CellAt(TPoint p, int& column, int& row) const {
  // A control too small for its grid has no columns or rows to speak of.
  column = dx <= 0 || dy <= 0 ? 0 : (p.x - wk) / dx;
  row = dx <= 0 || dy <= 0 ? 0 : (p.y - t0 - dy) / dy;
  // Past the grid counts as its last column or row; before it as the first, so that a
  // pointer dragged far outside still names a real date.
  column = std::clamp(column, 0, 6) + 1;
  row = std::clamp(row, 0, 5) + 1;
}

// ---------------------------------------------------------------------------------------
// Hit-test

Hit HitTest(const Geometry& g, TPoint p) {
  Hit hit;
  const int xp = p.x - g.wk;  // measured from the first day column
  if (p.y > 0 && p.y < g.bandBottom) {
    static const Zone kArrowZones[kArrowCount] = {Zone::PrevMonth, Zone::PrevYear, Zone::NextMonth,
                                                  Zone::NextYear};
    // An arrow wins over the caption: a press on its pixels always steps.
    for (int k = 0; k < kArrowCount; ++k)
      if (g.arrows[k].shown && g.arrows[k].zone.Contains(p)) {
        hit.zone = kArrowZones[k];
        return hit;
      }
    // The month part wins at the point the two parts share.
    if (g.caption.left <= p.x && p.x <= g.caption.monthEnd)
      hit.zone = Zone::CaptionMonth;
    else if (g.caption.monthEnd <= p.x && p.x <= g.caption.right)
      hit.zone = Zone::CaptionYear;
    return hit;
  }
  auto cellDay = [&](int column, int row) {
    return DayOfCell(column + 7 * (row - 1), g.in.month, g.in.year, g.in.startDay);
  };
  const int gridTop = g.dy + g.t0;  // the rows of days start below this
  if (p.y > gridTop) {
    g.CellAt(p, hit.column, hit.row);
    hit.day = cellDay(hit.column, hit.row);
  }
  if (g.in.showGotoToday && p.y > g.todayLineTop) {
    hit.zone = Zone::TodayLine;
    hit.onTodayText = g.todayText.left < p.x && p.x < g.todayText.right;
    return hit;
  }
  if (p.y > g.bandBottom && p.y < gridTop) {
    if (xp > 0) {
      int row = 0;
      g.CellAt(TPoint{p.x, gridTop}, hit.column, row);
      hit.zone = Zone::DayHeader;
      hit.day = cellDay(hit.column, 1);
    }
    return hit;
  }
  if (p.y <= gridTop) return hit;
  if (g.in.showWeeks && xp < 0) {
    hit.zone = Zone::WeekNumber;
    hit.day = cellDay(1, hit.row);
  } else if (xp >= 1) {
    hit.zone = Zone::Day;
  }
  return hit;
}

bool ArrowOf(Zone zone, Arrow& arrow) {
  switch (zone) {
    case Zone::PrevMonth: arrow = Arrow::PrevMonth; return true;
    case Zone::PrevYear: arrow = Arrow::PrevYear; return true;
    case Zone::NextMonth: arrow = Arrow::NextMonth; return true;
    case Zone::NextYear: arrow = Arrow::NextYear; return true;
    default: return false;
  }
}

}  // namespace vsi::cal
