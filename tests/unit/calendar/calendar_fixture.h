#pragma once
// A calendar on the fake platform: today is Sunday 21 March 2004, 14:30.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/calendar_group.h"
#include "framework/dates.h"
#include "fakes/fake_platform.h"
#include "framework/context.h"

namespace vsi::caltest {

inline TDateTime D(int y, int m, int d) { return dates::EncodeDate(y, m, d); }

// Days as "y-m-d" texts, for readable comparisons.
inline std::string Text(TDateTime d) {
  dates::Ymd v = dates::DecodeDate(d);
  return std::to_string(v.year) + "-" + std::to_string(v.month) + "-" + std::to_string(v.day);
}
inline std::vector<std::string> Dates(TSelDateItems& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(Text(list.Items(i)->Date()));
  return out;
}

class CalendarFixture : public ::testing::Test {
 protected:
  CalendarFixture() { fp.system.localTime = SystemTime{2004, 3, 0, 21, 14, 30, 0, 0}; }

  // A calendar of the window's size, with a native (fake) window.
  TMonthCalendar* MakeCalendar(bool window = true) {
    auto* c = new TMonthCalendar(&root);
    c->SetBounds(0, 0, 150, 130);
    if (window) c->HandleNeeded();
    return c;
  }
  // The settings the main window gives its calendar group, set one by one.
  TMonthCalendarGroup* MakeWindowGroup(bool window = true) {
    auto* g = new TMonthCalendarGroup(&root);
    g->SetColCount(1);
    g->SetRowCount(1);
    g->SetCalendarWidth(150);
    g->SetCalendarHeight(130);
    g->SetColor(16744576);
    FontSpec font;
    font.height = 11;
    font.color = clBlue;
    g->Font()->SetSpec(font);
    FontSpec day = font;
    day.name = "Arial Narrow";
    g->DayFont()->SetSpec(day);
    FontSpec week;
    week.height = 11;
    week.color = clWindowText;
    g->WeekFont()->SetSpec(week);
    g->SetStartDay(7);
    g->SetBevelWidth(1);
    g->SetBorderWidth(0);
    g->SetShowToday(true);
    g->SetShowWeeks(true);
    g->SetTextColor(clBlue);
    g->SetSelectColor(clBlue);
    g->SetSelectFontColor(clBlue);
    g->SetInActiveColor(clAqua);
    g->SetEventDayColor(clBlue);
    g->SetCaptionColor(clWhite);
    g->SetCaptionTextColor(clBlue);
    g->SetHintPrevYear("Previous Year");
    g->SetHintPrevMonth("Previous Month");
    g->SetHintNextYear("Next Year");
    g->SetHintNextMonth("Next Month");
    if (window) g->HandleNeeded();
    return g;
  }
  fake::FakeWindow& Win(TControl* c) { return fp.windows.Window(c->Handle()); }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> out;
    for (const auto& m : fp.windows.messageBoxes) out.push_back(m.text);
    return out;
  }

  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TComponent root{ctx};
};

}  // namespace vsi::caltest
