#include "runtime/platform/wayland/wayland_event_loop.h"

#include <poll.h>

#include <chrono>

#include "runtime/platform/desktop/deadline_timers.h"
#include "runtime/platform/wayland/wayland_connection.h"
#include "runtime/platform/wayland/wayland_seat.h"
#include "runtime/platform/wayland/wayland_window.h"

namespace rt::wayland {
namespace {

using Clock = std::chrono::steady_clock;

// Input five milliseconds late is not felt; a look is a system call.
constexpr auto kLookInterval = std::chrono::milliseconds(5);
// A compositor owes a frame for this long only when nobody can see it (the
// screen off, or covered where it stops drawing what is covered). Timers
// then stop until a frame comes, and the rain goes on as if paused: nobody
// watching, nothing spent.
constexpr auto kUnseenAfter = std::chrono::milliseconds(500);

bool Unseen() { return WaylandWindow::UnseenSince(Clock::now() - kUnseenAfter); }

Clock::time_point last_look;

// Reads what the compositor sent, waiting as long as the deadline allows.
void Pump(const timespec* timeout, bool going_idle) {
  Connection* connection = Connection::Get();
  wl_display* display = connection->display();
  WaylandWindow::PresentAll(going_idle);
  // Events already read come first, and then nothing is waited for.
  static constexpr timespec kNoWait{0, 0};
  while (wl_display_prepare_read(display) != 0) {
    wl_display_dispatch_pending(display);
    timeout = &kNoWait;
  }
  wl_display_flush(display);
  pollfd watched{wl_display_get_fd(display), POLLIN, 0};
  if (::ppoll(&watched, 1, timeout, nullptr) > 0 && (watched.revents & POLLIN) != 0) {
    wl_display_read_events(display);
  } else {
    wl_display_cancel_read(display);
  }
  wl_display_dispatch_pending(display);
  connection->CheckAlive();
  ReportKeyboardTaken();
  last_look = Clock::now();
  if (!Unseen()) desktop::FireDueTimers(last_look);
}

}  // namespace

void DoEvents() {
  if (Connection::Get() != nullptr && Clock::now() - last_look >= kLookInterval) ProcessPending();
}

void ProcessPending() {
  static constexpr timespec kNoWait{0, 0};
  Pump(&kNoWait, false);
}

void WaitEvents() {
  timespec storage{};
  Pump(Unseen() ? nullptr : desktop::UntilNextDeadline(storage), true);
}

}  // namespace rt::wayland
