#pragma once
// One timer for everything that changes once a second (the clock's text, the CPU sample):
// it fires just after each second of the local time begins, so the texts change within a few
// milliseconds of the second and all of them are served in one wake-up of the process, not
// one wake-up each. A tick that finds itself away from that moment (the system time was set,
// the timer drifted) puts the timer back on it.
#include <cstdint>
#include <functional>
#include <vector>

namespace vsi {

class AppContext;

class SecondTicker {
 public:
  // How long after the second begins the tick comes: enough for a timer that fires a little
  // early to still see the new second.
  static constexpr int kAfterSecondMs = 20;
  // A tick this late into its second puts the timer back on the second.
  static constexpr int kLateMs = 100;

  explicit SecondTicker(AppContext& context) : context_(context) {}
  ~SecondTicker();
  SecondTicker(const SecondTicker&) = delete;
  SecondTicker& operator=(const SecondTicker&) = delete;

  // Runs `callback` on every tick, in the order added, until Remove(id). The system may
  // refuse the timer: "Not enough timers available".
  int Add(std::function<void()> callback);
  void Remove(int id);
  bool Has(int id) const;

  // The platform timer and its current period (0 when there is no timer).
  uintptr_t Timer() const { return timer_; }
  uint32_t Period() const { return period_; }

 private:
  struct Subscriber {
    int id;
    std::function<void()> callback;
    bool removed;
  };
  void Tick();
  // Drops what was removed, takes in what was added during a tick, and ends the timer when
  // nothing is left.
  void Sweep();
  void Arm(uint32_t period);
  // Keeps the timer on the second, or sets it again to get there.
  void Align();

  AppContext& context_;
  std::vector<Subscriber> subscribers_;
  std::vector<Subscriber> added_;
  int nextId_ = 1;
  bool ticking_ = false;
  uintptr_t timer_ = 0;
  uint32_t period_ = 0;
};

}  // namespace vsi
