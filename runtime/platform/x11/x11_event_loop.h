// The X backend's event loop: window events go to the window they are for,
// timers fire on monotonic deadlines, and the loop sleeps in ppoll until the
// next event or deadline (the timers are desktop::DeadlineTimer).
#pragma once

#include <xcb/xcb.h>

#include <functional>

#include "runtime/platform/native.h"

namespace rt::x11 {

class EventTarget {
 public:
  virtual ~EventTarget() = default;
  virtual void HandleEvent(const xcb_generic_event_t& event) = 0;
  // The screen has a new size (X11Connection's screen holds it).
  virtual void ScreenResized() {}
};

void Watch(xcb_window_t window, EventTarget* target);
void Unwatch(xcb_window_t window);

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
