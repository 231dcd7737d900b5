#include "calendar/month_calendar.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

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

int MonthOf(TDateTime d) { return dates::DecodeDate(d).month; }
bool IsWeekend(TDateTime d) {
  int dow = dates::DayOfWeek(d);
  return dow == 1 || dow == 7;
}

}  // namespace

const EnumInfo& EventShapeNames() {
  static const EnumInfo n{{"evsRectangle", "evsCircle", "evsSquare", "evsTriangle", "evsNone"}};
  return n;
}
const EnumInfo& TodayStyleNames() {
  static const EnumInfo n{{"tsSunken", "tsRaised", "tsFlat"}};
  return n;
}
const EnumInfo& CalendarLookNames() {
  static const EnumInfo n{{"lookFlat", "look3D"}};
  return n;
}
const EnumInfo& GradientDirectionNames() {
  static const EnumInfo n{{"gdHorizontal", "gdVertical"}};
  return n;
}
const EnumInfo& BackgroundPositionNames() {
  static const EnumInfo n{{"bpTopLeft", "bpTopRight", "bpBottomLeft", "bpBottomRight", "bpTiled", "bpStretched",
                           "bpCenter"}};
  return n;
}

// ---------------------------------------------------------------------------------------
// Construction

TMonthCalendar::TMonthCalendar(TComponent* owner) : TCustomCalendarPanel(owner) {
  const TFormatSettings* locale = &Context().format();
  selection_ = std::make_unique<TSelDateItems>(this);
  events_ = std::make_unique<TSelDateItems>(this);
  yearStart_ = std::make_unique<TYearStartAt>(this);
  minDate_ = std::make_unique<TMinMaxDate>(this);
  maxDate_ = std::make_unique<TMinMaxDate>(this);
  browsers_ = std::make_unique<TCalendarBrowsers>();
  glyphs_ = std::make_unique<TCalGlyphs>(this);
  background_ = std::make_unique<TBackgroundImage>();
  background_->OnChange = [this](TObject*) { Invalidate(); };
  dayFont_ = std::make_unique<TFont>();
  weekFont_ = std::make_unique<TFont>();
  dayFont_->OnChange = [this](TObject*) { Invalidate(); };
  weekFont_->OnChange = [this](TObject*) { Invalidate(); };
  nameOfDays_ = std::make_unique<TNameOfDays>(locale);
  nameOfMonths_ = std::make_unique<TNameOfMonths>(locale);

  SetBounds(left_, top_, 180, 180);
  borderWidth_ = 1;
  bevelOuter_ = bvNone;
  tabStop_ = true;

  SystemTime now = Now();
  TDateTime today = 0;
  dates::TryEncodeDate(now.year, now.month, now.day, today);
  displayDate_ = currentDate_ = resetDate_ = today;
  StepMonth(0);
  setDay_ = now.day;
  setMonth_ = now.month;
  setYear_ = now.year;

  // Themes need version 5.1 or later; whether they are active the border call itself tells.
  OsVersionInfo ver;
  if (Context().platform().system.GetVersionEx(ver))
    themesAvailable_ = ver.majorVersion > 5 || (ver.majorVersion == 5 && ver.minorVersion != 0);
  if (Designing()) {
    themesAvailable_ = true;
    hintPrevYear_ = "Previous Year";
    hintPrevMonth_ = "Previous Month";
    hintNextMonth_ = "Next Month";
    hintNextYear_ = "Next Year";
    weekName_ = "Wk";
  }

  auto names = [this](TObject* sender) { NamesChanged(sender); };
  nameOfDays_->OnChange = names;
  nameOfMonths_->OnChange = names;
  browsers_->OnChange = names;
}

TMonthCalendar::~TMonthCalendar() {
  // The lists go first: their entries must not call back into a half-destroyed calendar.
  selection_.reset();
  events_.reset();
}

SystemTime TMonthCalendar::Now() const {
  SystemTime t;
  Context().platform().system.GetLocalTime(t);
  return t;
}

bool TMonthCalendar::HasFocus() const {
  return HandleAllocated() && Context().platform().windows.GetFocus() == Handle();
}

void TMonthCalendar::TakeFocus() {
  if (HandleAllocated() && !HasFocus()) Windows().SetFocus(Handle());
}

void TMonthCalendar::NamesChanged(TObject*) {
  Ymd d = dates::DecodeDate(currentDate_);
  RebuildCaption(d.month, d.year);
  Invalidate();
}

// ---------------------------------------------------------------------------------------
// The panel's hooks

void TMonthCalendar::DatesChanged() { Invalidate(); }

void TMonthCalendar::DateChanged(TDateTime date) {
  if (paintLock_ > 0) return;
  InvalidateRect(CellRect(date), false);
}

bool TMonthCalendar::GetDateEvent(TDateTime date, TEventProp*& entry) {
  entry = nullptr;
  bool isEvent = false;
  eventTip_.clear();
  if (OnGetDateHint) OnGetDateHint(this, date, isEvent);
  if (eventHints_ && isEvent && OnGetDateHintString) OnGetDateHintString(this, date, isEvent, eventTip_);
  if (TSelDateItem* e = events_->DateItem(date)) {
    isEvent = true;
    entry = e;
  }
  if (isEvent && OnGetEventProp) {
    ++events_->internalOps_;
    try {
      OnGetEventProp(this, date, entry);
    } catch (...) {
      --events_->internalOps_;
      throw;
    }
    --events_->internalOps_;
  }
  return isEvent;
}

void TMonthCalendar::DoMonthChange(TDateTime oldDate, TDateTime newDate) {
  if (OnMonthChange) OnMonthChange(this, oldDate, newDate);
}

void TMonthCalendar::DoYearChange(TDateTime oldDate, TDateTime newDate) {
  if (OnYearChange) OnYearChange(this, oldDate, newDate);
}

void TMonthCalendar::UnlockPaint() {
  if (paintLock_ == 0) return;
  if (--paintLock_ == 0) Invalidate();
}

// ---------------------------------------------------------------------------------------
// Dates

uint16_t TMonthCalendar::Day() const { return static_cast<uint16_t>(dates::DecodeDate(currentDate_).day); }
uint16_t TMonthCalendar::Month() const { return static_cast<uint16_t>(dates::DecodeDate(currentDate_).month); }
uint16_t TMonthCalendar::Year() const { return static_cast<uint16_t>(dates::DecodeDate(currentDate_).year); }

void TMonthCalendar::AnchorTo(int day, int month, int year, int which, uint16_t v) {
  if (!dates::IsValidDate(year, month, day)) {
    ShowError("Invalid date");
    return;
  }
  MoveToDate(day, month, year);
  if (which == 0) setDay_ = v;
  if (which == 1) setMonth_ = v;
  if (which == 2) setYear_ = v;
  Invalidate();
}

void TMonthCalendar::SetDay(uint16_t v) { AnchorTo(v, setMonth_, setYear_, 0, v); }
void TMonthCalendar::SetMonth(uint16_t v) { AnchorTo(setDay_, v, setYear_, 1, v); }
void TMonthCalendar::SetYear(uint16_t v) { AnchorTo(setDay_, setMonth_, v, 2, v); }

bool TMonthCalendar::InRange(TDateTime date) const {
  TDateTime bound;
  if (minDate_->Use() && minDate_->Date(bound) && dates::WholeDay(bound) > dates::WholeDay(date)) return false;
  if (maxDate_->Use() && maxDate_->Date(bound) && dates::WholeDay(date) > dates::WholeDay(bound)) return false;
  return true;
}

bool TMonthCalendar::MonthInRange(TDateTime date) const {
  TDateTime bound;
  if (minDate_->Use() && minDate_->Date(bound)) {
    Ymd b = dates::DecodeDate(bound);
    if (dates::WholeDay(dates::EncodeDate(b.year, b.month, 1)) > dates::WholeDay(date)) return false;
  }
  if (maxDate_->Use() && maxDate_->Date(bound)) {
    Ymd b = dates::DecodeDate(bound);
    TDateTime last = dates::EncodeDate(b.year, b.month, dates::DaysInMonth(b.month, b.year));
    if (dates::WholeDay(date) > dates::WholeDay(last)) return false;
  }
  return true;
}

void TMonthCalendar::RebuildCaption(int month, int year) {
  std::string text = nameOfMonths_->Name(month) + " " + std::to_string(year);
  if (text.size() > 20) text.resize(20);
  if (text == captionText_) return;
  captionText_ = std::move(text);
  UpdateWindowText();
}

void TMonthCalendar::MoveToDate(int day, int month, int year) {
  TRect old = CellRect(currentDate_);
  displayDate_ = dates::EncodeDate(year, month, day);  // an impossible date fails before any change
  currentDate_ = displayDate_;
  InvalidateRect(old, false);
  RebuildCaption(month, year);
  resetDate_ = currentDate_;
  selection_->Clear();
  selection_->AddDate(currentDate_);
  Invalidate();
}

void TMonthCalendar::StepMonth(int delta) {
  Ymd d = dates::DecodeDate(displayDate_);
  Ymd m = dates::AddMonths(d.month, d.year, delta);
  TDateTime t;
  if (!dates::TryEncodeDate(m.year, m.month, std::min(d.day, dates::DaysInMonth(m.month, m.year)), t)) return;
  if (!InRange(t)) {
    TDateTime bound;
    if (minDate_->Use() && minDate_->Date(bound) && bound > t) t = bound;
    if (maxDate_->Use() && maxDate_->Date(bound) && bound < t) t = bound;
  }
  displayDate_ = currentDate_ = t;
  Ymd n = dates::DecodeDate(t);
  RebuildCaption(n.month, n.year);
  Invalidate();
}

void TMonthCalendar::StepYear(int delta) {
  Ymd d = dates::DecodeDate(displayDate_);
  int y = d.year + delta;
  TDateTime t;
  if (!dates::TryEncodeDate(y, d.month, std::min(d.day, dates::DaysInMonth(d.month, y)), t)) return;
  if (!InRange(t)) return;
  displayDate_ = currentDate_ = t;
  RebuildCaption(d.month, y);
  Invalidate();
}

void TMonthCalendar::NotifyDateChange(TDateTime oldDate, TDateTime newDate) {
  Ymd o = dates::DecodeDate(oldDate), n = dates::DecodeDate(newDate);
  if (o.day != n.day && OnDayChange) OnDayChange(this, oldDate, newDate);
  if (o.month != n.month) DoMonthChange(oldDate, newDate);
  if (o.year != n.year) DoYearChange(oldDate, newDate);
}

cal::Geometry TMonthCalendar::Geometry() const {
  return cal::Geometry::Compute(ClientWidth(), ClientHeight(), borderWidth_, showWeeks_, showGotoToday_);
}

void TMonthCalendar::CellOfDate(TDateTime date, int& column, int& row) const {
  Ymd d = dates::DecodeDate(displayDate_);
  cal::CellOfDate(date, d.month, d.year, startDay_, column, row);
}

TRect TMonthCalendar::CellRect(TDateTime date) const {
  int column = 0, row = 0;
  CellOfDate(date, column, row);
  return Geometry().CellRect(column, row);
}

TDateTime TMonthCalendar::DateAtPoint(int x, int y, bool navigate) {
  cal::Geometry g = Geometry();
  hitPoint_ = TPoint{x - g.wk, y};
  Ymd cur = dates::DecodeDate(currentDate_);
  int month = cur.month, year = cur.year;
  int c = FirstDayOffset(month, year);
  int column = 0, row = 0;
  g.ColumnRowAt(x - g.wk, y, column, row);
  int n = column + 7 * row - c + 1;
  if (n < 1) {
    Ymd p = dates::PrevMonth(month, year);
    month = p.month;
    year = p.year;
    n += dates::DaysInMonth(month, year);
    if (navigate && showDaysBefore_) StepMonth(-1);
  }
  if (n > dates::DaysInMonth(month, year)) {
    n -= dates::DaysInMonth(month, year);
    Ymd nx = dates::NextMonth(month, year);
    month = nx.month;
    year = nx.year;
    if (navigate && showDaysAfter_) StepMonth(1);
  }
  return dates::EncodeDate(year, month, n);
}

cal::YearStart TMonthCalendar::YearStartRule() const {
  cal::YearStart ys;
  ys.startDay = yearStart_->StartDay();
  ys.startMonth = yearStart_->StartMonth();
  ys.prevDay = yearStart_->PrevYearStartDay();
  ys.prevMonth = yearStart_->PrevYearStartMonth();
  ys.nextDay = yearStart_->NextYearStartDay();
  ys.nextMonth = yearStart_->NextYearStartMonth();
  return ys;
}

int TMonthCalendar::WeekNumber(int row) const {
  Ymd d = dates::DecodeDate(displayDate_);
  return cal::WeekNumber(row, d.month, d.year, startDay_, YearStartRule());
}

TDateTime TMonthCalendar::PrevMonthTarget() const {
  Ymd d = dates::DecodeDate(displayDate_);
  return dates::EncodeDate(d.year, d.month, 1) - 1;
}

TDateTime TMonthCalendar::NextMonthTarget() const {
  Ymd d = dates::DecodeDate(displayDate_);
  return dates::EncodeDate(d.year, d.month, dates::DaysInMonth(d.month, d.year)) + 1;
}

TDateTime TMonthCalendar::PrevYearTarget() const {
  Ymd d = dates::DecodeDate(displayDate_);
  TDateTime t = displayDate_;
  dates::TryEncodeDate(d.year - 1, d.month, std::min(d.day, dates::DaysInMonth(d.month, d.year - 1)), t);
  return t;
}

TDateTime TMonthCalendar::NextYearTarget() const {
  Ymd d = dates::DecodeDate(displayDate_);
  TDateTime t = displayDate_;
  dates::TryEncodeDate(d.year + 1, d.month, std::min(d.day, dates::DaysInMonth(d.month, d.year + 1)), t);
  return t;
}

// ---------------------------------------------------------------------------------------
// Properties with more than a repaint

void TMonthCalendar::SetStartDay(int v) { Store(startDay_, std::clamp(v, 1, 7)); }

void TMonthCalendar::SetMultiSelect(bool v) {
  multiSelect_ = v;
  if (!v) selection_->Clear();
  Invalidate();
}

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
  const int W = ClientWidth(), H = ClientHeight();
  if (themesAvailable_ && borderXP_) canvas.DrawThemedBorder(TRect{0, 0, W, H});
  cal::Painter p(canvas);
  int shrink = borderWidth_ + ((bevelInner_ != bvNone || bevelOuter_ != bvNone) ? bevelWidth_ : 0);
  TRect inner{shrink, shrink, W - shrink, H - shrink};
  p.Pen(color_);
  p.Brush(color_);
  canvas.FillRect(inner);
  PaintBackground(p, inner);
  if (captionColor_ != clNone) {
    p.Font(Font()->Spec());
    int h = canvas.TextExtent("X").cy + 2;
    int bw = borderWidth_;
    p.Brush(captionColor_);
    p.Pen(clGray);
    canvas.Rectangle(TRect{bw, bw, W - bw, h});
    p.Pen(clWhite);
    canvas.MoveTo(bw, h);
    canvas.LineTo(bw, bw);
    canvas.LineTo(W - bw, bw);
  }
  if (nameOfDays_ && nameOfMonths_) PaintGrid(p, in);
  if (showGotoToday_) PaintTodayLine(p, Geometry(), in.now);
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

void TMonthCalendar::PaintBackground(cal::Painter& p, const TRect& r) {
  ICanvas& canvas = p.canvas();
  const int W = ClientWidth(), H = ClientHeight();
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
  p.Font(dayFont_->Spec());
  int th = canvas.TextExtent("gh").cy;
  int m = showGotoToday_ ? 9 : 8;
  int yb = (H + m) / m + th - 4;
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

bool TMonthCalendar::ArrowShown(HoverPart part) const {
  switch (part) {
    case hvPrevMonth:
      return browsers_->PrevMonth();
    case hvNextMonth:
      return browsers_->NextMonth();
    case hvPrevYear:
      return browsers_->PrevYear();
    case hvNextYear:
      return browsers_->NextYear();
    default:
      return false;
  }
}

TMonthCalendar::ArrowPlace TMonthCalendar::PlaceArrow(HoverPart part, const cal::Geometry& g) const {
  ArrowPlace a;
  const int W = g.W, wk = g.wk, bw = borderWidth_;
  const int top = bw + 1, mid = bw + 6, bottom = bw + 11;
  auto left = [&](int tip) { return std::vector<TPoint>{{tip + 5, top}, {tip, mid}, {tip + 5, bottom}}; };
  auto right = [&](int base) { return std::vector<TPoint>{{base, top}, {base, bottom}, {base + 5, mid}}; };
  auto useBitmap = [&](const TCalBitmap& b, int x) {
    a.bitmap = &b;
    a.bitmapAt = TPoint{x, top};
    a.zone = TRect{x, top, x + b.width, top + b.height};
  };
  const TCalBitmap& py = glyphs_->PrevYear();
  const TCalBitmap& ny = glyphs_->NextYear();
  switch (part) {
    case hvPrevYear:
      if (!py.Empty()) {
        useBitmap(py, wk + 5);
      } else {
        a.triangles = {left(wk + 5), left(wk + 10)};
        a.zone = TRect{wk + 6, 1, wk + 15, 15};
      }
      break;
    case hvPrevMonth: {
      int x0 = browsers_->PrevYear() ? wk + 20 : wk;
      const TCalBitmap& b = glyphs_->PrevMonth();
      if (!b.Empty()) {
        useBitmap(b, py.Empty() ? x0 + 5 : py.width + wk + 10);
      } else if (!py.Empty()) {
        a.triangles = {left(x0 + py.width)};
        a.zone = TRect{x0 + py.width + 1, 1, x0 + py.width + 10, 15};
      } else {
        a.triangles = {left(x0 + 5)};
        a.zone = TRect{x0 + 6, 1, x0 + 15, 15};
      }
      break;
    }
    case hvNextYear:
      if (!ny.Empty()) {
        useBitmap(ny, W - ny.width - 5);
      } else {
        a.triangles = {right(W - 10), right(W - 15)};
        a.zone = TRect{W - 14, 1, W - 5, 15};
      }
      break;
    case hvNextMonth: {
      int s = browsers_->NextYear() ? 25 : 5;
      const TCalBitmap& b = glyphs_->NextMonth();
      bool nyBitmap = !ny.Empty() && browsers_->NextYear();
      if (!b.Empty()) {
        useBitmap(b, nyBitmap ? W - (b.width + ny.width + 10) : W - s - b.width);
      } else if (nyBitmap) {
        a.triangles = {right(W - ny.width - 15)};
        a.zone = TRect{W - ny.width - 14, 1, W - ny.width - 10, 15};
      } else {
        a.triangles = {right(W - s - 5)};
        a.zone = TRect{W - s - 4, 1, W - s, 15};
      }
      break;
    }
    default:
      break;
  }
  return a;
}

void TMonthCalendar::PaintArrows(cal::Painter& p, const cal::Geometry& g) {
  ICanvas& canvas = p.canvas();
  struct Arrow {
    HoverPart part;
    TDateTime target;
  };
  const Arrow arrows[] = {{hvPrevMonth, PrevMonthTarget()},
                          {hvNextMonth, NextMonthTarget()},
                          {hvPrevYear, PrevYearTarget()},
                          {hvNextYear, NextYearTarget()}};
  for (const Arrow& a : arrows) {
    if (!ArrowShown(a.part)) continue;
    TColor color = hover_[a.part] ? selectColor_ : captionTextColor_;
    if (!InRange(a.target)) color = inActiveColor_;
    ArrowPlace place = PlaceArrow(a.part, g);
    if (place.bitmap) {
      canvas.DrawImage(place.bitmap->resource, place.bitmapAt.x, place.bitmapAt.y, true);
      continue;
    }
    p.Pen(color);
    p.Brush(color);
    for (const auto& t : place.triangles) canvas.Polygon(t);
    p.Brush(color_);
  }
}

void TMonthCalendar::PaintCaption(cal::Painter& p, const cal::Geometry& g) {
  ICanvas& canvas = p.canvas();
  int a = canvas.TextExtent(captionText_).cx;
  int w = canvas.TextExtent(" 9999").cx;
  caption_ = cal::ComputeCaption(g, a, w);
  p.FontColor(hover_[hvCaption] ? selectColor_ : captionTextColor_);
  p.TextAt(caption_.b + g.wk, 2, captionText_);
  p.FontColor(textColor_);
}

int TMonthCalendar::PaintDayNames(cal::Painter& p, const cal::Geometry& g) {
  ICanvas& canvas = p.canvas();
  const int W = g.W, bw = borderWidth_, dy = g.dy;
  p.Font(dayFont_->Spec());
  TRect measure{0, 0, 100, 100};
  int th2 = canvas.DrawText("gh", measure, DT_CALCRECT_ | DT_SINGLELINE_ | DT_CENTER_);
  if (look_ == look3D) {
    TRect band{bw + 1, dy - 8, W - bw - 1, th2 + dy - 4};
    if (headerColor_ != clNone) {
      p.Brush(headerColor_);
      canvas.FillRect(band);
    }
    p.RaisedFrame(band);
  }
  for (int i = 1; i <= 7; ++i) p.Text(nameOfDays_->Name(i + startDay_ - 1), g.DayNameCell(i), kNameFlags);
  p.Brush(color_);
  p.Pen(lineColor_);
  p.Line(bw, dy + th2 - 4, W - bw, dy + th2 - 4);
  if (line3D_) {
    p.Pen(clWhite);
    p.Line(bw, dy + th2 - 3, W - bw, dy + th2 - 3);
  }
  return th2;
}

void TMonthCalendar::PaintWeeks(cal::Painter& p, const cal::Geometry& g, int th2) {
  const int H = g.H, dx = g.dx, dy = g.dy;
  p.Pen(lineColor_);
  p.Line(dx, dy + th2 - 4, dx, H - 2);
  if (line3D_) {
    p.Pen(clWhite);
    p.Line(dx + 1, dy + th2 - 3, dx + 1, H - 2);
  }
  p.Font(dayFont_->Spec());
  p.Text(weekName_, g.WeekHeadingCell(), kNameFlags);
  p.Brush(color_);
  p.Font(weekFont_->Spec());
  Ymd d = dates::DecodeDate(displayDate_);
  cal::YearStart ys = YearStartRule();
  for (int j = 1; j <= 6; ++j)
    p.Text(std::to_string(cal::WeekNumber(j, d.month, d.year, startDay_, ys)), g.WeekNumberCell(j), kCellFlags);
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
  const int c = FirstDayOffset(disp.month, disp.year);
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
        int l = (i - 1) * g.dx + g.wk + 4, r = i * g.dx + g.wk + 2;
        int t = j * g.dy + g.t0 - 2, b = (j + 1) * g.dy + g.t0 - 3;
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

std::string TMonthCalendar::TodayText(const SystemTime& now) const {
  // The format's letters count in any case; quoted text stays as written.
  std::string format;
  bool quoted = false;
  for (char ch : todayFormat_) {
    if (ch == '"' || ch == '\'') quoted = !quoted;
    format += quoted ? ch : static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  }
  return FormatDateTime(Context().format(), format, now);
}

void TMonthCalendar::PaintTodayLine(cal::Painter& p, const cal::Geometry& g, const SystemTime& now) {
  FontSpec f = Font()->Spec();
  if (hover_[hvToday]) {
    f.style |= fsUnderline;
    f.color = selectColor_;
  }
  p.Font(f);
  todayTextCache_ = TodayText(now);
  todayTextWidth_ = p.canvas().TextExtent(todayTextCache_).cx;
  p.TextAt(g.wk + 2, 8 * g.dy - 4, todayTextCache_);
}

void TMonthCalendar::PaintGrid(cal::Painter& p, const CalendarPaintInputs& in) {
  p.Font(Font()->Spec());
  cal::Geometry g = Geometry();
  PaintArrows(p, g);
  PaintCaption(p, g);
  int th2 = PaintDayNames(p, g);
  if (showWeeks_) PaintWeeks(p, g, th2);
  PaintDays(p, g, in);
}

// ---------------------------------------------------------------------------------------
// Input

void TMonthCalendar::InvalidateTopStrip() {
  InvalidateRect(TRect{0, 0, ClientWidth(), std::max(ClientHeight() / 7, cal::kTopOffset)}, false);
}

void TMonthCalendar::InvalidateTodayStrip() {
  cal::Geometry g = Geometry();
  InvalidateRect(TRect{0, ClientHeight() - g.dy, ClientWidth(), ClientHeight()}, false);
}

void TMonthCalendar::SetHover(HoverPart part, bool on) {
  if (hover_[part] == on) return;
  hover_[part] = on;
  // The hovered part is redrawn by the next paint, which a double-buffered window does at
  // once.
  if (part == hvToday)
    InvalidateTodayStrip();
  else
    InvalidateTopStrip();
}

void TMonthCalendar::SetCursorKind(CursorKind k) {
  if (cursor_ == k) return;
  cursor_ = k;
  if (HandleAllocated()) Windows().SetCursor(k);
}

void TMonthCalendar::CancelTooltip() {
  tipShowing_ = false;
  if (HandleAllocated()) Windows().CancelTooltip(Handle());
}

void TMonthCalendar::WmMouseMove(uint8_t shift, int x, int y) {
  const cal::Geometry g = Geometry();
  const int xp = x - g.wk;
  const bool topBand = y > 0 && y < 15;
  // 1. Caption.
  SetHover(hvCaption, topBand && caption_.b <= xp && xp <= caption_.End());
  // 2. Today line.
  if (showGotoToday_) {
    bool inside = g.wk < xp && xp < g.wk + todayTextWidth_ && y > 8 * g.dy - g.dy / 2;
    if (inside) {
      SetHover(hvToday, true);
      SetCursorKind(CursorKind::Hand);
    } else if (hover_[hvToday]) {
      SetHover(hvToday, false);
      SetCursorKind(CursorKind::Arrow);
    }
  }
  // 3, 4. Arrows.
  const std::string oldArrowTip = arrowTip_;
  bool hadArrowTip = !arrowTip_.empty();
  arrowTip_.clear();
  const HoverPart order[] = {hvPrevMonth, hvPrevYear, hvNextMonth, hvNextYear};
  for (HoverPart part : order) {
    if (!ArrowShown(part)) continue;
    ArrowPlace place = PlaceArrow(part, g);
    if (place.zone.Contains(TPoint{x, y})) {
      SetCursorKind(CursorKind::Hand);
      bool leftArrow = part == hvPrevMonth || part == hvPrevYear;
      if (leftArrow) {
        int s = place.zone.left - 1 - g.wk;
        arrowTipPos_ = TPoint{showWeeks_ ? s + g.W / 8 : s, -8};
      } else {
        arrowTipPos_ = TPoint{place.zone.left - 1, -8};
      }
      arrowTip_ = part == hvPrevMonth   ? hintPrevMonth_
                  : part == hvPrevYear  ? hintPrevYear_
                  : part == hvNextMonth ? hintNextMonth_
                                        : hintNextYear_;
      SetHover(part, true);
    } else if (hover_[part]) {
      SetHover(part, false);
    }
  }
  // 5. The hand over an arrow or the today line, else the normal cursor. (Deciding once,
  // after all arrows, keeps the hand when the pointer passes straight from one arrow to
  // the next.)
  bool hand = hover_[hvPrevMonth] || hover_[hvNextMonth] || hover_[hvPrevYear] || hover_[hvNextYear] ||
              hover_[hvToday];
  SetCursorKind(hand ? CursorKind::Hand : CursorKind::Arrow);
  // 6, 7. Event tooltips and drag selection.
  eventTip_.clear();
  if (y > g.dy + g.t0 && (eventHints_ || dragSelecting_)) {
    TDateTime d = PrimeDate(xp, y, false);
    if (TSelDateItem* e = events_->DateItem(d)) eventTip_ = e->Hint();
    TPoint cell{g.dx ? xp / g.dx : 0, g.dy ? (y - g.t0 - g.dy) / g.dy : 0};
    if (cell != tipCell_ && tipShowing_) CancelTooltip();
    tipCell_ = cell;
    if (dragSelecting_ && (!hasRangeEnd_ || !dates::SameDay(d, rangeEnd_)) && InRange(d)) {
      if (hasRangeEnd_) selection_->RemoveRange(rangeEnd_, anchor_);
      rangeEnd_ = d;
      hasRangeEnd_ = true;
      selection_->AddRange(d, anchor_);
    }
  }
  // 8. Nothing to show. A tooltip whose arrow changed is taken down too, so that the next
  // one asks for its own text.
  if (arrowTip_.empty() && eventTip_.empty() && (tipShowing_ || hadArrowTip))
    CancelTooltip();
  else if (hadArrowTip && !arrowTip_.empty() && arrowTip_ != oldArrowTip)
    CancelTooltip();
  // OnMouseMove is never raised: the calendar keeps pointer moves to itself.
}

void TMonthCalendar::CreateParams(WindowParams& params) const {
  TCustomCalendarPanel::CreateParams(params);
  params.ownTooltips = true;  // the arrows and today's caption have tips of their own
}

bool TMonthCalendar::WmTooltip(std::string& text, TPoint& clientPos) {
  if (!eventHints_ && arrowTip_.empty()) return false;
  bool any = false;
  if (!eventTip_.empty() && tipCell_.x >= 0) {
    cal::Geometry g = Geometry();
    text = eventTip_;
    clientPos = TPoint{(tipCell_.x + 1) * g.dx, g.dy * tipCell_.y + g.t0};
    tipShowing_ = true;
    any = true;
  }
  if (!arrowTip_.empty()) {
    text = arrowTip_;
    clientPos = arrowTipPos_;
    any = true;
  }
  return any;
}

void TMonthCalendar::WmMouseLeave() {
  bool any = std::any_of(std::begin(hover_), std::end(hover_), [](bool b) { return b; });
  cursor_ = CursorKind::Arrow;
  if (!any) return;
  std::fill(std::begin(hover_), std::end(hover_), false);
  InvalidateRect(TRect{0, 0, ClientWidth(), ClientHeight() / 7}, false);
  if (showGotoToday_) InvalidateTodayStrip();
}

bool TMonthCalendar::WmSetCursor() {
  if (cursor_ != CursorKind::Hand) return false;
  Windows().SetCursor(CursorKind::Hand);
  return true;
}

void TMonthCalendar::WmMouseDown(MouseButton button, uint8_t shift, int x, int y) {
  if (button != mbLeft) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
    return;
  }
  const cal::Geometry g = Geometry();
  const int xp = x - g.wk;
  // 1.
  TDateTime old = currentDate_;
  hitPoint_ = TPoint{32767, 32767};
  TakeFocus();
  // 2. Caption: month part, then year part (the month part wins at the shared point).
  if (y > 0 && y < 15) {
    if (caption_.b <= xp && xp <= caption_.MonthEnd()) {
      ShowMonthMenu();
      return;
    }
    if (caption_.MonthEnd() <= xp && xp <= caption_.End()) {
      ShowYearMenu();
      return;
    }
  }
  // 3. Arrows.
  const HoverPart order[] = {hvPrevMonth, hvPrevYear, hvNextMonth, hvNextYear};
  for (HoverPart part : order) {
    if (!ArrowShown(part) || !PlaceArrow(part, g).zone.Contains(TPoint{x, y})) continue;
    switch (part) {
      case hvPrevMonth:
        StepMonth(-1);
        break;
      case hvPrevYear:
        StepYear(-1);
        break;
      case hvNextMonth:
        StepMonth(1);
        break;
      default:
        StepYear(1);
        break;
    }
    NotifyDateChange(old, currentDate_);
    return;
  }
  // 4. The grid: capture, so the release comes back here.
  if (multiSelect_) dragSelecting_ = true;
  hasRangeEnd_ = false;
  if (HandleAllocated()) Windows().SetCapture(Handle());
  // 5. Whole column.
  if (allDaySelect_ && multiSelect_ && y > 15 && y < g.dy + g.t0 && xp > 0) {
    anchor_ = PrimeDate(xp, g.dy + g.t0, false);
    selection_->Clear();
    for (int k = 0; k < 6; ++k) selection_->AddDate(anchor_ + 7 * k);
    TComponent::Fire(OnAllDaySelect, this);
  }
  // 6. Whole row.
  if (showWeeks_ && weekSelect_ && multiSelect_ && xp < 0 && y > g.dy + g.t0) {
    anchor_ = PrimeDate(g.wk, y, false);
    selection_->Clear();
    selection_->AddRange(anchor_ - 1, anchor_ + 5);
    TComponent::Fire(OnWeekSelect, this);
  }
  // 7. Today line.
  if (showGotoToday_ && y > 8 * g.dy - g.dy / 2) {
    SystemTime now = Now();
    TDateTime nowValue = 0;
    dates::TryEncodeDate(now.year, now.month, now.day, nowValue);
    anchor_ = nowValue;
    setDay_ = now.day;
    setMonth_ = now.month;
    setYear_ = now.year;
    MoveToDate(setDay_, setMonth_, setYear_);
    if (multiSelect_) Invalidate();
    if (OnDayChange) OnDayChange(this, old, currentDate_);
    if (OnDateChange) OnDateChange(this, old, currentDate_);
    return;
  }
  // 8. Caption, day names and week column hold no day.
  if (y <= g.dy + g.t0 || xp < 1) return;
  // 9, 10.
  TDateTime d = PrimeDate(xp, y, true);
  anchor_ = d;
  int dm = MonthOf(d), cm = MonthOf(currentDate_);
  if ((dm > cm && !showDaysAfter_) || (dm < cm && !showDaysBefore_) || !InRange(d)) return;
  // 11.
  if ((shift & ssCtrl) && multiSelect_) {
    int idx = selection_->IndexOfDate(d);
    if (idx < 0) {
      selection_->AddDate(d);
      currentDate_ = d;
    } else {
      old = selection_->Items(idx)->Date();
      selection_->Delete(idx);
    }
  } else {
    int idx = selection_->IndexOfDate(old);
    if (idx >= 0) selection_->Delete(idx);
    currentDate_ = displayDate_ = d;
    selection_->Clear();
    selection_->AddDate(d);
  }
  // 12.
  if (MonthOf(old) == MonthOf(d)) {
    InvalidateRect(CellRect(old), true);
    InvalidateRect(CellRect(displayDate_), true);
  } else {
    Invalidate();
  }
  // 13.
  Ymd nd = dates::DecodeDate(d);
  RebuildCaption(nd.month, nd.year);
  NotifyDateChange(old, currentDate_);
  if (multiSelect_) Invalidate();
}

void TMonthCalendar::WmMouseUp(MouseButton button, uint8_t shift, int x, int y) {
  if (button != mbLeft) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
    return;
  }
  dragSelecting_ = false;
  if (HandleAllocated()) Windows().ReleaseCapture();
  const int xp = x - Geometry().wk;
  if (std::abs(xp - hitPoint_.x) <= 3 && std::abs(y - hitPoint_.y) < 4 && OnDaySelect) OnDaySelect(this, currentDate_);
}

void TMonthCalendar::ShowMonthMenu() {
  int year = Year();
  std::vector<MenuItemSpec> items;
  for (int k = 1; k <= 12; ++k)
    items.push_back(MenuItemSpec{nameOfMonths_->Name(k), static_cast<uint32_t>(k),
                                 !MonthInRange(dates::EncodeDate(year, k, 1))});
  TPoint at{caption_.b + Geometry().wk, 0};
  TPoint screen = HandleAllocated() ? Windows().ClientToScreen(Handle(), at) : at;
  uint32_t command = Windows().TrackPopupMenu(Handle(), items, screen);
  if (command) MenuCommand(command);
}

namespace {
// The year menu's date for year y: DisplayDate's month and day, 29 February as 28 February.
TDateTime YearMenuDate(const Ymd& d, int year, bool& ok) {
  int day = (d.month == 2 && d.day == 29) ? 28 : d.day;
  TDateTime t = 0;
  ok = dates::TryEncodeDate(year, d.month, day, t);
  return t;
}
}  // namespace

void TMonthCalendar::ShowYearMenu() {
  Ymd d = dates::DecodeDate(displayDate_);
  std::vector<MenuItemSpec> items;
  for (int i = 1; i <= 10; ++i) {
    int year = d.year + i - 5;
    bool ok = false;
    TDateTime t = YearMenuDate(d, year, ok);
    items.push_back(MenuItemSpec{std::to_string(year), static_cast<uint32_t>(i + 15), !ok || !InRange(t)});
  }
  TPoint at{caption_.MonthEnd() + Geometry().wk, 0};
  TPoint screen = HandleAllocated() ? Windows().ClientToScreen(Handle(), at) : at;
  uint32_t command = Windows().TrackPopupMenu(Handle(), items, screen);
  if (command) MenuCommand(command);
}

void TMonthCalendar::MenuCommand(uint32_t command) {
  Ymd d = dates::DecodeDate(displayDate_);
  if (command >= 1 && command <= 12) {
    int month = static_cast<int>(command);
    TDateTime t = dates::EncodeDate(d.year, month, 1);
    if (!MonthInRange(t)) return;  // a greyed item
    TDateTime old = currentDate_;
    displayDate_ = currentDate_ = t;
    RebuildCaption(month, d.year);
    Invalidate();
    DoMonthChange(old, t);
  } else if (command >= 16 && command <= 25) {
    int year = d.year + static_cast<int>(command) - 20;
    bool ok = false;
    TDateTime t = YearMenuDate(d, year, ok);
    if (!ok || !InRange(t)) return;  // a greyed item
    TDateTime old = currentDate_;
    displayDate_ = currentDate_ = t;
    RebuildCaption(d.month, year);
    Invalidate();
    DoYearChange(old, t);
  }
}

bool TMonthCalendar::WmKeyDown(uint16_t key, uint8_t shift) {
  if (OnKeyDown) {
    OnKeyDown(this, key, shift);
    if (key == 0) return true;
  }
  const bool arrow = key == VK_LEFT_ || key == VK_UP_ || key == VK_RIGHT_ || key == VK_DOWN_;
  const bool page = key == VK_PRIOR_ || key == VK_NEXT_;
  // 1, 2.
  TDateTime old = currentDate_;
  TDateTime moved = displayDate_;
  switch (key) {
    case VK_LEFT_:
      moved -= 1;
      break;
    case VK_UP_:
      moved -= 7;
      break;
    case VK_RIGHT_:
      moved += 1;
      break;
    case VK_DOWN_:
      moved += 7;
      break;
    default:
      break;
  }
  // 3. Moves out of the month without adjacent days shown are refused and reported.
  int nm = MonthOf(moved), cm = MonthOf(currentDate_);
  if ((nm > cm && !showDaysAfter_) || (nm < cm && !showDaysBefore_)) {
    if (OnCancelledChange) OnCancelledChange(this, moved);
    return false;
  }
  if (!InRange(moved)) return false;
  // 4.
  TDateTime previousDisplay = displayDate_;
  displayDate_ = moved;
  // 5. Selection toggle.
  if (key == VK_SPACE_ || (key == VK_RETURN_ && returnIsSelect_)) {
    int idx = selection_->IndexOfDate(displayDate_);
    if (idx < 0) {
      if (!multiSelect_) selection_->Clear();
      selection_->AddDate(displayDate_);
    } else {
      selection_->Delete(idx);
    }
    InvalidateRect(CellRect(displayDate_), true);
  }
  // 6. Cursor moves.
  if (arrow) {
    currentDate_ = displayDate_;
    Ymd n = dates::DecodeDate(currentDate_);
    RebuildCaption(n.month, n.year);
    if ((shift & ssShift) && multiSelect_) {
      if (!hasRangeEnd_) {
        anchor_ = old;
        selection_->AddRange(currentDate_, anchor_);
        rangeEnd_ = currentDate_;
        hasRangeEnd_ = true;
      } else {
        selection_->BeginUpdate();
        selection_->RemoveRange(old, anchor_);
        selection_->AddRange(anchor_, currentDate_);
        selection_->EndUpdate();
      }
    } else {
      hasRangeEnd_ = false;
    }
    if (MonthOf(previousDisplay) == MonthOf(displayDate_)) {
      InvalidateRect(CellRect(old), true);
      InvalidateRect(CellRect(displayDate_), true);
    } else {
      Invalidate();
    }
  }
  // 7.
  if (key == VK_PRIOR_) StepMonth(-1);
  if (key == VK_NEXT_) StepMonth(1);
  // 8, 9.
  if ((arrow || page) && OnDateChange) OnDateChange(this, old, currentDate_);
  NotifyDateChange(old, currentDate_);
  // 10.
  return arrow || page;
}

void TMonthCalendar::WmKeyUp(uint16_t key, uint8_t shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TMonthCalendar::WmChar(char ch) {
  if (ch == 27) currentDate_ = resetDate_;
  if (OnKeyPress) OnKeyPress(this, ch);
}

void TMonthCalendar::WmFocus(bool) { Invalidate(); }

bool TMonthCalendar::WmWantsKey(uint16_t key) {
  return key == VK_LEFT_ || key == VK_UP_ || key == VK_RIGHT_ || key == VK_DOWN_;
}

}  // namespace vsi
