#include "runtime/platform/desktop/deadline_timers.h"

#include <algorithm>
#include <vector>

namespace rt::desktop {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<DeadlineTimer*>& Timers() {
  static std::vector<DeadlineTimer*> timers;
  return timers;
}

bool timers_held = false;

}  // namespace

DeadlineTimer::DeadlineTimer(std::function<void()> on_tick) : on_tick_(std::move(on_tick)) {
  Timers().push_back(this);
}

DeadlineTimer::~DeadlineTimer() { std::erase(Timers(), this); }

void DeadlineTimer::SetInterval(int milliseconds) {
  interval_ = std::chrono::milliseconds(milliseconds);
  deadline_ = Clock::now() + interval_;
}

void DeadlineTimer::FireIfDue(Clock::time_point now) {
  if (!running() || now < deadline_) return;
  // The next tick keeps the beat; one that fell far behind starts afresh.
  deadline_ += interval_;
  if (deadline_ <= now) deadline_ = now + interval_;
  on_tick_();
}

void FireDueTimers(Clock::time_point now) {
  if (timers_held) return;
  const std::vector<DeadlineTimer*> timers = Timers();  // a tick may stop or start timers
  for (DeadlineTimer* timer : timers) {
    if (std::find(Timers().begin(), Timers().end(), timer) != Timers().end()) timer->FireIfDue(now);
  }
}

const timespec* UntilNextDeadline(timespec& storage) {
  if (timers_held) return nullptr;
  bool any = false;
  Clock::time_point next;
  for (const DeadlineTimer* timer : Timers()) {
    if (timer->running() && (!any || timer->deadline_ < next)) next = timer->deadline_;
    any = any || timer->running();
  }
  if (!any) return nullptr;
  const auto wait = std::max(Clock::duration::zero(), next - Clock::now());
  const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
  storage = {static_cast<time_t>(nanoseconds / 1000000000),
             static_cast<long>(nanoseconds % 1000000000)};
  return &storage;
}

void HoldTimers(bool held) {
  if (held == timers_held) return;
  timers_held = held;
  if (held) return;
  const Clock::time_point now = Clock::now();
  for (DeadlineTimer* timer : Timers()) timer->deadline_ = now + timer->interval_;
}

}  // namespace rt::desktop
