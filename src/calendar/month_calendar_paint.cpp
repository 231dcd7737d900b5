// Painting of the month calendar: its state and its layout onto any canvas. Nothing here
// changes the model or keeps anything for later; where things go is calendar_layout's.
#include "calendar/month_calendar.h"

#include <algorithm>
#include <cmath>

#include "framework/context.h"

namespace vsi {

using dates::Ymd;

namespace cal {

// The canvas with the brush and the font remembered: text is drawn transparently (a clear
// brush while the text goes out) and the brush is put back afterwards.
class Painter {
 public:
  explicit Painter(ICanvas& c) : c_(c) {}
  ICanvas& canvas() { return c_; }
  void Brush(TColor color) {
    brush_ = color;
    c_.SetBrush(color);
  }
  TColor brush() const { return brush_; }
  void Pen(TColor color) { c_.SetPen(color); }
  void Font(const FontSpec& f) {
    font_ = f;
    c_.SetFont(font_);
  }
  const FontSpec& font() const { return font_; }
  void FontColor(TColor color) {
    if (font_.color == color) return;
    font_.color = color;
    c_.SetFont(font_);
  }
  void FontStyle(uint8_t style) {
    if (font_.style == style) return;
    font_.style = style;
    c_.SetFont(font_);
  }
  void Text(const std::string& text, TRect r, uint32_t flags) {
    c_.SetBrush(brush_, BrushStyle::Clear);
    c_.DrawText(text, r, flags);
    c_.SetBrush(brush_);
  }
  void TextAt(int x, int y, const std::string& text) {
    c_.SetBrush(brush_, BrushStyle::Clear);
    c_.TextOut(x, y, text);
    c_.SetBrush(brush_);
  }
  void Line(int x1, int y1, int x2, int y2) {
    c_.MoveTo(x1, y1);
    c_.LineTo(x2, y2);
  }
  // One-pixel outline: white top and left, grey bottom and right.
  void RaisedFrame(const TRect& r) {
    c_.SetPen(clWhite);
    c_.MoveTo(r.left, r.bottom - 1);
    c_.LineTo(r.left, r.top);
    c_.LineTo(r.right - 1, r.top);
    c_.SetPen(clGray);
    c_.LineTo(r.right - 1, r.bottom - 1);
    c_.LineTo(r.left, r.bottom - 1);
  }

 private:
  ICanvas& c_;
  TColor brush_ = clNone;
  FontSpec font_;
};

}  // namespace cal

namespace {

constexpr uint32_t kCellFlags = DT_SINGLELINE_ | DT_VCENTER_ | DT_CENTER_;
constexpr uint32_t kNameFlags = DT_SINGLELINE_ | DT_CENTER_;

bool IsWeekend(TDateTime d) {
  int dow = dates::DayOfWeek(d);
  return dow == 1 || dow == 7;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Painting

void TMonthCalendar::Paint(ICanvas& canvas) {
  CalendarPaintInputs in;
  in.now = Now();
  in.focused = HasFocus();
  PaintCalendar(canvas, in);
}

void TMonthCalendar::PaintCalendar(ICanvas& canvas, const CalendarPaintInputs& in) {
  PaintPanel(canvas);
  if (paintLock_ > 0) return;
  const cal::Geometry g = Layout(in.now);
  const int W = g.W, H = g.H;
  if (themesAvailable_ && borderXP_) canvas.DrawThemedBorder(TRect{0, 0, W, H});
  cal::Painter p(canvas);
  int shrink = borderWidth_ + ((bevelInner_ != bvNone || bevelOuter_ != bvNone) ? bevelWidth_ : 0);
  TRect inner{shrink, shrink, W - shrink, H - shrink};
  p.Pen(color_);
  p.Brush(color_);
  canvas.FillRect(inner);
  PaintBackground(p, g, inner);
  if (captionColor_ != clNone) {
    const TRect& bar = g.captionBar;
    p.Brush(captionColor_);
    p.Pen(clGray);
    canvas.Rectangle(bar);
    p.Pen(clWhite);
    canvas.MoveTo(bar.left, bar.bottom);
    canvas.LineTo(bar.left, bar.top);
    canvas.LineTo(bar.right, bar.top);
  }
  if (nameOfDays_ && nameOfMonths_) PaintGrid(p, g, in);
  if (showGotoToday_) PaintTodayLine(p, g, in.now);
}

void TMonthCalendar::GradientFill(ICanvas& canvas, const TRect& r, TColor start, TColor end, TGradientDirection dir,
                                  int steps) {
  if (steps <= 0) steps = 1;
  TColor s = canvas.ResolveColor(start), e = canvas.ResolveColor(end);
  int sc[3] = {int(s & 0xFF), int((s >> 8) & 0xFF), int((s >> 16) & 0xFF)};
  int ec[3] = {int(e & 0xFF), int((e >> 8) & 0xFF), int((e >> 16) & 0xFF)};
  double step[3];
  for (int k = 0; k < 3; ++k) step[k] = double(ec[k] - sc[k]) / steps;
  bool horizontal = dir == gdHorizontal;
  double size = horizontal ? double(r.bottom - r.top) / steps : double(r.right - r.left) / steps;
  int whole = static_cast<int>(size);
  for (int n = 0; n < steps; ++n) {
    int ch[3];
    for (int k = 0; k < 3; ++k) ch[k] = std::clamp(sc[k] + int(std::nearbyint(n * step[k])), 0, 255);
    TColor c = Rgb(uint8_t(ch[0]), uint8_t(ch[1]), uint8_t(ch[2]));
    canvas.SetPen(c);
    canvas.SetBrush(c);
    int off = int(std::nearbyint(n * size));
    if (horizontal)
      canvas.FillRect(TRect{r.left, r.top + off, r.right, std::min(r.bottom, r.top + off + whole + 1)});
    else
      canvas.FillRect(TRect{r.left + off, r.top, std::min(r.right, r.left + off + whole + 1), r.bottom});
  }
}

void TMonthCalendar::PaintBackground(cal::Painter& p, const cal::Geometry& g, const TRect& r) {
  ICanvas& canvas = p.canvas();
  const int W = g.W, H = g.H;
  if (!background_->Empty()) {
    const TCalBitmap& pic = background_->Picture();
    int pw = pic.width, ph = pic.height, bev = bevelWidth_;
    int right = std::max(r.left, W - pw - bev), bottom = std::max(r.top, H - ph - bev);
    switch (backgroundPosition_) {
      case bpTopLeft:
        canvas.DrawImage(pic.resource, r.left, r.top, false);
        break;
      case bpTopRight:
        canvas.DrawImage(pic.resource, right, r.top, false);
        break;
      case bpBottomLeft:
        canvas.DrawImage(pic.resource, r.left, bottom, false);
        break;
      case bpBottomRight:
        canvas.DrawImage(pic.resource, right, bottom, false);
        break;
      case bpTiled:
        canvas.SetClipRect(&r);
        for (int y = r.top; y < r.bottom; y += ph)
          for (int x = r.left; x < r.right; x += pw) canvas.DrawImage(pic.resource, x, y, false);
        canvas.SetClipRect(nullptr);
        break;
      case bpStretched:
        canvas.StretchImage(pic.resource, r);
        break;
      case bpCenter:
        canvas.DrawImage(pic.resource, right / 2, bottom / 2, false);
        break;
    }
    return;
  }
  const int yb = g.gradientBandY;
  if (monthGradientStartColor_ != clNone && monthGradientEndColor_ != clNone) {
    TRect band = r;
    band.bottom = yb;
    GradientFill(canvas, band, monthGradientStartColor_, monthGradientEndColor_, monthGradientDirection_);
  }
  if (gradientStartColor_ != clNone && gradientEndColor_ != clNone) {
    TRect body = r;
    if (monthGradientStartColor_ != clNone) body.top = yb;
    GradientFill(canvas, body, gradientStartColor_, gradientEndColor_, gradientDirection_);
  }
}

void TMonthCalendar::PaintArrows(cal::Painter& p, const cal::Geometry& g) {
  ICanvas& canvas = p.canvas();
  struct Arrow {
    cal::Arrow arrow;
    HoverPart hover;
    TDateTime target;
  };
  const Arrow arrows[] = {{cal::Arrow::PrevMonth, hvPrevMonth, PrevMonthTarget()},
                          {cal::Arrow::NextMonth, hvNextMonth, NextMonthTarget()},
                          {cal::Arrow::PrevYear, hvPrevYear, PrevYearTarget()},
                          {cal::Arrow::NextYear, hvNextYear, NextYearTarget()}};
  for (const Arrow& a : arrows) {
    const cal::ArrowPlace& place = g.Place(a.arrow);
    if (!place.shown) continue;
    if (place.bitmap) {
      canvas.DrawImage(Glyph(a.arrow).resource, place.bitmapAt.x, place.bitmapAt.y, true);
      continue;
    }
    TColor color = hover_[a.hover] ? selectColor_ : captionTextColor_;
    if (!InRange(a.target)) color = inActiveColor_;
    p.Pen(color);
    p.Brush(color);
    for (const auto& t : place.triangles) canvas.Polygon(t);
    p.Brush(color_);
  }
}

void TMonthCalendar::PaintCaption(cal::Painter& p, const cal::Geometry& g) {
  const cal::CaptionPlace& cap = g.caption;
  p.FontColor(hover_[hvCaption] ? selectColor_ : captionTextColor_);
  // Too wide even shortened: what does not fit between the arrows is cut, never drawn under them.
  if (cap.clipped) p.canvas().SetClipRect(&cap.room);
  p.TextAt(cap.x, cap.y, cap.text);
  if (cap.clipped) p.canvas().SetClipRect(nullptr);
  p.FontColor(textColor_);
}

void TMonthCalendar::PaintDayNames(cal::Painter& p, const cal::Geometry& g) {
  ICanvas& canvas = p.canvas();
  p.Font(dayFont_->Spec());
  if (look_ == look3D) {
    if (headerColor_ != clNone) {
      p.Brush(headerColor_);
      canvas.FillRect(g.dayNameBand);
    }
    p.RaisedFrame(g.dayNameBand);
  }
  for (int i = 1; i <= 7; ++i) p.Text(nameOfDays_->Name(i + startDay_ - 1), g.DayNameCell(i), kNameFlags);
  p.Brush(color_);
  p.Pen(lineColor_);
  const int y = g.dayNameLineY;
  p.Line(g.bw, y, g.W - g.bw, y);
  if (line3D_) {
    p.Pen(clWhite);
    p.Line(g.bw, y + 1, g.W - g.bw, y + 1);
  }
}

void TMonthCalendar::PaintWeeks(cal::Painter& p, const cal::Geometry& g) {
  const int x = g.weekLineX, y = g.dayNameLineY;
  p.Pen(lineColor_);
  p.Line(x, y, x, g.lineEndY);
  if (line3D_) {
    p.Pen(clWhite);
    p.Line(x + 1, y + 1, x + 1, g.lineEndY);
  }
  p.Font(dayFont_->Spec());
  p.Text(weekName_, g.WeekHeadingCell(), kNameFlags);
  p.Brush(color_);
  p.Font(weekFont_->Spec());
  cal::YearStart ys = YearStartRule();
  for (int j = 1; j <= 6; ++j)
    p.Text(std::to_string(cal::WeekNumber(j, g.in.month, g.in.year, startDay_, ys)), g.WeekNumberCell(j), kCellFlags);
}

void TMonthCalendar::PaintMarker(cal::Painter& p, const TRect& cell, TColor color, TEventShape shape) {
  ICanvas& canvas = p.canvas();
  TRect r{cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1};
  int mx = r.left + (r.right - r.left) / 2, my = r.top + (r.bottom - r.top) / 2;
  p.Pen(color);
  p.Brush(color);
  switch (shape) {
    case evsRectangle:
      canvas.Rectangle(r);
      break;
    case evsCircle:
      canvas.Ellipse(r);
      break;
    case evsSquare:
      canvas.Polygon({{mx, r.top}, {r.right, my}, {mx, r.bottom}, {r.left, my}});
      break;
    case evsTriangle:
      canvas.Polygon({{mx, r.top}, {r.right, r.bottom}, {r.left, r.bottom}});
      break;
    case evsNone:
      break;
  }
}

void TMonthCalendar::PaintDays(cal::Painter& p, const cal::Geometry& g, const CalendarPaintInputs& in) {
  ICanvas& canvas = p.canvas();
  Ymd disp = dates::DecodeDate(displayDate_);
  const int c = g.c;
  const int days = dates::DaysInMonth(disp.month, disp.year);
  const Ymd prev = dates::PrevMonth(disp.month, disp.year), next = dates::NextMonth(disp.month, disp.year);
  const int prevDays = dates::DaysInMonth(prev.month, prev.year);
  const bool todayShown = showToday_ && in.now.month == disp.month && in.now.year == disp.year;
  const TDateTime first = dates::EncodeDate(disp.year, disp.month, 1);

  p.Font(Font()->Spec());
  const uint8_t style = p.font().style;
  auto selected = [&](TDateTime d) { return showSelection_ && selection_->HasDate(d); };
  auto eventLook = [&](TDateTime d, const TRect& cell, TEventProp* entry) {
    p.FontStyle(style | fsBold);
    p.FontColor(eventDayColor_);
    if (entry)
      PaintMarker(p, cell, entry->Color(), entry->Shape());
    else
      PaintMarker(p, cell, eventMarkerColor_, eventMarkerShape_);
    if (entry) p.FontColor(entry->FontColor());
  };

  for (int i = 1; i <= 7; ++i) {
    for (int j = 1; j <= 6; ++j) {
      p.FontStyle(style);
      const int A = i + 7 * (j - 1);
      const int n = A - c;
      const TRect cell = g.DayCell(i, j);
      TEventProp* entry = nullptr;
      if (n >= 1 && n <= days) {
        TDateTime date = first + (n - 1);
        bool isEvent = GetDateEvent(date, entry);
        if (isEvent) eventLook(date, cell, entry);
        if (selected(date)) {
          p.Brush(selectColor_);
          p.FontColor(selectFontColor_);
          canvas.FillRect(cell);
          if (look_ == look3D) p.RaisedFrame(cell);
          p.Text(std::to_string(n), cell, kCellFlags);
          p.Brush(color_);
          p.Pen(textColor_);
        } else {
          if (!isEvent) p.FontColor(IsWeekend(date) ? weekendColor_ : textColor_);
          if (!InRange(date)) p.FontColor(inActiveColor_);
          if (look_ == look3D) p.RaisedFrame(cell);
          p.Text(std::to_string(n), cell, kCellFlags);
        }
      } else if (n < 1) {
        if (showDaysBefore_) {
          int day = prevDays + n;
          TDateTime date = dates::EncodeDate(prev.year, prev.month, day);
          if (selected(date)) {
            p.Brush(selectColor_);
            p.Pen(selectColor_);
            p.FontColor(selectFontColor_);
            canvas.FillRect(cell);
          } else {
            p.Brush(color_);
          }
          bool isEvent = GetDateEvent(date, entry);
          p.FontColor(inversColor_);
          if (isEvent) eventLook(date, cell, entry);
          if (!InRange(date)) p.FontColor(inActiveColor_);
          p.Text(std::to_string(day), cell, kCellFlags);
          p.Brush(color_);
          p.Pen(textColor_);
        }
      } else if (showDaysAfter_) {
        int day = n - days;
        TDateTime date = dates::EncodeDate(next.year, next.month, day);
        p.FontColor(inversColor_);
        p.Brush(color_);
        if (selected(date)) {
          p.Brush(selectColor_);
          p.Pen(selectColor_);
          p.FontColor(selectFontColor_);
          canvas.FillRect(cell);
        }
        if (!InRange(date)) p.FontColor(inActiveColor_);
        if (GetDateEvent(date, entry)) eventLook(date, cell, entry);
        p.Text(std::to_string(day), cell, kCellFlags);
        p.Brush(color_);
        p.Pen(textColor_);
      }
      if (in.focused && n == disp.day) {
        p.Pen(clBlack);
        canvas.DrawFocusRect(cell);
      }
      if (todayShown && n == in.now.day) {
        const TRect f = g.TodayFrame(i, j);
        const int l = f.left, t = f.top, r = f.right, b = f.bottom;
        TColor c1 = todayStyle_ == tsRaised ? clWhite : todayStyle_ == tsFlat ? lineColor_ : clGray;
        TColor c2 = todayStyle_ == tsRaised ? clGray : todayStyle_ == tsFlat ? lineColor_ : clWhite;
        p.Pen(c1);
        canvas.MoveTo(l, b);
        canvas.LineTo(l, t);
        canvas.LineTo(r, t);
        p.Pen(c2);
        canvas.LineTo(r, b);
        canvas.LineTo(l, b);
        p.Pen(clBlack);
      }
    }
  }
}

void TMonthCalendar::PaintTodayLine(cal::Painter& p, const cal::Geometry& g, const SystemTime& now) {
  FontSpec f = Font()->Spec();
  if (hover_[hvToday]) {
    f.style |= fsUnderline;
    f.color = selectColor_;
  }
  p.Font(f);
  p.TextAt(g.todayLineAt.x, g.todayLineAt.y, TodayText(now));
}

void TMonthCalendar::PaintGrid(cal::Painter& p, const cal::Geometry& g, const CalendarPaintInputs& in) {
  p.Font(Font()->Spec());
  PaintArrows(p, g);
  PaintCaption(p, g);
  PaintDayNames(p, g);
  if (showWeeks_) PaintWeeks(p, g);
  PaintDays(p, g, in);
}

}  // namespace vsi
