#pragma once
// Restore on exit: `ScopeExit restore{[&] { ... }};` runs the lambda when the scope ends, by
// return or by exception. Dismiss() makes it an undo that runs only on the way out of a failure.
#include <exception>
#include <utility>

namespace vsi {

template <class Restore>
class [[nodiscard]] ScopeExit {
 public:
  explicit ScopeExit(Restore restore) : restore_(std::move(restore)), uncaught_(std::uncaught_exceptions()) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

  // A failing restore reports itself on a normal exit; while an exception is already on its
  // way out, that first failure is the one the caller gets.
  ~ScopeExit() noexcept(false) {
    if (!armed_) return;
    if (std::uncaught_exceptions() > uncaught_) {
      try {
        restore_();
      } catch (...) {
      }
    } else {
      restore_();
    }
  }

  void Dismiss() { armed_ = false; }

 private:
  Restore restore_;
  int uncaught_;
  bool armed_ = true;
};

}  // namespace vsi
