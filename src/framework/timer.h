#pragma once
// A timer component: OnTimer every Interval milliseconds while Enabled, run from the message
// loop. The system may refuse a timer: "Not enough timers available". A timer of exactly one
// second ticks with the SecondTicker, just after each second of the local time begins; its
// first tick comes within the first second.
#include <cstdint>
#include <functional>

#include "framework/component.h"

namespace vsi {

class AppContext;
class IWindowSystem;

// Timers run this many times faster in the soak-test build.
#ifdef VSI_FAST_TIMERS
constexpr int kTimerSpeedUp = 20;
#else
constexpr int kTimerSpeedUp = 1;
#endif

// A platform timer; the system may refuse it: "Not enough timers available".
uintptr_t StartTimer(IWindowSystem& windows, uint32_t period, std::function<void()> callback);

// A callback run from the message loop again and again: every `interval` ms by a timer of its
// own (sped up in the soak-test build, at least 1 ms), or with the SecondTicker's tick. Asking
// for what already runs keeps it as it is; it stops when destroyed.
class RepeatingCall {
 public:
  explicit RepeatingCall(AppContext& context) : context_(context) {}
  ~RepeatingCall() { Stop(); }
  RepeatingCall(const RepeatingCall&) = delete;
  RepeatingCall& operator=(const RepeatingCall&) = delete;

  void Every(int interval, std::function<void()> callback);
  void WithTheSecond(std::function<void()> callback);
  void Stop();
  bool Running() const { return timer_ != 0 || onSecond_ != 0; }
  // The own timer, 0 while it goes with the second.
  uintptr_t Timer() const { return timer_; }
  bool GoesWithTheSecond() const { return onSecond_ != 0; }

 private:
  AppContext& context_;
  uintptr_t timer_ = 0;
  uint32_t period_ = 0;
  int onSecond_ = 0;  // the SecondTicker subscription
};

class TTimer : public TComponent {
  VSI_CLASS(TTimer)
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  const TNotifyEvent& OnTimer() const { return onTimer_; }
  void SetOnTimer(TNotifyEvent handler);
  // Runs the handler as a tick would.
  void Tick();

 private:
  void UpdateTimer();
  bool enabled_ = true;
  int interval_ = 1000;
  TNotifyEvent onTimer_;
  RepeatingCall repeat_;
};

}  // namespace vsi
