// Published properties of the calendar classes (what window descriptions may set).
#include "calendar/calendar_group.h"
#include "calendar/register.h"

namespace vsi {

const ClassInfo& TNameOfDays::StaticClass() {
  static const ClassInfo info = ClassBuilder<TNameOfDays>("TNameOfDays", &TPersistent::StaticClass())
                                    .Text("Monday", &TNameOfDays::Monday, &TNameOfDays::SetMonday)
                                    .Text("Tuesday", &TNameOfDays::Tuesday, &TNameOfDays::SetTuesday)
                                    .Text("Wednesday", &TNameOfDays::Wednesday, &TNameOfDays::SetWednesday)
                                    .Text("Thursday", &TNameOfDays::Thursday, &TNameOfDays::SetThursday)
                                    .Text("Friday", &TNameOfDays::Friday, &TNameOfDays::SetFriday)
                                    .Text("Saturday", &TNameOfDays::Saturday, &TNameOfDays::SetSaturday)
                                    .Text("Sunday", &TNameOfDays::Sunday, &TNameOfDays::SetSunday)
                                    .Bool("UseIntlNames", &TNameOfDays::UseIntlNames, &TNameOfDays::SetUseIntlNames)
                                    .Build();
  return info;
}

const ClassInfo& TNameOfMonths::StaticClass() {
  using N = TNameOfMonths;
  static const ClassInfo info = ClassBuilder<N>("TNameOfMonths", &TPersistent::StaticClass())
                                    .Text("January", &N::January, &N::SetJanuary)
                                    .Text("February", &N::February, &N::SetFebruary)
                                    .Text("March", &N::March, &N::SetMarch)
                                    .Text("April", &N::April, &N::SetApril)
                                    .Text("May", &N::May, &N::SetMay)
                                    .Text("June", &N::June, &N::SetJune)
                                    .Text("July", &N::July, &N::SetJuly)
                                    .Text("August", &N::August, &N::SetAugust)
                                    .Text("September", &N::September, &N::SetSeptember)
                                    .Text("October", &N::October, &N::SetOctober)
                                    .Text("November", &N::November, &N::SetNovember)
                                    .Text("December", &N::December, &N::SetDecember)
                                    .Bool("UseIntlNames", &N::UseIntlNames, &N::SetUseIntlNames)
                                    .Build();
  return info;
}

const ClassInfo& TYearStartAt::StaticClass() {
  using Y = TYearStartAt;
  static const ClassInfo info = ClassBuilder<Y>("TYearStartAt", &TPersistent::StaticClass())
                                    .Int("StartDay", &Y::StartDay, &Y::SetStartDay)
                                    .Int("StartMonth", &Y::StartMonth, &Y::SetStartMonth)
                                    .Int("PrevYearStartDay", &Y::PrevYearStartDay, &Y::SetPrevYearStartDay)
                                    .Int("PrevYearStartMonth", &Y::PrevYearStartMonth, &Y::SetPrevYearStartMonth)
                                    .Int("NextYearStartDay", &Y::NextYearStartDay, &Y::SetNextYearStartDay)
                                    .Int("NextYearStartMonth", &Y::NextYearStartMonth, &Y::SetNextYearStartMonth)
                                    .Build();
  return info;
}

const ClassInfo& TMinMaxDate::StaticClass() {
  using M = TMinMaxDate;
  static const ClassInfo info = ClassBuilder<M>("TMinMaxDate", &TPersistent::StaticClass())
                                    .Int("Day", &M::Day, &M::SetDay)
                                    .Int("Month", &M::Month, &M::SetMonth)
                                    .Int("Year", &M::Year, &M::SetYear)
                                    .Bool("Use", &M::Use, &M::SetUse)
                                    .Build();
  return info;
}

const ClassInfo& TCalendarBrowsers::StaticClass() {
  using B = TCalendarBrowsers;
  static const ClassInfo info = ClassBuilder<B>("TCalendarBrowsers", &TPersistent::StaticClass())
                                    .Bool("PrevMonth", &B::PrevMonth, &B::SetPrevMonth)
                                    .Bool("PrevYear", &B::PrevYear, &B::SetPrevYear)
                                    .Bool("NextMonth", &B::NextMonth, &B::SetNextMonth)
                                    .Bool("NextYear", &B::NextYear, &B::SetNextYear)
                                    .Build();
  return info;
}

const ClassInfo& TCalGlyphs::StaticClass() {
  static const ClassInfo info = ClassBuilder<TCalGlyphs>("TCalGlyphs", &TPersistent::StaticClass()).Build();
  return info;
}

const ClassInfo& TBackgroundImage::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TBackgroundImage>("TBackgroundImage", &TPersistent::StaticClass()).Build();
  return info;
}

const ClassInfo& TSelDateItem::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSelDateItem>("TSelDateItem", &TPersistent::StaticClass()).Build();
  return info;
}

const ClassInfo& TSelDateItems::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSelDateItems>("TSelDateItems", &TPersistent::StaticClass()).Build();
  return info;
}

const ClassInfo& TCustomCalendarPanel::StaticClass() {
  using P = TCustomCalendarPanel;
  static const ClassInfo info =
      ClassBuilder<P>("TCustomCalendarPanel", &TCustomControl::StaticClass())
          .Int("EventMarkerColor", &P::EventMarkerColor, &P::SetEventMarkerColor)
          .Enum("EventMarkerShape", EventShapeNames(), &P::EventMarkerShape, &P::SetEventMarkerShape)
          .Enum("BevelInner", kBevelCutNames, &P::BevelInner, &P::SetBevelInner)
          .Enum("BevelOuter", kBevelCutNames, &P::BevelOuter, &P::SetBevelOuter)
          .Int("BevelWidth", &P::BevelWidth, &P::SetBevelWidth)
          .Int("BorderWidth", &P::BorderWidth, &P::SetBorderWidth)
          .Enum("BorderStyle", kBorderStyleNames, &P::BorderStyle, &P::SetBorderStyle)
          .Build();
  return info;
}

const ClassInfo& TMonthCalendar::StaticClass() {
  using C = TMonthCalendar;
  static const ClassInfo info =
      ClassBuilder<C>("TMonthCalendar", &TCustomCalendarPanel::StaticClass())
          .Creatable()
          .Int("Day", &C::Day, &C::SetDay)
          .Int("Month", &C::Month, &C::SetMonth)
          .Int("Year", &C::Year, &C::SetYear)
          .Int("StartDay", &C::StartDay, &C::SetStartDay)
          .Object("YearStartAt", TYearStartAt::StaticClass(), &C::YearStartAt)
          .Object("MinDate", TMinMaxDate::StaticClass(), &C::MinDate)
          .Object("MaxDate", TMinMaxDate::StaticClass(), &C::MaxDate)
          .Bool("MultiSelect", &C::MultiSelect, &C::SetMultiSelect)
          .Bool("ShowSelection", &C::ShowSelection, &C::SetShowSelection)
          .Bool("AllDaySelect", &C::AllDaySelect, &C::SetAllDaySelect)
          .Bool("WeekSelect", &C::WeekSelect, &C::SetWeekSelect)
          .Bool("ReturnIsSelect", &C::ReturnIsSelect, &C::SetReturnIsSelect)
          .Bool("ShowDaysBefore", &C::ShowDaysBefore, &C::SetShowDaysBefore)
          .Bool("ShowDaysAfter", &C::ShowDaysAfter, &C::SetShowDaysAfter)
          .Bool("ShowWeeks", &C::ShowWeeks, &C::SetShowWeeks)
          .Text("WeekName", &C::WeekName, &C::SetWeekName)
          .Bool("ShowToday", &C::ShowToday, &C::SetShowToday)
          .Enum("TodayStyle", TodayStyleNames(), &C::TodayStyle, &C::SetTodayStyle)
          .Bool("ShowGotoToday", &C::ShowGotoToday, &C::SetShowGotoToday)
          .Text("TodayFormat", &C::TodayFormat, &C::SetTodayFormat)
          .Enum("Look", CalendarLookNames(), &C::Look, &C::SetLook)
          .Bool("Line3D", &C::Line3D, &C::SetLine3D)
          .Int("LineColor", &C::LineColor, &C::SetLineColor)
          .Object("Browsers", TCalendarBrowsers::StaticClass(), &C::Browsers)
          .Object("Glyphs", TCalGlyphs::StaticClass(), &C::Glyphs)
          .Text("HintPrevYear", &C::HintPrevYear, &C::SetHintPrevYear)
          .Text("HintPrevMonth", &C::HintPrevMonth, &C::SetHintPrevMonth)
          .Text("HintNextMonth", &C::HintNextMonth, &C::SetHintNextMonth)
          .Text("HintNextYear", &C::HintNextYear, &C::SetHintNextYear)
          .Bool("BorderXP", &C::BorderXP, &C::SetBorderXP)
          .Object("Background", TBackgroundImage::StaticClass(), &C::Background)
          .Enum("BackgroundPosition", BackgroundPositionNames(), &C::BackgroundPosition, &C::SetBackgroundPosition)
          .Bool("EventHints", &C::EventHints, &C::SetEventHints)
          .Int("TextColor", &C::TextColor, &C::SetTextColor)
          .Int("WeekendColor", &C::WeekendColor, &C::SetWeekendColor)
          .Int("SelectColor", &C::SelectColor, &C::SetSelectColor)
          .Int("SelectFontColor", &C::SelectFontColor, &C::SetSelectFontColor)
          .Int("InActiveColor", &C::InActiveColor, &C::SetInActiveColor)
          .Int("InversColor", &C::InversColor, &C::SetInversColor)
          .Int("HeaderColor", &C::HeaderColor, &C::SetHeaderColor)
          .Int("FocusColor", &C::FocusColor, &C::SetFocusColor)
          .Int("EventDayColor", &C::EventDayColor, &C::SetEventDayColor)
          .Int("CaptionColor", &C::CaptionColor, &C::SetCaptionColor)
          .Int("CaptionTextColor", &C::CaptionTextColor, &C::SetCaptionTextColor)
          .Int("GradientStartColor", &C::GradientStartColor, &C::SetGradientStartColor)
          .Int("GradientEndColor", &C::GradientEndColor, &C::SetGradientEndColor)
          .Enum("GradientDirection", GradientDirectionNames(), &C::GradientDirection, &C::SetGradientDirection)
          .Int("MonthGradientStartColor", &C::MonthGradientStartColor, &C::SetMonthGradientStartColor)
          .Int("MonthGradientEndColor", &C::MonthGradientEndColor, &C::SetMonthGradientEndColor)
          .Enum("MonthGradientDirection", GradientDirectionNames(), &C::MonthGradientDirection,
                &C::SetMonthGradientDirection)
          .Object("DayFont", TFont::StaticClass(), &C::DayFont)
          .Object("WeekFont", TFont::StaticClass(), &C::WeekFont)
          .Object("NameOfDays", TNameOfDays::StaticClass(), &C::NameOfDays)
          .Object("NameOfMonths", TNameOfMonths::StaticClass(), &C::NameOfMonths)
          .Event("OnWeekSelect", &C::OnWeekSelect)
          .Event("OnAllDaySelect", &C::OnAllDaySelect)
          .Event("OnMonthSelect", &C::OnMonthSelect)
          .Build();
  return info;
}

const ClassInfo& TCalendarSplitter::StaticClass() {
  static const ClassInfo info = ClassBuilder<TCalendarSplitter>("TCalendarSplitter", &TPanel::StaticClass()).Build();
  return info;
}

const ClassInfo& TMonthCalendarGroup::StaticClass() {
  using G = TMonthCalendarGroup;
  static const ClassInfo info =
      ClassBuilder<G>("TMonthCalendarGroup", &TCustomCalendarPanel::StaticClass())
          .Creatable()
          .Int("ColCount", &G::ColCount, &G::SetColCount)
          .Int("RowCount", &G::RowCount, &G::SetRowCount)
          .Int("CalendarWidth", &G::CalendarWidth, &G::SetCalendarWidth)
          .Int("CalendarHeight", &G::CalendarHeight, &G::SetCalendarHeight)
          .Int("StartMonth", &G::StartMonth, &G::SetStartMonth)
          .Int("StartYear", &G::StartYear, &G::SetStartYear)
          .Int("Day", &G::Day, &G::SetDay)
          .Int("Month", &G::Month, &G::SetMonth)
          .Int("Year", &G::Year, &G::SetYear)
          .Int("StartDay", &G::StartDay, &G::SetStartDay)
          .Int("SpliterH", &G::SpliterH, &G::SetSpliterH)
          .Int("SpliterV", &G::SpliterV, &G::SetSpliterV)
          .Int("SplitterColor", &G::SplitterColor, &G::SetSplitterColor)
          .Bool("SplitterBevel", &G::SplitterBevel, &G::SetSplitterBevel)
          .Int("BevelWidth", &G::BevelWidth, &G::SetBevelWidth)
          .Int("BorderWidth", &G::BorderWidth, &G::SetBorderWidth)
          .Int("EventMarkerColor", &G::EventMarkerColor, &G::SetEventMarkerColor)
          .Enum("EventMarkerShape", EventShapeNames(), &G::EventMarkerShape, &G::SetEventMarkerShape)
          .Enum("CalendarBevelInner", kBevelCutNames, &G::CalendarBevelInner, &G::SetCalendarBevelInner)
          .Enum("CalendarBevelOuter", kBevelCutNames, &G::CalendarBevelOuter, &G::SetCalendarBevelOuter)
          .Int("CalendarBevelWidth", &G::CalendarBevelWidth, &G::SetCalendarBevelWidth)
          .Enum("CalendarBorderStyle", kBorderStyleNames, &G::CalendarBorderStyle, &G::SetCalendarBorderStyle)
          .Int("CalendarBorderWidth", &G::CalendarBorderWidth, &G::SetCalendarBorderWidth)
          .Enum("Look", CalendarLookNames(), &G::Look, &G::SetLook)
          .Bool("MultiSelect", &G::MultiSelect, &G::SetMultiSelect)
          .Bool("AllDaySelect", &G::AllDaySelect, &G::SetAllDaySelect)
          .Bool("WeekSelect", &G::WeekSelect, &G::SetWeekSelect)
          .Bool("ShowSelection", &G::ShowSelection, &G::SetShowSelection)
          .Bool("ShowToday", &G::ShowToday, &G::SetShowToday)
          .Bool("ShowWeeks", &G::ShowWeeks, &G::SetShowWeeks)
          .Bool("EventHints", &G::EventHints, &G::SetEventHints)
          .Int("TextColor", &G::TextColor, &G::SetTextColor)
          .Int("SelectColor", &G::SelectColor, &G::SetSelectColor)
          .Int("SelectFontColor", &G::SelectFontColor, &G::SetSelectFontColor)
          .Int("InActiveColor", &G::InActiveColor, &G::SetInActiveColor)
          .Int("InversColor", &G::InversColor, &G::SetInversColor)
          .Int("WeekendColor", &G::WeekendColor, &G::SetWeekendColor)
          .Int("HeaderColor", &G::HeaderColor, &G::SetHeaderColor)
          .Int("FocusColor", &G::FocusColor, &G::SetFocusColor)
          .Int("EventDayColor", &G::EventDayColor, &G::SetEventDayColor)
          .Int("CaptionColor", &G::CaptionColor, &G::SetCaptionColor)
          .Int("CaptionTextColor", &G::CaptionTextColor, &G::SetCaptionTextColor)
          .Int("LineColor", &G::LineColor, &G::SetLineColor)
          .Bool("Line3D", &G::Line3D, &G::SetLine3D)
          .Int("GradientStartColor", &G::GradientStartColor, &G::SetGradientStartColor)
          .Int("GradientEndColor", &G::GradientEndColor, &G::SetGradientEndColor)
          .Enum("GradientDirection", GradientDirectionNames(), &G::GradientDirection, &G::SetGradientDirection)
          .Int("MonthGradientStartColor", &G::MonthGradientStartColor, &G::SetMonthGradientStartColor)
          .Int("MonthGradientEndColor", &G::MonthGradientEndColor, &G::SetMonthGradientEndColor)
          .Enum("MonthGradientDirection", GradientDirectionNames(), &G::MonthGradientDirection,
                &G::SetMonthGradientDirection)
          .Text("HintPrevYear", &G::HintPrevYear, &G::SetHintPrevYear)
          .Text("HintPrevMonth", &G::HintPrevMonth, &G::SetHintPrevMonth)
          .Text("HintNextYear", &G::HintNextYear, &G::SetHintNextYear)
          .Text("HintNextMonth", &G::HintNextMonth, &G::SetHintNextMonth)
          .Text("WeekName", &G::WeekName, &G::SetWeekName)
          .Object("Background", TBackgroundImage::StaticClass(), &G::Background)
          .Enum("BackgroundPosition", BackgroundPositionNames(), &G::BackgroundPosition, &G::SetBackgroundPosition)
          .Object("DayFont", TFont::StaticClass(), &G::DayFont)
          .Object("WeekFont", TFont::StaticClass(), &G::WeekFont)
          .Object("NameOfDays", TNameOfDays::StaticClass(), &G::NameOfDays)
          .Object("NameOfMonths", TNameOfMonths::StaticClass(), &G::NameOfMonths)
          .Object("Browsers", TCalendarBrowsers::StaticClass(), &G::Browsers)
          .Object("Glyphs", TCalGlyphs::StaticClass(), &G::Glyphs)
          .Build();
  return info;
}

void RegisterCalendarClasses() {
  RegisterClass(TMonthCalendar::StaticClass());
  RegisterClass(TMonthCalendarGroup::StaticClass());
}

}  // namespace vsi
