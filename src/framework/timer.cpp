#include "framework/timer.h"

#include <utility>

#include "framework/context.h"
#include "framework/exceptions.h"
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

uintptr_t StartTimer(IWindowSystem& windows, uint32_t period, std::function<void()> callback) {
  const uintptr_t timer = windows.SetTimer(period, std::move(callback));
  if (!timer) throw EOutOfResources("Not enough timers available");
  return timer;
}

void RepeatingCall::Every(int interval, std::function<void()> callback) {
  const int sped = interval / kTimerSpeedUp;
  const uint32_t period = static_cast<uint32_t>(sped > 0 ? sped : 1);
  if (timer_ && period_ == period) return;
  Stop();
  timer_ = StartTimer(context_.platform().windows, period, std::move(callback));
  period_ = period;
}

void RepeatingCall::WithTheSecond(std::function<void()> callback) {
  if (onSecond_) return;
  Stop();
  onSecond_ = context_.Service<SecondTicker>().Add(std::move(callback));
}

void RepeatingCall::Stop() {
  if (timer_) context_.platform().windows.KillTimer(timer_);
  timer_ = 0;
  period_ = 0;
  if (onSecond_) {
    if (SecondTicker* ticker = context_.FindService<SecondTicker>()) ticker->Remove(onSecond_);
    onSecond_ = 0;
  }
}

TTimer::TTimer(TComponent* owner) : TComponent(owner), repeat_(Context()) {}

TTimer::~TTimer() = default;

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
  // Any change starts the count again, as a new timer would.
  repeat_.Stop();
  if (!enabled_ || interval_ <= 0 || !onTimer_) return;
  // A once-a-second timer goes with the second's tick, in the same wake-up as the clock.
  if (interval_ == 1000 && kTimerSpeedUp == 1)
    repeat_.WithTheSecond([this] { Tick(); });
  else
    repeat_.Every(interval_, [this] { Tick(); });
}

}  // namespace vsi
