// The command-line text on Linux, from the kernel's copy of the arguments.
#include <fstream>
#include <iterator>
#include <string>

#include "runtime/forms/program.h"

namespace rt {

std::string Command() {
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
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
