#include "runtime/platform/linux/displays.h"

#include <wayland-client.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace rt::linux_program {
namespace {

const char* Named(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

bool XAnswers() {
  if (Named("DISPLAY") == nullptr) return false;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool answers = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return answers;
}

bool WaylandAnswers() {
  if (Named("WAYLAND_DISPLAY") == nullptr) return false;
  // A socket the compositor handed over serves one connection: the backend's.
  if (Named("WAYLAND_SOCKET") != nullptr) return true;
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) return false;
  wl_display_disconnect(display);
  return true;
}

// "WAYLAND_DISPLAY=wayland-9 does not answer", or "WAYLAND_DISPLAY not set".
std::string Tried(const char* variable) {
  const char* value = Named(variable);
  if (value == nullptr) return std::string(variable) + " not set";
  return std::string(variable) + "=" + value + " does not answer";
}

}  // namespace

bool HasXDisplay() {
  static const bool answers = XAnswers();
  return answers;
}

bool HasWaylandDisplay() {
  static const bool answers = WaylandAnswers();
  return answers;
}

void RequireADisplay() {
  if (HasWaylandDisplay() || HasXDisplay()) return;
  const std::string why = Named("WAYLAND_DISPLAY") == nullptr && Named("DISPLAY") == nullptr
                              ? "set WAYLAND_DISPLAY or DISPLAY"
                              : Tried("WAYLAND_DISPLAY") + "; " + Tried("DISPLAY");
  std::fprintf(stderr, "kelvora: no Wayland or X display (%s)\n", why.c_str());
  std::_Exit(1);
}

void SteerQtToTheDisplayThatAnswers() {
  if (Named("QT_QPA_PLATFORM") != nullptr || HasWaylandDisplay() == HasXDisplay()) return;
  ::setenv("QT_QPA_PLATFORM", HasWaylandDisplay() ? "wayland" : "xcb", 1);
}

}  // namespace rt::linux_program
