// The command-line text on Linux, from the kernel's copy of the arguments.
// Read with plain system calls: a file stream would bring up the standard
// library's locales, a good part of the rain's memory.
#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "runtime/platform/os_services.h"

namespace rt {

namespace {

std::string KernelArguments() {
  std::string all;
  const int file = ::open("/proc/self/cmdline", O_RDONLY | O_CLOEXEC);
  if (file < 0) return all;
  char chunk[4096];
  for (;;) {
    const ssize_t got = ::read(file, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    all.append(chunk, static_cast<size_t>(got));
  }
  ::close(file);
  return all;
}

}  // namespace

std::string Command() {
  const std::string all = KernelArguments();
  // NUL ends each argument; the first is the program's name.
  std::string text;
  int index = 0;
  for (size_t start = 0; start < all.size(); ++index) {
    size_t end = all.find('\0', start);
    if (end == std::string::npos) end = all.size();
    if (index > 1) text += ' ';
    if (index > 0) text += all.substr(start, end - start);
    start = end + 1;
  }
  return text;
}

}  // namespace rt
