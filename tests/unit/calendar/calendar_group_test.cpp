// The calendar group: layout, forwarding, re-layout across months and years, splitters and
// the loading of the main window's description.
#include <gtest/gtest.h>

#include "calendar_fixture.h"

namespace vsi::caltest {
namespace {

std::vector<std::string> Captions(TMonthCalendarGroup* g) {
  std::vector<std::string> out;
  for (int k = 0; k < g->CalendarCount(); ++k) out.push_back(g->Calendar(k)->CaptionText());
  return out;
}

std::string Arrows(TMonthCalendar* c) {
  std::string s;
  s += c->Browsers()->PrevMonth() ? "<" : "-";
  s += c->Browsers()->PrevYear() ? "<<" : "--";
  s += c->Browsers()->NextMonth() ? ">" : "-";
  s += c->Browsers()->NextYear() ? ">>" : "--";
  return s;
}

class CalendarGroup : public CalendarFixture {
 protected:
  // A group of the window's calendar size built in code, in no parent: nothing limits a drag.
  TMonthCalendarGroup* FreeGroup() {
    auto* g = new TMonthCalendarGroup(&root);
    g->SetColCount(1);
    g->SetCalendarWidth(150);
    g->SetCalendarHeight(130);
    g->HandleNeeded();
    return g;
  }
  // The next-month arrow of a 150-pixel calendar (W - 30 < x < W - 25).
  void NextMonthArrow(TMonthCalendar* c) {
    c->WmMouseDown(mbLeft, 0, 122, 7);
    c->WmMouseUp(mbLeft, 0, 122, 7);
  }
  void PrevMonthArrow(TMonthCalendar* c) {
    c->WmMouseDown(mbLeft, 0, 17 + 30, 7);
    c->WmMouseUp(mbLeft, 0, 17 + 30, 7);
  }
};

TEST_F(CalendarGroup, ConstructionShowsTwoMonthsFromToday) {
  auto* g = new TMonthCalendarGroup(&root);
  ASSERT_EQ(g->CalendarCount(), 2);
  EXPECT_EQ(Captions(g), (std::vector<std::string>{"Mar 2004", "Apr 2004"}));
  EXPECT_EQ(g->Calendar(0)->BoundsRect(), (TRect{0, 0, 180, 180}));
  EXPECT_EQ(g->Calendar(1)->BoundsRect(), (TRect{180, 0, 360, 180}));
  // 2e + ColCount x CalendarWidth + SpliterH, e = BevelWidth 1 + BorderWidth 0.
  EXPECT_EQ(g->Width(), 2 + 360 + 2);
  EXPECT_EQ(g->Height(), 2 + 180 + 2);
  EXPECT_EQ(Arrows(g->Calendar(0)), "<<<---");
  EXPECT_EQ(Arrows(g->Calendar(1)), "--->>>");
  for (int k = 0; k < 2; ++k) {
    TMonthCalendar* c = g->Calendar(k);
    EXPECT_FALSE(c->ShowSelection());
    EXPECT_FALSE(c->ShowDaysBefore());
    EXPECT_FALSE(c->ShowDaysAfter());
    EXPECT_EQ(c->Color(), clWhite);
    EXPECT_EQ(c->SelectedDates().Count(), 0);
    EXPECT_EQ(c->PaintLock(), 0);
  }
  EXPECT_EQ(g->Day(), 21);
  EXPECT_EQ(g->Month(), 3);
  EXPECT_EQ(g->Year(), 2004);
  EXPECT_EQ(g->StartMonth(), 3);
  EXPECT_EQ(g->StartYear(), 2004);
  EXPECT_EQ(g->Color(), clWhite);
  EXPECT_EQ(g->HeaderColor(), clBtnFace);
  EXPECT_EQ(g->InversColor(), clWhite);
  EXPECT_EQ(g->LineColor(), clSilver);
  EXPECT_EQ(g->HintNextMonth(), "");
  EXPECT_EQ(g->RightSplitter()->BoundsRect(), (TRect{362, 0, 364, 184}));
  EXPECT_EQ(g->BottomSplitter()->BoundsRect(), (TRect{0, 182, 364, 184}));
  EXPECT_EQ(g->RightSplitter()->Color(), clBtnFace);
  EXPECT_EQ(g->RightSplitter()->BevelOuter(), bvRaised);
}

TEST_F(CalendarGroup, ThreeCalendarsAcrossAYearEnd) {
  auto* g = ShippedGroup();
  g->SetColCount(3);
  g->SetStartMonth(11);
  g->SetStartYear(2004);
  ASSERT_EQ(g->CalendarCount(), 3);
  EXPECT_EQ(Captions(g), (std::vector<std::string>{"Nov 2004", "Dec 2004", "Jan 2005"}));
  EXPECT_EQ(Arrows(g->Calendar(0)), "<<<---");
  EXPECT_EQ(Arrows(g->Calendar(1)), "------");
  EXPECT_EQ(Arrows(g->Calendar(2)), "--->>>");
  EXPECT_EQ(g->Calendar(2)->BoundsRect(), (TRect{1 + 300, 1, 1 + 450, 131}));
  EXPECT_EQ(g->Width(), 2 + 450 + 2);
  std::vector<std::string> log;
  g->SetOnMonthChange([&](TObject* s, TDateTime o, TDateTime n) {
    EXPECT_EQ(s, g);
    log.push_back("month " + Text(n));
  });
  g->SetOnYearChange([&](TObject*, TDateTime, TDateTime n) { log.push_back("year " + Text(n)); });

  NextMonthArrow(g->Calendar(2));
  EXPECT_EQ(Captions(g), (std::vector<std::string>{"Dec 2004", "Jan 2005", "Feb 2005"}));
  EXPECT_EQ(g->StartMonth(), 12);
  EXPECT_EQ(g->StartYear(), 2004);
  EXPECT_EQ(log, (std::vector<std::string>{"month 2005-2-1"}));
  // Every calendar shows day 1 of its month and nothing selected.
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(dates::DecodeDate(g->Calendar(k)->CurrentDate()).day, 1);
    EXPECT_EQ(g->Calendar(k)->SelectedDates().Count(), 0);
  }

  // Back across the year end from the first calendar: the handler runs for the month and
  // again for the year change, both passes in full.
  log.clear();
  g->SetStartMonth(1);
  g->SetStartYear(2005);
  PrevMonthArrow(g->Calendar(0));
  EXPECT_EQ(Captions(g), (std::vector<std::string>{"Dec 2004", "Jan 2005", "Feb 2005"}));
  EXPECT_EQ(log, (std::vector<std::string>{"year 2004-12-1", "month 2004-12-1", "year 2004-12-1", "month 2004-12-1"}));
  EXPECT_EQ(g->Year(), 2004);
  EXPECT_EQ(g->Month(), 12);
}

TEST_F(CalendarGroup, NextMonthOnTheSingleCalendar) {
  auto* g = ShippedGroup();
  g->SetStartMonth(1);
  g->SetStartYear(2004);
  ASSERT_EQ(Captions(g), (std::vector<std::string>{"Jan 2004"}));
  NextMonthArrow(g->Calendar(0));
  EXPECT_EQ(Captions(g), (std::vector<std::string>{"Feb 2004"}));
  EXPECT_EQ(g->Calendar(0)->SelectedDates().Count(), 0);
  EXPECT_EQ(g->Day(), 1);
  EXPECT_EQ(g->Month(), 2);
  EXPECT_EQ(g->Year(), 2004);
  // The year arrow and the menus re-lay out the same way.
  g->Calendar(0)->WmMouseDown(mbLeft, 0, 140, 7);
  EXPECT_EQ(Captions(g), (std::vector<std::string>{"Feb 2005"}));
  EXPECT_EQ(g->StartYear(), 2005);
  g->Calendar(0)->MenuCommand(7);
  EXPECT_EQ(Captions(g), (std::vector<std::string>{"Jul 2005"}));
  EXPECT_EQ(g->StartMonth(), 7);
}

TEST_F(CalendarGroup, KeyboardPagingRelaysOut) {
  auto* g = ShippedGroup();
  g->SetColCount(2);
  g->SetStartMonth(3);
  g->SetStartYear(2004);
  g->Calendar(1)->WmKeyDown(VK_NEXT_, 0);
  EXPECT_EQ(Captions(g), (std::vector<std::string>{"Apr 2004", "May 2004"}));
  EXPECT_EQ(g->StartMonth(), 4);
}

TEST_F(CalendarGroup, NamesReachEveryCalendarAtOnce) {
  auto* g = ShippedGroup();
  g->SetColCount(2);
  g->SetStartMonth(2);
  g->SetStartYear(2004);
  g->NameOfMonths()->SetMarch("mars");
  EXPECT_EQ(Captions(g), (std::vector<std::string>{"Feb 2004", "mars 2004"}));
  EXPECT_EQ(fp.windows.GetText(g->Calendar(1)->Handle()), u"mars 2004");
  g->NameOfDays()->SetMonday("lun.");
  EXPECT_EQ(g->Calendar(0)->NameOfDays()->Monday(), "lun.");
  EXPECT_EQ(g->Calendar(1)->NameOfDays()->Monday(), "lun.");
  // The calendars' own name objects did not announce anything: their arrows stay as the
  // group set them.
  EXPECT_EQ(Arrows(g->Calendar(0)), "<<<---");
  // BitBtn2's blank January reaches a calendar showing January.
  g->SetStartMonth(1);
  g->NameOfMonths()->SetJanuary(" ");
  EXPECT_EQ(Captions(g)[0], "  2004");
  // Browsers flags: the previous-month arrow off on the group hides it on the first one.
  g->Browsers()->SetPrevMonth(false);
  EXPECT_EQ(Arrows(g->Calendar(0)), "-<<---");
  g->NameOfMonths()->SetUseIntlNames(true);
  EXPECT_EQ(Captions(g)[0], "Jan 2004");
}

TEST_F(CalendarGroup, ImpossibleAnchorShowsInvalidDate) {
  auto* g = ShippedGroup();
  g->SetMonth(4);
  EXPECT_EQ(g->Month(), 4);
  g->SetDay(31);
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Invalid date"}));
  EXPECT_EQ(g->Day(), 21);
  EXPECT_EQ(Captions(g), (std::vector<std::string>{"Apr 2004"}));
}

TEST_F(CalendarGroup, AnchorSelectsTheDayInTheFirstCalendar) {
  auto* g = ShippedGroup();
  g->SetColCount(2);
  std::vector<std::string> selected;
  g->SetOnDaySelect([&](TObject* s, TDateTime d) {
    EXPECT_EQ(s, g->Calendar(0));
    selected.push_back(Text(d));
  });
  g->SetYear(2005);
  EXPECT_EQ(Captions(g), (std::vector<std::string>{"Mar 2005", "Apr 2005"}));
  EXPECT_EQ(g->StartYear(), 2005);
  EXPECT_EQ(Dates(g->Calendar(0)->SelectedDates()), (std::vector<std::string>{"2005-3-21"}));
  EXPECT_TRUE(g->Calendar(0)->ShowSelection());
  EXPECT_FALSE(g->Calendar(1)->ShowSelection()) << "the others show selections only with MultiSelect";
  EXPECT_EQ(selected, (std::vector<std::string>{"2005-3-21"}));
}

TEST_F(CalendarGroup, DayClicksKeepOneSelectionAcrossCalendars) {
  auto* g = ShippedGroup();
  g->SetColCount(2);
  g->SetStartMonth(3);
  g->SetStartYear(2004);
  TMonthCalendar* a = g->Calendar(0);
  TMonthCalendar* b = g->Calendar(1);
  // 10 March: cell 11 (column 4, row 2) of a calendar with week numbers.
  a->WmMouseDown(mbLeft, 0, 17 + 3 * 17 + 8, 34 + 17 + 8);
  a->WmMouseUp(mbLeft, 0, 17 + 3 * 17 + 8, 34 + 17 + 8);
  EXPECT_EQ(Dates(a->SelectedDates()), (std::vector<std::string>{"2004-3-10"}));
  EXPECT_EQ(g->Day(), 10);
  EXPECT_EQ(g->Month(), 3);
  // 1 April is a Thursday: cell 5 of April.
  b->WmMouseDown(mbLeft, 0, 17 + 4 * 17 + 8, 34 + 8);
  b->WmMouseUp(mbLeft, 0, 17 + 4 * 17 + 8, 34 + 8);
  EXPECT_EQ(Dates(b->SelectedDates()), (std::vector<std::string>{"2004-4-1"}));
  EXPECT_EQ(a->SelectedDates().Count(), 0) << "MultiSelect off: the other calendar's selection goes";
  EXPECT_EQ(g->Month(), 4);
  EXPECT_TRUE(b->ShowSelection());
  EXPECT_FALSE(a->ShowSelection());
  // With Ctrl held (seen by the key handlers) the other selection stays.
  a->WmKeyDown(0x11, ssCtrl);
  EXPECT_TRUE(g->CtrlFlag());
  a->WmMouseDown(mbLeft, 0, 17 + 3 * 17 + 8, 34 + 17 + 8);
  a->WmMouseUp(mbLeft, 0, 17 + 3 * 17 + 8, 34 + 17 + 8);
  EXPECT_EQ(Dates(b->SelectedDates()), (std::vector<std::string>{"2004-4-1"}));
  a->WmKeyUp(0x11, 0);
  EXPECT_FALSE(g->CtrlFlag());
}

TEST_F(CalendarGroup, RelayoutKeepsSelectionsOfShownMonths) {
  auto* g = ShippedGroup();
  g->SetColCount(2);
  g->SetStartMonth(3);
  g->SetStartYear(2004);
  g->Calendar(0)->SelectedDates().AddDate(D(2004, 3, 9));
  g->Calendar(1)->SelectedDates().AddDate(D(2004, 4, 20));
  g->Calendar(1)->SelectedDates().AddDate(D(2004, 4, 2));
  g->SetStartMonth(4);  // rebuilds: fresh calendars, nothing selected
  g->Calendar(0)->SelectedDates().AddDate(D(2004, 4, 20));
  g->Calendar(1)->SelectedDates().AddDate(D(2004, 5, 3));
  NextMonthArrow(g->Calendar(1));  // now May, June
  EXPECT_EQ(Captions(g), (std::vector<std::string>{"May 2004", "Jun 2004"}));
  EXPECT_EQ(Dates(g->CombinedSelection()), (std::vector<std::string>{"2004-4-20", "2004-5-3"}));
  EXPECT_EQ(Dates(g->Calendar(0)->SelectedDates()), (std::vector<std::string>{"2004-5-3"}));
  EXPECT_EQ(g->Calendar(1)->SelectedDates().Count(), 0);
}

// Settings changed on the group reach its calendars (the stored ones: TheStoredSettings...).
TEST_F(CalendarGroup, SettingsAreForwarded) {
  auto* g = ShippedGroup();
  TMonthCalendar* c = g->Calendar(0);
  EXPECT_TRUE(c->ShowHint());
  g->SetWeekendColor(clPurple);
  g->SetLook(look3D);
  g->SetStartDay(1);
  g->SetGradientDirection(gdVertical);
  g->SetCalendarBorderWidth(3);
  EXPECT_EQ(c->WeekendColor(), clPurple);
  EXPECT_EQ(c->Look(), look3D);
  EXPECT_EQ(c->StartDay(), 1);
  EXPECT_EQ(c->GradientDirection(), gdVertical);
  EXPECT_EQ(c->BorderWidth(), 3);
  // The marker settings reach the calendars with the next forwarding only.
  g->SetEventMarkerColor(clLime);
  EXPECT_EQ(c->EventMarkerColor(), clYellow);
  g->SetTextColor(clBlack);
  EXPECT_EQ(c->EventMarkerColor(), clLime);
  // What the group never forwards keeps the calendar's own value.
  EXPECT_TRUE(c->BorderXP());
  EXPECT_FALSE(c->ShowGotoToday());
  EXPECT_EQ(c->PaintLock(), 0);
}

TEST_F(CalendarGroup, EventsAreWiredToTheCalendars) {
  auto* g = ShippedGroup();
  std::vector<std::string> log;
  g->SetOnDayChange([&](TObject* s, TDateTime, TDateTime n) {
    EXPECT_EQ(s, g->Calendar(0)) << "the calendar is the sender";
    log.push_back("day " + Text(n));
  });
  g->SetOnCancelledChange([&](TObject*, TDateTime d) { log.push_back("cancelled " + Text(d)); });
  g->SetOnKeyPress([&](TObject*, char& ch) { log.push_back(std::string("key ") + ch); });
  TMonthCalendar* c = g->Calendar(0);
  c->MoveToDate(30, 3, 2004);
  c->WmKeyDown(VK_LEFT_, 0);
  c->WmKeyDown(VK_DOWN_, 0);
  c->WmChar('x');
  EXPECT_EQ(log, (std::vector<std::string>{"day 2004-3-29", "cancelled 2004-4-5", "key x"}));
  // A rebuild wires the new calendars again.
  g->SetColCount(2);
  log.clear();
  g->Calendar(1)->WmChar('y');
  EXPECT_EQ(log, (std::vector<std::string>{"key y"}));
}

// The group class on its own, where nothing limits its size: dragging adds and drops whole
// calendars.
TEST_F(CalendarGroup, SplitterDragFitsWholeCalendars) {
  TMonthCalendarGroup* g = FreeGroup();
  ASSERT_EQ(g->Width(), 154);
  TCalendarSplitter* right = g->RightSplitter();
  right->WmMouseDown(mbLeft, 0, 1, 10);
  EXPECT_TRUE(g->Busy());
  right->WmMouseMove(0, 146, 10);  // the group is now 300 wide
  EXPECT_EQ(g->Width(), 300);
  EXPECT_EQ(g->CalendarCount(), 1) << "nothing rebuilt while dragging";
  right->WmMouseUp(mbLeft, 0, 146, 10);
  EXPECT_FALSE(g->Busy());
  EXPECT_EQ(g->ColCount(), 2);
  EXPECT_EQ(g->CalendarCount(), 2);
  EXPECT_EQ(g->Width(), 2 + 300 + 2);
  EXPECT_EQ(right->Left(), 302);
  // Narrower than one calendar: back to one column, snapped to its width.
  right->WmMouseDown(mbLeft, 0, 1, 10);
  right->WmMouseMove(0, -250, 10);
  right->WmMouseUp(mbLeft, 0, -250, 10);
  EXPECT_EQ(g->ColCount(), 1);
  EXPECT_EQ(g->Width(), 154);
  // The bottom strip adds rows.
  TCalendarSplitter* bottom = g->BottomSplitter();
  bottom->WmMouseDown(mbLeft, 0, 10, 1);
  bottom->WmMouseMove(0, 10, 140);
  bottom->WmMouseUp(mbLeft, 0, 10, 140);
  EXPECT_EQ(g->RowCount(), 2);
  EXPECT_EQ(g->Height(), 2 + 260 + 2);
  EXPECT_EQ(Arrows(g->Calendar(1)), "------") << "only the first row carries arrows";
  EXPECT_TRUE(bottom->WmSetCursor());
  EXPECT_EQ(fp.windows.cursor, CursorKind::SizeNS);
}

// In the window the group fills its panel: a drag cannot take it past the panel's edge, so no
// calendar is built out of sight and the strips stay where the pointer can reach them.
TEST_F(CalendarGroup, SplitterDragStaysInsideTheWindowsPanel) {
  TMonthCalendarGroup* g = ShippedGroup();
  ASSERT_EQ(g->Width(), 154);
  const TRect rightStrip = g->RightSplitter()->BoundsRect(), bottomStrip = g->BottomSplitter()->BoundsRect();
  struct Drag {
    const char* name;
    TCalendarSplitter* strip;
    TPoint by;
  } drags[] = {{"right strip 200 pixels right", g->RightSplitter(), {200, 0}},
               {"bottom strip 200 pixels down", g->BottomSplitter(), {0, 200}},
               {"right strip in small steps", g->RightSplitter(), {20, 0}}};
  for (const auto& d : drags) {
    d.strip->WmMouseDown(mbLeft, 0, 1, 1);
    for (int k = 0; k < 10; ++k) {
      d.strip->WmMouseMove(0, 1 + d.by.x, 1 + d.by.y);
      EXPECT_LE(g->Left() + g->Width(), g->Parent()->ClientWidth()) << d.name;
      EXPECT_LE(g->Top() + g->Height(), g->Parent()->ClientHeight()) << d.name;
    }
    d.strip->WmMouseUp(mbLeft, 0, 1 + d.by.x, 1 + d.by.y);
    EXPECT_EQ(g->CalendarCount(), 1) << d.name;
    EXPECT_EQ(g->ColCount(), 1) << d.name;
    EXPECT_EQ(g->RowCount(), 1) << d.name;
    EXPECT_EQ(g->RightSplitter()->BoundsRect(), rightStrip) << d.name;
    EXPECT_EQ(g->BottomSplitter()->BoundsRect(), bottomStrip) << d.name;
    EXPECT_EQ(Arrows(g->Calendar(0)), "<<<>>>") << d.name;
  }
}

TEST_F(CalendarGroup, SplitterSizesAndLook) {
  auto* g = ShippedGroup();
  g->SetSpliterH(80);  // above 150 div 2
  EXPECT_EQ(g->SpliterH(), 2);
  EXPECT_EQ(g->Width(), 154);
  g->SetSpliterH(6);
  EXPECT_EQ(g->SpliterH(), 6);
  EXPECT_EQ(g->Width(), 2 + 150 + 6);
  EXPECT_EQ(g->RightSplitter()->BoundsRect(), (TRect{152, 0, 158, 134}));
  g->SetSpliterV(66);  // above 130 div 2
  EXPECT_EQ(g->SpliterV(), 2);
  g->SetSpliterV(4);
  EXPECT_EQ(g->Height(), 2 + 130 + 4);
  EXPECT_EQ(g->BottomSplitter()->BoundsRect(), (TRect{0, 132, 158, 136}));
  g->SetSplitterColor(clGray);
  g->SetSplitterBevel(false);
  EXPECT_EQ(g->BottomSplitter()->Color(), clGray);
  EXPECT_EQ(g->RightSplitter()->BevelOuter(), bvNone);
}

TEST_F(CalendarGroup, NonPositiveCountsAndSizesAreIgnored) {
  auto* g = ShippedGroup();
  g->SetColCount(0);
  g->SetRowCount(-1);
  g->SetCalendarWidth(0);
  g->SetCalendarHeight(-5);
  EXPECT_EQ(g->ColCount(), 1);
  EXPECT_EQ(g->RowCount(), 1);
  EXPECT_EQ(g->CalendarWidth(), 150);
  EXPECT_EQ(g->CalendarHeight(), 130);
  EXPECT_EQ(g->CalendarCount(), 1);
}

TEST_F(CalendarGroup, EventDatesReachEveryCalendar) {
  TMonthCalendarGroup* g = FreeGroup();
  g->SetColCount(2);
  g->EventDates().AddDate(D(2004, 3, 8));
  for (int k = 0; k < 2; ++k) EXPECT_EQ(Dates(g->Calendar(k)->EventDates()), (std::vector<std::string>{"2004-3-8"}));
  g->EventDates().Items(0)->SetDate(D(2004, 4, 8));
  EXPECT_EQ(Dates(g->Calendar(1)->EventDates()), (std::vector<std::string>{"2004-4-8"}));
  // A rebuild by dragging keeps them.
  g->RightSplitter()->WmMouseDown(mbLeft, 0, 0, 0);
  g->RightSplitter()->WmMouseMove(0, 150, 0);
  g->RightSplitter()->WmMouseUp(mbLeft, 0, 150, 0);
  ASSERT_EQ(g->CalendarCount(), 3);
  EXPECT_EQ(Dates(g->Calendar(2)->EventDates()), (std::vector<std::string>{"2004-4-8"}));
  g->EventDates().Clear();
  EXPECT_EQ(g->Calendar(2)->EventDates().Count(), 0);
}

// ---------------------------------------------------------------------------------------
// Loading the main window's description

class CalendarLoading : public CalendarFixture {
 protected:
  CalendarLoading() { fp.system.localTime = SystemTime{2024, 6, 6, 15, 9, 0, 0, 0}; }  // Saturday 15 June 2024
};

TEST_F(CalendarLoading, TheWindowsGroupOpensOnToday) {
  TMonthCalendarGroup* g = ShippedGroup();
  ASSERT_EQ(g->CalendarCount(), 1);
  TMonthCalendar* c = g->Calendar(0);
  EXPECT_EQ(g->BoundsRect(), (TRect{1, 0, 155, 134}));
  EXPECT_EQ(c->BoundsRect(), (TRect{1, 1, 151, 131}));
  EXPECT_EQ(c->CaptionText(), "Jun 2024");
  EXPECT_EQ(Text(c->CurrentDate()), "2024-6-1");
  EXPECT_EQ(c->DisplayDate(), c->CurrentDate());
  EXPECT_EQ(c->SelectedDates().Count(), 0);
  EXPECT_EQ(Arrows(c), "<<<>>>");
  EXPECT_EQ(g->RightSplitter()->Left(), 152);
  EXPECT_EQ(g->BottomSplitter()->Top(), 132);
  EXPECT_EQ(g->Day(), 15);
  EXPECT_EQ(g->Month(), 6);
  EXPECT_EQ(g->Year(), 2024);
  // The stored French names were replaced by the locale's.
  EXPECT_EQ(c->NameOfMonths()->January(), "Jan");
  EXPECT_EQ(c->NameOfDays()->Monday(), "Mon");
  EXPECT_EQ(c->PaintLock(), 0);
  EXPECT_TRUE(fp.windows.messageBoxes.empty());

  // Today's frame is drawn: the 15th (a Saturday) in June 2024, which begins on a Saturday.
  fake::RecordingCanvas canvas = Paint(c);
  cal::Geometry geo = c->Geometry();
  int moves = 0;
  for (const auto& op : canvas.ops)
    if (op.kind == fake::CanvasOp::Kind::MoveTo && op.x == 6 * geo.dx + geo.wk + 4 && op.y == 4 * geo.dy + geo.t0 - 3)
      ++moves;
  EXPECT_EQ(moves, 1);
}

// Every calendar setting the window stores reaches its calendar, after the closing rebuild.
TEST_F(CalendarLoading, TheStoredSettingsReachTheCalendar) {
  TMonthCalendarGroup* g = ShippedGroup();
  TMonthCalendar* c = g->Calendar(0);
  EXPECT_EQ(c->Color(), 16744576u);
  EXPECT_EQ(c->TextColor(), clBlue);
  EXPECT_EQ(c->SelectColor(), clBlue);
  EXPECT_EQ(c->SelectFontColor(), clWhite) << "readable on the blue selection";
  EXPECT_EQ(c->InActiveColor(), clAqua);
  EXPECT_EQ(c->EventDayColor(), clBlue);
  EXPECT_EQ(c->WeekendColor(), clRed);
  EXPECT_EQ(c->InversColor(), clWhite);
  EXPECT_EQ(c->CaptionColor(), clWhite);
  EXPECT_EQ(c->CaptionTextColor(), clBlue);
  EXPECT_EQ(c->LineColor(), clSilver);
  EXPECT_TRUE(c->Line3D());
  EXPECT_EQ(c->Font()->Name(), "MS Sans Serif");
  EXPECT_EQ(c->Font()->Color(), clBlue);
  EXPECT_EQ(c->DayFont()->Name(), "Arial Narrow");
  EXPECT_EQ(c->DayFont()->Color(), clBlue);
  EXPECT_EQ(c->WeekFont()->Name(), "MS Sans Serif");
  EXPECT_EQ(c->WeekFont()->Color(), clWindowText);
  EXPECT_EQ(c->StartDay(), 7);
  EXPECT_TRUE(c->ShowWeeks());
  EXPECT_TRUE(c->ShowToday());
  EXPECT_TRUE(c->ShowSelection());
  EXPECT_FALSE(c->MultiSelect());
  EXPECT_EQ(c->BevelOuter(), bvRaised);
  EXPECT_EQ(c->BevelWidth(), 0);
  EXPECT_EQ(c->BorderWidth(), 1);
  EXPECT_EQ(c->HintPrevYear(), "Previous Year");
  EXPECT_EQ(c->HintNextMonth(), "Next Month");
  EXPECT_EQ(g->SplitterColor(), clBtnFace);
  EXPECT_TRUE(g->SplitterBevel());
}

// With a design-time anchor year (Year 2004 added to the shipped values) the group shows
// today's month of that year.
TEST_F(CalendarLoading, AnAnchorYearShowsTodaysMonthOfThatYear) {
  const Variation year{"Year", "2004"};
  TMonthCalendarGroup* g = ShippedGroup(&year);
  ASSERT_EQ(g->CalendarCount(), 1);
  TMonthCalendar* c = g->Calendar(0);
  EXPECT_EQ(c->CaptionText(), "Jun 2004");
  EXPECT_EQ(Text(c->CurrentDate()), "2004-6-1");
  EXPECT_EQ(c->SelectedDates().Count(), 0);
  EXPECT_EQ(g->Day(), 15);
  EXPECT_EQ(g->Month(), 6);
  EXPECT_EQ(g->Year(), 2004);
}

}  // namespace
}  // namespace vsi::caltest
