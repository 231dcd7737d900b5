// What a month calendar paints, read back from a recording canvas.
#include <gtest/gtest.h>

#include <map>

#include "calendar_fixture.h"

namespace vsi::caltest {
namespace {

using Op = fake::CanvasOp;
using K = Op::Kind;

const char* Name(K k) {
  switch (k) {
    case K::FillRect: return "FillRect";
    case K::FrameRect: return "FrameRect";
    case K::Rectangle: return "Rectangle";
    case K::MoveTo: return "MoveTo";
    case K::LineTo: return "LineTo";
    case K::Polygon: return "Polygon";
    case K::TextOut: return "TextOut";
    case K::DrawText: return "DrawText";
    case K::FocusRect: return "FocusRect";
    case K::Image: return "Image";
    case K::ThemedBorder: return "ThemedBorder";
    case K::Ellipse: return "Ellipse";
    case K::ClipRect: return "ClipRect";
    case K::StretchImage: return "StretchImage";
    default: return "Other";
  }
}

// The kinds of the recorded calls, runs folded: "FillRect*80 Rectangle ...".
std::string Signature(const fake::RecordingCanvas& c) {
  std::string out;
  for (size_t i = 0; i < c.ops.size();) {
    size_t j = i;
    while (j < c.ops.size() && c.ops[j].kind == c.ops[i].kind) ++j;
    if (!out.empty()) out += ' ';
    out += Name(c.ops[i].kind);
    if (j - i > 1) out += "*" + std::to_string(j - i);
    i = j;
  }
  return out;
}

std::vector<const Op*> Of(const fake::RecordingCanvas& c, K kind) {
  std::vector<const Op*> out;
  for (const Op& op : c.ops)
    if (op.kind == kind) out.push_back(&op);
  return out;
}
// Pointers into a temporary canvas would dangle: count those instead.
void Of(fake::RecordingCanvas&& c, K kind) = delete;
size_t Count(const fake::RecordingCanvas& c, K kind) {
  size_t n = 0;
  for (const Op& op : c.ops) n += op.kind == kind;
  return n;
}

// The DrawText call that drew `text` inside `within` (the first one), or null.
const Op* TextIn(const fake::RecordingCanvas& c, const std::string& text, const TRect& within) {
  for (const Op& op : c.ops)
    if (op.kind == K::DrawText && op.text == text && op.rect == within) return &op;
  return nullptr;
}

// The first recorded call that `match` accepts, or null.
template <class Match>
const Op* Find(const fake::RecordingCanvas& c, Match match) {
  for (const Op& op : c.ops)
    if (match(op)) return &op;
  return nullptr;
}

// Whether the pixel (x, y) lies inside the triangle (edges included).
bool Inside(const std::vector<TPoint>& t, int x, int y) {
  auto side = [&](TPoint a, TPoint b) { return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x); };
  long d1 = side(t[0], t[1]), d2 = side(t[1], t[2]), d3 = side(t[2], t[0]);
  bool neg = d1 < 0 || d2 < 0 || d3 < 0, pos = d1 > 0 || d2 > 0 || d3 > 0;
  return !(neg && pos);
}

using CalendarPaint = CalendarFixture;

TEST_F(CalendarPaint, TheWindowsCalendarInOrder) {
  TMonthCalendar* c = ShippedCalendar();
  ASSERT_EQ(c->CaptionText(), "Mar 2004");
  fake::RecordingCanvas canvas = Paint(c, false, true);

  // Panel, themed border, inner fill, the 80-band gradient, caption bar, six triangles, the
  // caption, seven day names, two lines each with its white companion, the week heading
  // and six week numbers, then the days column by column with today's frame after the 21st
  // (column 1, row 4).
  EXPECT_EQ(Signature(canvas),
            "FillRect ThemedBorder FillRect*81 Rectangle MoveTo LineTo*2 Polygon*6 TextOut DrawText*7 "
            "MoveTo LineTo MoveTo LineTo MoveTo LineTo MoveTo LineTo DrawText*10 MoveTo LineTo*4 DrawText*28");

  const Op* panel = Find(canvas, [](const Op& op) { return op.kind == K::FillRect; });
  EXPECT_EQ(panel->rect, (TRect{0, 0, 150, 130}));
  EXPECT_EQ(panel->brush, 0xFF8080u);
  EXPECT_EQ(Find(canvas, [](const Op& op) { return op.kind == K::ThemedBorder; })->rect, (TRect{0, 0, 150, 130}));
  const Op* inner = Find(canvas, [](const Op& op) { return op.kind == K::FillRect && op.rect == TRect{1, 1, 149, 129}; });
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->brush, 0xFF8080u);
  // Gradient: white to the button face in horizontal bands of 1.6 pixels.
  auto band = [&](TRect r) {
    return Find(canvas, [r](const Op& op) { return op.kind == K::FillRect && op.rect == r; });
  };
  ASSERT_NE(band({1, 1, 149, 3}), nullptr);
  EXPECT_EQ(band({1, 1, 149, 3})->brush, clWhite);
  ASSERT_NE(band({1, 3, 149, 5}), nullptr);
  ASSERT_NE(band({1, 127, 149, 129}), nullptr) << "the last band";
  EXPECT_EQ(band({1, 127, 149, 129})->brush, Rgb(240, 240, 240));
  // Caption bar: white with a grey outline and a white top-left line.
  const Op* bar = Find(canvas, [](const Op& op) { return op.kind == K::Rectangle; });
  EXPECT_EQ(bar->rect, (TRect{1, 1, 149, 15}));
  EXPECT_EQ(bar->brush, clWhite);
  EXPECT_EQ(bar->pen, clGray);
  auto line = [&](std::vector<TPoint> points) {
    return Find(canvas, [&](const Op& op) { return op.kind == K::LineTo && op.points == points; });
  };
  ASSERT_NE(line({{1, 15}, {1, 1}}), nullptr);
  ASSERT_NE(line({{1, 1}, {149, 1}}), nullptr);
  EXPECT_EQ(line({{1, 1}, {149, 1}})->pen, clWhite);

  auto polys = Of(canvas, K::Polygon);
  ASSERT_EQ(polys.size(), 6u);
  EXPECT_EQ(polys[0]->points, (std::vector<TPoint>{{47, 2}, {42, 7}, {47, 12}})) << "previous month";
  EXPECT_EQ(polys[1]->points, (std::vector<TPoint>{{120, 2}, {120, 12}, {125, 7}})) << "next month";
  EXPECT_EQ(polys[2]->points, (std::vector<TPoint>{{27, 2}, {22, 7}, {27, 12}})) << "previous year";
  EXPECT_EQ(polys[3]->points, (std::vector<TPoint>{{32, 2}, {27, 7}, {32, 12}}));
  EXPECT_EQ(polys[4]->points, (std::vector<TPoint>{{140, 2}, {140, 12}, {145, 7}})) << "next year";
  EXPECT_EQ(polys[5]->points, (std::vector<TPoint>{{135, 2}, {135, 12}, {140, 7}}));
  for (const Op* p : polys) {
    EXPECT_EQ(p->brush, clBlue);
    EXPECT_EQ(p->pen, clBlue);
  }

  auto caption = Of(canvas, K::TextOut);
  ASSERT_EQ(caption.size(), 1u);
  EXPECT_EQ(caption[0]->text, "Mar 2004");
  EXPECT_EQ(caption[0]->x, (150 - 48 - 17) / 2 + 17);
  EXPECT_EQ(caption[0]->y, 2);
  EXPECT_EQ(caption[0]->font.color, clBlue);
  EXPECT_EQ(caption[0]->brushStyle, BrushStyle::Clear);

  cal::Geometry geo = c->Geometry();
  const auto& names = ctx.format().shortDayNames;  // Sunday first, as the columns here
  for (int i = 1; i <= 7; ++i) {
    const Op* op = TextIn(canvas, names[i - 1], geo.DayNameCell(i));
    ASSERT_NE(op, nullptr) << names[i - 1];
    EXPECT_EQ(op->font.name, "Arial Narrow");
    EXPECT_EQ(op->font.color, clBlue);
    EXPECT_EQ(op->flags, DT_SINGLELINE_ | DT_CENTER_);
  }

  // Separator lines: under the day names at dy + th2 - 4 = 26, the week column at x = 17,
  // each in silver with a white line beside it.
  struct Line {
    std::vector<TPoint> points;
    TColor pen;
  } lines[] = {{{{1, 26}, {149, 26}}, clSilver},
               {{{1, 27}, {149, 27}}, clWhite},
               {{{17, 26}, {17, 128}}, clSilver},
               {{{18, 27}, {18, 128}}, clWhite}};
  for (const Line& l : lines) {
    const Op* op = line(l.points);
    ASSERT_NE(op, nullptr) << l.points[0].x << "," << l.points[0].y;
    EXPECT_EQ(op->pen, l.pen);
  }

  for (int j = 1; j <= 6; ++j) {
    const Op* op = TextIn(canvas, std::to_string(9 + j), geo.WeekNumberCell(j));
    ASSERT_NE(op, nullptr) << "week row " << j;
    EXPECT_EQ(op->font.color, clWindowText);
    EXPECT_EQ(op->font.name, "MS Sans Serif");
    EXPECT_EQ(op->flags, DT_SINGLELINE_ | DT_VCENTER_ | DT_CENTER_);
  }

  // Days: March 2004 begins on a Monday (c = 1). Weekends red, the others blue, as stored.
  for (int d = 1; d <= 31; ++d) {
    int cell = d + 1, i = (cell - 1) % 7 + 1, j = (cell - 1) / 7 + 1;
    const Op* op = TextIn(canvas, std::to_string(d), geo.DayCell(i, j));
    ASSERT_NE(op, nullptr) << "day " << d;
    bool weekend = i == 1 || i == 7;
    EXPECT_EQ(op->font.color, weekend ? clRed : clBlue) << "day " << d;
    EXPECT_EQ(op->font.name, "MS Sans Serif") << "day " << d;
    EXPECT_EQ(op->brushStyle, BrushStyle::Clear) << "day " << d;
  }
  // Today (the 21st) framed sunken: grey up and across, white down and back.
  std::vector<std::vector<TPoint>> frame = {
      {{21, 98}, {21, 82}}, {{21, 82}, {36, 82}}, {{36, 82}, {36, 98}}, {{36, 98}, {21, 98}}};
  std::vector<TColor> pens = {clGray, clGray, clWhite, clWhite};
  for (size_t k = 0; k < frame.size(); ++k) {
    const Op* op = line(frame[k]);
    ASSERT_NE(op, nullptr) << "today's frame, side " << k;
    EXPECT_EQ(op->pen, pens[k]) << "today's frame, side " << k;
  }
  EXPECT_TRUE(Of(canvas, K::FocusRect).empty());
}

// The selected day of the window's calendar: the stored blue fill, its number readable.
TEST_F(CalendarPaint, TheWindowsSelectedDay) {
  TMonthCalendar* c = ShippedCalendar();
  c->WmMouseDown(mbLeft, 0, 17 + 3 * 17 + 8, 34 + 17 + 8);  // Wednesday 10 March
  c->WmMouseUp(mbLeft, 0, 17 + 3 * 17 + 8, 34 + 17 + 8);
  ASSERT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-10"}));
  fake::RecordingCanvas canvas = Paint(c);
  TRect cell = c->Geometry().DayCell(4, 2);
  const Op* fill = Find(canvas, [&](const Op& op) { return op.kind == K::FillRect && op.rect == cell; });
  ASSERT_NE(fill, nullptr);
  EXPECT_EQ(fill->brush, clBlue);
  const Op* number = TextIn(canvas, "10", cell);
  ASSERT_NE(number, nullptr);
  EXPECT_EQ(number->font.color, clWhite);
  EXPECT_NE(number->font.color, fill->brush) << "a number in the fill's colour cannot be read";
}

// With the language's full month names (as a flag button sets them) "December 2004" is too
// wide for the room between the arrows: it is drawn shortened, clear of them, and a press on
// any pixel of an arrow steps, none opens the month menu.
TEST_F(CalendarPaint, TheWindowsLongCaptionLeavesTheArrowsFree) {
  TMonthCalendarGroup* g = ShippedGroup();
  static const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                          "July",    "August",   "September", "October", "November", "December"};
  for (int m = 1; m <= 12; ++m) g->NameOfMonths()->SetName(m, kMonths[m - 1]);
  g->SetMonth(12);
  TMonthCalendar* c = g->Calendar(0);
  ASSERT_EQ(c->CaptionText(), "December 2004");
  fake::RecordingCanvas canvas = Paint(c);
  auto captions = Of(canvas, K::TextOut);
  ASSERT_EQ(captions.size(), 1u);
  const Op* caption = captions[0];
  const int left = caption->x, right = caption->x + fake::RecordingCanvas::Measure(caption->font, caption->text.size()).cx;
  EXPECT_EQ(caption->text, "Dec. 2004");
  auto polys = Of(canvas, K::Polygon);
  ASSERT_EQ(polys.size(), 6u);
  for (const Op* p : polys)
    for (TPoint v : p->points) EXPECT_TRUE(v.x < left || v.x >= right) << "an arrow at x = " << v.x << " under the caption";

  // The six triangles in painting order: previous month, next month, both previous-year and
  // both next-year ones; what a press on each of their pixels does to December 2004.
  const char* const expected[6] = {"2004-11", "2005-1", "2003-12", "2003-12", "2005-12", "2005-12"};
  fp.windows.nextMenuCommand = 0;
  for (size_t k = 0; k < polys.size(); ++k) {
    const std::vector<TPoint>& t = polys[k]->points;
    int pressed = 0;
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 150; ++x) {
        if (!Inside(t, x, y)) continue;
        c->WmMouseDown(mbLeft, 0, x, y);
        c->WmMouseUp(mbLeft, 0, x, y);
        dates::Ymd shown = dates::DecodeDate(c->CurrentDate());
        EXPECT_EQ(std::to_string(shown.year) + "-" + std::to_string(shown.month), expected[k])
            << "a press at (" << x << ", " << y << ")";
        g->SetMonth(12);
        g->SetYear(2004);
        ++pressed;
      }
    EXPECT_GT(pressed, 10) << "triangle " << k;
  }
  EXPECT_TRUE(fp.windows.menus.empty()) << "no press on an arrow opened a menu";
}

TEST_F(CalendarPaint, TodayFrameOnlyInTodaysMonthAndStyles) {
  TMonthCalendar* c = MakeCalendar(false);
  c->SetShowToday(true);
  c->MoveToDate(1, 4, 2004);
  auto count = [&] { return Count(Paint(c), K::LineTo); };
  size_t april = count();
  c->MoveToDate(1, 3, 2004);
  EXPECT_EQ(count(), april + 4);
  c->MoveToDate(1, 3, 2005);
  EXPECT_EQ(count(), april);
  c->MoveToDate(1, 3, 2004);
  struct Case {
    TTodayStyle style;
    TColor first, second;
  } cases[] = {{tsSunken, clGray, clWhite}, {tsRaised, clWhite, clGray}, {tsFlat, clGray, clGray}};
  c->SetLineColor(clGray);
  for (const auto& k : cases) {
    c->SetTodayStyle(k.style);
    fake::RecordingCanvas shot1 = Paint(c);
    auto lines = Of(shot1, K::LineTo);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[lines.size() - 4]->pen, k.first);
    EXPECT_EQ(lines[lines.size() - 1]->pen, k.second);
  }
}

TEST_F(CalendarPaint, PaintLockLeavesOnlyThePanel) {
  TMonthCalendar* c = MakeCalendar(false);
  c->LockPaint();
  fake::RecordingCanvas canvas = Paint(c, false, true);
  EXPECT_EQ(Signature(canvas), "FillRect");
  EXPECT_EQ(canvas.ops[0].rect, (TRect{0, 0, 150, 130}));
}

TEST_F(CalendarPaint, PanelBevels) {
  TMonthCalendar* c = MakeCalendar(false);
  c->LockPaint();
  c->SetBevelOuter(bvRaised);
  c->SetBevelWidth(2);
  c->SetBevelInner(bvLowered);
  c->SetBorderWidth(3);
  fake::RecordingCanvas canvas = Paint(c);
  // Two raised rings (light top-left, shadow bottom-right), the border band, two lowered
  // rings, the rest.
  auto fills = Of(canvas, K::FillRect);
  ASSERT_EQ(fills.size(), 8u + 1 + 8 + 1);
  EXPECT_EQ(fills[0]->rect, (TRect{0, 0, 149, 1}));
  EXPECT_EQ(fills[0]->brush, clBtnHighlight);
  EXPECT_EQ(fills[2]->rect, (TRect{0, 129, 150, 130}));
  EXPECT_EQ(fills[2]->brush, clBtnShadow);
  EXPECT_EQ(fills[4]->rect, (TRect{1, 1, 148, 2}));
  EXPECT_EQ(fills[8]->rect, (TRect{2, 2, 148, 128}));
  EXPECT_EQ(fills[9]->brush, clBtnShadow) << "lowered: shadow on top";
  EXPECT_EQ(fills[9]->rect, (TRect{5, 5, 144, 6}));
  EXPECT_EQ(fills.back()->rect, (TRect{7, 7, 143, 123}));
}

TEST_F(CalendarPaint, GradientBands) {
  fake::RecordingCanvas canvas;
  // 40 pixels in 80 bands: offsets round half to even (0.5 -> 0, 1.5 -> 2, 2.5 -> 2).
  TMonthCalendar::GradientFill(canvas, TRect{0, 0, 10, 40}, Rgb(0, 0, 0), Rgb(40, 80, 0), gdHorizontal);
  ASSERT_EQ(canvas.ops.size(), 80u);
  EXPECT_EQ(canvas.ops[1].rect, (TRect{0, 0, 10, 1}));
  EXPECT_EQ(canvas.ops[3].rect, (TRect{0, 2, 10, 3}));
  EXPECT_EQ(canvas.ops[5].rect, (TRect{0, 2, 10, 3}));
  EXPECT_EQ(canvas.ops[79].rect, (TRect{0, 40, 10, 40}));
  // Colours: red steps by 0.5 (ties to even), green by 1.
  EXPECT_EQ(canvas.ops[1].brush, Rgb(0, 1, 0));
  EXPECT_EQ(canvas.ops[3].brush, Rgb(2, 3, 0));
  EXPECT_EQ(canvas.ops[79].brush, Rgb(40, 79, 0));

  canvas.Clear();
  TMonthCalendar::GradientFill(canvas, TRect{10, 0, 170, 20}, clRed, clRed, gdVertical);
  ASSERT_EQ(canvas.ops.size(), 80u);
  for (const Op& op : canvas.ops) EXPECT_EQ(op.brush, clRed);
  EXPECT_EQ(canvas.ops[0].rect, (TRect{10, 0, 13, 20}));
  EXPECT_EQ(canvas.ops[1].rect, (TRect{12, 0, 15, 20}));
  EXPECT_EQ(canvas.ops[79].rect, (TRect{168, 0, 170, 20}));

  canvas.Clear();
  TMonthCalendar::GradientFill(canvas, TRect{0, 0, 10, 10}, clWhite, clBlack, gdHorizontal, 0);
  EXPECT_EQ(canvas.ops.size(), 1u) << "no steps counts as one";
}

TEST_F(CalendarPaint, CaptionBarAndBandGradientSwitches) {
  TMonthCalendar* c = MakeCalendar(false);
  c->SetCaptionColor(clNone);
  EXPECT_EQ(Count(Paint(c), K::Rectangle), 0u) << "no caption bar";
  // A band start colour without an end colour: no band gradient, but the day gradient
  // starts at the band line yb = (130 + 8) div 8 + th - 4 = 26.
  c->SetMonthGradientStartColor(clYellow);
  fake::RecordingCanvas shot2 = Paint(c);
  auto fills = Of(shot2, K::FillRect);
  ASSERT_EQ(fills.size(), 2u + 80);
  EXPECT_EQ(fills[2]->rect.top, 26);
  EXPECT_EQ(fills[2]->brush, clWhite);
  c->SetMonthGradientEndColor(clRed);
  fake::RecordingCanvas shot3 = Paint(c);
  fills = Of(shot3, K::FillRect);
  ASSERT_EQ(fills.size(), 2u + 160);
  EXPECT_EQ(fills[2]->brush, clYellow);
  EXPECT_EQ(fills[2]->rect.top, 1);
  EXPECT_EQ(fills[81]->rect.bottom, 26);
  EXPECT_EQ(fills[82]->rect.top, 26);
  c->SetGradientEndColor(clNone);
  EXPECT_EQ(Count(Paint(c), K::FillRect), 2u + 80);
}

TEST_F(CalendarPaint, WithoutWeeksTheArrowsStartAtTheBorder) {
  TMonthCalendar* c = MakeCalendar(false);
  c->SetBorderWidth(2);
  fake::RecordingCanvas shot4 = Paint(c);
  auto polys = Of(shot4, K::Polygon);
  ASSERT_EQ(polys.size(), 6u);
  EXPECT_EQ(polys[2]->points, (std::vector<TPoint>{{12, 3}, {7, 8}, {12, 13}})) << "previous year at bw + 5";
  EXPECT_EQ(polys[0]->points, (std::vector<TPoint>{{32, 3}, {27, 8}, {32, 13}})) << "previous month at bw + 25";
  // Hidden year arrows bring the month arrows to the edges.
  c->Browsers()->SetPrevYear(false);
  c->Browsers()->SetNextYear(false);
  fake::RecordingCanvas shot5 = Paint(c);
  polys = Of(shot5, K::Polygon);
  ASSERT_EQ(polys.size(), 2u);
  EXPECT_EQ(polys[0]->points, (std::vector<TPoint>{{12, 3}, {7, 8}, {12, 13}}));
  EXPECT_EQ(polys[1]->points, (std::vector<TPoint>{{140, 3}, {140, 13}, {145, 8}}));
  EXPECT_EQ(Count(Paint(c), K::ThemedBorder), 0u) << "no themes on this canvas";
}

TEST_F(CalendarPaint, ArrowColoursFollowHoverAndRange) {
  TMonthCalendar* c = MakeCalendar(false);
  c->SetCaptionTextColor(clNavy);
  c->SetSelectColor(clLime);
  c->SetInActiveColor(clSilver);
  c->MaxDate()->SetDay(31);
  c->MaxDate()->SetMonth(3);
  c->MaxDate()->SetYear(2004);
  c->MaxDate()->SetUse(true);
  c->WmMouseMove(0, 10, 7);  // over the previous-year arrow (x' = 9)
  ASSERT_TRUE(c->Hovered(TMonthCalendar::hvPrevYear));
  fake::RecordingCanvas shot6 = Paint(c);
  auto polys = Of(shot6, K::Polygon);
  ASSERT_EQ(polys.size(), 6u);
  EXPECT_EQ(polys[0]->brush, clNavy) << "previous month";
  EXPECT_EQ(polys[1]->brush, clSilver) << "next month: 1 April is past the bound";
  EXPECT_EQ(polys[2]->brush, clLime) << "previous year, hovered";
  EXPECT_EQ(polys[4]->brush, clSilver) << "next year";
}

TEST_F(CalendarPaint, SelectedTodayWithFocus) {
  TMonthCalendar* c = MakeCalendar(false);
  c->SetShowToday(true);
  c->SetSelectColor(Rgb(0, 128, 128));
  c->MoveToDate(21, 3, 2004);  // selected, today, and the cursor day
  fake::RecordingCanvas canvas = Paint(c, true);
  cal::Geometry g = c->Geometry();
  TRect cell = g.DayCell(1, 4);
  size_t fill = 0, number = 0, focus = 0, frame = 0;
  for (size_t k = 0; k < canvas.ops.size(); ++k) {
    const Op& op = canvas.ops[k];
    if (op.kind == K::FillRect && op.rect == cell) fill = k;
    if (op.kind == K::DrawText && op.text == "21" && op.rect == cell) number = k;
    if (op.kind == K::FocusRect) focus = k;
    if (op.kind == K::MoveTo && op.x == 1 * 0 + g.wk + 4 && op.y == 5 * g.dy + g.t0 - 3) frame = k;
  }
  ASSERT_GT(fill, 0u);
  EXPECT_EQ(canvas.ops[fill].brush, Rgb(0, 128, 128));
  EXPECT_EQ(canvas.ops[number].font.color, clWhite);
  EXPECT_LT(fill, number);
  EXPECT_LT(number, focus);
  EXPECT_LT(focus, frame);
  EXPECT_EQ(canvas.ops[focus].rect, cell);
  EXPECT_EQ(canvas.ops[focus].pen, clBlack);
  // Without the focus there is no focus rectangle; without ShowSelection no fill.
  EXPECT_EQ(Count(Paint(c, false), K::FocusRect), 0u);
  c->SetShowSelection(false);
  fake::RecordingCanvas shot7 = Paint(c);
  for (const Op* op : Of(shot7, K::FillRect)) EXPECT_NE(op->rect, cell);
}

TEST_F(CalendarPaint, RangeAndAdjacentMonthColours) {
  TMonthCalendar* c = MakeCalendar(false);
  c->SetInversColor(clPurple);
  c->SetInActiveColor(clSilver);
  c->MaxDate()->SetDay(12);
  c->MaxDate()->SetMonth(3);
  c->MaxDate()->SetYear(2004);
  c->MaxDate()->SetUse(true);
  c->MoveToDate(1, 3, 2004);
  fake::RecordingCanvas canvas = Paint(c);
  cal::Geometry g = c->Geometry();
  // 42 numbers: 29 February first, then March, then 1 ... 10 April.
  EXPECT_EQ(Of(canvas, K::DrawText).size(), 7u + 42);
  EXPECT_EQ(TextIn(canvas, "29", g.DayCell(1, 1))->font.color, clPurple) << "previous month, in range";
  EXPECT_EQ(TextIn(canvas, "12", g.DayCell(6, 2))->font.color, clBlack) << "Friday 12 March, the last allowed";
  EXPECT_EQ(TextIn(canvas, "13", g.DayCell(7, 2))->font.color, clSilver) << "a Saturday outside the range";
  EXPECT_EQ(TextIn(canvas, "1", g.DayCell(5, 5))->font.color, clSilver) << "1 April, next month";
  c->SetShowDaysBefore(false);
  c->SetShowDaysAfter(false);
  EXPECT_EQ(Count(Paint(c), K::DrawText), 7u + 31);
}

TEST_F(CalendarPaint, Look3DFramesTheBandAndTheCells) {
  TMonthCalendar* c = MakeCalendar(false);
  c->SetLook(look3D);
  c->SetShowDaysBefore(false);
  c->SetShowDaysAfter(false);
  fake::RecordingCanvas canvas = Paint(c);
  cal::Geometry g = c->Geometry();
  TRect band{2, g.dy - 8, 148, 13 + g.dy - 4};
  for (const Op* op : Of(canvas, K::FillRect)) EXPECT_NE(op->rect, band) << "HeaderColor none: no fill";
  // The band's frame starts at its bottom-left corner in white.
  bool framed = false;
  for (size_t k = 0; k + 1 < canvas.ops.size(); ++k)
    if (canvas.ops[k].kind == K::MoveTo && canvas.ops[k].x == band.left && canvas.ops[k].y == band.bottom - 1 &&
        canvas.ops[k + 1].pen == clWhite)
      framed = true;
  EXPECT_TRUE(framed);
  // The band's frame, the separator and its white line, and a four-line frame per cell.
  EXPECT_EQ(Of(canvas, K::LineTo).size(), 4u + 2 + 31 * 4);
  c->SetHeaderColor(clYellow);
  bool filled = false;
  fake::RecordingCanvas shot8 = Paint(c);
  for (const Op* op : Of(shot8, K::FillRect)) filled |= op->rect == band && op->brush == clYellow;
  EXPECT_TRUE(filled);
}

struct MarkerCase {
  TEventShape shape;
  K kind;
  std::vector<TPoint> points;
};

TEST_F(CalendarPaint, EventDayMarkers) {
  TMonthCalendar* c = MakeCalendar(false);
  c->SetShowDaysBefore(false);
  c->SetShowDaysAfter(false);
  c->SetEventDayColor(clNavy);
  c->MoveToDate(1, 3, 2004);
  c->SelectedDates().Clear();
  cal::Geometry g = c->Geometry();
  TRect cell = g.DayCell(4, 2);  // Wednesday 10 March
  TRect r{cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1};
  int mx = r.left + (r.right - r.left) / 2, my = r.top + (r.bottom - r.top) / 2;
  const MarkerCase cases[] = {
      {evsRectangle, K::Rectangle, {}},
      {evsCircle, K::Ellipse, {}},
      {evsSquare, K::Polygon, {{mx, r.top}, {r.right, my}, {mx, r.bottom}, {r.left, my}}},
      {evsTriangle, K::Polygon, {{mx, r.top}, {r.right, r.bottom}, {r.left, r.bottom}}},
  };
  c->EventDates().AddDate(D(2004, 3, 10));
  TSelDateItem* e = c->EventDates().Items(0);
  e->SetColor(clLime);
  e->SetFontColor(Rgb(128, 0, 0));
  for (const auto& k : cases) {
    e->SetShape(k.shape);
    fake::RecordingCanvas canvas = Paint(c);
    const Op* marker = nullptr;
    for (const Op& op : canvas.ops)
      if (op.kind == k.kind && op.brush == clLime) marker = &op;
    ASSERT_NE(marker, nullptr) << int(k.shape);
    if (k.points.empty())
      EXPECT_EQ(marker->rect, r);
    else
      EXPECT_EQ(marker->points, k.points);
    const Op* number = TextIn(canvas, "10", cell);
    ASSERT_NE(number, nullptr);
    EXPECT_GT(number, marker) << "the number goes on top";
    EXPECT_EQ(number->font.color, Rgb(128, 0, 0)) << "the entry's text colour";
    EXPECT_TRUE(number->font.style & fsBold);
    EXPECT_FALSE(TextIn(canvas, "11", g.DayCell(5, 2))->font.style & fsBold) << "the bold does not leak";
  }
  e->SetShape(evsNone);
  fake::RecordingCanvas canvas = Paint(c);
  for (const Op& op : canvas.ops)
    EXPECT_FALSE(op.brush == clLime && (op.kind == K::Rectangle || op.kind == K::Ellipse || op.kind == K::Polygon));
  // An event day from the handler alone: the default marker and the event colour.
  c->EventDates().Clear();
  c->OnGetDateHint = [](TObject*, TDateTime d, bool& isEvent) { isEvent = dates::DecodeDate(d).day == 10; };
  canvas = Paint(c);
  const Op* number = TextIn(canvas, "10", cell);
  ASSERT_NE(number, nullptr);
  EXPECT_EQ(number->font.color, clNavy);
  auto ellipses = Of(canvas, K::Ellipse);
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_EQ(ellipses[0]->brush, clYellow);
}

TEST_F(CalendarPaint, BackgroundPicturePositions) {
  TMonthCalendar* c = MakeCalendar(false);
  c->Background()->SetPicture(TCalBitmap{"STONE", 40, 50});
  struct Case {
    TBackGroundPosition pos;
    TPoint at;
  } cases[] = {{bpTopLeft, {1, 1}},   {bpTopRight, {109, 1}}, {bpBottomLeft, {1, 79}},
               {bpBottomRight, {109, 79}}, {bpCenter, {54, 39}}};
  for (const auto& k : cases) {
    c->SetBackgroundPosition(k.pos);
    fake::RecordingCanvas canvas = Paint(c);
    auto images = Of(canvas, K::Image);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ((TPoint{images[0]->x, images[0]->y}), k.at) << int(k.pos);
    EXPECT_EQ(Of(canvas, K::FillRect).size(), 2u) << "no gradient under a picture";
  }
  c->SetBackgroundPosition(bpTiled);
  fake::RecordingCanvas canvas = Paint(c);
  auto images = Of(canvas, K::Image);
  EXPECT_EQ(images.size(), 4u * 3);  // 148 / 40 -> 4 across, 128 / 50 -> 3 down
  auto clips = Of(canvas, K::ClipRect);
  ASSERT_EQ(clips.size(), 2u);
  EXPECT_EQ(clips[0]->rect, (TRect{1, 1, 149, 129}));
  EXPECT_EQ(clips[1]->flags, 0u) << "the limit is removed again";
  c->SetBackgroundPosition(bpStretched);
  fake::RecordingCanvas shot9 = Paint(c);
  auto stretched = Of(shot9, K::StretchImage);
  ASSERT_EQ(stretched.size(), 1u);
  EXPECT_EQ(stretched[0]->rect, (TRect{1, 1, 149, 129}));
}

TEST_F(CalendarPaint, GlyphsReplaceTheTriangles) {
  TMonthCalendar* c = MakeCalendar(false);
  c->Glyphs()->SetPrevYear(TCalBitmap{"PY", 12, 10});
  c->Glyphs()->SetNextYear(TCalBitmap{"NY", 14, 10});
  c->Glyphs()->SetNextMonth(TCalBitmap{"NM", 8, 10});
  fake::RecordingCanvas canvas = Paint(c);
  std::map<std::string, TPoint> at;
  for (const Op* op : Of(canvas, K::Image)) {
    at[op->text] = TPoint{op->x, op->y};
    EXPECT_EQ(op->flags, 1u) << "drawn with transparency";
  }
  EXPECT_EQ(at["PY"], (TPoint{1 + 5, 2}));
  EXPECT_EQ(at["NY"], (TPoint{150 - 14 - 5, 2}));
  EXPECT_EQ(at["NM"], (TPoint{150 - (8 + 14 + 10), 2}));
  // The previous month keeps its triangle, moved right of the previous-year bitmap.
  auto polys = Of(canvas, K::Polygon);
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(polys[0]->points, (std::vector<TPoint>{{1 + 20 + 12 + 5, 2}, {1 + 20 + 12, 7}, {1 + 20 + 12 + 5, 12}}));
}

TEST_F(CalendarPaint, TodayLine) {
  TMonthCalendar* c = MakeCalendar(false);
  c->SetShowGotoToday(true);
  fake::RecordingCanvas canvas = Paint(c);
  auto texts = Of(canvas, K::TextOut);
  ASSERT_EQ(texts.size(), 2u);
  cal::Geometry g = c->Geometry();
  EXPECT_EQ(texts[1]->text, "Today Sun/03, 2004");
  EXPECT_EQ(texts[1]->x, g.wk + 2);
  EXPECT_EQ(texts[1]->y, 8 * g.dy - 4);
  EXPECT_FALSE(texts[1]->font.style & fsUnderline);
  // Hovered: underlined, in the selection colour.
  c->WmMouseMove(0, g.wk + 5, 8 * g.dy);
  ASSERT_TRUE(c->Hovered(TMonthCalendar::hvToday));
  fake::RecordingCanvas shot10 = Paint(c);
  texts = Of(shot10, K::TextOut);
  EXPECT_TRUE(texts[1]->font.style & fsUnderline);
  EXPECT_EQ(texts[1]->font.color, c->SelectColor());
}

}  // namespace
}  // namespace vsi::caltest
