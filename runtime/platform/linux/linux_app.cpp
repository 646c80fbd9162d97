// App on Linux: the executable's folder, and one running copy per executable
// file and display session, held as an abstract socket whose name the kernel
// frees when the process ends in any way, so a crash or kill leaves nothing
// stale behind. As Windows' App.PrevInstance sees its own session only, a
// second X server or Wayland compositor (a VNC session beside the local one)
// gets its own rain. Run by the X screen-saver daemon, which starts a copy
// for each monitor's window and one for its settings' preview, the rule
// holds per window.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "runtime/platform/linux/given_window.h"
#include "runtime/platform/os_services.h"

namespace rt {
namespace {

std::string ExecutablePath() {
  char buffer[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

// Window ids are unique per X server, whatever screen of it DISPLAY names.
std::string DisplayServer() {
  const char* display = std::getenv("DISPLAY");
  std::string server = display != nullptr ? display : "";
  const size_t colon = server.rfind(':');
  const size_t dot = server.rfind('.');
  if (colon != std::string::npos && dot != std::string::npos && dot > colon) server.resize(dot);
  return server;
}

// The compositor's socket, as clients find it.
std::string WaylandSocket() {
  const char* name = std::getenv("WAYLAND_DISPLAY");
  if (name == nullptr || name[0] == '\0') return "";
  if (name[0] == '/') return name;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return std::string(runtime != nullptr ? runtime : "") + "/" + name;
}

// Copies of one executable file in one display session share a name,
// through any link to it; a copy given a window shares it only with copies
// given the same window.
std::string InstanceName() {
  struct stat info {};
  ::stat("/proc/self/exe", &info);
  // Hashed to keep the name short; copies of one file hash alike.
  const std::string session = DisplayServer() + "|" + WaylandSocket();
  std::string name = "kelvora." + std::to_string(::getuid()) + "." + std::to_string(info.st_dev) +
                     "." + std::to_string(info.st_ino) + ".d." +
                     std::to_string(std::hash<std::string>{}(session));
  if (const uint32_t window = GivenWindow()) name += ".w." + std::to_string(window);
  return name;
}

bool AnotherCopyRuns() {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string name = InstanceName();
  // A leading NUL puts the name in the abstract namespace: no file is made.
  std::memcpy(address.sun_path + 1, name.data(), name.size());
  const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0) return false;  // kept open
  const bool in_use = errno == EADDRINUSE;
  ::close(fd);
  return in_use;
}

}  // namespace

bool App::PrevInstance() {
  static const bool previous = AnotherCopyRuns();
  return previous;
}

std::string App::Path() {
  const std::string executable = ExecutablePath();
  const size_t slash = executable.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : executable.substr(0, slash);
}

std::string App::PathSeparator() { return "/"; }

}  // namespace rt
