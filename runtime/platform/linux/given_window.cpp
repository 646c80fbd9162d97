#include "runtime/platform/linux/given_window.h"

#include <cerrno>
#include <cstdlib>

namespace rt {

uint32_t GivenWindow() {
  const char* text = std::getenv("XSCREENSAVER_WINDOW");
  if (text == nullptr || *text == '\0' || *text == '-') return 0;
  char* end = nullptr;
  errno = 0;
  const unsigned long id = std::strtoul(text, &end, 0);
  // X ids have 29 bits.
  if (errno != 0 || *end != '\0' || id > 0x1FFFFFFF) return 0;
  return static_cast<uint32_t>(id);
}

}  // namespace rt
