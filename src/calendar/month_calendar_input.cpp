// The month calendar's answers to the mouse, the keyboard, its menus and tooltips: each input
// becomes changes of the model (month_calendar.cpp) and repaint requests. What lies under the
// pointer is always cal::HitTest's answer, from the layout painting uses.
#include "calendar/month_calendar.h"

#include <algorithm>
#include <cstdlib>

#include "framework/context.h"

namespace vsi {

using dates::Ymd;

namespace {

int MonthOf(TDateTime d) { return dates::DecodeDate(d).month; }

// The hover flag of an arrow zone.
bool ArrowHover(cal::Zone zone, TMonthCalendar::HoverPart& part) {
  switch (zone) {
    case cal::Zone::PrevMonth: part = TMonthCalendar::hvPrevMonth; return true;
    case cal::Zone::PrevYear: part = TMonthCalendar::hvPrevYear; return true;
    case cal::Zone::NextMonth: part = TMonthCalendar::hvNextMonth; return true;
    case cal::Zone::NextYear: part = TMonthCalendar::hvNextYear; return true;
    default: return false;
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Hover, cursor and tooltips

void TMonthCalendar::InvalidateTopStrip() {
  InvalidateRect(TRect{0, 0, ClientWidth(), std::max(ClientHeight() / 7, GridLayout().bandBottom + 1)}, false);
}

void TMonthCalendar::InvalidateTodayStrip() {
  InvalidateRect(TRect{0, ClientHeight() - GridLayout().dy, ClientWidth(), ClientHeight()}, false);
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
  const cal::Hit hit = cal::HitTest(g, TPoint{x, y});
  // The caption, in the selection colour while the pointer is over it.
  SetHover(hvCaption, hit.zone == cal::Zone::CaptionMonth || hit.zone == cal::Zone::CaptionYear);
  // The today line: underlined, with the hand, while the pointer is over its text.
  if (showGotoToday_) SetHover(hvToday, hit.zone == cal::Zone::TodayLine && hit.onTodayText);
  // The arrows: the one under the pointer in the selection colour, with its hint. The hint
  // goes below the pointer, where tooltips go: placed over the pointer (above the calendar,
  // as once), it covered the arrow, lost the pointer and was taken down at once.
  const std::string oldArrowTip = arrowTip_;
  const bool hadArrowTip = !arrowTip_.empty();
  arrowTip_.clear();
  HoverPart over = hvCount;
  if (ArrowHover(hit.zone, over)) {
    arrowTip_ = over == hvPrevMonth   ? hintPrevMonth_
                : over == hvPrevYear  ? hintPrevYear_
                : over == hvNextMonth ? hintNextMonth_
                                      : hintNextYear_;
    arrowTipPos_ = TPoint{x + g.tipOffset.x, y + g.tipOffset.y};
  }
  for (HoverPart part : {hvPrevMonth, hvPrevYear, hvNextMonth, hvNextYear}) SetHover(part, part == over);
  // The hand over an arrow or the today line, else the normal cursor. (Deciding once, after
  // all arrows, keeps the hand when the pointer passes straight from one arrow to the next.)
  bool hand = hover_[hvPrevMonth] || hover_[hvNextMonth] || hover_[hvPrevYear] || hover_[hvNextYear] ||
              hover_[hvToday];
  SetCursorKind(hand ? CursorKind::Hand : CursorKind::Arrow);
  // Event-day hints, and the range a drag has selected so far: the cell under the pointer
  // (the nearest one when the pointer is past the grid).
  eventTip_.clear();
  if (hit.row > 0 && (eventHints_ || dragSelecting_)) {
    TDateTime d = dates::EncodeDate(hit.day.date);
    if (TSelDateItem* e = events_->DateItem(d)) eventTip_ = e->Hint();
    TPoint cell{hit.column - 1, hit.row - 1};
    if (cell != tipCell_ && tipShowing_) CancelTooltip();
    tipCell_ = cell;
    if (dragSelecting_ && (!hasRangeEnd_ || !dates::SameDay(d, rangeEnd_)) && InRange(d)) {
      if (hasRangeEnd_) selection_->RemoveRange(rangeEnd_, anchor_);
      rangeEnd_ = d;
      hasRangeEnd_ = true;
      selection_->AddRange(d, anchor_);
    }
  }
  // Nothing to show. A tooltip whose arrow changed is taken down too, so that the next one
  // asks for its own text.
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
    // Right of the day's cell, level with its top: beside a pointer that rests on the day.
    cal::Geometry g = GridLayout();
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

// ---------------------------------------------------------------------------------------
// Mouse buttons

// Within the month, the cells of the old current day, of the day that had the focus frame and
// of the new one are enough; after Esc or a Ctrl-click the second is neither of the others,
// and its frame would stay on screen beside the new one.
void TMonthCalendar::RepaintMove(bool sameMonth, TDateTime oldCurrent, TDateTime oldDisplay) {
  if (!sameMonth) {
    Invalidate();
    return;
  }
  InvalidateRect(CellRect(oldCurrent), true);
  InvalidateRect(CellRect(oldDisplay), true);
  InvalidateRect(CellRect(displayDate_), true);
}

void TMonthCalendar::InvalidateCellsOf(TSelDateItems& list) {
  for (int i = 0; i < list.Count(); ++i) InvalidateRect(CellRect(list.Items(i)->Date()), true);
}

void TMonthCalendar::WmMouseDown(MouseButton button, uint8_t shift, int x, int y) {
  if (button != mbLeft) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
    return;
  }
  const cal::Geometry g = Geometry();
  const cal::Hit hit = cal::HitTest(g, TPoint{x, y});
  TDateTime old = currentDate_;
  // No day pressed yet: a release raises OnDaySelect only after a press on a day.
  hitPoint_ = TPoint{32767, 32767};
  TakeFocus();

  switch (hit.zone) {
    // The caption opens its menus.
    case cal::Zone::CaptionMonth:
      ShowMonthMenu(g);
      return;
    case cal::Zone::CaptionYear:
      ShowYearMenu(g);
      return;
    // An arrow steps, also when its target lies outside the range (a month step then stops
    // at the bound).
    case cal::Zone::PrevMonth:
    case cal::Zone::PrevYear:
    case cal::Zone::NextMonth:
    case cal::Zone::NextYear:
      if (hit.zone == cal::Zone::PrevMonth) StepMonth(-1);
      if (hit.zone == cal::Zone::PrevYear) StepYear(-1);
      if (hit.zone == cal::Zone::NextMonth) StepMonth(1);
      if (hit.zone == cal::Zone::NextYear) StepYear(1);
      NotifyDateChange(old, currentDate_);
      return;
    default:
      break;
  }

  // Below the caption: capture, so the release comes back here, and with MultiSelect a drag
  // selects a range.
  if (multiSelect_) dragSelecting_ = true;
  hasRangeEnd_ = false;
  if (HandleAllocated()) Windows().SetCapture(Handle());

  // A day name selects its whole column.
  if (hit.zone == cal::Zone::DayHeader && allDaySelect_ && multiSelect_) {
    anchor_ = dates::EncodeDate(hit.day.date);  // the column's first-row day
    selection_->Clear();
    for (int k = 0; k < 6; ++k) selection_->AddDate(anchor_ + 7 * k);
    TComponent::Fire(OnAllDaySelect, this);
  }
  // A week number selects its whole row.
  if (hit.zone == cal::Zone::WeekNumber && weekSelect_ && multiSelect_) {
    anchor_ = dates::EncodeDate(hit.day.date);  // the row's first day
    selection_->Clear();
    selection_->AddRange(anchor_, anchor_ + 6);
    TComponent::Fire(OnWeekSelect, this);
  }
  // The today line goes to today, as if Day, Month and Year had been set to it.
  if (hit.zone == cal::Zone::TodayLine) {
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
  // The caption band's edges, the day names and the week column hold no day.
  if (hit.zone != cal::Zone::Day) return;

  // The day pressed; on a shown day of the month before or after, that month comes first.
  hitPoint_ = TPoint{x - g.wk, y};
  const TDateTime previousDisplay = displayDate_;
  TDateTime d = TakeCellDay(hit.day, true);
  anchor_ = d;
  // Hidden days of the adjacent months and days outside the range cannot be chosen. (The
  // month numbers alone are compared, as the keyboard does.)
  int dm = MonthOf(d), cm = MonthOf(currentDate_);
  if ((dm > cm && !showDaysAfter_) || (dm < cm && !showDaysBefore_) || !InRange(d)) return;
  if ((shift & ssCtrl) && multiSelect_) {
    // Ctrl toggles the day in the selection; the focus frame stays where it was.
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
  RepaintMove(MonthOf(old) == MonthOf(d), old, previousDisplay);
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
  // A release where the day was pressed (a few pixels aside at most) chooses it.
  const cal::Geometry g = GridLayout();
  const int xp = x - g.wk;
  if (std::abs(xp - hitPoint_.x) <= g.clickSlack && std::abs(y - hitPoint_.y) <= g.clickSlack && OnDaySelect)
    OnDaySelect(this, currentDate_);
}

// ---------------------------------------------------------------------------------------
// Month and year menus

void TMonthCalendar::ShowMonthMenu(const cal::Geometry& g) {
  int year = Year();
  std::vector<MenuItemSpec> items;
  for (int k = 1; k <= 12; ++k)
    items.push_back(MenuItemSpec{nameOfMonths_->Name(k), static_cast<uint32_t>(k),
                                 !MonthInRange(dates::EncodeDate(year, k, 1))});
  TPoint at{g.caption.left, 0};
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

void TMonthCalendar::ShowYearMenu(const cal::Geometry& g) {
  Ymd d = dates::DecodeDate(displayDate_);
  std::vector<MenuItemSpec> items;
  for (int i = 1; i <= 10; ++i) {
    int year = d.year + i - 5;
    bool ok = false;
    TDateTime t = YearMenuDate(d, year, ok);
    items.push_back(MenuItemSpec{std::to_string(year), static_cast<uint32_t>(i + 15), !ok || !InRange(t)});
  }
  TPoint at{g.caption.monthEnd, 0};
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

// ---------------------------------------------------------------------------------------
// Keyboard and focus

bool TMonthCalendar::WmKeyDown(uint16_t key, uint8_t shift) {
  if (OnKeyDown) {
    OnKeyDown(this, key, shift);
    if (key == 0) return true;
  }
  const bool arrow = key == VK_LEFT_ || key == VK_UP_ || key == VK_RIGHT_ || key == VK_DOWN_;
  const bool page = key == VK_PRIOR_ || key == VK_NEXT_;
  // The arrow keys move the focus frame (DisplayDate) by a day or a week.
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
  // Moves out of the month without adjacent days shown are refused and reported; moves out
  // of the range are refused silently.
  int nm = MonthOf(moved), cm = MonthOf(currentDate_);
  if ((nm > cm && !showDaysAfter_) || (nm < cm && !showDaysBefore_)) {
    if (OnCancelledChange) OnCancelledChange(this, moved);
    return false;
  }
  if (!InRange(moved)) return false;
  const TDateTime previousDisplay = displayDate_;
  displayDate_ = moved;
  // Space (and Enter with ReturnIsSelect) toggles the focused day's selection. Without
  // MultiSelect the day chosen before is unselected: its cell is repainted too, or it would
  // stay painted as selected beside the new one.
  if (key == VK_SPACE_ || (key == VK_RETURN_ && returnIsSelect_)) {
    int idx = selection_->IndexOfDate(displayDate_);
    if (idx < 0) {
      if (!multiSelect_) {
        InvalidateCellsOf(*selection_);
        selection_->Clear();
      }
      selection_->AddDate(displayDate_);
    } else {
      selection_->Delete(idx);
    }
    InvalidateRect(CellRect(displayDate_), true);
  }
  if (arrow) {
    currentDate_ = displayDate_;
    Ymd n = dates::DecodeDate(currentDate_);
    RebuildCaption(n.month, n.year);
    // Shift extends the range from where the moves began.
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
    RepaintMove(MonthOf(previousDisplay) == MonthOf(displayDate_), old, previousDisplay);
  }
  if (key == VK_PRIOR_) StepMonth(-1);
  if (key == VK_NEXT_) StepMonth(1);
  if ((arrow || page) && OnDateChange) OnDateChange(this, old, currentDate_);
  NotifyDateChange(old, currentDate_);
  // The keys the calendar used go no further.
  return arrow || page;
}

void TMonthCalendar::WmKeyUp(uint16_t key, uint8_t shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TMonthCalendar::WmChar(char ch) {
  // Esc takes back the moves since the last date set; the focus frame stays (no repaint).
  if (ch == 27) currentDate_ = resetDate_;
  if (OnKeyPress) OnKeyPress(this, ch);
}

void TMonthCalendar::WmFocus(bool) { Invalidate(); }

// The arrow keys, so that the window's focus navigation does not take them; and Esc, which the
// window would otherwise turn into its cancel command before the calendar saw it.
bool TMonthCalendar::WmWantsKey(uint16_t key) {
  return key == VK_LEFT_ || key == VK_UP_ || key == VK_RIGHT_ || key == VK_DOWN_ || key == VK_ESCAPE_;
}

}  // namespace vsi
