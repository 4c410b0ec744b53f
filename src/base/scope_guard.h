// A scope guard: runs a step when the scope it lives in is left, by return or
// by exception, unless dismissed. For one-off clean-ups that have no owner
// type of their own (a clipboard to close, a flag to reset).
#pragma once
#include <type_traits>
#include <utility>

namespace corvel {

template <class Step>
class ScopeExit {
 public:
  explicit ScopeExit(Step step) noexcept(std::is_nothrow_move_constructible_v<Step>) : step_(std::move(step)) {}
  ScopeExit(ScopeExit&& other) noexcept(std::is_nothrow_move_constructible_v<Step>)
      : step_(std::move(other.step_)), active_(std::exchange(other.active_, false)) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  ScopeExit& operator=(ScopeExit&&) = delete;
  // The step runs inside a destructor: it must not throw.
  ~ScopeExit() {
    if (active_) step_();
  }
  // The step is not run after all (the work it would undo succeeded).
  void Dismiss() noexcept { active_ = false; }

 private:
  Step step_;
  bool active_ = true;
};

}  // namespace corvel
