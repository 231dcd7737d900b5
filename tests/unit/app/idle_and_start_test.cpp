// What the window costs while it sits on screen, and what its start waits for: each second
// redraws only the two controls it changed, and a name server that does not answer never
// holds up the window.
#include <chrono>
#include <future>
#include <map>
#include <set>

#include "app/languages.h"
#include "controls/ui_labels.h"
#include "facts_fixture.h"
#include "framework/second_ticker.h"
#include "i18n/binary_dictionary.h"
#include "probes/host_probe.h"
#include "sysinfo/sysinfo_base.h"

namespace vsi {
namespace {

using namespace std::chrono_literals;

class IdleAndStartTest : public FactsFixture {
 protected:
  // The one timer of the window's once-a-second work.
  fake::FakeWindowSystem::Timer& SecondTimer() {
    auto it = fp.windows.timers.find(ctx.Service<SecondTicker>().Timer());
    if (it == fp.windows.timers.end()) throw std::runtime_error("no timer for the second");
    return it->second;
  }
};

// One wake-up a second: the CPU sample and the clock's time are taken in the same tick, and
// only their two controls are drawn again, at once.
TEST_F(IdleAndStartTest, EachSecondRedrawsOnlyTheCpuSlotAndTheClock) {
  ShowWindow();
  EXPECT_FALSE(ctx.Service<PollingTimer>().Timer()) << "the clock has no timer of its own";
  const std::set<std::string> ticking = {"WideLabel6", "UiClockStatus1"};
  // The CPU slot's first tick changes its text from the blank it was made with.
  fp.system.AdvanceTime(1000);  // a new second for the clock to show
  std::map<WindowHandle, WideString> texts;
  for (auto& [handle, window] : fp.windows.windows) {
    window.invalidationLog.clear();
    texts[handle] = window.text;
  }
  SecondTimer().callback();
  std::set<WindowHandle> changed;
  for (const std::string& name : ticking) changed.insert(main->Get<TControl>(name).Handle());
  for (auto& [handle, window] : fp.windows.windows) {
    if (changed.count(handle)) {
      EXPECT_NE(window.text, texts[handle]) << "its window text";
      ASSERT_EQ(window.invalidationLog.size(), 1u);
      EXPECT_TRUE(window.invalidationLog[0].whole);
      EXPECT_TRUE(window.invalidationLog[0].now) << "drawn at once, without a paint message";
    } else {
      EXPECT_EQ(window.text, texts[handle]) << Utf16ToUtf8(window.text);
      EXPECT_TRUE(window.invalidationLog.empty()) << Utf16ToUtf8(window.text) << " redrawn";
    }
  }
  for (auto& m : fp.windows.messageBoxes) ADD_FAILURE() << m.text;
}

TEST_F(IdleAndStartTest, ObjectsNoSlotShowsAreReadOnlyAfterTheWindowIsPainted) {
  CreateProgram(app);
  main = dynamic_cast<TMain*>(app.MainForm());
  // Every component that retrieves at start, by what the window does with it.
  std::vector<std::string> shown, unshown;
  for (int i = 0; i < main->ComponentCount(); ++i) {
    auto* c = dynamic_cast<TSysBaseComponent*>(main->Components(i));
    if (!c || !c->AutoRetrieve()) continue;
    const bool read = c == main->FindComponent("SysWindows1") || c == main->FindComponent("SysDrive1");
    (read ? shown : unshown).push_back(c->Name());
    EXPECT_EQ(c->Retrieved(), read) << c->Name() << " when the window was made";
  }
  EXPECT_EQ(shown.size(), 2u);
  EXPECT_FALSE(unshown.empty());
  EXPECT_EQ(main->DeferredRetrievals(), unshown);

  const size_t timers = fp.windows.ArmedTimers();
  main->Show();
  for (const FactRow& row : kFactRows)
    if (row.fact != Fact::CpuUsage) {
      EXPECT_NE(Slot(row.slot), " ") << row.slot;
    }
  for (const std::string& name : unshown)
    EXPECT_FALSE(main->Get<TSysBaseComponent>(name).Retrieved()) << name << " before the first paint";
  // A timer's turn comes only after the window has painted (WM_TIMER after WM_PAINT; the
  // fake runs timers only when told to).
  ASSERT_EQ(fp.windows.ArmedTimers(), timers + 1);
  fp.windows.TickTimers();
  for (const std::string& name : unshown) EXPECT_TRUE(main->Get<TSysBaseComponent>(name).Retrieved()) << name;
  EXPECT_EQ(fp.windows.ArmedTimers(), timers) << "a timer of one turn";
  EXPECT_TRUE(main->DeferredRetrievals().empty());
  for (auto& m : fp.windows.messageBoxes) ADD_FAILURE() << m.text;
}

TEST_F(IdleAndStartTest, ARefusedTimerForTheDeferredRetrievalsIsReportedAsForEveryTimer) {
  CreateProgram(app);
  main = dynamic_cast<TMain*>(app.MainForm());
  ASSERT_FALSE(main->DeferredRetrievals().empty());
  fp.windows.failTimers = true;
  std::string error;
  try {
    main->Show();
  } catch (const std::exception& e) {
    error = e.what();
  }
  for (auto& m : fp.windows.messageBoxes) error += m.text;
  EXPECT_EQ(error.rfind("Not enough timers available", 0), 0u) << error;
}

TEST_F(IdleAndStartTest, TheDictionaryFileIsReadOnceForAllLanguages) {
  ShowWindow();
  for (const LanguageRow& row : kLanguages) main->Get<TControl>(row.button).Click();
  main->Get<TControl>("SpeedButton6").Click();
  EXPECT_EQ(main->Get<TControl>("Label1").Caption(), "English");
  EXPECT_EQ(main->Get<TIvBinaryDictionary>("IvDictionary1").StreamLoads(), 1);
}

TEST_F(IdleAndStartTest, TheWindowFillsWhileTheAddressLookupHangs) {
  // A name server that answers only when the test lets it (or after 10 s, so that a lookup on
  // the window's own path fails this test instead of hanging it).
  std::promise<void> entered, release;
  std::shared_future<void> released = release.get_future().share();
  int entries = 0;
  fp.sockets.whileResolving = [&](const std::string&) {
    if (++entries == 1) entered.set_value();
    released.wait_for(10s);
  };
  CreateProgram(app);
  main = dynamic_cast<TMain*>(app.MainForm());
  EXPECT_EQ(fp.sockets.lookups, 0) << "making the window looked the addresses up";

  // Someone asks for the addresses, and waits for the name server.
  const TAVTools& tools = main->Get<TAVTools>("AVTools1");
  std::future<AnsiString> addresses = std::async(std::launch::async, [&] { return tools.IPAddress(); });
  ASSERT_EQ(entered.get_future().wait_for(10s), std::future_status::ready);

  main->Show();
  fp.windows.TickTimers();
  for (const FactRow& row : kFactRows) EXPECT_NE(Slot(row.slot), " ") << row.slot << " is still blank";
  EXPECT_EQ(Slot("WideLabel27"), "velmora-pc");
  EXPECT_EQ(main->Get<TMemo>("Memo2").Text(), "Host Name . . . : velmora\r\nNode Type . . . : Hybrid\r\n");
  EXPECT_EQ(addresses.wait_for(0s), std::future_status::timeout) << "the lookup should still be waiting";

  release.set_value();
  EXPECT_EQ(addresses.get(), "192.168.1.20 ");
  EXPECT_EQ(fp.sockets.lookups, 1);
  EXPECT_EQ(fp.sockets.startups, fp.sockets.cleanups);
}

}  // namespace
}  // namespace vsi
