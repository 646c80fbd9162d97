// The settings reader on a 50 MB kelvora.ini: the [main] section after
// 500,000 lines of another one. Prints the time to find one key, and the
// four reads a start makes, beside the time `grep -c` takes to scan the
// same file (median of the runs, the file in the page cache).
// Usage: settings_read [--runs N]
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "runtime/platform/os_services.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// 500,000 lines of 100 bytes, then the section the program reads.
std::string MakeFile(const std::string& path) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << "[other]\r\n";
  char line[128];
  for (int i = 0; i < 500'000; ++i) {
    std::snprintf(line, sizeof line, "KEY%06d=%087d\r\n", i, i);
    file << line;
  }
  file << "[main]\r\nCOLOR1=0\r\nCOLOR2=240\r\nCOLOR3=0\r\nSP=10\r\n";
  return path;
}

double MedianMs(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    const Clock::time_point start = Clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void Grep(const std::string& path) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::string program = "grep", option = "-c", pattern = "SP=", file = path;
  char* argv[] = {program.data(), option.data(), pattern.data(), file.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "grep", &actions, nullptr, argv, environ) == 0) {
    ::waitpid(pid, nullptr, 0);
  }
  posix_spawn_file_actions_destroy(&actions);
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 15;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::stoi(argv[i + 1]);
  }
  const std::string path =
      MakeFile((std::filesystem::temp_directory_path() / "kelvora-bench-50mb.ini").string());
  const double megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  std::string value;
  const auto read_one = [&] { value = rt::GetPrivateProfileString("main", "SP", "", 256, path); };
  const auto read_four = [&] {
    for (const char* key : {"COLOR1", "COLOR2", "COLOR3", "SP"})
      value = rt::GetPrivateProfileString("main", key, "", 256, path);
  };
  Grep(path);  // into the page cache
  const double grep_ms = MedianMs(runs, [&] { Grep(path); });
  const double one_ms = MedianMs(runs, read_one);
  const double four_ms = MedianMs(runs, read_four);
  std::filesystem::remove(path);
  std::printf("settings file of %.1f MB, [main] after 500,000 lines; median of %d runs\n\n",
              megabytes, runs);
  std::printf("| read | ms | ÷ grep -c |\n|---|---|---|\n");
  std::printf("| grep -c (a process) | %.1f | 1.00 |\n", grep_ms);
  std::printf("| one key (SP=%s) | %.1f | %.2f |\n", value.c_str(), one_ms, one_ms / grep_ms);
  std::printf("| the four keys of a start | %.1f | %.2f |\n", four_ms, four_ms / grep_ms);
  return 0;
}
