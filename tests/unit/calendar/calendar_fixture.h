#pragma once
// Calendars on the fake platform: today is Sunday 21 March 2004, 14:30.
//
// The window's calendar is the one the program ships: Panel2 with MonthCalendarGroup1 taken
// from the main window's description (src/app/forms/main.desc, as embedded in the program),
// loaded into a small form; a variation changes one named value of it. Tests of the calendar
// class itself with other settings build a calendar in code.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/window_descriptions.h"
#include "calendar/calendar_group.h"
#include "calendar/register.h"
#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/dates.h"
#include "framework/description.h"
#include "framework/forms.h"

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

// The form the shipped panel is loaded into.
class TCalendarHostForm : public TForm {
  VSI_CLASS(TCalendarHostForm)
  using TForm::TForm;
};
inline const ClassInfo& TCalendarHostForm::StaticClass() {
  static const ClassInfo info = ClassBuilder<TCalendarHostForm>("TCalendarHostForm", &TForm::StaticClass()).Build();
  return info;
}

// One stored value of MonthCalendarGroup1 set to another (or added): "SelectFontColor" to
// "clBlue". The value is written as in a description.
struct Variation {
  std::string property;
  std::string value;
};

// The main window's Panel2, with the calendar group in it, as shipped.
inline DescNode ShippedCalendarPanel(const Variation* change = nullptr) {
  DescNode main = ParseDescription(std::string(WindowDescription("main")));
  auto panel = std::find_if(main.children.begin(), main.children.end(),
                            [](const DescNode& n) { return n.name == "Panel2"; });
  if (panel == main.children.end() || panel->children.size() != 1 ||
      panel->children[0].name != "MonthCalendarGroup1")
    throw std::runtime_error("the main window has no Panel2 holding MonthCalendarGroup1");
  DescNode out = *panel;
  if (change) {
    DescNode value = ParseDescription("TX X {\n  " + change->property + " " + change->value + "\n}\n");
    std::vector<DescProperty>& props = out.children[0].properties;
    auto it = std::find_if(props.begin(), props.end(),
                           [&](const DescProperty& p) { return p.path == change->property; });
    if (it != props.end())
      *it = value.properties.at(0);
    else
      props.push_back(value.properties.at(0));
  }
  return out;
}

class CalendarFixture : public ::testing::Test {
 protected:
  CalendarFixture() {
    fp.system.localTime = SystemTime{2004, 3, 0, 21, 14, 30, 0, 0};
    RegisterClass(TPanel::StaticClass());
    RegisterClass(TCalendarHostForm::StaticClass());
    RegisterCalendarClasses();
  }

  // A calendar of the window's size, with a native (fake) window, and otherwise its class's
  // own defaults.
  TMonthCalendar* MakeCalendar(bool window = true) {
    auto* c = new TMonthCalendar(&root);
    c->SetBounds(0, 0, 150, 130);
    if (window) c->HandleNeeded();
    return c;
  }

  // The window's calendar group as the program ships it, in its panel on a form with windows.
  TMonthCalendarGroup* ShippedGroup(const Variation* change = nullptr) {
    host = new TCalendarHostForm(&app);
    DescNode node;
    node.className = "TCalendarHostForm";
    node.name = "Host";
    node.children.push_back(ShippedCalendarPanel(change));
    ApplyDescription(*host, node);
    host->SetBounds(0, 0, 400, 200);
    host->HandleNeeded();
    auto* g = dynamic_cast<TMonthCalendarGroup*>(host->FindComponent("MonthCalendarGroup1"));
    if (!g) throw std::runtime_error("no MonthCalendarGroup1");
    return g;
  }
  TMonthCalendar* ShippedCalendar(const Variation* change = nullptr) { return ShippedGroup(change)->Calendar(0); }

  fake::FakeWindow& Win(TControl* c) { return fp.windows.Window(c->Handle()); }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> out;
    for (const auto& m : fp.windows.messageBoxes) out.push_back(m.text);
    return out;
  }
  // One paint of a calendar with today from the fake clock.
  fake::RecordingCanvas Paint(TMonthCalendar* c, bool focused = false, bool themes = false) {
    fake::RecordingCanvas canvas;
    canvas.themes = themes;
    CalendarPaintInputs in;
    in.now = fp.system.localTime;
    in.focused = focused;
    c->PaintCalendar(canvas, in);
    return canvas;
  }

  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TComponent root{ctx};
  TApplication app{ctx};
  TCalendarHostForm* host = nullptr;
};

}  // namespace vsi::caltest
