// The window's calendar left running: past midnight today's frame moves, and past a month's
// end the calendar turns to the new month unless the user had gone to another one. It looks
// on the second's tick the window has anyway.
#include <gtest/gtest.h>

#include "calendar_fixture.h"
#include "framework/second_ticker.h"
#include "unit/app/facts_fixture.h"

namespace vsi::caltest {
namespace {

using Op = fake::CanvasOp;

class CalendarDateWatch : public CalendarFixture {
 protected:
  // The window's calendar, made a second before midnight at the end of `day`.
  TMonthCalendar* ShippedAtMidnight(int year, int month, int day) {
    fp.system.localTime = SystemTime{static_cast<uint16_t>(year), static_cast<uint16_t>(month), 0,
                                     static_cast<uint16_t>(day), 23, 59, 59, SecondTicker::kAfterSecondMs};
    group = ShippedGroup();
    return group->Calendar(0);
  }
  // A second passes and the one timer of the second ticks.
  void NextSecond() {
    fp.system.AdvanceTime(1000);
    auto it = fp.windows.timers.find(ctx.Service<SecondTicker>().Timer());
    ASSERT_NE(it, fp.windows.timers.end()) << "no tick of the second";
    it->second.callback();
  }
  // Whether the painted window shows today's frame around `date`'s cell.
  bool Framed(TMonthCalendar* c, TDateTime date) {
    int column = 0, row = 0;
    c->CellOfDate(date, column, row);
    const TRect f = c->GridLayout().TodayFrame(column, row);
    const fake::RecordingCanvas canvas = fp.windows.Paint(c->Handle());
    for (const Op& op : canvas.ops)
      if (op.kind == Op::Kind::LineTo && op.points == std::vector<TPoint>{{f.left, f.bottom}, {f.left, f.top}})
        return true;
    return false;
  }
  // Whether a repaint was asked for that holds the whole of `date`'s today frame.
  bool Repainted(TMonthCalendar* c, TDateTime date) {
    int column = 0, row = 0;
    c->CellOfDate(date, column, row);
    const TRect f = c->GridLayout().TodayFrame(column, row);
    for (const auto& inv : Win(c).invalidationLog)
      if (inv.whole || (inv.rect.left <= f.left && inv.rect.top <= f.top && f.right < inv.rect.right &&
                        f.bottom < inv.rect.bottom))
        return true;
    return false;
  }

  TMonthCalendarGroup* group = nullptr;
};

TEST_F(CalendarDateWatch, PastMidnightTodaysFrameMovesAndOnlyThen) {
  TMonthCalendar* c = ShippedAtMidnight(2004, 3, 21);
  ASSERT_TRUE(Framed(c, D(2004, 3, 21)));
  Win(c).invalidationLog.clear();
  NextSecond();  // Monday 22 March, 00:00:00
  EXPECT_TRUE(Repainted(c, D(2004, 3, 21))) << "where the frame was";
  EXPECT_TRUE(Repainted(c, D(2004, 3, 22))) << "where it goes";
  EXPECT_TRUE(Framed(c, D(2004, 3, 22)));
  EXPECT_FALSE(Framed(c, D(2004, 3, 21)));
  EXPECT_EQ(c->CaptionText(), "Mar 2004");
  // The other seconds of the day ask for nothing.
  Win(c).invalidationLog.clear();
  for (int s = 0; s < 3; ++s) NextSecond();
  EXPECT_TRUE(Win(c).invalidationLog.empty());
  EXPECT_TRUE(MessageTexts().empty());
}

// Past a month's (and a year's) end: the calendar left on the month that was current turns to
// the new one; one the user moved to another month stays there.
TEST_F(CalendarDateWatch, PastAMonthsEndTheCurrentMonthTurnsAndAChosenOneStays) {
  struct Case {
    const char* name;
    int year, month, lastDay;
    const char* presses;        // the next-month (>) and previous-month (<) arrows pressed before
    int shownYear, shownMonth;  // the month shown after the turn
  } cases[] = {
      {"left on March", 2004, 3, 31, "", 2004, 4},
      {"on December", 2004, 12, 31, "", 2005, 1},
      {"moved on and back", 2004, 3, 31, "><", 2004, 4},
      {"moved to February", 2004, 3, 31, "<", 2004, 2},
      {"moved to May", 2004, 3, 31, ">>", 2004, 5},
      {"moved to April already", 2004, 3, 31, ">", 2004, 4},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TMonthCalendar* c = ShippedAtMidnight(k.year, k.month, k.lastDay);
    for (const char* p = k.presses; *p; ++p) {
      const int x = *p == '>' ? 122 : 17 + 30;
      c->WmMouseDown(mbLeft, 0, x, 7);
      c->WmMouseUp(mbLeft, 0, x, 7);
    }
    const dates::Ymd before = dates::DecodeDate(c->DisplayDate());
    NextSecond();
    c = group->Calendar(0);
    const dates::Ymd shown = dates::DecodeDate(c->DisplayDate());
    EXPECT_EQ(shown.year * 100 + shown.month, k.shownYear * 100 + k.shownMonth)
        << "was " << before.year << "-" << before.month;
    EXPECT_EQ(c->CaptionText(), group->NameOfMonths()->Name(k.shownMonth) + " " + std::to_string(k.shownYear));
    const TDateTime today = D(k.year, k.month, k.lastDay) + 1;
    EXPECT_EQ(Framed(c, today), shown.month == dates::DecodeDate(today).month);
    EXPECT_TRUE(MessageTexts().empty());
  }
}

// The running main window: the same second's tick that shows the clock and the CPU slot
// turns its calendar to the new month.
class MainWindowDateWatch : public FactsFixture {};

TEST_F(MainWindowDateWatch, TheWindowsCalendarTurnsWithTheMonth) {
  fp.system.localTime = SystemTime{2004, 3, 0, 31, 23, 59, 59, SecondTicker::kAfterSecondMs};
  ShowWindow();
  auto& group = main->Get<TMonthCalendarGroup>("MonthCalendarGroup1");
  ASSERT_EQ(group.Calendar(0)->CaptionText(), "March 2004");
  fp.system.AdvanceTime(1000);
  fp.windows.timers.at(ctx.Service<SecondTicker>().Timer()).callback();
  EXPECT_EQ(group.Calendar(0)->CaptionText(), "April 2004");
  for (auto& m : fp.windows.messageBoxes) ADD_FAILURE() << m.text;
}

}  // namespace
}  // namespace vsi::caltest
