#pragma once
// A timer component: OnTimer every Interval milliseconds while Enabled, run from the message
// loop. The system may refuse a timer: "Not enough timers available".
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
  bool enabled_ = true;
  int interval_ = 1000;
  TNotifyEvent onTimer_;
  uintptr_t timer_ = 0;
};

// Timers run this many times faster in the soak-test build.
#ifdef VSI_FAST_TIMERS
constexpr int kTimerSpeedUp = 20;
#else
constexpr int kTimerSpeedUp = 1;
#endif

}  // namespace vsi
