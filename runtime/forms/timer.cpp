#include "runtime/forms/timer.h"

#include <vector>

#include "runtime/forms/backend_choice.h"
#include "runtime/forms/event_guard.h"
#include "runtime/language/runtime_error.h"
#include "runtime/platform/bench_probe.h"

namespace rt {
namespace {

// Never destroyed: a form that is a static of its own (the program's forms
// are) may hold a timer that goes only after this list would have.
std::vector<Timer*>& Timers() {
  static auto* const timers = new std::vector<Timer*>;
  return *timers;
}

}  // namespace

void StopAllTimers() {
  for (Timer* timer : Timers()) timer->Silence();
}

Timer::Timer(Form& form, std::function<void()> handler)
    : Control(form), handler_(std::move(handler)) {
  Timers().push_back(this);
}

Timer::~Timer() { std::erase(Timers(), this); }

void Timer::SetInterval(int32_t milliseconds) {
  if (milliseconds < 0 || milliseconds > 65535) Raise(kInvalidPropertyValue);
  interval_ = milliseconds;
  if (source_) source_->SetInterval(interval_);
}

void Timer::CreateNative() {
  source_ = RunBackend().CreateTimerSource([this] { Fire(); });
  source_->SetInterval(interval_);
}

void Timer::DestroyNative() { source_.reset(); }

void Timer::Silence() {
  if (source_) source_->SetInterval(0);
}

void Timer::Fire() {
  if (in_handler_) return;
  in_handler_ = true;
  {
    [[maybe_unused]] const bench::TickScope tick;
    RunGuarded(handler_);
  }
  in_handler_ = false;
}

}  // namespace rt
