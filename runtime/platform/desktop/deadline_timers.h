// Timers for an event loop that sleeps in ppoll: each fires on a monotonic
// deadline, and the loop sleeps no longer than the nearest one.
#pragma once

#include <time.h>

#include <chrono>
#include <functional>

#include "runtime/platform/native.h"

namespace rt::desktop {

class DeadlineTimer : public native::TimerSource {
 public:
  explicit DeadlineTimer(std::function<void()> on_tick);
  ~DeadlineTimer() override;
  DeadlineTimer(const DeadlineTimer&) = delete;
  DeadlineTimer& operator=(const DeadlineTimer&) = delete;
  void SetInterval(int milliseconds) override;

 private:
  friend void FireDueTimers(std::chrono::steady_clock::time_point now);
  friend const timespec* UntilNextDeadline(timespec& storage);
  friend void HoldTimers(bool held);
  // Fires when due and sets the next deadline.
  void FireIfDue(std::chrono::steady_clock::time_point now);
  bool running() const { return interval_.count() > 0; }

  std::function<void()> on_tick_;
  std::chrono::milliseconds interval_{0};
  std::chrono::steady_clock::time_point deadline_;
};

void FireDueTimers(std::chrono::steady_clock::time_point now);
// How long ppoll may sleep: until the next timer is due, or for ever (null).
const timespec* UntilNextDeadline(timespec& storage);
// While held (nobody can see what the timers would draw), no timer fires
// and the loop sleeps until an event; once released, each timer starts a
// fresh interval, as if the program had been paused.
void HoldTimers(bool held);

}  // namespace rt::desktop
