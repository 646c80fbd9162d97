#include "runtime/platform/x11/x11_window.h"

#include <cstdlib>

#include "runtime/platform/bench_probe.h"
#include "runtime/platform/desktop/deadline_timers.h"
#include "runtime/platform/fatal_error.h"
#include "runtime/platform/x11/x11_connection.h"
#include "runtime/platform/x11/x11_keyboard.h"

namespace rt::x11 {
namespace {

bool in_given_window = false;

// Focus leaves us for another client's grab, or comes to us while one holds
// the keyboard.
bool KeyboardTakenFrom(const xcb_focus_in_event_t& focus) {
  return focus.mode == XCB_NOTIFY_MODE_GRAB || focus.mode == XCB_NOTIFY_MODE_WHILE_GRABBED;
}

}  // namespace

X11Window::X11Window(const FormDesign& design, int client_width, int client_height,
                     native::WindowEvents& events)
    : events_(events), window_(design, client_width, client_height) {
  Watch(window_.id(), this);
  // The daemon's window stays with the daemon, which ends us by a signal.
  if (window_.handed_over()) {
    in_given_window = true;
    ReportSignals([this] { events_.TerminationRequested(); });
  }
}

X11Window::~X11Window() { Unwatch(window_.id()); }

void X11Window::SetVisible(bool visible) {
  window_.SetVisible(visible);
  if (visible && window_.handed_over()) {
    // A handed-over window shows no map of ours: it is drawn at once.
    Invalidate({0, 0, window_.width(), window_.height()});
  }
}

void X11Window::FillScreen() { window_.FillScreen(); }

void X11Window::Invalidate(const native::PixelRect& area) {
  if (window_.visible()) window_.canvas().Paint(events_, area, window_.width(), window_.height());
}

std::unique_ptr<native::Surface> X11Window::CreateSurface(const FontDesign& font) {
  return window_.canvas().CreateSurface(
      desktop::TextFont::For(font, X11Connection::Get().DotsPerInch()));
}

std::unique_ptr<native::ControlPeer> X11Window::CreateControl(const native::ControlLook&,
                                                              const native::PixelRect&,
                                                              native::ControlPeer*,
                                                              native::ControlEvents&) {
  // The list never gives this backend such a form.
  native::FailFatally("a form of the X backend can't hold windowed controls");
}

// Each report returns at once: the form may unload inside it.
void X11Window::HandleEvent(const xcb_generic_event_t& event) {
  switch (event.response_type & 0x7F) {
    case XCB_EXPOSE:
      return OnExpose(reinterpret_cast<const xcb_expose_event_t&>(event));
    case XCB_MAP_NOTIFY:
      return window_.Mapped();
    case XCB_VISIBILITY_NOTIFY:
      // What nobody can see is not drawn: the rain waits, as if paused.
      return desktop::HoldTimers(
          reinterpret_cast<const xcb_visibility_notify_event_t&>(event).state ==
          XCB_VISIBILITY_FULLY_OBSCURED);
    case XCB_CONFIGURE_NOTIFY: {
      const auto& configure = reinterpret_cast<const xcb_configure_notify_event_t&>(event);
      return window_.Configured(configure.width, configure.height);
    }
    case XCB_DESTROY_NOTIFY:
      return events_.WindowGone();
    case XCB_FOCUS_IN:
    case XCB_FOCUS_OUT:
      // Another client took the keyboard (a locker, or a key bound to one):
      // the rain steps aside so that the lock is what shows.
      if (KeyboardTakenFrom(reinterpret_cast<const xcb_focus_in_event_t&>(event)))
        return events_.TerminationRequested();
      return;
    case XCB_CLIENT_MESSAGE: {
      const auto& message = reinterpret_cast<const xcb_client_message_event_t&>(event);
      X11Connection& x = X11Connection::Get();
      if (message.type == x.Atom("WM_PROTOCOLS") &&
          message.data.data32[0] == x.Atom("WM_DELETE_WINDOW"))
        events_.CloseRequested();
      return;
    }
    case XCB_BUTTON_PRESS:
      return OnButtonPress(reinterpret_cast<const xcb_button_press_event_t&>(event));
    case XCB_BUTTON_RELEASE: {
      const auto& release = reinterpret_cast<const xcb_button_release_event_t&>(event);
      const native::PointerButton button = ButtonOf(release.detail);
      if (button == 0) return;
      return events_.ButtonUp(button, release.event_x, release.event_y, ModifiersOf(release.state));
    }
    case XCB_MOTION_NOTIFY: {
      const auto& motion = reinterpret_cast<const xcb_motion_notify_event_t&>(event);
      return events_.PointerMoved(motion.event_x, motion.event_y, ModifiersOf(motion.state));
    }
    case XCB_KEY_PRESS:
      return events_.KeyDown(KeyStrokeOf(X11Connection::Get().xcb(),
                                         reinterpret_cast<const xcb_key_press_event_t&>(event)));
    default:
      return;
  }
}

void X11Window::OnExpose(const xcb_expose_event_t& expose) {
  bench::FirstMap();  // the first exposure follows the map
  Invalidate({expose.x, expose.y, expose.width, expose.height});
  if (expose.count == 0 && bench::kProbes) {
    X11Connection::Get().Sync();  // drawn, not only sent
    bench::FirstFrame();
  }
}

void X11Window::OnButtonPress(const xcb_button_press_event_t& press) {
  const native::PointerButton button = ButtonOf(press.detail);
  if (button == 0) return;
  events_.ButtonDown(button, press.event_x, press.event_y, ModifiersOf(press.state), press.time);
}

bool InGivenWindow() { return in_given_window; }

}  // namespace rt::x11
