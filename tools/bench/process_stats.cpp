#include "tools/bench/process_stats.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
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

pid_t FindProcess(const std::string& command_line_start) {
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream file(entry.path() / "cmdline", std::ios::binary);
    std::string command_line((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
    std::replace(command_line.begin(), command_line.end(), '\0', ' ');
    if (command_line.starts_with(command_line_start)) return std::stoi(name);
  }
  return -1;
}

long long VoluntarySwitches(pid_t pid) {
  long long switches = 0;
  std::error_code error;
  const std::string field = "voluntary_ctxt_switches:";
  for (const auto& task :
       std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
    std::ifstream status(task.path() / "status");
    for (std::string line; std::getline(status, line);) {
      if (line.starts_with(field)) switches += std::stoll(line.substr(field.size()));
    }
  }
  return switches;
}

double PeakMemoryMiB(pid_t pid) { return StatusMiB(pid, "VmHWM:"); }

double ResidentMemoryMiB(pid_t pid) { return StatusMiB(pid, "VmRSS:"); }

}  // namespace bench
