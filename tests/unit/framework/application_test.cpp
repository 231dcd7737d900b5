#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/forms.h"
#include "framework/timer.h"

namespace vsi {
namespace {

TEST(ErrorBoxTest, FullStopRule) {
  struct Case {
    const char* message;
    const char* shown;
  } cases[] = {
      {"CPU index out of bounds", "CPU index out of bounds."},
      {"Failed to get data for 'Language1'", "Failed to get data for 'Language1'"},  // ' sorts before .
      {"Version 2", "Version 2."},
      {"Done.", "Done."},
      {"Stop!", "Stop!"},
      {"(closed)", "(closed)"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(WithFullStop(c.message), c.shown) << c.message;
}

class ApplicationTest : public ::testing::Test {
 protected:
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TApplication app{ctx};
};

TEST_F(ApplicationTest, AnExceptionFromATimerIsShownOncePerTickAndTheProgramGoesOn) {
  app.SetTitle("Velmora System Info 1.0");
  auto* form = app.CreateForm<TForm>();
  auto* timer = new TTimer(form);
  int ticks = 0;
  timer->SetOnTimer([&](TObject*) {
    ++ticks;
    throw Exception("Unable to read performance data");
  });
  fp.windows.TickTimers();
  fp.windows.TickTimers();
  EXPECT_EQ(ticks, 2);
  ASSERT_EQ(fp.windows.messageBoxes.size(), 2u);
  EXPECT_EQ(fp.windows.messageBoxes[0].text, "Unable to read performance data.");
  EXPECT_EQ(fp.windows.messageBoxes[0].caption, "Velmora System Info 1.0");
  EXPECT_EQ(fp.windows.messageBoxes[0].type, MB_OK_ | MB_ICONERROR_);
}

TEST_F(ApplicationTest, ARefusedTimerRaisesNotEnoughTimers) {
  auto* form = app.CreateForm<TForm>();
  fp.windows.failTimers = true;
  auto* timer = new TTimer(form);
  try {
    timer->SetOnTimer([](TObject*) {});
    FAIL() << "no error";
  } catch (const EOutOfResources& e) {
    EXPECT_STREQ(e.what(), "Not enough timers available");
  }
}

TEST_F(ApplicationTest, TimerArmsWhenItsHandlerIsAttachedAndStopsWhenDisabled) {
  auto* form = app.CreateForm<TForm>();
  // The default second goes with the second's shared timer; another interval has its own.
  for (int interval : {1000, 250}) {
    SCOPED_TRACE(interval);
    auto* timer = new TTimer(form);
    timer->SetInterval(interval);
    EXPECT_EQ(fp.windows.ArmedTimers(), 0u) << "nothing to run yet";
    timer->SetOnTimer([](TObject*) {});
    ASSERT_EQ(fp.windows.ArmedTimers(), 1u);
    if (interval != 1000 || kTimerSpeedUp != 1) {
      EXPECT_EQ(fp.windows.timers.begin()->second.interval, static_cast<uint32_t>(interval / kTimerSpeedUp));
    }
    timer->SetEnabled(false);
    EXPECT_EQ(fp.windows.ArmedTimers(), 0u);
    timer->SetEnabled(true);
    delete timer;
    EXPECT_EQ(fp.windows.ArmedTimers(), 0u) << "freed with its component";
  }
}

TEST_F(ApplicationTest, ShowCreatesChildWindowsBeforeTheShowHandlerRunsOnce) {
  auto* form = app.CreateForm<TForm>();
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetCaption("Hello");
  bool childExisted = false;
  int shows = 0;
  form->OnShow = [&](TObject*) {
    ++shows;
    childExisted = label->HandleAllocated();
  };
  form->Show();
  form->Hide();
  form->Show();
  EXPECT_EQ(shows, 1);
  EXPECT_TRUE(childExisted);
  EXPECT_EQ(fp.windows.Window(label->Handle()).text, u"Hello");
  EXPECT_EQ(fp.windows.Window(label->Handle()).params.parent, form->Handle());
}

TEST_F(ApplicationTest, AControlOverlappingAnEarlierSiblingAsksToLieAboveIt) {
  // Caption labels run a pixel into their slots: the later one must show there.
  auto* form = app.CreateForm<TForm>();
  auto add = [&](int left, int top) {
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(left, top, 100, 14);
    return label;
  };
  TLabel* caption = add(10, 10);
  TLabel* slot = add(109, 10);      // one pixel over the caption
  TLabel* apart = add(10, 40);      // touches nothing
  TLabel* touching = add(110, 40);  // edge to edge with `apart`: no common pixel
  form->Show();
  EXPECT_FALSE(fp.windows.Window(caption->Handle()).params.overlapsEarlier);
  EXPECT_TRUE(fp.windows.Window(slot->Handle()).params.overlapsEarlier);
  EXPECT_FALSE(fp.windows.Window(apart->Handle()).params.overlapsEarlier);
  EXPECT_FALSE(fp.windows.Window(touching->Handle()).params.overlapsEarlier);
}

TEST_F(ApplicationTest, AFailingShowHandlerIsReportedAndTheWindowStaysShown) {
  auto* form = app.CreateForm<TForm>();
  form->OnShow = [](TObject*) { throw Exception("Invalid data type for 'Language1'"); };
  form->Show();
  EXPECT_TRUE(fp.windows.Window(form->Handle()).visible);
  ASSERT_EQ(fp.windows.messageBoxes.size(), 1u);
  EXPECT_EQ(fp.windows.messageBoxes[0].text, "Invalid data type for 'Language1'");
}

TEST_F(ApplicationTest, ClosingTheMainFormEndsTheLoop) {
  auto* form = app.CreateForm<TForm>();
  int closes = 0;
  form->OnClose = [&](TObject*) { ++closes; };
  form->Show();
  form->Close();
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(fp.windows.quitPosted);
}

}  // namespace
}  // namespace vsi

namespace vsi {
namespace {

TEST_F(ApplicationTest, ClosingAnotherWindowOnlyHidesIt) {
  auto* main = app.CreateForm<TForm>();
  auto* other = app.CreateForm<TForm>();
  main->Show();
  other->Show();
  other->Close();
  EXPECT_FALSE(other->Showing());
  EXPECT_TRUE(other->HandleAllocated()) << "kept with its state";
  EXPECT_FALSE(fp.windows.Window(other->Handle()).visible);
  EXPECT_FALSE(fp.windows.quitPosted);
  other->Show();
  EXPECT_TRUE(fp.windows.Window(other->Handle()).visible);
}

}  // namespace
}  // namespace vsi
