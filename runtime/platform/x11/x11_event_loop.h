// The X backend's event loop: window events go to the window they are for,
// timers fire on monotonic deadlines, and the loop sleeps in ppoll until the
// next event or deadline.
#pragma once

#include <xcb/xcb.h>

#include <chrono>
#include <functional>

#include "runtime/platform/native.h"

namespace rt::x11 {

class EventTarget {
 public:
  virtual ~EventTarget() = default;
  virtual void HandleEvent(const xcb_generic_event_t& event) = 0;
};

void Watch(xcb_window_t window, EventTarget* target);
void Unwatch(xcb_window_t window);

class X11Timer : public native::TimerSource {
 public:
  explicit X11Timer(std::function<void()> on_tick);
  ~X11Timer() override;
  X11Timer(const X11Timer&) = delete;
  X11Timer& operator=(const X11Timer&) = delete;
  void SetInterval(int milliseconds) override;
  // Fires when due and sets the next deadline.
  void FireIfDue(std::chrono::steady_clock::time_point now);
  bool running() const { return interval_.count() > 0; }
  std::chrono::steady_clock::time_point deadline() const { return deadline_; }

 private:
  std::function<void()> on_tick_;
  std::chrono::milliseconds interval_{0};
  std::chrono::steady_clock::time_point deadline_;
};

// Sends what is buffered, then handles the events already received or
// readable and the timers that are due, without waiting.
void DoEvents();
// As DoEvents, at once: DoEvents looks at the socket at most once every
// few milliseconds, since the program calls it hundreds of times a tick.
void ProcessPending();

// Waits for an event or a due timer, then handles what is pending.
void WaitEvents();
// SIGTERM, SIGINT and SIGHUP go to report, from the event loop (at the
// latest at the next DoEvents or wait).
void ReportSignals(std::function<void()> report);

}  // namespace rt::x11
