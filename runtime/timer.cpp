#include "runtime/timer.h"

#include "runtime/bench_probe.h"
#include "runtime/event_guard.h"
#include "runtime/runtime_error.h"

namespace rt {

Timer::Timer(Form& form, std::function<void()> handler)
    : Control(form), handler_(std::move(handler)) {}

Timer::~Timer() = default;

void Timer::SetInterval(int32_t milliseconds) {
  if (milliseconds < 0 || milliseconds > 65535) Raise(kInvalidPropertyValue);
  interval_ = milliseconds;
  if (source_) source_->SetInterval(interval_);
}

void Timer::CreateNative() {
  source_ = native::CreateTimerSource([this] { Fire(); });
  source_->SetInterval(interval_);
}

void Timer::DestroyNative() { source_.reset(); }

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
