// How a month calendar answers the pointer, the keyboard, menus and tooltips.
#include <gtest/gtest.h>

#include "calendar_fixture.h"

namespace vsi::caltest {
namespace {

class CalendarInput : public CalendarFixture {
 protected:
  // The window's calendar shape: 150 x 130, week numbers (wk = dx = dy = 17), no adjacent
  // days, showing 21 March 2004; painted once so the caption's hot ranges are measured.
  TMonthCalendar* Make() {
    TMonthCalendar* c = MakeCalendar();
    c->SetShowWeeks(true);
    c->SetShowDaysBefore(false);
    c->SetShowDaysAfter(false);
    c->SetHintPrevYear("Previous Year");
    c->SetHintPrevMonth("Previous Month");
    c->SetHintNextMonth("Next Month");
    c->SetHintNextYear("Next Year");
    c->MoveToDate(21, 3, 2004);
    Repaint(c);
    return c;
  }
  void Repaint(TMonthCalendar* c) {
    fake::RecordingCanvas canvas;
    CalendarPaintInputs in;
    in.now = fp.system.localTime;
    c->PaintCalendar(canvas, in);
  }
  // Client point of day d of the shown month (March 2004: c = 1).
  static TPoint DayPoint(int d) {
    int cell = d + 1, col = (cell - 1) % 7, row = (cell - 1) / 7;
    return TPoint{17 + col * 17 + 8, 34 + row * 17 + 8};
  }
  void Click(TMonthCalendar* c, TPoint p, uint8_t shift = 0) {
    c->WmMouseDown(mbLeft, shift, p.x, p.y);
    c->WmMouseUp(mbLeft, shift, p.x, p.y);
  }
};

TEST_F(CalendarInput, CaptionHotRangesComeFromThePaint) {
  TMonthCalendar* c = Make();
  // "Mar 2004" is 48 pixels wide, " 9999" 30: b = (150 - 48 - 17) div 2 = 42.
  EXPECT_EQ(c->CaptionHotSpan().b, 42);
  EXPECT_EQ(c->CaptionHotSpan().MonthEnd(), 60);
  EXPECT_EQ(c->CaptionHotSpan().End(), 90);
}

TEST_F(CalendarInput, MonthMenuItemsGreyingAndCommand) {
  TMonthCalendar* c = Make();
  c->MaxDate()->SetDay(20);
  c->MaxDate()->SetMonth(5);
  c->MaxDate()->SetYear(2004);
  c->MaxDate()->SetUse(true);
  std::vector<std::string> log;
  c->OnMonthChange = [&](TObject*, TDateTime o, TDateTime n) { log.push_back(Text(o) + ">" + Text(n)); };
  fp.windows.nextMenuCommand = 4;
  // The shared point b + a - w belongs to the month part.
  c->WmMouseDown(mbLeft, 0, 17 + 60, 7);
  ASSERT_EQ(fp.windows.menus.size(), 1u);
  const auto& items = fp.windows.menus[0];
  ASSERT_EQ(items.size(), 12u);
  for (int k = 0; k < 12; ++k) {
    EXPECT_EQ(items[k].text, ctx.format().shortMonthNames[k]);
    EXPECT_EQ(items[k].command, uint32_t(k + 1));
    EXPECT_EQ(items[k].grayed, k >= 5) << "month " << k + 1;
  }
  EXPECT_EQ(Text(c->CurrentDate()), "2004-4-1");
  EXPECT_EQ(c->DisplayDate(), c->CurrentDate());
  EXPECT_EQ(c->CaptionText(), "Apr 2004");
  EXPECT_EQ(log, (std::vector<std::string>{"2004-3-21>2004-4-1"}));
  // A greyed item cannot be chosen.
  c->MenuCommand(8);
  EXPECT_EQ(Text(c->CurrentDate()), "2004-4-1");
  // Closing the menu without a choice changes nothing.
  fp.windows.nextMenuCommand = 0;
  c->WmMouseDown(mbLeft, 0, 17 + 50, 7);
  EXPECT_EQ(Text(c->CurrentDate()), "2004-4-1");
}

TEST_F(CalendarInput, MonthMenuOnTheThirtyFirstSetsDayOne) {
  TMonthCalendar* c = Make();
  c->MoveToDate(31, 3, 2004);
  c->MenuCommand(2);
  EXPECT_EQ(Text(c->CurrentDate()), "2004-2-1");
}

TEST_F(CalendarInput, YearMenuAroundTheShownYear) {
  TMonthCalendar* c = Make();
  c->MoveToDate(29, 2, 2004);
  Repaint(c);
  c->MinDate()->SetDay(1);
  c->MinDate()->SetMonth(3);
  c->MinDate()->SetYear(2003);
  c->MinDate()->SetUse(true);
  std::vector<std::string> log;
  c->OnYearChange = [&](TObject*, TDateTime o, TDateTime n) { log.push_back(Text(o) + ">" + Text(n)); };
  fp.windows.nextMenuCommand = 21;  // 2005
  c->WmMouseDown(mbLeft, 0, 17 + 75, 7);
  ASSERT_EQ(fp.windows.menus.size(), 1u);
  const auto& items = fp.windows.menus[0];
  ASSERT_EQ(items.size(), 10u);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(items[i].text, std::to_string(2000 + i));
    EXPECT_EQ(items[i].command, uint32_t(16 + i));
    // 28 February 2003 lies before 1 March 2003.
    EXPECT_EQ(items[i].grayed, 2000 + i <= 2003) << 2000 + i;
  }
  EXPECT_EQ(Text(c->CurrentDate()), "2005-2-28");
  EXPECT_EQ(c->CaptionText(), "Feb 2005");
  EXPECT_EQ(log, (std::vector<std::string>{"2004-2-29>2005-2-28"}));
  c->MenuCommand(14);  // not a year command
  c->MenuCommand(17);  // greyed: 2001
  EXPECT_EQ(Text(c->CurrentDate()), "2005-2-28");
}

TEST_F(CalendarInput, ArrowClicksStepAndRaiseNoDaySelect) {
  TMonthCalendar* c = Make();
  int selects = 0;
  c->OnDaySelect = [&](TObject*, TDateTime) { ++selects; };
  std::vector<std::string> log;
  c->OnMonthChange = [&](TObject*, TDateTime, TDateTime n) { log.push_back("month " + Text(n)); };
  c->OnYearChange = [&](TObject*, TDateTime, TDateTime n) { log.push_back("year " + Text(n)); };
  struct Case {
    const char* name;
    int x;
    const char* date;
  } cases[] = {
      {"next month (W-30 < x < W-25)", 122, "2004-4-21"},
      {"previous month (25 < x' < 35)", 17 + 30, "2004-3-21"},
      {"next year (W-15 < x < W-5)", 140, "2005-3-21"},
      {"previous year (5 < x' < 15)", 17 + 10, "2004-3-21"},
      {"between the arrows: nothing", 17 + 20, "2004-3-21"},
  };
  for (const auto& k : cases) {
    Click(c, TPoint{k.x, 7});
    EXPECT_EQ(Text(c->CurrentDate()), k.date) << k.name;
  }
  EXPECT_EQ(selects, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"month 2004-4-21", "month 2004-3-21", "year 2005-3-21",
                                           "year 2004-3-21"}));
  // Zone edges are exclusive.
  Click(c, TPoint{120, 7});
  Click(c, TPoint{125, 7});
  Click(c, TPoint{122, 15});
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-21");
}

TEST_F(CalendarInput, ArrowZonesMoveWithHiddenArrows) {
  TMonthCalendar* c = Make();
  c->Browsers()->SetPrevYear(false);
  c->Browsers()->SetNextYear(false);
  Click(c, TPoint{17 + 10, 7});
  EXPECT_EQ(Text(c->CurrentDate()), "2004-2-21") << "previous month now at 5 < x' < 15";
  Click(c, TPoint{142, 7});
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-21") << "next month now at W-10 < x < W-5";
  c->Browsers()->SetNextMonth(false);
  Click(c, TPoint{142, 7});
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-21") << "a hidden arrow does not answer";
}

TEST_F(CalendarInput, InactiveArrowStillSteps) {
  TMonthCalendar* c = Make();
  c->MaxDate()->SetDay(25);
  c->MaxDate()->SetMonth(3);
  c->MaxDate()->SetYear(2004);
  c->MaxDate()->SetUse(true);
  Click(c, TPoint{122, 7});
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-25") << "clamped to the bound";
}

TEST_F(CalendarInput, DayClickSelectsAndReleaseRaisesDaySelect) {
  TMonthCalendar* c = Make();
  std::vector<std::string> log;
  c->OnDaySelect = [&](TObject* s, TDateTime d) {
    EXPECT_EQ(s, c);
    log.push_back("select " + Text(d));
  };
  c->OnDayChange = [&](TObject*, TDateTime o, TDateTime n) { log.push_back("day " + Text(o) + ">" + Text(n)); };
  TPoint p = DayPoint(10);
  c->WmMouseDown(mbLeft, 0, p.x, p.y);
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-10");
  EXPECT_EQ(c->DisplayDate(), c->CurrentDate());
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-10"}));
  EXPECT_EQ(fp.windows.capture, c->Handle());
  EXPECT_EQ(fp.windows.focus, c->Handle()) << "a press takes the focus";
  c->WmMouseUp(mbLeft, 0, p.x, p.y + 4);
  EXPECT_EQ(fp.windows.capture, 0u);
  EXPECT_EQ(log, (std::vector<std::string>{"day 2004-3-21>2004-3-10"})) << "4 pixels lower: no select";
  c->WmMouseDown(mbLeft, 0, p.x, p.y);
  c->WmMouseUp(mbLeft, 0, p.x + 3, p.y + 3);
  EXPECT_EQ(log.back(), "select 2004-3-10") << "3 pixels aside still selects";
  c->WmMouseDown(mbLeft, 0, p.x, p.y);
  c->WmMouseUp(mbLeft, 0, p.x - 4, p.y);
  EXPECT_EQ(log.size(), 2u);
  // The cells of the old and the new day are repainted, with erase.
  Win(c).invalidationLog.clear();
  TPoint q = DayPoint(11);
  c->WmMouseDown(mbLeft, 0, q.x, q.y);
  std::vector<TRect> erased;
  for (const auto& inv : Win(c).invalidationLog)
    if (inv.erase) erased.push_back(inv.rect);
  EXPECT_EQ(erased, (std::vector<TRect>{c->CellRect(D(2004, 3, 10)), c->CellRect(D(2004, 3, 11))}));
}

TEST_F(CalendarInput, ClicksOutsideTheDaysDoNothing) {
  TMonthCalendar* c = Make();
  struct Case {
    const char* name;
    TPoint p;
  } cases[] = {
      {"day names", {17 + 40, 25}},
      {"week column", {10, 60}},
      {"trailing cell without trailing days", {140, 120}},
      {"leading cell without leading days", {17 + 5, 40}},
  };
  for (const auto& k : cases) {
    Click(c, k.p);
    EXPECT_EQ(Text(c->CurrentDate()), "2004-3-21") << k.name;
    EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-21"})) << k.name;
  }
  c->MaxDate()->SetDay(15);
  c->MaxDate()->SetMonth(3);
  c->MaxDate()->SetYear(2004);
  c->MaxDate()->SetUse(true);
  Click(c, DayPoint(16));
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-21") << "a day outside the range";
}

TEST_F(CalendarInput, AdjacentDayClickStepsTheMonth) {
  TMonthCalendar* c = Make();
  c->SetShowDaysBefore(true);
  c->SetShowDaysAfter(true);
  Click(c, TPoint{17 + 5, 40});  // 29 February in the first cell
  EXPECT_EQ(Text(c->CurrentDate()), "2004-2-29");
  EXPECT_EQ(c->CaptionText(), "Feb 2004");
}

TEST_F(CalendarInput, RightButtonGoesToTheUsersHandlers) {
  TMonthCalendar* c = Make();
  std::vector<std::string> log;
  c->OnMouseDown = [&](TObject*, MouseButton b, uint8_t, int x, int y) { log.push_back("down"); };
  c->OnMouseUp = [&](TObject*, MouseButton b, uint8_t, int x, int y) { log.push_back("up"); };
  c->OnMouseMove = [&](TObject*, uint8_t, int, int) { log.push_back("move"); };
  TPoint p = DayPoint(3);
  c->WmMouseDown(mbRight, 0, p.x, p.y);
  c->WmMouseMove(0, p.x, p.y);
  c->WmMouseUp(mbRight, 0, p.x, p.y);
  EXPECT_EQ(log, (std::vector<std::string>{"down", "up"}));
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-21");
}

TEST_F(CalendarInput, KeyboardMovesWithinTheMonth) {
  TMonthCalendar* c = Make();
  std::vector<std::string> log;
  c->OnDateChange = [&](TObject*, TDateTime o, TDateTime n) { log.push_back("date " + Text(o) + ">" + Text(n)); };
  c->OnCancelledChange = [&](TObject*, TDateTime d) { log.push_back("cancelled " + Text(d)); };
  c->OnMonthChange = [&](TObject*, TDateTime, TDateTime n) { log.push_back("month " + Text(n)); };
  EXPECT_TRUE(c->WmKeyDown(VK_RIGHT_, 0));
  EXPECT_TRUE(c->WmKeyDown(VK_UP_, 0));
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-15");
  EXPECT_EQ(c->DisplayDate(), c->CurrentDate());
  c->MoveToDate(30, 3, 2004);
  log.clear();
  // Down from the 30th would reach 6 April: refused, and reported.
  EXPECT_FALSE(c->WmKeyDown(VK_DOWN_, 0));
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-30");
  c->MoveToDate(1, 3, 2004);
  EXPECT_FALSE(c->WmKeyDown(VK_LEFT_, 0));
  EXPECT_EQ(log, (std::vector<std::string>{"cancelled 2004-4-6", "cancelled 2004-2-29"}));
  log.clear();
  EXPECT_TRUE(c->WmKeyDown(VK_NEXT_, 0));
  EXPECT_EQ(Text(c->CurrentDate()), "2004-4-1");
  EXPECT_TRUE(c->WmKeyDown(VK_PRIOR_, 0));
  EXPECT_EQ(log, (std::vector<std::string>{"date 2004-3-1>2004-4-1", "month 2004-4-1", "date 2004-4-1>2004-3-1",
                                           "month 2004-3-1"}));
  EXPECT_FALSE(c->WmKeyDown('A', 0)) << "other keys are not taken";
  EXPECT_TRUE(c->WmWantsKey(VK_LEFT_));
  EXPECT_TRUE(c->WmWantsKey(VK_DOWN_));
  EXPECT_FALSE(c->WmWantsKey(VK_NEXT_));
}

TEST_F(CalendarInput, KeyboardOutOfRangeIsIgnoredSilently) {
  TMonthCalendar* c = Make();
  int cancelled = 0;
  c->OnCancelledChange = [&](TObject*, TDateTime) { ++cancelled; };
  c->MaxDate()->SetDay(22);
  c->MaxDate()->SetMonth(3);
  c->MaxDate()->SetYear(2004);
  c->MaxDate()->SetUse(true);
  EXPECT_TRUE(c->WmKeyDown(VK_RIGHT_, 0));
  EXPECT_FALSE(c->WmKeyDown(VK_RIGHT_, 0));
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-22");
  EXPECT_EQ(cancelled, 0);
}

TEST_F(CalendarInput, EscReturnsToTheLastSetDate) {
  TMonthCalendar* c = Make();
  c->MoveToDate(10, 3, 2004);
  c->WmKeyDown(VK_RIGHT_, 0);
  c->WmKeyDown(VK_RIGHT_, 0);
  char pressed = 0;
  c->OnKeyPress = [&](TObject*, char& ch) { pressed = ch; };
  c->WmChar(27);
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-10");
  EXPECT_EQ(Text(c->DisplayDate()), "2004-3-12") << "the focus frame stays";
  EXPECT_EQ(pressed, 27);
}

TEST_F(CalendarInput, SpaceAndReturnToggleTheSelection) {
  TMonthCalendar* c = Make();
  c->WmKeyDown(VK_RIGHT_, 0);
  c->WmKeyDown(VK_SPACE_, 0);
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-22"})) << "single selection replaced";
  c->WmKeyDown(VK_SPACE_, 0);
  EXPECT_TRUE(Dates(c->SelectedDates()).empty());
  c->WmKeyDown(VK_RETURN_, 0);
  EXPECT_TRUE(Dates(c->SelectedDates()).empty()) << "Enter selects only with ReturnIsSelect";
  c->SetReturnIsSelect(true);
  c->WmKeyDown(VK_RETURN_, 0);
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-22"}));
  c->SetMultiSelect(true);
  c->WmKeyDown(VK_RIGHT_, 0);
  c->WmKeyDown(VK_SPACE_, 0);
  c->WmKeyDown(VK_RIGHT_, 0);
  c->WmKeyDown(VK_SPACE_, 0);
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-22", "2004-3-23", "2004-3-24"}));
}

TEST_F(CalendarInput, ShiftArrowsExtendARange) {
  TMonthCalendar* c = Make();
  c->SetMultiSelect(true);
  c->MoveToDate(10, 3, 2004);
  c->WmKeyDown(VK_RIGHT_, ssShift);
  c->SelectedDates().Sort();
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-10", "2004-3-11"}));
  c->WmKeyDown(VK_RIGHT_, ssShift);
  c->SelectedDates().Sort();
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-10", "2004-3-11", "2004-3-12"}));
  c->WmKeyDown(VK_LEFT_, ssShift);
  c->SelectedDates().Sort();
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-10", "2004-3-11"}));
}

TEST_F(CalendarInput, CtrlClickTogglesInMultiSelect) {
  TMonthCalendar* c = Make();
  c->SetMultiSelect(true);
  c->MoveToDate(10, 3, 2004);
  Click(c, DayPoint(12), ssCtrl);
  Click(c, DayPoint(14), ssCtrl);
  c->SelectedDates().Sort();
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-10", "2004-3-12", "2004-3-14"}));
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-14");
  EXPECT_EQ(Text(c->DisplayDate()), "2004-3-10") << "a Ctrl-click leaves the cursor";
  Click(c, DayPoint(12), ssCtrl);
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-10", "2004-3-14"}));
  Click(c, DayPoint(5));
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-5"}));
}

TEST_F(CalendarInput, DraggingSelectsARange) {
  TMonthCalendar* c = Make();
  c->SetMultiSelect(true);
  TPoint a = DayPoint(9), b = DayPoint(12), back = DayPoint(10);
  c->WmMouseDown(mbLeft, 0, a.x, a.y);
  c->WmMouseMove(0, b.x, b.y);
  c->SelectedDates().Sort();
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-9", "2004-3-10", "2004-3-11", "2004-3-12"}));
  c->WmMouseMove(0, back.x, back.y);
  c->SelectedDates().Sort();
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-9", "2004-3-10"}));
  c->WmMouseUp(mbLeft, 0, back.x, back.y);
  c->WmMouseMove(0, b.x, b.y);
  EXPECT_EQ(c->SelectedDates().Count(), 2) << "the release ends the drag";
}

TEST_F(CalendarInput, ColumnAndRowSelection) {
  TMonthCalendar* c = Make();
  c->SetMultiSelect(true);
  c->SetAllDaySelect(true);
  c->SetWeekSelect(true);
  int columns = 0, rows = 0;
  c->OnAllDaySelect = [&](TObject*) { ++columns; };
  c->OnWeekSelect = [&](TObject*) { ++rows; };
  // The Wednesday heading: the first-row date of that column and the five below.
  c->WmMouseDown(mbLeft, 0, 17 + 3 * 17 + 5, 25);
  c->SelectedDates().Sort();
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-3", "2004-3-10", "2004-3-17", "2004-3-24",
                                                                 "2004-3-31", "2004-4-7"}));
  EXPECT_EQ(columns, 1);
  c->WmMouseUp(mbLeft, 0, 0, 0);
  // The third row's week number: the row from its first column on.
  c->WmMouseDown(mbLeft, 0, 8, 34 + 2 * 17 + 5);
  c->SelectedDates().Sort();
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-14", "2004-3-15", "2004-3-16", "2004-3-17",
                                                                 "2004-3-18", "2004-3-19", "2004-3-20"}));
  EXPECT_EQ(rows, 1);
  // Either needs MultiSelect.
  c->SetMultiSelect(false);
  c->WmMouseDown(mbLeft, 0, 17 + 3 * 17 + 5, 25);
  EXPECT_EQ(columns, 1);
}

TEST_F(CalendarInput, TodayLineGoesToToday) {
  TMonthCalendar* c = Make();
  c->SetShowGotoToday(true);
  c->MoveToDate(2, 1, 2003);
  std::vector<std::string> log;
  c->OnDayChange = [&](TObject*, TDateTime o, TDateTime n) { log.push_back("day " + Text(n)); };
  c->OnDateChange = [&](TObject*, TDateTime o, TDateTime n) { log.push_back("date " + Text(o) + ">" + Text(n)); };
  cal::Geometry g = c->Geometry();
  Click(c, TPoint{140, 8 * g.dy - g.dy / 2 + 1});
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-21");
  EXPECT_EQ(c->DisplayDate(), c->CurrentDate());
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-21"}));
  EXPECT_EQ(log, (std::vector<std::string>{"day 2004-3-21", "date 2003-1-2>2004-3-21"}));
  // The set fields follow: a later Month := 5 keeps today's day and year.
  c->SetMonth(5);
  EXPECT_EQ(Text(c->CurrentDate()), "2004-5-21");
}

TEST_F(CalendarInput, HoverMovesFromArrowToArrow) {
  TMonthCalendar* c = Make();
  c->WmMouseMove(0, 17 + 10, 7);
  EXPECT_TRUE(c->Hovered(TMonthCalendar::hvPrevYear));
  EXPECT_EQ(c->CurrentCursor(), CursorKind::Hand);
  EXPECT_EQ(c->ArrowTooltip(), "Previous Year");
  // With week numbers the tooltip sits W div 8 further right, 8 pixels above.
  EXPECT_EQ(c->ArrowTooltipPos(), (TPoint{5 + 150 / 8, -8}));
  c->WmMouseMove(0, 17 + 30, 7);
  EXPECT_FALSE(c->Hovered(TMonthCalendar::hvPrevYear));
  EXPECT_TRUE(c->Hovered(TMonthCalendar::hvPrevMonth));
  EXPECT_EQ(c->ArrowTooltip(), "Previous Month");
  EXPECT_EQ(c->ArrowTooltipPos(), (TPoint{25 + 150 / 8, -8}));
  EXPECT_EQ(c->CurrentCursor(), CursorKind::Hand);
  c->WmMouseMove(0, 122, 7);
  EXPECT_TRUE(c->Hovered(TMonthCalendar::hvNextMonth));
  EXPECT_EQ(c->ArrowTooltipPos(), (TPoint{150 - 30, -8}));
  c->WmMouseMove(0, 140, 7);
  EXPECT_EQ(c->ArrowTooltip(), "Next Year");
  EXPECT_EQ(c->ArrowTooltipPos(), (TPoint{150 - 15, -8}));
  std::string text;
  TPoint pos;
  ASSERT_TRUE(c->WmTooltip(text, pos));
  EXPECT_EQ(text, "Next Year");
  EXPECT_EQ(pos, (TPoint{135, -8}));
  // Off the arrows: normal cursor, no tooltip text, the tooltip taken down.
  int cancels = fp.windows.tooltipCancels;
  c->WmMouseMove(0, 80, 80);
  EXPECT_FALSE(c->Hovered(TMonthCalendar::hvNextYear));
  EXPECT_EQ(c->CurrentCursor(), CursorKind::Arrow);
  EXPECT_EQ(fp.windows.cursor, CursorKind::Arrow);
  EXPECT_EQ(c->ArrowTooltip(), "");
  EXPECT_GT(fp.windows.tooltipCancels, cancels);
  EXPECT_FALSE(c->WmTooltip(text, pos)) << "the standard tooltip stays";
}

TEST_F(CalendarInput, CaptionHoverAndLeaving) {
  TMonthCalendar* c = Make();
  Win(c).invalidationLog.clear();
  c->WmMouseMove(0, 17 + 50, 7);
  EXPECT_TRUE(c->Hovered(TMonthCalendar::hvCaption));
  ASSERT_EQ(Win(c).invalidationLog.size(), 1u) << "the caption is redrawn";
  EXPECT_EQ(Win(c).invalidationLog[0].rect.top, 0);
  c->WmMouseMove(0, 17 + 50, 8);
  EXPECT_EQ(Win(c).invalidationLog.size(), 1u) << "still hovering: nothing more";
  Win(c).invalidationLog.clear();
  c->WmMouseLeave();
  EXPECT_FALSE(c->Hovered(TMonthCalendar::hvCaption));
  ASSERT_EQ(Win(c).invalidationLog.size(), 1u);
  EXPECT_EQ(Win(c).invalidationLog[0].rect, (TRect{0, 0, 150, 130 / 7}));
  c->WmMouseLeave();
  EXPECT_EQ(Win(c).invalidationLog.size(), 1u) << "nothing hovered: nothing to repaint";
}

TEST_F(CalendarInput, EventTooltips) {
  TMonthCalendar* c = Make();
  c->SetEventHints(true);
  c->EventDates().AddDate(D(2004, 3, 10))->SetHint("Dentist");
  TPoint p = DayPoint(10);
  c->WmMouseMove(0, p.x, p.y);
  EXPECT_EQ(c->EventTooltip(), "Dentist");
  std::string text;
  TPoint pos;
  ASSERT_TRUE(c->WmTooltip(text, pos));
  EXPECT_EQ(text, "Dentist");
  // Cell (column 3, row 1) of the grid: ((3 + 1) * dx, dy * 1 + t0).
  EXPECT_EQ(pos, (TPoint{4 * 17, 17 + 16}));
  int cancels = fp.windows.tooltipCancels;
  TPoint q = DayPoint(11);
  c->WmMouseMove(0, q.x, q.y);
  EXPECT_EQ(c->EventTooltip(), "");
  EXPECT_GT(fp.windows.tooltipCancels, cancels) << "another cell takes the tooltip down";
}

TEST_F(CalendarInput, FocusRepaintsAndPressTakesFocus) {
  TMonthCalendar* c = Make();
  Win(c).invalidationLog.clear();
  c->WmFocus(true);
  c->WmFocus(false);
  ASSERT_EQ(Win(c).invalidationLog.size(), 2u);
  EXPECT_TRUE(Win(c).invalidationLog[0].whole);
  fp.windows.focus = 0;
  c->WmMouseDown(mbLeft, 0, 17 + 20, 7);
  EXPECT_EQ(fp.windows.focus, c->Handle());
}

TEST_F(CalendarInput, KeyHandlersSeeTheKeys) {
  TMonthCalendar* c = Make();
  std::vector<std::string> log;
  c->OnKeyDown = [&](TObject*, uint16_t& key, uint8_t) {
    log.push_back("down " + std::to_string(key));
    if (key == VK_LEFT_) key = 0;  // swallowed
  };
  c->OnKeyUp = [&](TObject*, uint16_t& key, uint8_t) { log.push_back("up " + std::to_string(key)); };
  c->WmKeyDown(VK_LEFT_, 0);
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-21");
  c->WmKeyDown(VK_RIGHT_, 0);
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-22");
  c->WmKeyUp(VK_RIGHT_, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"down 37", "down 39", "up 39"}));
}

}  // namespace
}  // namespace vsi::caltest
