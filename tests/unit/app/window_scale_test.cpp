// The main window on scaled monitors, in high contrast, and its remembered place, on the
// in-memory platform with the shipped window description and dictionary.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>

#include "app/languages.h"
#include "app/window_place.h"
#include "unit/app/facts_fixture.h"

namespace vsi {
namespace {

class WindowScaleTest : public FactsFixture {
 protected:
  fake::FakeWindow& Native(const TControl& c) { return fp.windows.Window(c.Handle()); }
  // Every control of the main window with a native window.
  std::vector<TControl*> Controls() {
    std::vector<TControl*> out;
    for (int i = 0; i < main->ComponentCount(); ++i)
      if (auto* c = dynamic_cast<TControl*>(main->Components(i)); c && c->HandleAllocated()) out.push_back(c);
    return out;
  }
  // The bounds and font the native windows must have at this scale.
  void ExpectEveryControlAt(const ViewScale& view) {
    auto controls = Controls();
    ASSERT_GT(controls.size(), 60u);
    for (TControl* c : controls) {
      SCOPED_TRACE(c->Name());
      EXPECT_EQ(Native(*c).bounds, view.Scale(c->BoundsRect()));
      EXPECT_EQ(Native(*c).font.height, view.FontHeight(c->Font()->Height()));
      EXPECT_EQ(Native(*c).font.name, c->Font()->Name());
    }
  }
};

TEST_F(WindowScaleTest, At144DpiEveryBoundAndFontIsScaledAndTheStoredValuesStay) {
  // A 1920 x 1080 screen at 150 %: wide enough for the scaled window at its designed place.
  fp.windows.monitors = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true, 144}};
  ShowWindow();
  EXPECT_EQ(main->View().dpi, 144);
  // The client area: 885 x 190 at one and a half.
  fake::FakeWindow& form = Native(*main);
  EXPECT_EQ(form.bounds.Width(), 1328);
  EXPECT_EQ(form.bounds.Height(), 285);
  EXPECT_EQ(form.bounds.left, 36) << "the place is the screen's, not scaled";
  EXPECT_EQ(main->ClientWidth(), 885) << "the form keeps its 96-dpi size";
  EXPECT_EQ(main->ClientHeight(), 190);
  ExpectEveryControlAt({144});
  // What the description, the translator and the tests read stays at 96 dpi.
  auto& flag = main->Get<TControl>("SpeedButton6");
  EXPECT_EQ(flag.BoundsRect(), (TRect{504, 162, 544, 187}));
  EXPECT_EQ(main->Get<TControl>("Label13").Font()->Height(), 13);
}

// Paint code draws in 96-dpi units; on the monitor everything comes out scaled, the calendar's
// geometry included, and each picture is asked for at the window's scale.
TEST_F(WindowScaleTest, PaintAt144IsThe96DpiPaintScaled) {
  // (Panels are left out: their one-pixel frame becomes filled bands when it thickens.)
  const char* kPainted[] = {"MonthCalendarGroup1", "SpeedButton6", "WideLabel1", "Label13", "UiURLLabel1"};
  std::map<std::string, fake::RecordingCanvas> at96;
  ShowWindow();
  for (const char* name : kPainted) at96[name] = fp.windows.Paint(main->Get<TControl>(name).Handle());
  fp.windows.Deliver(main->Handle(), [&](IWindowEvents& e) { e.WmDpiChanged(144, {36, 61, 36 + 1334, 61 + 310}); });
  const ViewScale view{144};
  for (const char* name : kPainted) {
    SCOPED_TRACE(name);
    fake::RecordingCanvas scaled = fp.windows.Paint(main->Get<TControl>(name).Handle());
    const auto& a = at96[name].ops;
    ASSERT_EQ(scaled.ops.size(), a.size());
    ASSERT_FALSE(a.empty());
    for (size_t i = 0; i < a.size(); ++i) {
      SCOPED_TRACE(i);
      const auto& s = scaled.ops[i];
      EXPECT_EQ(s.kind, a[i].kind);
      if (a[i].kind == fake::CanvasOp::Kind::Image) {
        EXPECT_EQ(s.dpi, 144);
        if (a[i].x >= 0) {
          EXPECT_EQ(s.x, view.Scale(a[i].x));
        }
        continue;
      }
      if (a[i].kind == fake::CanvasOp::Kind::FrameRect) continue;  // drawn as bands when thicker
      // Text is placed from its measured size, which rounds differently at each scale.
      using K = fake::CanvasOp::Kind;
      const bool text = s.kind == K::TextOut || s.kind == K::TextOutW || s.kind == K::TextRect ||
                        s.kind == K::DrawText || s.kind == K::DrawTextW;
      if (text) {
        EXPECT_EQ(s.font.height, view.FontHeight(a[i].font.height));
      }
      const int slack = text ? 3 : 0;
      const TRect want = view.Scale(a[i].rect);
      for (auto [got, expected] : {std::pair{s.rect.left, want.left}, {s.rect.top, want.top},
                                   {s.rect.right, want.right}, {s.rect.bottom, want.bottom},
                                   {s.x, view.Scale(a[i].x)}, {s.y, view.Scale(a[i].y)}})
        EXPECT_LE(std::abs(got - expected), slack) << got << " against " << expected;
    }
  }
}

TEST_F(WindowScaleTest, InputAtTheScaleReachesTheControlIn96DpiUnits) {
  fp.windows.monitors[0].dpi = 144;
  ShowWindow();
  // A click in the middle of the French flag, where the monitor has it.
  auto& flag = main->Get<TControl>("SpeedButton7");
  const int x = 30, y = 18;  // 20, 12 at 96 dpi
  fp.windows.Deliver(flag.Handle(), [&](IWindowEvents& e) {
    e.WmMouseDown(mbLeft, 0, x, y);
    e.WmMouseUp(mbLeft, 0, x, y);
  });
  EXPECT_EQ(main->Get<TControl>("Label1").Caption(), "French");
  // Just outside its 40 x 25 at 96 dpi: 61 px at 144 is 41 at 96 (no click).
  fp.windows.Deliver(main->Get<TControl>("SpeedButton1").Handle(), [&](IWindowEvents& e) {
    e.WmMouseDown(mbLeft, 0, 61, 18);
    e.WmMouseUp(mbLeft, 0, 61, 18);
  });
  EXPECT_EQ(main->Get<TControl>("Label1").Caption(), "French");
}

TEST_F(WindowScaleTest, MovingToAMonitorOfAnotherScaleLaysTheWindowOutAgain) {
  ShowWindow();
  ExpectEveryControlAt({96});
  const TRect suggested{1400, 100, 1400 + 1120, 100 + 260};
  for (int round = 0; round < 3; ++round) {
    fp.windows.Deliver(main->Handle(), [&](IWindowEvents& e) { e.WmDpiChanged(120, suggested); });
    EXPECT_EQ(main->View().dpi, 120);
    EXPECT_EQ(fp.windows.WindowRect(main->Handle()), suggested) << "the system's rectangle is taken";
    ExpectEveryControlAt({120});
    fp.windows.Deliver(main->Handle(), [&](IWindowEvents& e) { e.WmDpiChanged(96, {36, 61, 36 + 891, 61 + 212}); });
    ExpectEveryControlAt({96});
  }
  EXPECT_EQ(main->ClientWidth(), 885);
  EXPECT_EQ(main->ClientHeight(), 190);
}

TEST_F(WindowScaleTest, HighContrastTakesTheSystemColoursForEveryTextAndBackground) {
  fp.windows.highContrast = true;
  ShowWindow();
  for (TControl* c : Controls()) {
    SCOPED_TRACE(c->Name());
    EXPECT_EQ(Native(*c).color, clWindow);
    EXPECT_EQ(Native(*c).font.color, clWindowText);
  }
  fake::RecordingCanvas slot = fp.windows.Paint(main->Get<TControl>("WideLabel9").Handle());
  for (const auto& op : slot.ops) {
    if (op.kind == fake::CanvasOp::Kind::FillRect) {
      EXPECT_EQ(op.brush, clWindow);
    }
    if (op.kind == fake::CanvasOp::Kind::TextOutW || op.kind == fake::CanvasOp::Kind::DrawTextW) {
      EXPECT_EQ(op.font.color, clWindowText);
    }
  }
  // Without it, the blue and yellow of the design.
  EXPECT_EQ(main->Get<TControl>("WideLabel9").Font()->Color(), clYellow);
}

TEST_F(WindowScaleTest, WithoutHighContrastTheDesignedColoursReachTheWindows) {
  ShowWindow();
  EXPECT_EQ(Native(main->Get<TControl>("WideLabel9")).font.color, clYellow);
  EXPECT_EQ(Native(*main).color, main->Color());
}

// ---- the remembered place

TEST(WindowPlace, PlacesOnScreenStayOthersComeWhollyOnScreen) {
  const std::vector<MonitorArea> two{{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true, 96},
                                     {{1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}, false, 144}};
  const TSize size{891, 212};
  struct Case {
    const char* name;
    TPoint wanted;
    TPoint expected;
  } cases[] = {
      {"on the primary", {36, 61}, {36, 61}},
      {"on the second monitor", {2000, 300}, {2000, 300}},
      {"over the task bar", {100, 900}, {100, 1040 - 212}},
      {"half off the right edge", {2800, 100}, {3200 - 891, 100}},
      {"astride two monitors, mostly the first", {1300, 100}, {1920 - 891, 100}},
      {"astride two monitors, mostly the second", {1700, 100}, {1920, 100}},
      {"where a third monitor was", {5000, 5000}, {1920 - 891, 1040 - 212}},
      {"left of every screen", {-3000, 50}, {0, 50}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TPoint p = PlaceOnScreen(c.wanted, size, two);
    EXPECT_EQ(p.x, c.expected.x);
    EXPECT_EQ(p.y, c.expected.y);
  }
}

TEST(WindowPlace, EachLayoutKeepsItsOwnPlaceAndDamageMeansNone) {
  const std::string one = "1280x1024+0+0", two = "1280x1024+0+0,1920x1080+1280+0";
  std::string v = WithPlace("", one, {10, 20});
  v = WithPlace(v, two, {1500, 30});
  v = WithPlace(v, one, {-5, 40});
  EXPECT_EQ(v, "1280x1024+0+0,1920x1080+1280+0=1500,30;1280x1024+0+0=-5,40");
  EXPECT_EQ(StoredPlace(v, one)->x, -5);
  EXPECT_EQ(StoredPlace(v, two)->x, 1500);
  EXPECT_FALSE(StoredPlace(v, "800x600+0+0"));
  for (const char* damaged : {"garbage", "1280x1024+0+0=10", "1280x1024+0+0=a,b", "=1,2", "1280x1024+0+0=1,2;x",
                              "1280x1024+0+0=99999999,1"})
    EXPECT_FALSE(StoredPlace(damaged, one)) << damaged;
  std::string many;
  for (int i = 0; i < 12; ++i) many = WithPlace(many, std::to_string(i) + "x1+0+0", {i, i});
  EXPECT_FALSE(StoredPlace(many, "0x1+0+0")) << "the oldest layouts give way";
  EXPECT_TRUE(StoredPlace(many, "11x1+0+0"));
}

class RememberedPlaceTest : public WindowScaleTest {
 protected:
  std::optional<std::string> Stored() {
    return fp.registry.GetString(HKEY_CURRENT_USER_, kSettingsKey, kPlaceValue);
  }
  // Starts the program again on the same machine (registry and screens); the new main window.
  TMain& StartAgain() {
    app2.reset();
    ctx2 = std::make_unique<AppContext>(fp.platform());
    ctx2->Service<TIvDictionaryStorage>().SetStore(&store);
    app2 = std::make_unique<TApplication>(*ctx2);
    CreateProgram(*app2);
    main = dynamic_cast<TMain*>(app2->MainForm());
    main->Show();
    return *main;
  }
  TPoint Place() {
    TRect r = fp.windows.WindowRect(main->Handle());
    return {r.left, r.top};
  }
  std::unique_ptr<AppContext> ctx2;
  std::unique_ptr<TApplication> app2;
};

TEST_F(RememberedPlaceTest, ClosedAtAPlaceItOpensThereAgain) {
  ShowWindow();
  EXPECT_EQ(Place().x, 36) << "the first time, the designed place";
  EXPECT_EQ(Place().y, 61);
  main->MoveTo({300, 250});
  main->Close();
  EXPECT_EQ(Stored(), "1280x1024+0+0=300,250");
  EXPECT_EQ(fp.registry.GetString(HKEY_CURRENT_USER_, kSettingsKey, kLanguageValue), "English")
      << "the language stays beside it";
  StartAgain();
  EXPECT_EQ(Place().x, 300);
  EXPECT_EQ(Place().y, 250);
}

TEST_F(RememberedPlaceTest, APlaceOffEveryScreenOpensWhollyOnThePrimary) {
  fp.registry.SetString(HKEY_CURRENT_USER_, kSettingsKey, kPlaceValue, "1280x1024+0+0=3000,-700");
  ShowWindow();
  TRect r = fp.windows.WindowRect(main->Handle());
  const TRect work = fp.windows.monitors[0].work;
  EXPECT_GE(r.left, work.left);
  EXPECT_GE(r.top, work.top);
  EXPECT_LE(r.right, work.right);
  EXPECT_LE(r.bottom, work.bottom);
  EXPECT_TRUE(fp.windows.messageBoxes.empty());
}

TEST_F(RememberedPlaceTest, AnotherLayoutOrABadValueIsTheFirstRun) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
  } cases[] = {
      {"another monitor layout's place",
       [&] { fp.registry.SetString(HKEY_CURRENT_USER_, kSettingsKey, kPlaceValue, "1920x1080+0+0=500,500"); }},
      {"a number instead of a text", [&] { fp.registry.SetDword(HKEY_CURRENT_USER_, kSettingsKey, kPlaceValue, 7); }},
      {"a damaged text",
       [&] { fp.registry.SetString(HKEY_CURRENT_USER_, kSettingsKey, kPlaceValue, "1280x1024+0+0=5;;"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.arrange();
    StartAgain();
    EXPECT_EQ(Place().x, 36);
    EXPECT_EQ(Place().y, 61);
    for (const auto& box : fp.windows.messageBoxes) EXPECT_EQ(box.text.find("data"), std::string::npos) << box.text;
    main->Close();
    if (std::string(c.name) != "another monitor layout's place")
      EXPECT_EQ(Stored(), "1280x1024+0+0=36,61") << "replaced by a good value at close";
    else
      EXPECT_EQ(Stored(), "1920x1080+0+0=500,500;1280x1024+0+0=36,61") << "the other layout's place is kept";
  }
}

}  // namespace
}  // namespace vsi
