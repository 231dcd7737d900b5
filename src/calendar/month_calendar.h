#pragma once
// TMonthCalendar: one month as 7 x 6 day cells under a caption with the month and year,
// navigation arrows, a row of day names and an optional week-number column.
//
// One class, one file per concern:
//   month_calendar.cpp        the model: dates, range, selection, steps, notifications
//   calendar_layout.*         where everything goes, and the hit-test (pure, no canvas)
//   month_calendar_paint.cpp  painting: the state and the layout onto a canvas
//   month_calendar_input.cpp  mouse, keyboard, menus and tooltips, turned into model changes
// The window procedure (or a test) calls the input handlers with client coordinates and
// virtual keys; every mouse handler asks the hit-test what lies under the pointer.
#include <memory>
#include <string>
#include <vector>

#include "calendar/calendar_layout.h"
#include "calendar/calendar_panel.h"
#include "calendar/calendar_parts.h"

namespace vsi {

namespace cal {
class Painter;
}

// What a paint needs from outside: today and whether the window has the keyboard focus.
struct CalendarPaintInputs {
  SystemTime now;  // today's date and the time of day
  bool focused = false;
};

class TMonthCalendar : public TCustomCalendarPanel {
  VSI_CLASS(TMonthCalendar)
  explicit TMonthCalendar(TComponent* owner);
  ~TMonthCalendar() override;

  // ---- the panel's hooks ----
  void DatesChanged() override;
  void DateChanged(TDateTime date) override;
  // Event day? Fills `entry` with the event-date entry of that day, if any.
  virtual bool GetDateEvent(TDateTime date, TEventProp*& entry);
  virtual void DoMonthChange(TDateTime oldDate, TDateTime newDate);
  virtual void DoYearChange(TDateTime oldDate, TDateTime newDate);

  // ---- dates ----
  TDateTime CurrentDate() const { return currentDate_; }
  TDateTime DisplayDate() const { return displayDate_; }
  TDateTime ResetDate() const { return resetDate_; }
  // Sets DisplayDate alone (the group moves the keyboard cursor this way).
  void SetDisplayDate(TDateTime d) { displayDate_ = d; }
  uint16_t Day() const;
  uint16_t Month() const;
  uint16_t Year() const;
  void SetDay(uint16_t v);
  void SetMonth(uint16_t v);
  void SetYear(uint16_t v);

  static int DaysInMonth(int month, int year) { return dates::DaysInMonth(month, year); }
  int FirstDayOffset(int month, int year) const { return cal::FirstDayOffset(month, year, startDay_); }
  bool InRange(TDateTime date) const;
  bool MonthInRange(TDateTime date) const;
  void RebuildCaption(int month, int year);
  const std::string& CaptionText() const { return captionText_; }
  // Fails with EConvertError on an impossible date, before anything changed.
  void MoveToDate(int day, int month, int year);
  void StepMonth(int delta);
  void StepYear(int delta);
  void NotifyDateChange(TDateTime oldDate, TDateTime newDate);
  void CellOfDate(TDateTime date, int& column, int& row) const;
  TRect CellRect(TDateTime date) const;
  // Client point to the date painted there (points past the grid: the nearest cell); with
  // `navigate` a click on a day of the adjacent month steps to it.
  TDateTime DateAtPoint(int x, int y, bool navigate);
  int WeekNumber(int row) const;
  // Where everything goes at the current size, fonts and state (today from the clock).
  cal::Geometry Geometry() const { return Layout(Now()); }
  cal::Geometry Layout(const SystemTime& now) const;
  // The same without measuring any text: enough for the cells and the arrows.
  cal::Geometry GridLayout() const;
  // Arrow targets: the dates the four arrows would move to.
  TDateTime PrevMonthTarget() const;
  TDateTime NextMonthTarget() const;
  TDateTime PrevYearTarget() const;
  TDateTime NextYearTarget() const;

  // The clock passed into another day (`before` was today): repaints when the month shown
  // holds today's mark, before or now, or the today line is shown.
  void TodayMoved(TDateTime before, TDateTime today);
  // What the user chose in a calendar: the cursor, the day shown and the selected days. A
  // rebuilt calendar showing the same month takes them back.
  struct ChosenDates {
    TDateTime current = 0, display = 0, reset = 0;
    std::vector<TDateTime> selected;
  };
  ChosenDates Chosen() const;
  void Restore(const ChosenDates& chosen);

  // Paint lock: while above zero only the panel background is painted.
  void LockPaint() { ++paintLock_; }
  void UnlockPaint();
  void ResetPaintLock() { paintLock_ = 0; }
  int PaintLock() const { return paintLock_; }

  // ---- date lists ----
  TSelDateItems& SelectedDates() { return *selection_; }
  TSelDateItems& EventDates() { return *events_; }

  // ---- properties ----
  int StartDay() const { return startDay_; }
  void SetStartDay(int v);
  TYearStartAt* YearStartAt() const { return yearStart_.get(); }
  TMinMaxDate* MinDate() const { return minDate_.get(); }
  TMinMaxDate* MaxDate() const { return maxDate_.get(); }
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool v);
  bool ShowSelection() const { return showSelection_; }
  void SetShowSelection(bool v) { Store(showSelection_, v); }
  bool AllDaySelect() const { return allDaySelect_; }
  void SetAllDaySelect(bool v) { Store(allDaySelect_, v); }
  bool WeekSelect() const { return weekSelect_; }
  void SetWeekSelect(bool v) { Store(weekSelect_, v); }
  bool ReturnIsSelect() const { return returnIsSelect_; }
  void SetReturnIsSelect(bool v) { Store(returnIsSelect_, v); }
  bool ShowDaysBefore() const { return showDaysBefore_; }
  void SetShowDaysBefore(bool v) { Store(showDaysBefore_, v); }
  bool ShowDaysAfter() const { return showDaysAfter_; }
  void SetShowDaysAfter(bool v) { Store(showDaysAfter_, v); }
  bool ShowWeeks() const { return showWeeks_; }
  void SetShowWeeks(bool v) { Store(showWeeks_, v); }
  const std::string& WeekName() const { return weekName_; }
  void SetWeekName(const std::string& v) { Store(weekName_, v); }
  bool ShowToday() const { return showToday_; }
  void SetShowToday(bool v) { Store(showToday_, v); }
  TTodayStyle TodayStyle() const { return todayStyle_; }
  void SetTodayStyle(TTodayStyle v) { Store(todayStyle_, v); }
  bool ShowGotoToday() const { return showGotoToday_; }
  void SetShowGotoToday(bool v) { Store(showGotoToday_, v); }
  const std::string& TodayFormat() const { return todayFormat_; }
  void SetTodayFormat(const std::string& v) { Store(todayFormat_, v); }
  TMonthCalendarLook Look() const { return look_; }
  void SetLook(TMonthCalendarLook v) { Store(look_, v); }
  bool Line3D() const { return line3D_; }
  void SetLine3D(bool v) { Store(line3D_, v); }
  TColor LineColor() const { return lineColor_; }
  void SetLineColor(TColor v) { Store(lineColor_, v); }
  TCalendarBrowsers* Browsers() const { return browsers_.get(); }
  TCalGlyphs* Glyphs() const { return glyphs_.get(); }
  const std::string& HintPrevYear() const { return hintPrevYear_; }
  void SetHintPrevYear(const std::string& v) { hintPrevYear_ = v; }
  const std::string& HintPrevMonth() const { return hintPrevMonth_; }
  void SetHintPrevMonth(const std::string& v) { hintPrevMonth_ = v; }
  const std::string& HintNextMonth() const { return hintNextMonth_; }
  void SetHintNextMonth(const std::string& v) { hintNextMonth_ = v; }
  const std::string& HintNextYear() const { return hintNextYear_; }
  void SetHintNextYear(const std::string& v) { hintNextYear_ = v; }
  bool BorderXP() const { return borderXP_; }
  void SetBorderXP(bool v) { Store(borderXP_, v); }
  TBackgroundImage* Background() const { return background_.get(); }
  TBackGroundPosition BackgroundPosition() const { return backgroundPosition_; }
  void SetBackgroundPosition(TBackGroundPosition v) { Store(backgroundPosition_, v); }
  bool EventHints() const { return eventHints_; }
  void SetEventHints(bool v) { Store(eventHints_, v); }
  TColor TextColor() const { return textColor_; }
  void SetTextColor(TColor v) { Store(textColor_, v); }
  TColor WeekendColor() const { return weekendColor_; }
  void SetWeekendColor(TColor v) { Store(weekendColor_, v); }
  TColor SelectColor() const { return selectColor_; }
  void SetSelectColor(TColor v) { Store(selectColor_, v); }
  TColor SelectFontColor() const { return selectFontColor_; }
  void SetSelectFontColor(TColor v) { Store(selectFontColor_, v); }
  TColor InActiveColor() const { return inActiveColor_; }
  void SetInActiveColor(TColor v) { Store(inActiveColor_, v); }
  TColor InversColor() const { return inversColor_; }
  void SetInversColor(TColor v) { Store(inversColor_, v); }
  TColor HeaderColor() const { return headerColor_; }
  void SetHeaderColor(TColor v) { Store(headerColor_, v); }
  TColor FocusColor() const { return focusColor_; }
  void SetFocusColor(TColor v) { Store(focusColor_, v); }
  TColor EventDayColor() const { return eventDayColor_; }
  void SetEventDayColor(TColor v) { Store(eventDayColor_, v); }
  TColor CaptionColor() const { return captionColor_; }
  void SetCaptionColor(TColor v) { Store(captionColor_, v); }
  TColor CaptionTextColor() const { return captionTextColor_; }
  void SetCaptionTextColor(TColor v) { Store(captionTextColor_, v); }
  TColor GradientStartColor() const { return gradientStartColor_; }
  void SetGradientStartColor(TColor v) { Store(gradientStartColor_, v); }
  TColor GradientEndColor() const { return gradientEndColor_; }
  void SetGradientEndColor(TColor v) { Store(gradientEndColor_, v); }
  TGradientDirection GradientDirection() const { return gradientDirection_; }
  void SetGradientDirection(TGradientDirection v) { Store(gradientDirection_, v); }
  TColor MonthGradientStartColor() const { return monthGradientStartColor_; }
  void SetMonthGradientStartColor(TColor v) { Store(monthGradientStartColor_, v); }
  TColor MonthGradientEndColor() const { return monthGradientEndColor_; }
  void SetMonthGradientEndColor(TColor v) { Store(monthGradientEndColor_, v); }
  TGradientDirection MonthGradientDirection() const { return monthGradientDirection_; }
  void SetMonthGradientDirection(TGradientDirection v) { Store(monthGradientDirection_, v); }
  TFont* DayFont() const { return dayFont_.get(); }
  TFont* WeekFont() const { return weekFont_.get(); }
  TNameOfDays* NameOfDays() const { return nameOfDays_.get(); }
  TNameOfMonths* NameOfMonths() const { return nameOfMonths_.get(); }
  // Whether the themed border may be drawn (decided once, at construction).
  bool ThemesAvailable() const { return themesAvailable_; }
  void SetThemesAvailable(bool v) { themesAvailable_ = v; }

  // ---- events ----
  TDaySelectEvent OnDaySelect;
  TDateChangeEvent OnDayChange;
  TDateChangeEvent OnMonthChange;
  TDateChangeEvent OnYearChange;
  TDateChangeEvent OnDateChange;
  TCancelledChangeEvent OnCancelledChange;
  TGetDateEvent OnGetDateHint;
  TGetDateEventHint OnGetDateHintString;
  TEventPropEvent OnGetEventProp;
  TNotifyEvent OnWeekSelect;
  TNotifyEvent OnAllDaySelect;
  TNotifyEvent OnMonthSelect;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  // ---- painting ----
  void Paint(ICanvas& canvas) override;
  // One full paint with the given outside facts (tests and benchmarks call this directly).
  void PaintCalendar(ICanvas& canvas, const CalendarPaintInputs& inputs);
  // The gradient fill of a rectangle: 80 bands from `start` to `end`.
  static void GradientFill(ICanvas& canvas, const TRect& r, TColor start, TColor end, TGradientDirection dir,
                           int steps = 80);

  // ---- input (client coordinates; the window procedure only translates messages) ----
  // Each handler asks cal::HitTest what lies under the pointer.
  void WmMouseDown(MouseButton button, uint8_t shift, int x, int y) override;
  void WmMouseUp(MouseButton button, uint8_t shift, int x, int y) override;
  void WmMouseMove(uint8_t shift, int x, int y) override;
  void WmMouseLeave() override;
  bool WmKeyDown(uint16_t key, uint8_t shift) override;
  void WmKeyUp(uint16_t key, uint8_t shift) override;
  void WmChar(char ch) override;
  void WmFocus(bool gained) override;
  bool WmTooltip(std::string& text, TPoint& clientPos) override;
  void CreateParams(WindowParams& params) const override;
  bool WmSetCursor() override;
  bool WmWantsKey(uint16_t key) override;
  // A pop-up menu command: 1 ... 12 months, 16 ... 25 years.
  void MenuCommand(uint32_t command);

  // Hover and tooltip state (read by painting and by tests).
  enum HoverPart { hvPrevMonth, hvNextMonth, hvCaption, hvPrevYear, hvNextYear, hvToday, hvCount };
  bool Hovered(HoverPart part) const { return hover_[part]; }
  const std::string& ArrowTooltip() const { return arrowTip_; }
  TPoint ArrowTooltipPos() const { return arrowTipPos_; }
  const std::string& EventTooltip() const { return eventTip_; }
  TPoint HitPoint() const { return hitPoint_; }
  CursorKind CurrentCursor() const { return cursor_; }

  WideString WindowText() const override { return ToWide(captionText_); }
  // A reader hears the month shown.
  AccessibleRole AccRole() const override { return AccessibleRole::StaticText; }

 private:
  template <class T>
  void Store(T& field, const T& v) {
    field = v;
    Invalidate();
  }
  void NamesChanged(TObject*);
  void AnchorTo(int day, int month, int year, int which, uint16_t v);
  cal::YearStart YearStartRule() const;
  cal::LayoutInput LayoutInputs(const SystemTime* now) const;
  TSize TextSize(FontSpec font, const std::string& text) const;
  // A text's width as drawn at the window's scale, in 96-dpi units rounded up.
  int DrawnWidth(const FontSpec& font, const std::string& text) const;
  SystemTime Now() const;
  void TakeFocus();
  bool HasFocus() const;
  // The date of a cell; with `navigate` a day of the adjacent month shown steps there first.
  TDateTime TakeCellDay(const cal::CellDay& day, bool navigate);
  // Repaints what a move of the current day and the focus frame changed.
  void RepaintMove(bool sameMonth, TDateTime oldCurrent, TDateTime oldDisplay);
  // Repaints the cells of the dates in the list (before it is cleared: nothing else will).
  void InvalidateCellsOf(TSelDateItems& list);
  void InvalidateTopStrip();
  void InvalidateTodayStrip();
  void SetHover(HoverPart part, bool on);
  void SetCursorKind(CursorKind k);
  void CancelTooltip();
  void ShowMonthMenu(const cal::Geometry& g);
  void ShowYearMenu(const cal::Geometry& g);
  std::string TodayText(const SystemTime& now) const;
  const TCalBitmap& Glyph(cal::Arrow arrow) const;

  // Painting steps.
  void PaintBackground(cal::Painter& p, const cal::Geometry& g, const TRect& inner);
  void PaintGrid(cal::Painter& p, const cal::Geometry& g, const CalendarPaintInputs& in);
  void PaintArrows(cal::Painter& p, const cal::Geometry& g);
  void PaintCaption(cal::Painter& p, const cal::Geometry& g);
  void PaintDayNames(cal::Painter& p, const cal::Geometry& g);
  void PaintWeeks(cal::Painter& p, const cal::Geometry& g);
  void PaintDays(cal::Painter& p, const cal::Geometry& g, const CalendarPaintInputs& in);
  void PaintMarker(cal::Painter& p, const TRect& cell, TColor color, TEventShape shape);
  void PaintTodayLine(cal::Painter& p, const cal::Geometry& g, const SystemTime& now);

  TDateTime currentDate_ = 0, displayDate_ = 0, resetDate_ = 0;
  int setDay_ = 1, setMonth_ = 1, setYear_ = 2000;
  std::string captionText_;
  int paintLock_ = 0;
  std::unique_ptr<TSelDateItems> selection_;
  std::unique_ptr<TSelDateItems> events_;

  int startDay_ = 7;
  std::unique_ptr<TYearStartAt> yearStart_;
  std::unique_ptr<TMinMaxDate> minDate_, maxDate_;
  bool multiSelect_ = false, showSelection_ = true, allDaySelect_ = false, weekSelect_ = false;
  bool returnIsSelect_ = false, showDaysBefore_ = true, showDaysAfter_ = true, showWeeks_ = false;
  std::string weekName_;
  bool showToday_ = false;
  TTodayStyle todayStyle_ = tsSunken;
  bool showGotoToday_ = false;
  std::string todayFormat_ = "\"Today\" DDD/mm, YYYY";
  TMonthCalendarLook look_ = lookFlat;
  bool line3D_ = true;
  TColor lineColor_ = clGray;
  std::unique_ptr<TCalendarBrowsers> browsers_;
  std::unique_ptr<TCalGlyphs> glyphs_;
  std::string hintPrevYear_, hintPrevMonth_, hintNextMonth_, hintNextYear_;
  bool borderXP_ = true;
  std::unique_ptr<TBackgroundImage> background_;
  TBackGroundPosition backgroundPosition_ = bpTiled;
  bool eventHints_ = false;
  TColor textColor_ = clBlack, weekendColor_ = clRed, selectColor_ = 0x808000, selectFontColor_ = clWhite;
  TColor inActiveColor_ = clGray, inversColor_ = 0x808000, headerColor_ = clNone, focusColor_ = clHighlight;
  TColor eventDayColor_ = clBlack, captionColor_ = clNone, captionTextColor_ = clBlack;
  TColor gradientStartColor_ = clWhite, gradientEndColor_ = clBtnFace;
  TGradientDirection gradientDirection_ = gdHorizontal;
  TColor monthGradientStartColor_ = clNone, monthGradientEndColor_ = clNone;
  TGradientDirection monthGradientDirection_ = gdHorizontal;
  std::unique_ptr<TFont> dayFont_, weekFont_;
  std::unique_ptr<TNameOfDays> nameOfDays_;
  std::unique_ptr<TNameOfMonths> nameOfMonths_;
  bool themesAvailable_ = false;

  // Input state.
  bool hover_[hvCount] = {};
  TPoint hitPoint_{32767, 32767};
  TDateTime anchor_ = 0;
  TDateTime rangeEnd_ = -1;
  bool hasRangeEnd_ = false;
  bool dragSelecting_ = false;
  std::string arrowTip_;
  TPoint arrowTipPos_;
  std::string eventTip_;
  TPoint tipCell_{-1, -1};
  bool tipShowing_ = false;
  CursorKind cursor_ = CursorKind::Arrow;

  struct MeasuredText {
    FontSpec font;
    std::string text;
    TSize size;
  };
  mutable std::vector<MeasuredText> measured_;
};

}  // namespace vsi
