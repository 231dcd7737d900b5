#pragma once
// TMonthCalendarGroup: RowCount x ColCount month calendars showing consecutive months from
// StartMonth/StartYear, with a splitter strip along the right and the bottom edge. It keeps
// one copy of every calendar setting, forwards settings, names and most events to its
// calendars, and keeps them in step when one of them changes month or year.
#include <memory>
#include <vector>

#include "calendar/month_calendar.h"
#include "framework/timer.h"

namespace vsi {

class TMonthCalendarGroup;

// A splitter strip: dragging it resizes the group, which then fits whole calendars.
class TCalendarSplitter : public TPanel {
  VSI_CLASS(TCalendarSplitter)
  TCalendarSplitter(TMonthCalendarGroup* group, bool right);
  bool IsRight() const { return right_; }
  void WmMouseDown(MouseButton button, uint8_t shift, int x, int y) override;
  void WmMouseMove(uint8_t shift, int x, int y) override;
  void WmMouseUp(MouseButton button, uint8_t shift, int x, int y) override;
  bool WmSetCursor() override;

 private:
  TMonthCalendarGroup* group_;
  bool right_;
};

class TMonthCalendarGroup : public TCustomCalendarPanel {
  VSI_CLASS(TMonthCalendarGroup)
  explicit TMonthCalendarGroup(TComponent* owner);
  ~TMonthCalendarGroup() override;

  void DatesChanged() override;
  void DateChanged(TDateTime date) override;
  void Loaded() override;
  void SetBounds(int left, int top, int width, int height) override;

  // ---- operations ----
  void RebuildCalendars();
  void ApplyToCalendars();
  void WireCalendarEvents();
  void RelayoutMonths();
  void CopyNamesToCalendars();
  void FitToSize();
  // The handlers installed in the calendars.
  void CalendarDaySelected(TMonthCalendar* calendar, TDateTime date);
  void CalendarMonthChanged(TMonthCalendar* calendar, TDateTime oldDate, TDateTime newDate);
  void CalendarKeyDown(TObject* sender, uint16_t& key, uint8_t shift);
  void CalendarKeyUp(TObject* sender, uint16_t& key, uint8_t shift);

  int CalendarCount() const { return static_cast<int>(calendars_.size()); }
  TMonthCalendar* Calendar(int index) const { return calendars_.at(index); }
  TSelDateItems& EventDates() { return *eventDates_; }
  TSelDateItems& CombinedSelection() { return *combined_; }
  TCalendarSplitter* RightSplitter() const { return right_; }
  TCalendarSplitter* BottomSplitter() const { return bottom_; }
  bool Busy() const { return busy_; }
  void SetBusy(bool v) { busy_ = v; }
  // The largest size a splitter drag may give the group: what its parent shows of it.
  TSize DragRoom() const;
  bool CtrlFlag() const { return ctrl_; }

  // ---- layout ----
  int ColCount() const { return colCount_; }
  void SetColCount(int v);
  int RowCount() const { return rowCount_; }
  void SetRowCount(int v);
  int CalendarWidth() const { return calendarWidth_; }
  void SetCalendarWidth(int v);
  int CalendarHeight() const { return calendarHeight_; }
  void SetCalendarHeight(int v);
  int StartMonth() const { return startMonth_; }
  void SetStartMonth(int v);
  int StartYear() const { return startYear_; }
  void SetStartYear(int v);
  uint16_t Day() const { return day_; }
  void SetDay(uint16_t v);
  uint16_t Month() const { return month_; }
  void SetMonth(uint16_t v);
  uint16_t Year() const { return year_; }
  void SetYear(uint16_t v);
  uint8_t SpliterH() const { return spliterH_; }
  void SetSpliterH(uint8_t v);
  uint8_t SpliterV() const { return spliterV_; }
  void SetSpliterV(uint8_t v);
  TColor SplitterColor() const { return splitterColor_; }
  void SetSplitterColor(TColor v);
  bool SplitterBevel() const { return splitterBevel_; }
  void SetSplitterBevel(bool v);
  void SetBevelWidth(int v) override;
  void SetBorderWidth(int v) override;
  void SetEventMarkerColor(TColor c) override;
  void SetEventMarkerShape(TEventShape s) override;

  // ---- forwarded to the calendars ----
  int StartDay() const { return startDay_; }
  void SetStartDay(int v) { Forward(startDay_, v); }
  TBevelCut CalendarBevelInner() const { return calBevelInner_; }
  void SetCalendarBevelInner(TBevelCut v) { Forward(calBevelInner_, v); }
  TBevelCut CalendarBevelOuter() const { return calBevelOuter_; }
  void SetCalendarBevelOuter(TBevelCut v) { Forward(calBevelOuter_, v); }
  int CalendarBevelWidth() const { return calBevelWidth_; }
  void SetCalendarBevelWidth(int v) { Forward(calBevelWidth_, v); }
  TBorderStyle CalendarBorderStyle() const { return calBorderStyle_; }
  void SetCalendarBorderStyle(TBorderStyle v) { Forward(calBorderStyle_, v); }
  int CalendarBorderWidth() const { return calBorderWidth_; }
  void SetCalendarBorderWidth(int v) { Forward(calBorderWidth_, v); }
  TMonthCalendarLook Look() const { return look_; }
  void SetLook(TMonthCalendarLook v) { Forward(look_, v); }
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool v) { Forward(multiSelect_, v); }
  bool AllDaySelect() const { return allDaySelect_; }
  void SetAllDaySelect(bool v) { Forward(allDaySelect_, v); }
  bool WeekSelect() const { return weekSelect_; }
  void SetWeekSelect(bool v) { Forward(weekSelect_, v); }
  bool ShowSelection() const { return showSelection_; }
  void SetShowSelection(bool v) { Forward(showSelection_, v); }
  bool ShowToday() const { return showToday_; }
  void SetShowToday(bool v) { Forward(showToday_, v); }
  bool ShowWeeks() const { return showWeeks_; }
  void SetShowWeeks(bool v) { Forward(showWeeks_, v); }
  bool EventHints() const { return eventHints_; }
  void SetEventHints(bool v) { Forward(eventHints_, v); }
  TColor TextColor() const { return textColor_; }
  void SetTextColor(TColor v) { Forward(textColor_, v); }
  TColor SelectColor() const { return selectColor_; }
  void SetSelectColor(TColor v) { Forward(selectColor_, v); }
  TColor SelectFontColor() const { return selectFontColor_; }
  void SetSelectFontColor(TColor v) { Forward(selectFontColor_, v); }
  TColor InActiveColor() const { return inActiveColor_; }
  void SetInActiveColor(TColor v) { Forward(inActiveColor_, v); }
  TColor InversColor() const { return inversColor_; }
  void SetInversColor(TColor v) { Forward(inversColor_, v); }
  TColor WeekendColor() const { return weekendColor_; }
  void SetWeekendColor(TColor v) { Forward(weekendColor_, v); }
  TColor HeaderColor() const { return headerColor_; }
  void SetHeaderColor(TColor v) { Forward(headerColor_, v); }
  TColor FocusColor() const { return focusColor_; }
  void SetFocusColor(TColor v) { Forward(focusColor_, v); }
  TColor EventDayColor() const { return eventDayColor_; }
  void SetEventDayColor(TColor v) { Forward(eventDayColor_, v); }
  TColor CaptionColor() const { return captionColor_; }
  void SetCaptionColor(TColor v);
  TColor CaptionTextColor() const { return captionTextColor_; }
  void SetCaptionTextColor(TColor v) { Forward(captionTextColor_, v); }
  TColor LineColor() const { return lineColor_; }
  void SetLineColor(TColor v);
  bool Line3D() const { return line3D_; }
  void SetLine3D(bool v) { Forward(line3D_, v); }
  TColor GradientStartColor() const { return gradientStartColor_; }
  void SetGradientStartColor(TColor v) { Forward(gradientStartColor_, v); }
  TColor GradientEndColor() const { return gradientEndColor_; }
  void SetGradientEndColor(TColor v) { Forward(gradientEndColor_, v); }
  TGradientDirection GradientDirection() const { return gradientDirection_; }
  void SetGradientDirection(TGradientDirection v) { Forward(gradientDirection_, v); }
  TColor MonthGradientStartColor() const { return monthGradientStartColor_; }
  void SetMonthGradientStartColor(TColor v) { Forward(monthGradientStartColor_, v); }
  TColor MonthGradientEndColor() const { return monthGradientEndColor_; }
  void SetMonthGradientEndColor(TColor v) { Forward(monthGradientEndColor_, v); }
  TGradientDirection MonthGradientDirection() const { return monthGradientDirection_; }
  void SetMonthGradientDirection(TGradientDirection v) { Forward(monthGradientDirection_, v); }
  const std::string& HintPrevYear() const { return hintPrevYear_; }
  void SetHintPrevYear(const std::string& v) { Forward(hintPrevYear_, v); }
  const std::string& HintPrevMonth() const { return hintPrevMonth_; }
  void SetHintPrevMonth(const std::string& v) { Forward(hintPrevMonth_, v); }
  const std::string& HintNextYear() const { return hintNextYear_; }
  void SetHintNextYear(const std::string& v) { Forward(hintNextYear_, v); }
  const std::string& HintNextMonth() const { return hintNextMonth_; }
  void SetHintNextMonth(const std::string& v) { Forward(hintNextMonth_, v); }
  const std::string& WeekName() const { return weekName_; }
  void SetWeekName(const std::string& v) { Forward(weekName_, v); }
  TBackGroundPosition BackgroundPosition() const { return backgroundPosition_; }
  void SetBackgroundPosition(TBackGroundPosition v) { Forward(backgroundPosition_, v); }
  TBackgroundImage* Background() const { return background_.get(); }
  TFont* DayFont() const { return dayFont_.get(); }
  TFont* WeekFont() const { return weekFont_.get(); }
  TNameOfDays* NameOfDays() const { return nameOfDays_.get(); }
  TNameOfMonths* NameOfMonths() const { return nameOfMonths_.get(); }
  TCalendarBrowsers* Browsers() const { return browsers_.get(); }
  TCalGlyphs* Glyphs() const { return glyphs_.get(); }

  // ---- events (setting one rewires the calendars) ----
  const TDaySelectEvent& OnDaySelect() const { return onDaySelect_; }
  void SetOnDaySelect(TDaySelectEvent e) { SetEvent(onDaySelect_, std::move(e)); }
  void SetOnMonthSelect(TNotifyEvent e) { SetEvent(onMonthSelect_, std::move(e)); }
  void SetOnGetDateHint(TGetDateEvent e) { SetEvent(onGetDateHint_, std::move(e)); }
  void SetOnGetDateHintString(TGetDateEventHint e) { SetEvent(onGetDateHintString_, std::move(e)); }
  void SetOnMonthChange(TDateChangeEvent e) { SetEvent(onMonthChange_, std::move(e)); }
  void SetOnYearChange(TDateChangeEvent e) { SetEvent(onYearChange_, std::move(e)); }
  void SetOnDayChange(TDateChangeEvent e) { SetEvent(onDayChange_, std::move(e)); }
  void SetOnDateChange(TDateChangeEvent e) { SetEvent(onDateChange_, std::move(e)); }
  void SetOnCancelledChange(TCancelledChangeEvent e) { SetEvent(onCancelledChange_, std::move(e)); }
  void SetOnWeekSelect(TNotifyEvent e) { SetEvent(onWeekSelect_, std::move(e)); }
  void SetOnAllDaySelect(TNotifyEvent e) { SetEvent(onAllDaySelect_, std::move(e)); }
  void SetOnKeyDown(TKeyEvent e) { onKeyDown_ = std::move(e); }
  // Rewires like the others, though the list of setters that rewire leaves OnKeyPress out:
  // the calendars hold a copy of the handler, so without it a handler set after they were
  // built would never be called. (OnKeyDown needs none: CalendarKeyDown reads it each time.)
  void SetOnKeyPress(TKeyPressEvent e) { SetEvent(onKeyPress_, std::move(e)); }
  void SetOnKeyUp(TKeyEvent e) { SetEvent(onKeyUp_, std::move(e)); }
  void SetOnMouseMove(TMouseMoveEvent e) { SetEvent(onMouseMove_, std::move(e)); }
  void SetOnMouseDown(TMouseEvent e) { SetEvent(onMouseDown_, std::move(e)); }
  void SetOnMouseUp(TMouseEvent e) { SetEvent(onMouseUp_, std::move(e)); }

 protected:
  void ColorChanged() override;
  void FontChanged() override;
  // On screen the group follows the date, on the tick the process has every second anyway.
  void CreateWindowHandle() override;

 private:
  template <class T>
  void Forward(T& field, const T& v) {
    field = v;
    ApplyToCalendars();
  }
  template <class E>
  void SetEvent(E& field, E v) {
    field = std::move(v);
    WireCalendarEvents();
  }
  int Edge() const { return bevelWidth_ + borderWidth_; }
  void SizeToCalendars();
  void PlaceSplitters();
  void AnchorAt(int day, int month, int year, int which);
  void ApplyTo(TMonthCalendar& c);
  void ArrowsOf(TMonthCalendar& c, int k) const;
  // A rebuild that keeps what each calendar showed and had selected.
  void RebuildKeepingChoices();
  // The second's tick: when the clock has passed into another day, today's mark moves, and
  // when the month turned a group left on the month that was current shows the new one.
  void DateTick();

  std::vector<TMonthCalendar*> calendars_;
  TCalendarSplitter* right_ = nullptr;
  TCalendarSplitter* bottom_ = nullptr;
  std::unique_ptr<TSelDateItems> eventDates_, combined_;
  bool busy_ = false, ctrl_ = false, fitting_ = false;

  int colCount_ = 2, rowCount_ = 1, calendarWidth_ = 180, calendarHeight_ = 180;
  int startMonth_ = 1, startYear_ = 2000;
  uint16_t day_ = 1, month_ = 1, year_ = 2000;
  uint8_t spliterH_ = 2, spliterV_ = 2;
  TColor splitterColor_ = clBtnFace;
  bool splitterBevel_ = true;

  int startDay_ = 7;
  TBevelCut calBevelInner_ = bvNone, calBevelOuter_ = bvRaised;
  int calBevelWidth_ = 0;
  TBorderStyle calBorderStyle_ = bsNone;
  int calBorderWidth_ = 1;
  TMonthCalendarLook look_ = lookFlat;
  bool multiSelect_ = false, allDaySelect_ = false, weekSelect_ = false;
  bool showSelection_ = true, showToday_ = false, showWeeks_ = false, eventHints_ = false;
  TColor textColor_ = clBlack, selectColor_ = 0x808000, selectFontColor_ = clWhite, inActiveColor_ = clGray;
  TColor inversColor_ = clWhite, weekendColor_ = clRed, headerColor_ = clBtnFace, focusColor_ = clHighlight;
  TColor eventDayColor_ = clBlack, captionColor_ = clNone, captionTextColor_ = clBlack;
  TColor lineColor_ = clSilver;
  bool line3D_ = true;
  TColor gradientStartColor_ = clWhite, gradientEndColor_ = clBtnFace;
  TGradientDirection gradientDirection_ = gdHorizontal;
  TColor monthGradientStartColor_ = clNone, monthGradientEndColor_ = clNone;
  TGradientDirection monthGradientDirection_ = gdHorizontal;
  std::string hintPrevYear_, hintPrevMonth_, hintNextYear_, hintNextMonth_, weekName_;
  TBackGroundPosition backgroundPosition_ = bpTiled;
  std::unique_ptr<TBackgroundImage> background_;
  std::unique_ptr<TFont> dayFont_, weekFont_;
  std::unique_ptr<TNameOfDays> nameOfDays_;
  std::unique_ptr<TNameOfMonths> nameOfMonths_;
  std::unique_ptr<TCalendarBrowsers> browsers_;
  std::unique_ptr<TCalGlyphs> glyphs_;

  TDaySelectEvent onDaySelect_;
  TNotifyEvent onMonthSelect_, onWeekSelect_, onAllDaySelect_;
  TGetDateEvent onGetDateHint_;
  TGetDateEventHint onGetDateHintString_;
  TDateChangeEvent onMonthChange_, onYearChange_, onDayChange_, onDateChange_;
  TCancelledChangeEvent onCancelledChange_;
  TKeyEvent onKeyDown_, onKeyUp_;
  TKeyPressEvent onKeyPress_;
  TMouseMoveEvent onMouseMove_;
  TMouseEvent onMouseDown_, onMouseUp_;

  FontSpec builtFont_;  // the font the calendars were last built in
  dates::Ymd today_;    // the clock's date when last looked at
  RepeatingCall dateWatch_;
};

}  // namespace vsi
