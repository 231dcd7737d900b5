#include "framework/second_ticker.h"

#include <algorithm>
#include <exception>

#include "framework/context.h"
#include "framework/timer.h"

namespace vsi {

SecondTicker::~SecondTicker() {
  if (timer_) context_.platform().windows.KillTimer(timer_);
}

int SecondTicker::Add(std::function<void()> callback) {
  if (!timer_) Align();
  const int id = nextId_++;
  // While ticking, the running callback lives in subscribers_: the new one waits beside.
  (ticking_ ? added_ : subscribers_).push_back(Subscriber{id, std::move(callback), false});
  return id;
}

void SecondTicker::Remove(int id) {
  for (std::vector<Subscriber>* list : {&subscribers_, &added_})
    for (Subscriber& s : *list)
      if (s.id == id) s.removed = true;
  // While ticking, a callback may be running: it goes after the tick.
  if (!ticking_) Sweep();
}

bool SecondTicker::Has(int id) const {
  for (const std::vector<Subscriber>* list : {&subscribers_, &added_})
    for (const Subscriber& s : *list)
      if (s.id == id && !s.removed) return true;
  return false;
}

void SecondTicker::Sweep() {
  for (Subscriber& s : added_) subscribers_.push_back(std::move(s));
  added_.clear();
  subscribers_.erase(std::remove_if(subscribers_.begin(), subscribers_.end(), [](const Subscriber& s) { return s.removed; }),
                     subscribers_.end());
  if (subscribers_.empty() && timer_) {
    context_.platform().windows.KillTimer(timer_);
    timer_ = 0;
    period_ = 0;
  }
}

void SecondTicker::Arm(uint32_t period) {
  IWindowSystem& windows = context_.platform().windows;
  if (timer_) windows.KillTimer(timer_);
  timer_ = 0;
  period_ = 0;
  timer_ = StartTimer(windows, period, [this] { Tick(); });
  period_ = period;
}

void SecondTicker::Align() {
  SystemTime now;
  context_.platform().system.GetLocalTime(now);
  const int ms = now.milliseconds;
  if (ms < kLateMs) {
    if (period_ != 1000) Arm(1000);  // just after the second: the next ticks follow a second apart
    return;
  }
  Arm(static_cast<uint32_t>(1000 - ms + kAfterSecondMs));  // once, to the next second
}

void SecondTicker::Tick() {
  // A callback may add subscribers (they run from the next tick) or remove some (they are
  // only marked until the tick is over).
  struct Ticking {
    SecondTicker& t;
    explicit Ticking(SecondTicker& ticker) : t(ticker) { t.ticking_ = true; }
    ~Ticking() {
      t.ticking_ = false;
      t.Sweep();
    }
  };
  // Each runs even when one before it fails; the first failure is reported after them.
  std::exception_ptr failure;
  {
    Ticking ticking(*this);
    for (Subscriber& s : subscribers_) {
      if (s.removed) continue;
      try {
        s.callback();
      } catch (...) {
        if (!failure) failure = std::current_exception();
      }
    }
  }
  if (timer_) Align();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace vsi
