#include "runtime/platform/linux/displays.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#ifdef KELVORA_PROBES_X
#include <xcb/xcb.h>
#endif

#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/platform/fatal_error.h"

namespace rt::linux_program {
namespace {

const char* Named(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

bool XAnswers() {
  if (Named("DISPLAY") == nullptr) return false;
#ifdef KELVORA_PROBES_X
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool answers = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return answers;
#else
  return false;  // a build with no backend that draws on X
#endif
}

// The compositor's socket, where libwayland looks for it: WAYLAND_DISPLAY
// itself when it is a path, else inside XDG_RUNTIME_DIR.
std::string WaylandSocketPath(const char* name) {
  if (name[0] == '/') return name;
  const char* runtime_dir = Named("XDG_RUNTIME_DIR");
  return runtime_dir == nullptr ? std::string() : std::string(runtime_dir) + "/" + name;
}

// Asked with a bare socket, so that the program maps no Wayland library
// before the Wayland backend is chosen.
bool WaylandAnswers() {
  const char* name = Named("WAYLAND_DISPLAY");
  if (name == nullptr) return false;
  // A socket the compositor handed over serves one connection: the backend's.
  if (Named("WAYLAND_SOCKET") != nullptr) return true;
  const std::string path = WaylandSocketPath(name);
  sockaddr_un address{};
  if (path.empty() || path.size() >= sizeof(address.sun_path)) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool answers =
      ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
  ::close(fd);
  return answers;
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
  native::FailFatally("no Wayland or X display (" + why + ")");
}

void SteerQtToTheDisplayThatAnswers() {
  if (Named("QT_QPA_PLATFORM") != nullptr || HasWaylandDisplay() == HasXDisplay()) return;
  ::setenv("QT_QPA_PLATFORM", HasWaylandDisplay() ? "wayland" : "xcb", 1);
}

}  // namespace rt::linux_program
