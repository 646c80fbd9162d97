#include "runtime/platform/linux/displays.h"

#include <cstdio>
#include <cstdlib>

namespace rt::linux_program {
namespace {

bool Named(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

}  // namespace

bool HasXDisplay() { return Named("DISPLAY"); }

bool HasWaylandDisplay() { return Named("WAYLAND_DISPLAY"); }

void RequireADisplay() {
  if (HasXDisplay() || HasWaylandDisplay()) return;
  std::fprintf(stderr, "kelvora: no Wayland or X display (set WAYLAND_DISPLAY or DISPLAY)\n");
  std::_Exit(1);
}

}  // namespace rt::linux_program
