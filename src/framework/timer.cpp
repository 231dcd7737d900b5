#include "framework/timer.h"

#include "framework/context.h"
#include "framework/second_ticker.h"

namespace vsi {

const ClassInfo& TTimer::StaticClass() {
  static ClassInfo info = [] {
    ClassInfo i = ClassBuilder<TTimer>("TTimer", &TComponent::StaticClass())
                      .Creatable()
                      .Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
                      .Int("Interval", &TTimer::Interval, &TTimer::SetInterval)
                      .Build();
    PropInfo p;
    p.name = "OnTimer";
    p.kind = PropKind::Event;
    p.get = [](const TObject& o) { return PropValue(static_cast<const TTimer&>(o).OnTimer()); };
    p.set = [](TObject& o, const PropValue& v) { static_cast<TTimer&>(o).SetOnTimer(std::get<TNotifyEvent>(v)); };
    i.props.push_back(std::move(p));
    return i;
  }();
  return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() { Stop(); }

void TTimer::Stop() {
  if (timer_) Plat().windows.KillTimer(timer_);
  timer_ = 0;
  if (onSecond_) {
    if (SecondTicker* ticker = Context().FindService<SecondTicker>()) ticker->Remove(onSecond_);
    onSecond_ = 0;
  }
}

void TTimer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  UpdateTimer();
}

void TTimer::SetInterval(int ms) {
  if (ms == interval_) return;
  interval_ = ms;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = std::move(handler);
  UpdateTimer();
}

void TTimer::Tick() { Fire(onTimer_, this); }

void TTimer::UpdateTimer() {
  Stop();
  if (!enabled_ || interval_ <= 0 || !onTimer_) return;
  if (interval_ == 1000 && kTimerSpeedUp == 1) {
    // A once-a-second timer goes with the second's tick, in the same wake-up as the clock.
    onSecond_ = Context().Service<SecondTicker>().Add([this] { Tick(); });
    return;
  }
  IWindowSystem& windows = Plat().windows;
  int period = interval_ / kTimerSpeedUp;
  timer_ = windows.SetTimer(static_cast<uint32_t>(period > 0 ? period : 1), [this] { Tick(); });
  if (!timer_) throw EOutOfResources("Not enough timers available");
}

}  // namespace vsi
