#include "tools/bench/process_stats.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace bench {
namespace {

double StatusMiB(pid_t pid, const std::string& field) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with(field)) return std::stod(line.substr(field.size())) / 1024.0;
  }
  return 0;
}

}  // namespace

double CpuSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  // Fields after the command name, which is in parentheses and may hold blanks.
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string field;
  long long user = 0, system = 0;
  for (int index = 3; fields >> field; ++index) {
    if (index == 14) user = std::stoll(field);
    if (index == 15) {
      system = std::stoll(field);
      break;
    }
  }
  return static_cast<double>(user + system) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double PeakMemoryMiB(pid_t pid) { return StatusMiB(pid, "VmHWM:"); }

double ResidentMemoryMiB(pid_t pid) { return StatusMiB(pid, "VmRSS:"); }

}  // namespace bench
