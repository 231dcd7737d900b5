#include "calendar/calendar_group.h"

#include <algorithm>
#include <climits>

#include "framework/context.h"

namespace vsi {

using dates::Ymd;

// ---------------------------------------------------------------------------------------
// Splitter strips

TCalendarSplitter::TCalendarSplitter(TMonthCalendarGroup* group, bool right)
    : TPanel(group), group_(group), right_(right) {
  SetCaption("");
  cursor_ = right ? -14 : -15;  // the split cursors
}

void TCalendarSplitter::WmMouseDown(MouseButton button, uint8_t, int, int) {
  if (button != mbLeft) return;
  group_->SetBusy(true);
  if (HandleAllocated()) Windows().SetCapture(Handle());
}

void TCalendarSplitter::WmMouseMove(uint8_t, int x, int y) {
  if (!group_->Busy()) return;
  // Dragged past what the parent shows, the group would build calendars out of sight and
  // take the strip out of reach with them: the drag stops at the parent's edge.
  const TSize room = group_->DragRoom();
  if (right_)
    group_->SetBounds(group_->Left(), group_->Top(), std::clamp(group_->Width() + x, 1, std::max(1, room.cx)),
                      group_->Height());
  else
    group_->SetBounds(group_->Left(), group_->Top(), group_->Width(),
                      std::clamp(group_->Height() + y, 1, std::max(1, room.cy)));
}

void TCalendarSplitter::WmMouseUp(MouseButton button, uint8_t, int, int) {
  if (button != mbLeft || !group_->Busy()) return;
  if (HandleAllocated()) Windows().ReleaseCapture();
  group_->SetBusy(false);
  group_->FitToSize();
}

bool TCalendarSplitter::WmSetCursor() {
  Windows().SetCursor(right_ ? CursorKind::SizeWE : CursorKind::SizeNS);
  return true;
}

TSize TMonthCalendarGroup::DragRoom() const {
  const TControl* parent = Parent();
  if (!parent) return TSize{INT_MAX, INT_MAX};
  return TSize{parent->ClientWidth() - left_, parent->ClientHeight() - top_};
}

// ---------------------------------------------------------------------------------------
// Construction

TMonthCalendarGroup::TMonthCalendarGroup(TComponent* owner) : TCustomCalendarPanel(owner), dateWatch_(Context()) {
  const TFormatSettings* locale = &Context().format();
  nameOfDays_ = std::make_unique<TNameOfDays>(locale);
  nameOfMonths_ = std::make_unique<TNameOfMonths>(locale);
  color_ = clWhite;
  bevelOuter_ = bvNone;
  bevelInner_ = bvNone;
  bevelWidth_ = 1;
  borderWidth_ = 0;
  eventDates_ = std::make_unique<TSelDateItems>(this);
  eventDates_->OnChange = [this](TObject*) { DatesChanged(); };
  combined_ = std::make_unique<TSelDateItems>(nullptr);
  background_ = std::make_unique<TBackgroundImage>();
  background_->OnChange = [this](TObject*) { ApplyToCalendars(); };
  dayFont_ = std::make_unique<TFont>();
  weekFont_ = std::make_unique<TFont>();
  dayFont_->OnChange = [this](TObject*) { ApplyToCalendars(); };
  weekFont_->OnChange = [this](TObject*) { ApplyToCalendars(); };
  glyphs_ = std::make_unique<TCalGlyphs>(this);
  glyphs_->OnChange = [this](TObject*) { ApplyToCalendars(); };
  browsers_ = std::make_unique<TCalendarBrowsers>();

  right_ = new TCalendarSplitter(this, true);
  right_->SetParent(this);
  bottom_ = new TCalendarSplitter(this, false);
  bottom_->SetParent(this);
  SetSplitterColor(splitterColor_);
  SetSplitterBevel(splitterBevel_);

  SystemTime now;
  Context().platform().system.GetLocalTime(now);
  startMonth_ = now.month;
  startYear_ = now.year;
  day_ = now.day;
  month_ = now.month;
  year_ = now.year;
  today_ = Ymd{now.year, now.month, now.day};

  busy_ = true;
  for (int k = 0; k < 2; ++k) {
    auto* c = new TMonthCalendar(this);
    c->SetParent(this);
    c->LockPaint();
    c->SetShowDaysAfter(false);
    c->SetShowDaysBefore(false);
    c->SetColor(clWhite);
    c->Font()->Assign(*Font());
    c->SetBounds(k * calendarWidth_, 0, calendarWidth_, calendarHeight_);
    c->StepMonth(k);
    c->SetShowSelection(false);
    c->SelectedDates().Clear();
    calendars_.push_back(c);
    ArrowsOf(*c, k);
  }
  SizeToCalendars();
  busy_ = false;
  WireCalendarEvents();
  auto names = [this](TObject*) { CopyNamesToCalendars(); };
  nameOfDays_->OnChange = names;
  nameOfMonths_->OnChange = names;
  browsers_->OnChange = names;
  for (TMonthCalendar* c : calendars_) c->UnlockPaint();
}

TMonthCalendarGroup::~TMonthCalendarGroup() {
  // The calendars are owned components; they go with the group. Nothing may call back.
  for (TMonthCalendar* c : calendars_) c->LockPaint();
  calendars_.clear();
}

// Arrows of the calendar at list position k in the first row: previous ones on the first,
// next ones on the last calendar of the row.
void TMonthCalendarGroup::ArrowsOf(TMonthCalendar& c, int k) const {
  bool first = k == 0, last = k == colCount_ - 1;
  c.Browsers()->SetQuiet(first, first, last, last);
  c.Invalidate();
}

// ---------------------------------------------------------------------------------------
// The panel's hooks

void TMonthCalendarGroup::DatesChanged() {
  for (TMonthCalendar* c : calendars_) {
    c->EventDates().Assign(*eventDates_);
    c->DatesChanged();
  }
}

void TMonthCalendarGroup::DateChanged(TDateTime date) {
  for (TMonthCalendar* c : calendars_) {
    c->LockPaint();
    c->EventDates().Assign(*eventDates_);
    c->ResetPaintLock();
  }
  for (TMonthCalendar* c : calendars_) c->DateChanged(date);
}

void TMonthCalendarGroup::Loaded() {
  TCustomCalendarPanel::Loaded();
  RebuildCalendars();
  ApplyToCalendars();
}

// ---------------------------------------------------------------------------------------
// Layout

void TMonthCalendarGroup::SizeToCalendars() {
  int e = Edge();
  fitting_ = true;
  SetBounds(left_, top_, 2 * e + colCount_ * calendarWidth_ + spliterH_,
            2 * e + rowCount_ * calendarHeight_ + spliterV_);
  fitting_ = false;
  PlaceSplitters();
}

void TMonthCalendarGroup::PlaceSplitters() {
  // The right strip hugs the right edge over the full height; the bottom one the bottom edge.
  right_->SetBounds(width_ - spliterH_, 0, spliterH_, height_);
  bottom_->SetBounds(0, height_ - spliterV_, width_, spliterV_);
}

void TMonthCalendarGroup::SetBounds(int left, int top, int width, int height) {
  bool resized = width != width_ || height != height_;
  TCustomCalendarPanel::SetBounds(left, top, width, height);
  if (!resized || !right_) return;
  PlaceSplitters();
  if (!busy_ && !fitting_ && !Loading()) FitToSize();
}

void TMonthCalendarGroup::RebuildCalendars() {
  busy_ = true;
  builtFont_ = Font()->Spec();
  for (TMonthCalendar* c : calendars_) delete c;
  calendars_.clear();
  int m = startMonth_, y = startYear_;
  const int e = Edge();
  SizeToCalendars();
  for (int i = 0; i < rowCount_; ++i) {
    for (int j = 0; j < colCount_; ++j) {
      auto* c = new TMonthCalendar(this);
      c->SetParent(this);
      c->LockPaint();
      c->SetShowDaysAfter(false);
      c->SetShowDaysBefore(false);
      c->Font()->Assign(*Font());
      calendars_.push_back(c);
      c->SetBounds(e + j * calendarWidth_, e + i * calendarHeight_, calendarWidth_, calendarHeight_);
      c->SetDay(1);
      c->SetMonth(static_cast<uint16_t>(m));
      c->SetYear(static_cast<uint16_t>(y));
      bool top = i == 0;
      c->Browsers()->SetQuiet(top && j == 0, top && j == 0, top && j == colCount_ - 1, top && j == colCount_ - 1);
      c->SetVisible(true);
      c->SelectedDates().Clear();
      Ymd next = dates::NextMonth(m, y);
      m = next.month;
      y = next.year;
    }
  }
  WireCalendarEvents();
  ApplyToCalendars();
  for (TMonthCalendar* c : calendars_) c->UnlockPaint();
  combined_ = std::make_unique<TSelDateItems>(nullptr);
  busy_ = false;
}

void TMonthCalendarGroup::ApplyTo(TMonthCalendar& c) {
  c.LockPaint();
  c.SetLook(look_);
  c.DayFont()->Assign(*dayFont_);
  c.WeekFont()->Assign(*weekFont_);
  c.Glyphs()->Assign(*glyphs_);
  c.SetWeekName(weekName_);
  c.SetTextColor(textColor_);
  c.SetCaptionColor(captionColor_);
  c.SetSelectColor(selectColor_);
  c.SetSelectFontColor(selectFontColor_);
  c.SetInActiveColor(inActiveColor_);
  c.SetHeaderColor(headerColor_);
  c.SetCaptionTextColor(captionTextColor_);
  c.SetFocusColor(focusColor_);
  c.SetInversColor(inversColor_);
  c.SetWeekendColor(weekendColor_);
  c.SetShowSelection(showSelection_);
  c.SetShowWeeks(showWeeks_);
  c.SetEventHints(eventHints_);
  c.SetEventDayColor(eventDayColor_);
  c.SetEventMarkerColor(eventMarkerColor_);
  c.SetEventMarkerShape(eventMarkerShape_);
  c.SetColor(color_);
  c.SetBevelInner(calBevelInner_);
  c.SetBevelOuter(calBevelOuter_);
  c.SetBevelWidth(calBevelWidth_);
  c.SetBorderStyle(calBorderStyle_);
  c.SetBorderWidth(calBorderWidth_);
  c.SetMultiSelect(multiSelect_);
  c.SetShowToday(showToday_);
  c.SetAllDaySelect(allDaySelect_);
  c.SetWeekSelect(weekSelect_);
  c.SetShowHint(true);
  c.SetStartDay(startDay_);
  c.SetLineColor(lineColor_);
  c.SetLine3D(line3D_);
  c.SetGradientStartColor(gradientStartColor_);
  c.SetGradientEndColor(gradientEndColor_);
  c.SetGradientDirection(gradientDirection_);
  c.SetMonthGradientStartColor(monthGradientStartColor_);
  c.SetMonthGradientEndColor(monthGradientEndColor_);
  c.SetMonthGradientDirection(monthGradientDirection_);
  c.SetHintPrevYear(hintPrevYear_);
  c.SetHintPrevMonth(hintPrevMonth_);
  c.SetHintNextMonth(hintNextMonth_);
  c.SetHintNextYear(hintNextYear_);
  CopyNamesToCalendars();
  c.Background()->Assign(*background_);
  c.SetBackgroundPosition(backgroundPosition_);
  c.ResetPaintLock();
}

void TMonthCalendarGroup::ApplyToCalendars() {
  if (Loading()) return;
  for (TMonthCalendar* c : calendars_) ApplyTo(*c);
}

void TMonthCalendarGroup::CopyNamesToCalendars() {
  for (size_t k = 0; k < calendars_.size(); ++k) {
    TMonthCalendar& c = *calendars_[k];
    for (int i = 1; i <= 7; ++i) c.NameOfDays()->SetNameQuiet(i, nameOfDays_->Name(i));
    for (int m = 1; m <= 12; ++m) c.NameOfMonths()->SetNameQuiet(m, nameOfMonths_->Name(m));
    Ymd d = dates::DecodeDate(c.CurrentDate());
    c.RebuildCaption(d.month, d.year);
    bool first = k == 0, last = static_cast<int>(k) == colCount_ - 1;
    c.Browsers()->SetQuiet(browsers_->PrevMonth() && first, browsers_->PrevYear() && first,
                           browsers_->NextMonth() && last, browsers_->NextYear() && last);
    // The calendars are windows of their own: the group's repaint would not reach them.
    c.Invalidate();
  }
  Invalidate();
}

void TMonthCalendarGroup::WireCalendarEvents() {
  for (TMonthCalendar* c : calendars_) {
    c->OnDaySelect = [this, c](TObject*, TDateTime d) { CalendarDaySelected(c, d); };
    auto changed = [this, c](TObject*, TDateTime o, TDateTime n) { CalendarMonthChanged(c, o, n); };
    c->OnMonthChange = changed;
    c->OnYearChange = changed;
    c->OnKeyDown = [this](TObject* s, uint16_t& key, uint8_t shift) { CalendarKeyDown(s, key, shift); };
    c->OnKeyUp = [this](TObject* s, uint16_t& key, uint8_t shift) { CalendarKeyUp(s, key, shift); };
    c->OnMonthSelect = onMonthSelect_;
    c->OnGetDateHint = onGetDateHint_;
    c->OnGetDateHintString = onGetDateHintString_;
    c->OnDateChange = onDateChange_;
    c->OnDayChange = onDayChange_;
    c->OnCancelledChange = onCancelledChange_;
    c->OnWeekSelect = onWeekSelect_;
    c->OnAllDaySelect = onAllDaySelect_;
    c->OnKeyPress = onKeyPress_;
    c->OnMouseMove = onMouseMove_;
    c->OnMouseDown = onMouseDown_;
    c->OnMouseUp = onMouseUp_;
  }
}

void TMonthCalendarGroup::RelayoutMonths() {
  int m = startMonth_, y = startYear_;
  // Gather every calendar's selection, in date order per calendar.
  combined_->Clear();
  for (TMonthCalendar* c : calendars_) {
    TSelDateItems& sel = c->SelectedDates();
    sel.Sort();
    for (int i = 0; i < sel.Count(); ++i) combined_->AddDate(sel.Items(i)->Date());
  }
  TSelDateItems kept(nullptr);
  kept.Assign(*combined_);
  for (TMonthCalendar* c : calendars_) c->LockPaint();
  for (TMonthCalendar* c : calendars_) {
    c->SetShowSelection(showSelection_);
    c->SetDay(1);
    c->SetMonth(static_cast<uint16_t>(m));
    c->SetYear(static_cast<uint16_t>(y));
    c->SelectedDates().Clear();
    Ymd next = dates::NextMonth(m, y);
    m = next.month;
    y = next.year;
  }
  for (TMonthCalendar* c : calendars_) c->UnlockPaint();
  combined_->Assign(kept);
  for (TMonthCalendar* c : calendars_) {
    TSelDateItems& sel = c->SelectedDates();
    sel.Clear();
    Ymd shown = dates::DecodeDate(c->CurrentDate());
    for (int i = 0; i < combined_->Count(); ++i) {
      TDateTime d = combined_->Items(i)->Date();
      Ymd dd = dates::DecodeDate(d);
      if (dd.month == shown.month && dd.year == shown.year) sel.AddDate(d);
    }
    sel.Notify();
  }
}

void TMonthCalendarGroup::AnchorAt(int day, int month, int year, int which) {
  if (!dates::IsValidDate(year, month, day)) {
    ShowError("Invalid date");
    return;
  }
  day_ = static_cast<uint16_t>(day);
  month_ = static_cast<uint16_t>(month);
  year_ = static_cast<uint16_t>(year);
  if (calendars_.empty()) return;
  startMonth_ = month_;
  startYear_ = year_;
  RelayoutMonths();
  TMonthCalendar* first = calendars_.front();
  first->SetDay(day_);
  first->SetMonth(month_);
  first->SetYear(year_);
  CalendarDaySelected(first, first->CurrentDate());
}

void TMonthCalendarGroup::SetDay(uint16_t v) { AnchorAt(v, month_, year_, 0); }
void TMonthCalendarGroup::SetMonth(uint16_t v) { AnchorAt(day_, v, year_, 1); }
void TMonthCalendarGroup::SetYear(uint16_t v) { AnchorAt(day_, month_, v, 2); }

void TMonthCalendarGroup::FitToSize() {
  int cols = std::max(1, width_ / std::max(1, calendarWidth_));
  int rows = std::max(1, height_ / std::max(1, calendarHeight_));
  if ((cols != colCount_ || rows != rowCount_) && !busy_) {
    TSelDateItems saved(this);
    saved.SetVisible(false);
    saved.Assign(*eventDates_);
    colCount_ = cols;
    rowCount_ = rows;
    RebuildCalendars();
    eventDates_->Assign(saved);
  }
  SizeToCalendars();
}

// ---------------------------------------------------------------------------------------
// Handlers installed in the calendars

void TMonthCalendarGroup::CalendarDaySelected(TMonthCalendar* calendar, TDateTime date) {
  if (onDaySelect_) onDaySelect_(calendar, date);
  Ymd d = dates::DecodeDate(calendar->CurrentDate());
  day_ = static_cast<uint16_t>(d.day);
  month_ = static_cast<uint16_t>(d.month);
  year_ = static_cast<uint16_t>(d.year);
  calendar->SetDisplayDate(calendar->CurrentDate());
  for (TMonthCalendar* c : calendars_) {
    c->SetShowSelection(multiSelect_);
    if (!ctrl_ && c != calendar) c->SelectedDates().Clear();
  }
  calendar->SetShowSelection(showSelection_);
}

void TMonthCalendarGroup::CalendarMonthChanged(TMonthCalendar* calendar, TDateTime oldDate, TDateTime newDate) {
  Ymd o = dates::DecodeDate(oldDate), n = dates::DecodeDate(newDate);
  day_ = static_cast<uint16_t>(n.day);
  month_ = static_cast<uint16_t>(n.month);
  year_ = static_cast<uint16_t>(n.year);
  if (o.year != n.year) {
    if (onYearChange_) onYearChange_(this, oldDate, newDate);
    if (onMonthChange_) onMonthChange_(this, oldDate, newDate);
  } else if (o.month != n.month) {
    if (onMonthChange_) onMonthChange_(this, oldDate, newDate);
  }
  auto it = std::find(calendars_.begin(), calendars_.end(), calendar);
  int k = it == calendars_.end() ? 0 : static_cast<int>(it - calendars_.begin());
  int m = n.month - k, y = n.year;
  while (m < 1) {
    m += 12;
    --y;
  }
  startMonth_ = m;
  startYear_ = y;
  RelayoutMonths();
}

void TMonthCalendarGroup::CalendarKeyDown(TObject* sender, uint16_t& key, uint8_t shift) {
  if (shift & ssCtrl) ctrl_ = true;
  if (onKeyDown_) onKeyDown_(sender, key, shift);
}

void TMonthCalendarGroup::CalendarKeyUp(TObject* sender, uint16_t& key, uint8_t shift) {
  ctrl_ = false;
  if (onKeyUp_) onKeyUp_(sender, key, shift);
}

// ---------------------------------------------------------------------------------------
// Setters

void TMonthCalendarGroup::SetColCount(int v) {
  if (v <= 0) return;
  colCount_ = v;
  if (!Loading()) RebuildCalendars();
}

void TMonthCalendarGroup::SetRowCount(int v) {
  if (v <= 0) return;
  rowCount_ = v;
  if (!Loading()) RebuildCalendars();
}

void TMonthCalendarGroup::SetCalendarWidth(int v) {
  if (v <= 0) return;
  calendarWidth_ = v;
  if (!Loading()) RebuildCalendars();
}

void TMonthCalendarGroup::SetCalendarHeight(int v) {
  if (v <= 0) return;
  calendarHeight_ = v;
  if (!Loading()) RebuildCalendars();
}

void TMonthCalendarGroup::SetStartMonth(int v) {
  // A month outside 1 ... 12 would give calendars without a date.
  if (v < 1 || v > 12) return;
  startMonth_ = v;
  if (!Loading()) RebuildCalendars();
}

void TMonthCalendarGroup::SetStartYear(int v) {
  if (v < 1 || v > 9999) return;
  startYear_ = v;
  if (!Loading()) RebuildCalendars();
}

// A language switch sets the charset of the fonts it meets: that changes nothing the layout
// measures, so the calendars take the font and keep their dates. A new face or height still
// builds them again, keeping what they showed and had selected.
void TMonthCalendarGroup::FontChanged() {
  TCustomCalendarPanel::FontChanged();
  if (Loading() || !right_) return;
  // (The calendars follow the group's font as their parent's: compare with what they were
  // built in.)
  const FontSpec& font = Font()->Spec();
  if (font.name != builtFont_.name || font.height != builtFont_.height) {
    RebuildKeepingChoices();
    return;
  }
  for (TMonthCalendar* c : calendars_) c->Font()->Assign(*Font());
}

void TMonthCalendarGroup::RebuildKeepingChoices() {
  std::vector<TMonthCalendar::ChosenDates> chosen;
  for (const TMonthCalendar* c : calendars_) chosen.push_back(c->Chosen());
  RebuildCalendars();
  for (size_t k = 0; k < calendars_.size() && k < chosen.size(); ++k) {
    const Ymd was = dates::DecodeDate(chosen[k].display), is = dates::DecodeDate(calendars_[k]->DisplayDate());
    if (was.month == is.month && was.year == is.year) calendars_[k]->Restore(chosen[k]);
  }
}

void TMonthCalendarGroup::CreateWindowHandle() {
  TCustomCalendarPanel::CreateWindowHandle();
  dateWatch_.WithTheSecond([this] { DateTick(); });
}

void TMonthCalendarGroup::DateTick() {
  SystemTime now;
  Context().platform().system.GetLocalTime(now);
  const Ymd today{now.year, now.month, now.day};
  if (today == today_) return;  // the tick of nearly every second: nothing allocated
  const Ymd before = today_;
  today_ = today;
  TDateTime was = 0, is = 0;
  if (!dates::TryEncodeDate(before.year, before.month, before.day, was) ||
      !dates::TryEncodeDate(today.year, today.month, today.day, is))
    return;
  for (TMonthCalendar* c : calendars_) c->TodayMoved(was, is);
  // Navigated elsewhere, the user keeps the month chosen.
  const bool monthTurned = before.month != today.month || before.year != today.year;
  if (!monthTurned || startMonth_ != before.month || startYear_ != before.year) return;
  startMonth_ = today.month;
  startYear_ = today.year;
  RelayoutMonths();
}

void TMonthCalendarGroup::ColorChanged() {
  TCustomCalendarPanel::ColorChanged();
  ApplyToCalendars();
}

void TMonthCalendarGroup::SetBevelWidth(int v) {
  TCustomCalendarPanel::SetBevelWidth(v);
  RebuildCalendars();
}

void TMonthCalendarGroup::SetBorderWidth(int v) {
  TCustomCalendarPanel::SetBorderWidth(v);
  RebuildCalendars();
}

void TMonthCalendarGroup::SetEventMarkerColor(TColor c) { TCustomCalendarPanel::SetEventMarkerColor(c); }
void TMonthCalendarGroup::SetEventMarkerShape(TEventShape s) { TCustomCalendarPanel::SetEventMarkerShape(s); }

void TMonthCalendarGroup::SetCaptionColor(TColor v) {
  if (v == captionColor_) return;
  Forward(captionColor_, v);
}

void TMonthCalendarGroup::SetLineColor(TColor v) {
  if (v == lineColor_) return;
  Forward(lineColor_, v);
}

void TMonthCalendarGroup::SetSpliterH(uint8_t v) {
  if (v > calendarWidth_ / 2) return;
  spliterH_ = v;
  Invalidate();
  fitting_ = true;
  SetBounds(left_, top_, 2 * Edge() + calendarWidth_ * colCount_ + spliterH_, height_);
  fitting_ = false;
  PlaceSplitters();
}

void TMonthCalendarGroup::SetSpliterV(uint8_t v) {
  if (v > calendarHeight_ / 2) return;
  spliterV_ = v;
  Invalidate();
  fitting_ = true;
  SetBounds(left_, top_, width_, 2 * Edge() + calendarHeight_ * rowCount_ + spliterV_);
  fitting_ = false;
  PlaceSplitters();
}

void TMonthCalendarGroup::SetSplitterColor(TColor v) {
  splitterColor_ = v;
  right_->SetColor(v);
  bottom_->SetColor(v);
}

void TMonthCalendarGroup::SetSplitterBevel(bool v) {
  splitterBevel_ = v;
  right_->SetBevelOuter(v ? bvRaised : bvNone);
  bottom_->SetBevelOuter(v ? bvRaised : bvNone);
}

}  // namespace vsi
