#include "runtime/platform/linux/given_window.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace rt {

uint32_t GivenWindow() {
  const char* text = std::getenv("XSCREENSAVER_WINDOW");
  if (text == nullptr || *text == '\0') return 0;
  // strtoul takes a sign and leading blanks, which no daemon writes.
  if (!std::isdigit(static_cast<unsigned char>(*text))) return kNoSuchWindow;
  char* end = nullptr;
  errno = 0;
  const unsigned long id = std::strtoul(text, &end, 0);
  // X ids have 29 bits.
  if (errno != 0 || *end != '\0' || id > 0x1FFFFFFF) return kNoSuchWindow;
  return static_cast<uint32_t>(id);
}

}  // namespace rt
