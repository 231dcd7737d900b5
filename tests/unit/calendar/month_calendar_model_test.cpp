// The month calendar's state and date operations.
#include <gtest/gtest.h>

#include <cmath>

#include "calendar_fixture.h"

namespace vsi::caltest {
namespace {

using CalendarModel = CalendarFixture;

TEST_F(CalendarModel, ConstructionShowsTodayWithDefaults) {
  TMonthCalendar* c = MakeCalendar(false);
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-21");
  EXPECT_EQ(c->DisplayDate(), c->CurrentDate());
  EXPECT_EQ(c->CurrentDate(), std::floor(c->CurrentDate()));  // a whole day
  EXPECT_EQ(c->CaptionText(), "Mar 2004");
  EXPECT_EQ(c->StartDay(), 7);
  EXPECT_EQ(c->BorderWidth(), 1);
  EXPECT_EQ(c->BevelOuter(), bvNone);
  EXPECT_EQ(c->SelectedDates().Count(), 0);
  EXPECT_EQ(c->EventDates().Count(), 0);
  EXPECT_EQ(c->PaintLock(), 0);
  // Run time: the design-time texts stay empty.
  EXPECT_EQ(c->HintPrevYear(), "");
  EXPECT_EQ(c->WeekName(), "");
  EXPECT_EQ(c->TodayFormat(), "\"Today\" DDD/mm, YYYY");
  EXPECT_EQ(c->SelectColor(), 0x808000u);
  EXPECT_EQ(c->EventMarkerColor(), clYellow);
  EXPECT_EQ(c->EventMarkerShape(), evsCircle);
  auto* fresh = new TMonthCalendar(&root);
  EXPECT_EQ(fresh->Width(), 180);
  EXPECT_EQ(fresh->Height(), 180);
  // The window text is the caption, for readers of the window.
  c->HandleNeeded();
  EXPECT_EQ(fp.windows.GetText(c->Handle()), u"Mar 2004");
}

TEST_F(CalendarModel, ThemesFollowTheSystemVersion) {
  struct Case {
    uint32_t major, minor;
    bool themes;
  } cases[] = {{5, 0, false}, {5, 1, true}, {6, 0, true}, {4, 10, false}};
  for (const auto& k : cases) {
    fp.system.version.majorVersion = k.major;
    fp.system.version.minorVersion = k.minor;
    TMonthCalendar* c = MakeCalendar(false);
    EXPECT_EQ(c->ThemesAvailable(), k.themes) << k.major << "." << k.minor;
  }
}

TEST_F(CalendarModel, StartDayIsLimitedToTheWeek) {
  TMonthCalendar* c = MakeCalendar(false);
  c->SetStartDay(0);
  EXPECT_EQ(c->StartDay(), 1);
  c->SetStartDay(9);
  EXPECT_EQ(c->StartDay(), 7);
  c->SetStartDay(3);
  EXPECT_EQ(c->StartDay(), 3);
}

TEST_F(CalendarModel, DayMonthYearSettersMoveAndSelect) {
  TMonthCalendar* c = MakeCalendar();
  c->SetDay(5);
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-5");
  EXPECT_EQ(c->DisplayDate(), c->CurrentDate());
  EXPECT_EQ(c->ResetDate(), c->CurrentDate());
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-5"}));
  c->SetMonth(2);
  c->SetYear(2005);
  EXPECT_EQ(Text(c->CurrentDate()), "2005-2-5");
  EXPECT_EQ(c->CaptionText(), "Feb 2005");
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2005-2-5"}));
  EXPECT_TRUE(fp.windows.messageBoxes.empty());
}

TEST_F(CalendarModel, ImpossibleDateShowsErrorAndKeepsEverything) {
  TMonthCalendar* c = MakeCalendar();
  c->SetMonth(2);  // 21 February 2004
  TDateTime before = c->CurrentDate();
  c->SetDay(31);
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Invalid date"}));
  EXPECT_EQ(fp.windows.messageBoxes[0].type, MB_OK_ | MB_ICONERROR_);
  EXPECT_EQ(c->CurrentDate(), before);
  EXPECT_EQ(c->DisplayDate(), before);
  // The set day stayed 21: a later month change still uses it.
  c->SetMonth(4);
  EXPECT_EQ(Text(c->CurrentDate()), "2004-4-21");
  EXPECT_THROW(c->MoveToDate(30, 2, 2004), EConvertError);
  EXPECT_EQ(Text(c->CurrentDate()), "2004-4-21");
}

struct StepCase {
  const char* name;
  TDateTime from;
  int delta;
  const char* to;
};

TEST_F(CalendarModel, StepMonthCarriesYearsAndShortensDays) {
  const StepCase cases[] = {
      {"31 Jan to 28 Feb", D(2005, 1, 31), 1, "2005-2-28"},
      {"31 Jan to 29 Feb in a leap year", D(2004, 1, 31), 1, "2004-2-29"},
      {"December to January", D(2004, 12, 15), 1, "2005-1-15"},
      {"January to December", D(2005, 1, 15), -1, "2004-12-15"},
      {"31 March back to 29 Feb", D(2004, 3, 31), -1, "2004-2-29"},
      {"zero keeps the day", D(2004, 6, 30), 0, "2004-6-30"},
      {"several months", D(2004, 11, 30), 3, "2005-2-28"},
  };
  TMonthCalendar* c = MakeCalendar(false);
  for (const auto& k : cases) {
    dates::Ymd f = dates::DecodeDate(k.from);
    c->MoveToDate(f.day, f.month, f.year);
    c->StepMonth(k.delta);
    EXPECT_EQ(Text(c->CurrentDate()), k.to) << k.name;
    EXPECT_EQ(c->DisplayDate(), c->CurrentDate()) << k.name;
  }
}

TEST_F(CalendarModel, StepMonthClampsToTheRangeAndStepYearRefuses) {
  TMonthCalendar* c = MakeCalendar(false);
  c->MaxDate()->SetDay(10);
  c->MaxDate()->SetMonth(4);
  c->MaxDate()->SetYear(2004);
  c->MaxDate()->SetUse(true);
  c->MinDate()->SetDay(15);
  c->MinDate()->SetMonth(2);
  c->MinDate()->SetYear(2004);
  c->MinDate()->SetUse(true);
  c->StepMonth(1);  // 21 April is past the bound: lands on it
  EXPECT_EQ(Text(c->CurrentDate()), "2004-4-10");
  c->MoveToDate(21, 3, 2004);
  c->StepMonth(-1);  // 21 February is inside
  EXPECT_EQ(Text(c->CurrentDate()), "2004-2-21");
  c->MoveToDate(1, 3, 2004);
  c->StepMonth(-1);  // 1 February is before 15 February
  EXPECT_EQ(Text(c->CurrentDate()), "2004-2-15");
  c->StepYear(1);  // refused
  EXPECT_EQ(Text(c->CurrentDate()), "2004-2-15");
  c->StepYear(-1);
  EXPECT_EQ(Text(c->CurrentDate()), "2004-2-15");
  EXPECT_EQ(c->CaptionText(), "Feb 2004");
}

TEST_F(CalendarModel, StepYearLimitsTheDay) {
  TMonthCalendar* c = MakeCalendar(false);
  c->MoveToDate(29, 2, 2004);
  c->StepYear(1);
  EXPECT_EQ(Text(c->CurrentDate()), "2005-2-28");
  EXPECT_EQ(c->CaptionText(), "Feb 2005");
  c->StepYear(-2);
  EXPECT_EQ(Text(c->CurrentDate()), "2003-2-28");
}

TEST_F(CalendarModel, RangeTests) {
  TMonthCalendar* c = MakeCalendar(false);
  EXPECT_TRUE(c->InRange(D(1900, 1, 1)));
  c->MinDate()->SetDay(10);
  c->MinDate()->SetMonth(3);
  c->MinDate()->SetYear(2004);
  c->MaxDate()->SetDay(20);
  c->MaxDate()->SetMonth(5);
  c->MaxDate()->SetYear(2004);
  EXPECT_TRUE(c->InRange(D(2004, 1, 1))) << "bounds count only while used";
  c->MinDate()->SetUse(true);
  c->MaxDate()->SetUse(true);
  EXPECT_FALSE(c->InRange(D(2004, 3, 9)));
  EXPECT_TRUE(c->InRange(D(2004, 3, 10) + 0.7));
  EXPECT_TRUE(c->InRange(D(2004, 5, 20) + 0.7));
  EXPECT_FALSE(c->InRange(D(2004, 5, 21)));
  EXPECT_TRUE(c->MonthInRange(D(2004, 3, 1)));
  EXPECT_FALSE(c->MonthInRange(D(2004, 2, 29)));
  EXPECT_TRUE(c->MonthInRange(D(2004, 5, 31)));
  EXPECT_FALSE(c->MonthInRange(D(2004, 6, 1)));
}

TEST_F(CalendarModel, NotifyDateChangeRaisesPerField) {
  TMonthCalendar* c = MakeCalendar(false);
  std::vector<std::string> log;
  c->OnDayChange = [&](TObject* s, TDateTime o, TDateTime n) {
    EXPECT_EQ(s, c);
    log.push_back("day " + Text(o) + ">" + Text(n));
  };
  c->OnMonthChange = [&](TObject*, TDateTime, TDateTime) { log.push_back("month"); };
  c->OnYearChange = [&](TObject*, TDateTime, TDateTime) { log.push_back("year"); };
  c->NotifyDateChange(D(2004, 3, 5), D(2004, 4, 5));
  EXPECT_EQ(log, (std::vector<std::string>{"month"}));
  log.clear();
  c->NotifyDateChange(D(2004, 12, 31), D(2005, 1, 1));
  EXPECT_EQ(log, (std::vector<std::string>{"day 2004-12-31>2005-1-1", "month", "year"}));
  log.clear();
  c->NotifyDateChange(D(2004, 3, 5) + 0.1, D(2004, 3, 5) + 0.9);
  EXPECT_TRUE(log.empty());
}

TEST_F(CalendarModel, CaptionIsCutToTwentyCharacters) {
  TMonthCalendar* c = MakeCalendar(false);
  c->NameOfMonths()->SetMarch("Marchmarchmarchmar");  // 18 characters
  EXPECT_EQ(c->CaptionText(), "Marchmarchmarchmar 2");
  EXPECT_EQ(c->CaptionText().size(), 20u);
}

TEST_F(CalendarModel, DateAtPointClampsAndRecordsTheHitPoint) {
  TMonthCalendar* c = MakeCalendar(false);
  c->SetShowWeeks(true);  // dx = dy = wk = 17; March 2004 starts on Monday: c = 1
  c->MoveToDate(21, 3, 2004);
  struct Case {
    const char* name;
    int x, y;
    const char* date;
  } cases[] = {
      {"first row, second column", 17 + 17 + 3, 34, "2004-3-1"},
      {"first cell holds 29 February", 17 + 3, 34, "2004-2-29"},
      {"below the sixth row", 17 + 17 + 3, 500, "2004-4-5"},
      {"right of the seventh column", 900, 34 + 17, "2004-3-13"},
      {"third row, fourth column", 17 + 3 * 17 + 1, 34 + 2 * 17 + 1, "2004-3-17"},
      {"last cell", 149, 129, "2004-4-10"},
  };
  for (const auto& k : cases) {
    EXPECT_EQ(Text(c->DateAtPoint(k.x, k.y, false)), k.date) << k.name;
    EXPECT_EQ(c->HitPoint(), (TPoint{k.x - 17, k.y})) << k.name;
  }
  // Without navigation the shown month stays.
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-21");
}

TEST_F(CalendarModel, DateAtPointNavigatesOnlyWithAdjacentDaysShown) {
  TMonthCalendar* c = MakeCalendar(false);
  c->SetShowWeeks(true);
  c->MoveToDate(21, 3, 2004);
  EXPECT_EQ(Text(c->DateAtPoint(17 + 3, 34, true)), "2004-2-29");
  EXPECT_EQ(Text(c->CurrentDate()), "2004-2-21") << "stepped back a month";
  c->MoveToDate(21, 3, 2004);
  c->SetShowDaysAfter(false);
  EXPECT_EQ(Text(c->DateAtPoint(149, 129, true)), "2004-4-10");
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-21") << "no step without the trailing days";
}

TEST_F(CalendarModel, CellOfDateAndCellRect) {
  TMonthCalendar* c = MakeCalendar(false);
  c->SetShowWeeks(true);
  c->MoveToDate(21, 3, 2004);  // c = 1: the 21st is cell 22 = column 1, row 4
  int col = 0, row = 0;
  c->CellOfDate(D(2004, 3, 21), col, row);
  EXPECT_EQ(col, 1);
  EXPECT_EQ(row, 4);
  EXPECT_EQ(c->CellRect(D(2004, 3, 21)), (TRect{17, 82, 36, 99}));
  c->CellOfDate(D(2004, 3, 20), col, row);
  EXPECT_EQ(col, 7);
  EXPECT_EQ(row, 3);
}

TEST_F(CalendarModel, WeekNumbersFollowTheYearStart) {
  TMonthCalendar* c = MakeCalendar(false);
  c->MoveToDate(1, 12, 2004);
  std::vector<int> weeks;
  for (int r = 1; r <= 6; ++r) weeks.push_back(c->WeekNumber(r));
  EXPECT_EQ(weeks, (std::vector<int>{49, 50, 51, 52, 1, 2}));
  c->YearStartAt()->SetStartMonth(4);
  c->YearStartAt()->SetNextYearStartMonth(4);
  c->YearStartAt()->SetPrevYearStartMonth(4);
  // 4 December 2004 counted from 1 April 2004: 247 days.
  EXPECT_EQ(c->WeekNumber(1), 247 / 7 + 1);
}

TEST_F(CalendarModel, YearStartRefusesValuesOutsideTheCalendar) {
  TMonthCalendar* c = MakeCalendar(false);
  c->YearStartAt()->SetStartDay(32);
  c->YearStartAt()->SetNextYearStartMonth(13);
  c->YearStartAt()->SetPrevYearStartDay(0);
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Invalid day. Should be in [1..31]",
                                                      "Invalid month. Should be in [1..12]",
                                                      "Invalid day. Should be in [1..31]"}));
  EXPECT_EQ(c->YearStartAt()->StartDay(), 1);
  EXPECT_EQ(c->YearStartAt()->NextYearStartMonth(), 1);
  c->YearStartAt()->SetStartDay(31);
  EXPECT_EQ(c->YearStartAt()->StartDay(), 31);
}

TEST_F(CalendarModel, NameObjects) {
  TMonthCalendar* c = MakeCalendar(false);
  TNameOfDays& days = *c->NameOfDays();
  EXPECT_TRUE(days.UseIntlNames());
  EXPECT_EQ(days.Name(1), "Mon");
  EXPECT_EQ(days.Name(7), "Sun");
  EXPECT_EQ(days.Name(8), "Mon");
  EXPECT_EQ(days.Name(14), "Sun");
  EXPECT_EQ(days.Name(0), "");
  EXPECT_EQ(days.Name(15), "");
  TNameOfMonths& months = *c->NameOfMonths();
  EXPECT_EQ(months.Name(12), "Dec");
  EXPECT_EQ(months.Name(13), "");
  EXPECT_EQ(months.Name(0), "");
  int changes = 0;
  months.OnChange = [&](TObject*) { ++changes; };
  months.SetUseIntlNames(false);
  EXPECT_EQ(changes, 0);
  months.SetJanuary("janv.");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(months.January(), "janv.");
  // Back to the locale's names, from the process-wide settings.
  ctx.format().shortMonthNames[0] = "Jän";
  months.SetUseIntlNames(true);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(months.January(), "Jän");
}

TEST_F(CalendarModel, NameChangesRebuildTheCaptionAtOnce) {
  TMonthCalendar* c = MakeCalendar();
  int before = Win(c).invalidations;
  c->NameOfMonths()->SetMarch("mars");
  EXPECT_EQ(c->CaptionText(), "mars 2004");
  EXPECT_EQ(fp.windows.GetText(c->Handle()), u"mars 2004");
  EXPECT_GT(Win(c).invalidations, before);
  c->Browsers()->SetNextYear(false);
  EXPECT_FALSE(c->Browsers()->NextYear());
}

TEST_F(CalendarModel, DateListOperations) {
  TMonthCalendar* c = MakeCalendar(false);
  TSelDateItems& list = c->EventDates();
  c->SetEventMarkerColor(clRed);
  c->SetEventMarkerShape(evsTriangle);
  list.AddRange(D(2004, 3, 5), D(2004, 3, 3));
  EXPECT_EQ(Dates(list), (std::vector<std::string>{"2004-3-3", "2004-3-4", "2004-3-5"}));
  EXPECT_EQ(list.Items(0)->Color(), clRed);
  EXPECT_EQ(list.Items(0)->Shape(), evsTriangle);
  EXPECT_EQ(list.Items(0)->FontColor(), clBlack);
  list.AddRange(D(2004, 3, 4), D(2004, 3, 6));  // only the missing day is added
  EXPECT_EQ(list.Count(), 4);
  list.AddDate(D(2004, 3, 1) + 0.5);
  EXPECT_EQ(list.IndexOfDate(D(2004, 3, 1)), 4);
  EXPECT_EQ(list.IndexOfDate(D(2004, 3, 2)), -1);
  EXPECT_EQ(list.DateItem(D(2004, 3, 2)), nullptr);
  list.Sort();
  EXPECT_EQ(Dates(list), (std::vector<std::string>{"2004-3-1", "2004-3-3", "2004-3-4", "2004-3-5", "2004-3-6"}));
  list.RemoveRange(D(2004, 3, 5), D(2004, 3, 2));
  EXPECT_EQ(Dates(list), (std::vector<std::string>{"2004-3-1", "2004-3-6"}));
  EXPECT_THROW(list.Items(7), ERangeError);
}

TEST_F(CalendarModel, BulkUpdatesTellTheOwnerOnce) {
  TMonthCalendar* c = MakeCalendar();
  TSelDateItems& list = c->SelectedDates();
  list.BeginUpdate();
  list.BeginUpdate();
  list.Notify();  // inside an update: nothing
  int before = Win(c).invalidations;
  list.EndUpdate();
  EXPECT_EQ(Win(c).invalidations, before);
  list.EndUpdate();  // reaches zero: the whole calendar repaints
  ASSERT_EQ(Win(c).invalidations, before + 1);
  EXPECT_TRUE(Win(c).invalidationLog.back().whole);
  EXPECT_FALSE(Win(c).invalidationLog.back().erase);
  list.BeginUpdate();
  list.CancelUpdate();
  EXPECT_EQ(list.UpdateCount(), 0);
  EXPECT_EQ(Win(c).invalidations, before + 1);
  list.CancelUpdate();  // never below zero
  EXPECT_EQ(list.UpdateCount(), 0);
}

TEST_F(CalendarModel, SingleEntryChangesRepaintTheirCell) {
  TMonthCalendar* c = MakeCalendar();
  c->SetShowWeeks(true);
  c->MoveToDate(21, 3, 2004);
  Win(c).invalidationLog.clear();
  c->EventDates().AddDate(D(2004, 3, 21));
  ASSERT_FALSE(Win(c).invalidationLog.empty());
  EXPECT_EQ(Win(c).invalidationLog.back().rect, c->CellRect(D(2004, 3, 21)));
  // Under the paint lock the calendar ignores single-entry changes.
  c->LockPaint();
  Win(c).invalidationLog.clear();
  c->EventDates().Items(0)->SetColor(clBlue);
  EXPECT_TRUE(Win(c).invalidationLog.empty());
  c->UnlockPaint();
  ASSERT_EQ(Win(c).invalidationLog.size(), 1u);
  EXPECT_TRUE(Win(c).invalidationLog[0].whole);
  c->UnlockPaint();  // already zero: nothing
  EXPECT_EQ(Win(c).invalidationLog.size(), 1u);
  // Setting an equal date is no change.
  Win(c).invalidationLog.clear();
  c->EventDates().Items(0)->SetDate(D(2004, 3, 21));
  EXPECT_TRUE(Win(c).invalidationLog.empty());
  // An invisible list stays quiet; so does clearing.
  c->EventDates().SetVisible(false);
  c->EventDates().Items(0)->SetShape(evsSquare);
  c->EventDates().SetVisible(true);
  c->EventDates().Clear();
  EXPECT_TRUE(Win(c).invalidationLog.empty());
}

TEST_F(CalendarModel, GetDateEventAsksTheHandlersInOrder) {
  TMonthCalendar* c = MakeCalendar();
  std::vector<std::string> log;
  c->OnGetDateHint = [&](TObject*, TDateTime d, bool& isEvent) {
    log.push_back("hint " + Text(d));
    isEvent = dates::DecodeDate(d).day == 2;
  };
  c->OnGetDateHintString = [&](TObject*, TDateTime, bool&, std::string& hint) {
    log.push_back("string");
    hint = "Meeting";
  };
  TSelDateItem* seen = nullptr;
  c->OnGetEventProp = [&](TObject*, TDateTime, TEventProp*& e) {
    log.push_back("prop");
    seen = e;
    if (e) e->SetColor(clLime);  // no repaint from inside the question
  };
  TEventProp* entry = nullptr;
  EXPECT_FALSE(c->GetDateEvent(D(2004, 3, 1), entry));
  EXPECT_EQ(entry, nullptr);
  EXPECT_TRUE(c->GetDateEvent(D(2004, 3, 2), entry));
  EXPECT_EQ(entry, nullptr);
  EXPECT_EQ(c->EventTooltip(), "") << "the hint string needs EventHints";
  c->SetEventHints(true);
  c->EventDates().AddDate(D(2004, 3, 3));
  Win(c).invalidationLog.clear();
  EXPECT_TRUE(c->GetDateEvent(D(2004, 3, 3), entry));
  EXPECT_EQ(entry, c->EventDates().Items(0));
  EXPECT_EQ(seen, entry);
  EXPECT_TRUE(Win(c).invalidationLog.empty());
  EXPECT_EQ(log, (std::vector<std::string>{"hint 2004-3-1", "hint 2004-3-2", "prop", "hint 2004-3-3", "prop"}));
  log.clear();
  EXPECT_TRUE(c->GetDateEvent(D(2004, 3, 2), entry));
  EXPECT_EQ(c->EventTooltip(), "Meeting");
  // Notifications are live again after the question.
  c->EventDates().Items(0)->SetShape(evsSquare);
  EXPECT_FALSE(Win(c).invalidationLog.empty());
}

TEST_F(CalendarModel, MultiSelectOffClearsTheSelection) {
  TMonthCalendar* c = MakeCalendar(false);
  c->SetMultiSelect(true);
  c->SelectedDates().AddRange(D(2004, 3, 1), D(2004, 3, 3));
  c->SetMultiSelect(false);
  EXPECT_EQ(c->SelectedDates().Count(), 0);
}

TEST_F(CalendarModel, ArrowTargets) {
  TMonthCalendar* c = MakeCalendar(false);
  c->MoveToDate(29, 2, 2004);
  EXPECT_EQ(Text(c->PrevMonthTarget()), "2004-1-31");
  EXPECT_EQ(Text(c->NextMonthTarget()), "2004-3-1");
  EXPECT_EQ(Text(c->PrevYearTarget()), "2003-2-28");
  EXPECT_EQ(Text(c->NextYearTarget()), "2005-2-28");
}

}  // namespace
}  // namespace vsi::caltest
