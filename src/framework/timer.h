#pragma once
// A timer component: OnTimer every Interval milliseconds while Enabled, run from the message
// loop. The system may refuse a timer: "Not enough timers available". A timer of exactly one
// second ticks with the SecondTicker, just after each second of the local time begins; its
// first tick comes within the first second.
#include <cstdint>

#include "framework/component.h"

namespace vsi {

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
  void Stop();
  bool enabled_ = true;
  int interval_ = 1000;
  TNotifyEvent onTimer_;
  uintptr_t timer_ = 0;
  int onSecond_ = 0;  // the SecondTicker subscription of a once-a-second timer
};

// Timers run this many times faster in the soak-test build.
#ifdef VSI_FAST_TIMERS
constexpr int kTimerSpeedUp = 20;
#else
constexpr int kTimerSpeedUp = 1;
#endif

}  // namespace vsi
