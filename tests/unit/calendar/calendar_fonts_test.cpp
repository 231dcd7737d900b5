// The calendar keeps the day the user chose, and the month shown, when its fonts change: a
// language switch sets their charset, which measures nothing differently; a new face or height
// builds the calendars again, and they come back on the same month and day.
#include <gtest/gtest.h>

#include "app/languages.h"
#include "calendar_fixture.h"
#include "unit/app/facts_fixture.h"

namespace vsi {
namespace {

using caltest::D;
using caltest::Dates;
using caltest::Text;

// Clicks `date`'s cell of the calendar shown, through its window.
void ClickDay(fake::FakePlatform& fp, TMonthCalendar* c, TDateTime date) {
  int column = 0, row = 0;
  c->CellOfDate(date, column, row);
  const TRect cell = c->GridLayout().CellRect(column, row);
  const int x = (cell.left + cell.right) / 2, y = (cell.top + cell.bottom) / 2;
  fp.windows.Deliver(c->Handle(), [&](IWindowEvents& e) {
    e.WmMouseDown(mbLeft, 0, x, y);
    e.WmMouseUp(mbLeft, 0, x, y);
  });
}
void NextMonthArrow(fake::FakePlatform& fp, TMonthCalendar* c) {
  fp.windows.Deliver(c->Handle(), [&](IWindowEvents& e) {
    e.WmMouseDown(mbLeft, 0, 122, 7);
    e.WmMouseUp(mbLeft, 0, 122, 7);
  });
}

// What the user sees chosen: the selection, the cursor, the month shown and the group's date.
std::string Chosen(TMonthCalendarGroup& g) {
  TMonthCalendar* c = g.Calendar(0);
  std::string s;
  for (const std::string& d : Dates(c->SelectedDates())) s += d + " ";
  const dates::Ymd shown = dates::DecodeDate(c->DisplayDate());
  s += "cursor " + Text(c->CurrentDate()) + ", shown " + std::to_string(shown.year) + "-" +
       std::to_string(shown.month) + " (" + c->CaptionText() + "), group " + std::to_string(g.Year()) + "-" +
       std::to_string(g.Month()) + "-" + std::to_string(g.Day()) + (c->ShowSelection() ? "" : ", selection hidden");
  return s;
}

// Each language as the first one the user picks on the running window, with a day of the
// next month chosen before.
class CalendarLanguageSwitch : public FactsFixture, public ::testing::WithParamInterface<int> {};

TEST_P(CalendarLanguageSwitch, KeepsTheChosenDayAndMonth) {
  const LanguageRow& row = kLanguages[GetParam()];
  ShowWindow();
  auto& group = main->Get<TMonthCalendarGroup>("MonthCalendarGroup1");
  NextMonthArrow(fp, group.Calendar(0));
  ClickDay(fp, group.Calendar(0), D(2004, 4, 15));
  const std::string before = Chosen(group);
  ASSERT_EQ(before.substr(0, 30), "2004-4-15 cursor 2004-4-15, sh");
  main->Get<TControl>(row.button).Click();
  ASSERT_EQ(main->Get<TControl>("Label1").Caption(), row.state);
  EXPECT_EQ(Chosen(group), before.substr(0, before.find('(')) + "(" + row.months[3] + " 2004" +
                               before.substr(before.find(')')));
  for (auto& m : fp.windows.messageBoxes) ADD_FAILURE() << m.text;
}

INSTANTIATE_TEST_SUITE_P(EachLanguage, CalendarLanguageSwitch, ::testing::Range(0, static_cast<int>(kLanguages.size())),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(kLanguages[info.param].state);
                         });

class CalendarFonts : public caltest::CalendarFixture {};

// Only a new face or height builds the calendars again; either way the chosen day stays.
TEST_F(CalendarFonts, OnlyANewFaceOrHeightRebuildsAndTheChosenDayStays) {
  struct Case {
    const char* name;
    std::function<void(TFont&)> change;
    bool rebuilt;
  } cases[] = {
      {"charset", [](TFont& f) { f.SetCharset(238); }, false},
      {"colour", [](TFont& f) { f.SetColor(clRed); }, false},
      {"style", [](TFont& f) { f.SetStyle(fsBold); }, false},
      {"face", [](TFont& f) { f.SetName("Arial"); }, true},
      {"height", [](TFont& f) { f.SetHeight(13); }, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TMonthCalendarGroup* g = ShippedGroup();
    TMonthCalendar* c = g->Calendar(0);
    const WindowHandle window = c->Handle();
    c->WmMouseDown(mbLeft, 0, 122, 7);  // on to April
    c->WmMouseUp(mbLeft, 0, 122, 7);
    ClickDay(fp, g->Calendar(0), D(2004, 4, 15));
    const std::string before = Chosen(*g);
    ASSERT_EQ(before.substr(0, 30), "2004-4-15 cursor 2004-4-15, sh");
    k.change(*g->Font());
    EXPECT_EQ(g->Calendar(0)->Handle() != window, k.rebuilt) << "a new calendar, with a window of its own";
    EXPECT_EQ(g->Calendar(0)->Font()->Spec(), g->Font()->Spec()) << "the calendar takes the font";
    EXPECT_EQ(Chosen(*g), before);
    EXPECT_TRUE(MessageTexts().empty());
  }
}

}  // namespace
}  // namespace vsi
