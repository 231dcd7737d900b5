// The month calendar's model: its dates, range, selection and names, the date operations and
// their notifications. Painting is in month_calendar_paint.cpp, input in
// month_calendar_input.cpp, the layout they share in calendar_layout.cpp.
#include "calendar/month_calendar.h"

#include <algorithm>

#include "framework/ascii.h"
#include "framework/context.h"

namespace vsi {

using dates::Ymd;

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

// A bound whose day, month and year do not form a date (31 February, month 0) limits nothing:
// it is ignored, not an error, so that a half-typed bound cannot lock the calendar.
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

// Once a day: the whole calendar is drawn again, which asks for no layout here and so nothing
// of the heap on the second's tick.
void TMonthCalendar::TodayMoved(TDateTime before, TDateTime today) {
  const Ymd shown = dates::DecodeDate(displayDate_);
  auto inShownMonth = [&](TDateTime d) {
    const Ymd v = dates::DecodeDate(d);
    return v.month == shown.month && v.year == shown.year;
  };
  if (showGotoToday_ || (showToday_ && (inShownMonth(before) || inShownMonth(today)))) Invalidate();
}

TMonthCalendar::ChosenDates TMonthCalendar::Chosen() const {
  ChosenDates c{currentDate_, displayDate_, resetDate_, {}};
  for (int i = 0; i < selection_->Count(); ++i) c.selected.push_back(selection_->Items(i)->Date());
  return c;
}

void TMonthCalendar::Restore(const ChosenDates& chosen) {
  currentDate_ = chosen.current;
  displayDate_ = chosen.display;
  resetDate_ = chosen.reset;
  const Ymd shown = dates::DecodeDate(displayDate_);
  RebuildCaption(shown.month, shown.year);
  selection_->Clear();
  for (TDateTime d : chosen.selected) selection_->AddDate(d);
  Invalidate();
}

void TMonthCalendar::NotifyDateChange(TDateTime oldDate, TDateTime newDate) {
  Ymd o = dates::DecodeDate(oldDate), n = dates::DecodeDate(newDate);
  if (o.day != n.day && OnDayChange) OnDayChange(this, oldDate, newDate);
  if (o.month != n.month) DoMonthChange(oldDate, newDate);
  if (o.year != n.year) DoYearChange(oldDate, newDate);
}

cal::Geometry TMonthCalendar::Layout(const SystemTime& now) const { return cal::Geometry::Compute(LayoutInputs(&now)); }

cal::Geometry TMonthCalendar::GridLayout() const { return cal::Geometry::Compute(LayoutInputs(nullptr)); }

cal::LayoutInput TMonthCalendar::LayoutInputs(const SystemTime* now) const {
  cal::LayoutInput in;
  in.width = ClientWidth();
  in.height = ClientHeight();
  in.borderWidth = borderWidth_;
  in.showWeeks = showWeeks_;
  in.showGotoToday = showGotoToday_;
  const Ymd shown = dates::DecodeDate(displayDate_);
  in.month = shown.month;
  in.year = shown.year;
  in.startDay = startDay_;
  const bool shownArrows[cal::kArrowCount] = {browsers_->PrevMonth(), browsers_->PrevYear(), browsers_->NextMonth(),
                                              browsers_->NextYear()};
  for (int k = 0; k < cal::kArrowCount; ++k) {
    in.arrowShown[k] = shownArrows[k];
    const TCalBitmap& b = Glyph(static_cast<cal::Arrow>(k));
    in.glyph[k] = b.Empty() ? TSize{} : TSize{b.width, b.height};
  }
  in.caption = captionText_;
  if (!now) return in;  // the cells and the arrows need no text sizes
  // Text sizes come from the platform, in the fonts painting will select.
  const FontSpec font = Font()->Spec();
  in.captionWidth = [this, font](const std::string& s) { return DrawnWidth(font, s); };
  in.yearWidth = DrawnWidth(font, " 9999");
  in.captionHeight = TextSize(font, "X").cy;
  in.dayNameHeight = TextSize(dayFont_->Spec(), "gh").cy;
  if (showGotoToday_) in.todayWidth = TextSize(font, TodayText(*now)).cx;
  return in;
}

// Remembered: every paint and every pointer move lays the calendar out, and asking the system
// for a text's size each time cost more than the rest of a paint. Fonts and texts change
// seldom; a font differing in colour alone measures the same.
TSize TMonthCalendar::TextSize(FontSpec font, const std::string& text) const {
  font.color = clBlack;
  for (const MeasuredText& m : measured_)
    if (m.text == text && m.font == font) return m.size;
  if (measured_.size() >= 16) measured_.clear();
  TSize size = Windows().MeasureText(font, text);
  measured_.push_back(MeasuredText{font, text, size});
  return size;
}

// Glyphs do not grow in proportion with the scale (hinting, and the character height rounds
// down): the caption is measured in the font the screen gets, so that what is found to fit
// between the arrows also fits there when drawn.
int TMonthCalendar::DrawnWidth(const FontSpec& font, const std::string& text) const {
  const ViewScale view = View();
  const int device = TextSize(view.Font(font), text).cx;
  return (device * kDesignDpi + view.dpi - 1) / view.dpi;
}

const TCalBitmap& TMonthCalendar::Glyph(cal::Arrow arrow) const {
  switch (arrow) {
    case cal::Arrow::PrevMonth:
      return glyphs_->PrevMonth();
    case cal::Arrow::PrevYear:
      return glyphs_->PrevYear();
    case cal::Arrow::NextMonth:
      return glyphs_->NextMonth();
    default:
      return glyphs_->NextYear();
  }
}

void TMonthCalendar::CellOfDate(TDateTime date, int& column, int& row) const {
  Ymd d = dates::DecodeDate(displayDate_);
  cal::CellOfDate(date, d.month, d.year, startDay_, column, row);
}

TRect TMonthCalendar::CellRect(TDateTime date) const {
  int column = 0, row = 0;
  CellOfDate(date, column, row);
  return GridLayout().CellRect(column, row);
}

// The date is the one painted under the point: in the month shown (DisplayDate's), which
// after Esc may differ from CurrentDate's. It takes client coordinates and measures from the
// week column itself: the press handler once passed x' = x - wk and added wk back first
// (PrimeDate); passing x' without that takes the week column off twice and names the day one
// column to the left.
TDateTime TMonthCalendar::DateAtPoint(int x, int y, bool navigate) {
  const cal::Geometry g = GridLayout();
  hitPoint_ = TPoint{x - g.wk, y};
  int column = 0, row = 0;
  g.CellAt(TPoint{x, y}, column, row);
  return TakeCellDay(cal::DayOfCell(column + 7 * (row - 1), g.in.month, g.in.year, startDay_), navigate);
}

TDateTime TMonthCalendar::TakeCellDay(const cal::CellDay& day, bool navigate) {
  if (navigate && day.kind == cal::CellDay::Previous && showDaysBefore_) StepMonth(-1);
  if (navigate && day.kind == cal::CellDay::Next && showDaysAfter_) StepMonth(1);
  return dates::EncodeDate(day.date);
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

std::string TMonthCalendar::TodayText(const SystemTime& now) const {
  // The format's letters count in any case; quoted text stays as written.
  std::string format;
  bool quoted = false;
  for (char ch : todayFormat_) {
    if (ch == '"' || ch == '\'') quoted = !quoted;
    format += quoted ? ch : AsciiLower(ch);
  }
  return FormatDateTime(Context().format(), format, now);
}


}  // namespace vsi
