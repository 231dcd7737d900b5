// How a month calendar answers the pointer, the keyboard, menus and tooltips.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "calendar_fixture.h"

namespace vsi::caltest {
namespace {

class CalendarInput : public CalendarFixture {
 protected:
  // The window's calendar shape, built in code: 150 x 130, week numbers (wk = dx = dy = 17),
  // no adjacent days, showing 21 March 2004, never painted: the input handlers need no paint.
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
    return c;
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
  // What stays wrong on screen after an input: the rectangles that the paint before it drew
  // with `kind` (and `brush`, for fills) and the paint after it no longer draws, where the
  // input asked for no repaint.
  std::vector<TRect> Stale(TMonthCalendar* c, fake::CanvasOp::Kind kind, TColor brush,
                           const std::function<void()>& input) {
    auto drawn = [&](const fake::RecordingCanvas& canvas) {
      std::vector<TRect> out;
      for (const auto& op : canvas.ops)
        if (op.kind == kind && (kind != fake::CanvasOp::Kind::FillRect || op.brush == brush)) out.push_back(op.rect);
      return out;
    };
    std::vector<TRect> before = drawn(Paint(c, true));
    Win(c).invalidationLog.clear();
    input();
    std::vector<TRect> after = drawn(Paint(c, true)), stale;
    for (const TRect& r : before) {
      if (std::find(after.begin(), after.end(), r) != after.end()) continue;
      bool repainted = false;
      for (const auto& inv : Win(c).invalidationLog)
        repainted |= inv.whole || (inv.rect.left <= r.left && inv.rect.top <= r.top && r.right <= inv.rect.right &&
                                   r.bottom <= inv.rect.bottom);
      if (!repainted) stale.push_back(r);
    }
    return stale;
  }
};

// The caption's parts answer without any paint before: the layout, not the last paint, says
// where they are. "Mar 2004" is 48 pixels wide, " 9999" 30: it starts at
// (150 - 48 - 17) div 2 + 17 = 59, the year part at 77.
TEST_F(CalendarInput, CaptionZonesNeedNoPaint) {
  TMonthCalendar* c = Make();
  cal::Geometry g = c->Geometry();
  EXPECT_EQ(g.caption.left, 59);
  EXPECT_EQ(g.caption.monthEnd, 77);
  EXPECT_EQ(g.caption.right, 107);
  c->WmMouseDown(mbLeft, 0, 59, 7);
  c->WmMouseDown(mbLeft, 0, 107, 7);
  ASSERT_EQ(fp.windows.menus.size(), 2u);
  EXPECT_EQ(fp.windows.menus[0].size(), 12u) << "months";
  EXPECT_EQ(fp.windows.menus[1].size(), 10u) << "years";
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
  // The zones hold the triangles' outermost columns, and no more.
  Click(c, TPoint{119, 7});
  Click(c, TPoint{126, 7});
  Click(c, TPoint{122, 15});
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-21");
  Click(c, TPoint{120, 7});
  EXPECT_EQ(Text(c->CurrentDate()), "2004-4-21") << "the next-month triangle's base";
  Click(c, TPoint{42, 7});
  EXPECT_EQ(Text(c->CurrentDate()), "2004-3-21") << "the previous-month triangle's tip";
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
  // The cells of the old and the new day are repainted, with erase, and nothing more.
  Win(c).invalidationLog.clear();
  TPoint q = DayPoint(11);
  c->WmMouseDown(mbLeft, 0, q.x, q.y);
  std::set<std::pair<int, int>> erased;
  for (const auto& inv : Win(c).invalidationLog) {
    EXPECT_FALSE(inv.whole);
    if (inv.erase) erased.insert({inv.rect.left, inv.rect.top});
  }
  TRect ten = c->CellRect(D(2004, 3, 10)), eleven = c->CellRect(D(2004, 3, 11));
  EXPECT_EQ(erased, (std::set<std::pair<int, int>>{{ten.left, ten.top}, {eleven.left, eleven.top}}));
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
  EXPECT_TRUE(c->WmWantsKey(VK_ESCAPE_)) << "Esc goes to the calendar, not to the window's cancel";
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
  c->WmMouseMove(0, 17 + 30, 7);
  EXPECT_FALSE(c->Hovered(TMonthCalendar::hvPrevYear));
  EXPECT_TRUE(c->Hovered(TMonthCalendar::hvPrevMonth));
  EXPECT_EQ(c->ArrowTooltip(), "Previous Month");
  EXPECT_EQ(c->CurrentCursor(), CursorKind::Hand);
  c->WmMouseMove(0, 122, 7);
  EXPECT_TRUE(c->Hovered(TMonthCalendar::hvNextMonth));
  EXPECT_EQ(c->ArrowTooltip(), "Next Month");
  c->WmMouseMove(0, 140, 7);
  EXPECT_EQ(c->ArrowTooltip(), "Next Year");
  // Off the arrows: normal cursor, no tooltip text, the tooltip taken down.
  int cancels = fp.windows.tooltipCancels;
  c->WmMouseMove(0, 80, 80);
  EXPECT_FALSE(c->Hovered(TMonthCalendar::hvNextYear));
  EXPECT_EQ(c->CurrentCursor(), CursorKind::Arrow);
  EXPECT_EQ(fp.windows.cursor, CursorKind::Arrow);
  EXPECT_EQ(c->ArrowTooltip(), "");
  EXPECT_GT(fp.windows.tooltipCancels, cancels);
  std::string text;
  TPoint pos;
  EXPECT_FALSE(c->WmTooltip(text, pos)) << "the standard tooltip stays";
}

// An arrow's hint goes beside the pointer, below it, as tooltips go; over the pointer it hid
// the arrow, lost the pointer and was taken down at once, again and again.
TEST_F(CalendarInput, ArrowHintsGoBesideThePointer) {
  TMonthCalendar* c = Make();
  struct Case {
    TPoint at;
    const char* hint;
  } cases[] = {{{27, 7}, "Previous Year"}, {{45, 3}, "Previous Month"}, {{122, 12}, "Next Month"},
               {{140, 7}, "Next Year"}};
  for (const auto& k : cases) {
    c->WmMouseMove(0, k.at.x, k.at.y);
    std::string text;
    TPoint pos;
    ASSERT_TRUE(c->WmTooltip(text, pos)) << k.hint;
    EXPECT_EQ(text, k.hint);
    EXPECT_EQ(pos.x, k.at.x) << k.hint;
    EXPECT_GE(pos.y, k.at.y + 16) << k.hint << ": clear of the pointer's arrow";
    EXPECT_GE(pos.y, c->Geometry().bandBottom) << k.hint << ": clear of the arrows";
  }
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

// After Esc (or a Ctrl-click) CurrentDate is not where the focus frame is; the next key or
// click still takes the old frame off the screen.
TEST_F(CalendarInput, NoFocusFrameStaysBehind) {
  using K = fake::CanvasOp::Kind;
  struct Case {
    const char* name;
    bool multiSelect;
    std::function<void(TMonthCalendar*)> before, input;
  } cases[] = {
      {"Esc, then Right", false,
       [](TMonthCalendar* c) {
         c->WmKeyDown(VK_RIGHT_, 0);
         c->WmKeyDown(VK_RIGHT_, 0);
         c->WmChar(27);
       },
       [](TMonthCalendar* c) { c->WmKeyDown(VK_RIGHT_, 0); }},
      {"Esc, then a click", false,
       [](TMonthCalendar* c) {
         c->WmKeyDown(VK_DOWN_, 0);
         c->WmChar(27);
       },
       [this](TMonthCalendar* c) { Click(c, DayPoint(5)); }},
      {"Ctrl-click, then Left", true, [this](TMonthCalendar* c) { Click(c, DayPoint(12), ssCtrl); },
       [](TMonthCalendar* c) { c->WmKeyDown(VK_LEFT_, 0); }},
      {"Ctrl-click, then a click", true, [this](TMonthCalendar* c) { Click(c, DayPoint(12), ssCtrl); },
       [this](TMonthCalendar* c) { Click(c, DayPoint(3)); }},
  };
  for (const auto& k : cases) {
    TMonthCalendar* c = Make();
    c->SetMultiSelect(k.multiSelect);
    c->MoveToDate(10, 3, 2004);
    k.before(c);
    EXPECT_EQ(Stale(c, K::FocusRect, 0, [&] { k.input(c); }), std::vector<TRect>{}) << k.name;
  }
}

// Space selects the focused day; the day selected before is no longer painted as selected.
TEST_F(CalendarInput, SpaceLeavesNoOldSelectionOnScreen) {
  TMonthCalendar* c = ShippedCalendar();
  Click(c, DayPoint(10));
  c->WmKeyDown(VK_RIGHT_, 0);
  c->WmKeyDown(VK_RIGHT_, 0);
  ASSERT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-10"}));
  auto stale = Stale(c, fake::CanvasOp::Kind::FillRect, c->SelectColor(), [&] { c->WmKeyDown(VK_SPACE_, 0); });
  EXPECT_EQ(Dates(c->SelectedDates()), (std::vector<std::string>{"2004-3-12"}));
  EXPECT_EQ(stale, std::vector<TRect>{});
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
