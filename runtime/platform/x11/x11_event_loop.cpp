#include "runtime/platform/x11/x11_event_loop.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <unordered_map>

#include "runtime/platform/desktop/deadline_timers.h"
#include "runtime/platform/fatal_error.h"
#include "runtime/platform/x11/x11_connection.h"
#include "runtime/platform/x11/x11_errors.h"
#include "runtime/platform/x11/x11_keyboard.h"
#include "runtime/platform/x11/x11_screen_size.h"

namespace rt::x11 {
namespace {

using Clock = std::chrono::steady_clock;

// How often DoEvents flushes and looks at the socket: each look is a system
// call here and a wake-up of the X server, the program calls DoEvents a few
// hundred times a tick, and input five milliseconds late is not felt. A
// tick starts right after a look, so a short one sends all its requests in
// the one flush before the wait.
constexpr auto kLookInterval = std::chrono::milliseconds(5);

std::unordered_map<xcb_window_t, EventTarget*>& Targets() {
  static std::unordered_map<xcb_window_t, EventTarget*> targets;
  return targets;
}

Clock::time_point last_look;

// A signal's handler writes a byte here; the loop reads it as an event.
int signal_pipe[2] = {-1, -1};
std::function<void()> report_signal;

void TakeSignals() {
  char received[16];
  if (signal_pipe[0] < 0 || ::read(signal_pipe[0], received, sizeof received) <= 0) return;
  report_signal();
}

xcb_window_t WindowOf(const xcb_generic_event_t& event) {
  switch (event.response_type & 0x7F) {
    case XCB_KEY_PRESS:
    case XCB_KEY_RELEASE:
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE:
    case XCB_MOTION_NOTIFY:
      return reinterpret_cast<const xcb_key_press_event_t&>(event).event;
    case XCB_FOCUS_IN:
    case XCB_FOCUS_OUT:
      return reinterpret_cast<const xcb_focus_in_event_t&>(event).event;
    case XCB_EXPOSE:
      return reinterpret_cast<const xcb_expose_event_t&>(event).window;
    case XCB_VISIBILITY_NOTIFY:
      return reinterpret_cast<const xcb_visibility_notify_event_t&>(event).window;
    case XCB_MAP_NOTIFY:
      return reinterpret_cast<const xcb_map_notify_event_t&>(event).window;
    case XCB_CONFIGURE_NOTIFY:
      return reinterpret_cast<const xcb_configure_notify_event_t&>(event).window;
    case XCB_DESTROY_NOTIFY:
      return reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window;
    case XCB_CLIENT_MESSAGE:
      return reinterpret_cast<const xcb_client_message_event_t&>(event).window;
    default:
      return XCB_NONE;
  }
}

void Dispatch(xcb_generic_event_t* event) {
  if (event->response_type == 0) {
    ReportError(X11Connection::Get().xcb(), *reinterpret_cast<xcb_generic_error_t*>(event));
    return std::free(event);
  }
  if (TakeKeymapChange(*event)) return std::free(event);
  if (TakeScreenSize(*event, *X11Connection::Get().screen())) {
    std::free(event);
    const auto targets = Targets();  // a target may go inside
    for (const auto& [window, target] : targets) {
      if (Targets().contains(window)) target->ScreenResized();
    }
    return;
  }
  const auto found = Targets().find(WindowOf(*event));
  if (found != Targets().end()) found->second->HandleEvent(*event);
  std::free(event);
}

void CheckConnection(xcb_connection_t* connection) {
  if (xcb_connection_has_error(connection) == 0) return;
  native::FailFatally("the connection to the X server was lost");
}

void HandleReceived(Clock::time_point now) {
  last_look = now;
  xcb_connection_t* connection = X11Connection::Get().xcb();
  xcb_flush(connection);
  while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) Dispatch(event);
  CheckConnection(connection);
  TakeSignals();
  desktop::FireDueTimers(now);
}

}  // namespace

void Watch(xcb_window_t window, EventTarget* target) { Targets()[window] = target; }

void Unwatch(xcb_window_t window) { Targets().erase(window); }

void DoEvents() {
  if (!X11Connection::Made()) return;
  const Clock::time_point now = Clock::now();
  if (now - last_look < kLookInterval) return;
  HandleReceived(now);
}

void ProcessPending() { HandleReceived(Clock::now()); }

void WaitEvents() {
  xcb_connection_t* connection = X11Connection::Get().xcb();
  // Events read while waiting for a reply wait in xcb's queue, not the socket.
  if (xcb_generic_event_t* event = xcb_poll_for_queued_event(connection)) {
    Dispatch(event);
    return ProcessPending();
  }
  xcb_flush(connection);
  pollfd watched[] = {{xcb_get_file_descriptor(connection), POLLIN, 0},
                      {signal_pipe[0], POLLIN, 0}};  // a negative descriptor is skipped
  timespec storage{};
  ::ppoll(watched, 2, desktop::UntilNextDeadline(storage), nullptr);
  ProcessPending();
}

void ReportSignals(std::function<void()> report) {
  report_signal = std::move(report);
  if (signal_pipe[0] < 0 && ::pipe2(signal_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    native::FailFatally("cannot watch for signals");
  }
  struct sigaction action {};
  action.sa_handler = [](int) {
    const int saved = errno;
    [[maybe_unused]] const ssize_t put = ::write(signal_pipe[1], "s", 1);
    errno = saved;
  };
  sigemptyset(&action.sa_mask);
  for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
    ::sigaction(number, &action, nullptr);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, number);
    ::sigprocmask(SIG_UNBLOCK, &one, nullptr);  // whoever started us may have blocked it
  }
}

}  // namespace rt::x11
