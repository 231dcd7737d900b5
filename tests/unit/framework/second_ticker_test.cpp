#include "framework/second_ticker.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/exceptions.h"
#include "framework/timer.h"

namespace vsi {
namespace {

class SecondTickerTest : public ::testing::Test {
 protected:
  // Runs the ticker's timer once at this many milliseconds into the local second.
  void TickAt(int ms) {
    fp.system.localTime.milliseconds = static_cast<uint16_t>(ms);
    fp.windows.TickTimers();
  }
  uint32_t ArmedPeriod() { return fp.windows.timers.at(ticker.Timer()).interval; }

  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  SecondTicker& ticker = ctx.Service<SecondTicker>();
};

// The timer goes once to just after the next second, then runs a second apart; a tick that
// comes late (the system time was set) sets it again.
TEST_F(SecondTickerTest, SettlesJustAfterTheSecondAndComesBackWhenMoved) {
  constexpr int kAfter = SecondTicker::kAfterSecondMs;
  fp.system.localTime.milliseconds = 250;
  int ticks = 0;
  ticker.Add([&] { ++ticks; });
  EXPECT_EQ(ArmedPeriod(), 1000u - 250 + kAfter);
  struct Step {
    int ms;           // into the second when the tick runs
    uint32_t period;  // the timer's period after it
    bool remade;      // whether that tick set the timer again
  } steps[] = {
      {kAfter, 1000, true}, {kAfter + 3, 1000, false}, {0, 1000, false}, {600, 1000 - 600 + kAfter, true}, {kAfter, 1000, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.ms);
    const uintptr_t before = ticker.Timer();
    TickAt(step.ms);
    EXPECT_EQ(ticker.Period(), step.period);
    EXPECT_EQ(ArmedPeriod(), step.period);
    EXPECT_EQ(ticker.Timer() != before, step.remade);
    EXPECT_EQ(fp.windows.ArmedTimers(), 1u) << "the old timer goes when it is set again";
  }
  EXPECT_EQ(ticks, 5);
}

// Everything that changes once a second is served by one timer in one tick, in the order
// added; the timer ends with the last.
TEST_F(SecondTickerTest, OneTimerServesEveryoneInOrder) {
  std::vector<char> order;
  const int a = ticker.Add([&] { order.push_back('a'); });
  TComponent owner(ctx);
  TTimer* once = new TTimer(&owner);
  once->SetInterval(1000);
  once->SetOnTimer([&](TObject*) { order.push_back('t'); });
  EXPECT_EQ(fp.windows.ArmedTimers(), kTimerSpeedUp == 1 ? 1u : 2u) << "a one-second timer has none of its own";
  if (kTimerSpeedUp != 1) return;
  TickAt(SecondTicker::kAfterSecondMs);
  EXPECT_EQ(order, (std::vector<char>{'a', 't'}));
  ticker.Remove(a);
  delete once;
  EXPECT_EQ(fp.windows.ArmedTimers(), 0u);
  EXPECT_EQ(ticker.Timer(), 0u);
}

// What a tick's callbacks add runs from the next tick; what they remove does not run again;
// one that fails does not keep the others from running, and its failure still comes out.
TEST_F(SecondTickerTest, CallbacksMayAddRemoveAndFail) {
  std::vector<char> order;
  int late = 0, third = 0;
  third = ticker.Add([&] { order.push_back('3'); });
  ticker.Add([&] {
    order.push_back('1');
    if (!late) late = ticker.Add([&] { order.push_back('L'); });
    ticker.Remove(third);
  });
  // Added after: runs after the others in the first tick.
  ticker.Add([&] { throw std::runtime_error("sample failed"); });
  ticker.Add([&] { order.push_back('4'); });
  EXPECT_THROW(TickAt(SecondTicker::kAfterSecondMs), std::runtime_error);
  EXPECT_EQ(order, (std::vector<char>{'3', '1', '4'}));
  EXPECT_FALSE(ticker.Has(third));
  EXPECT_TRUE(ticker.Has(late));
  order.clear();
  EXPECT_THROW(TickAt(SecondTicker::kAfterSecondMs), std::runtime_error);
  EXPECT_EQ(order, (std::vector<char>{'1', '4', 'L'}));
  EXPECT_EQ(fp.windows.ArmedTimers(), 1u) << "a failing tick keeps the timer";
}

TEST_F(SecondTickerTest, ARefusedTimerIsReportedAndLeavesNothingBehind) {
  fp.windows.failTimers = true;
  EXPECT_THROW(ticker.Add([] {}), EOutOfResources);
  EXPECT_EQ(ticker.Timer(), 0u);
  fp.windows.failTimers = false;
  int ticks = 0;
  ticker.Add([&] { ++ticks; });
  TickAt(SecondTicker::kAfterSecondMs);
  EXPECT_EQ(ticks, 1) << "only the callback added once the timer could be made";
}

}  // namespace
}  // namespace vsi
