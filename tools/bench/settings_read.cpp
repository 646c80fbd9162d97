// The settings reader on a 50 MB kelvora.ini: the [main] section after
// 500,000 lines of another one. Prints the time to find one key, the four
// reads a start makes, and the program's own /P beside it (a process, its
// time and peak memory, the file written anew before each run), beside the
// time and memory `grep -c` takes to scan the same file (median of the
// runs, the file in the page cache).
// Usage: settings_read [--runs N]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
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

// Runs the command to its end; gives its peak resident memory in MiB.
double Run(std::vector<std::string> command) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (std::string& argument : command) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  rusage usage{};
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    ::wait4(pid, &status, 0, &usage);
  }
  posix_spawn_file_actions_destroy(&actions);
  return static_cast<double>(usage.ru_maxrss) / 1024;
}

double Grep(const std::string& path) { return Run({"grep", "-c", "SP=", path}); }

// The file written anew, as after an editor's save.
void Rewrite(const std::string& path) {
  std::filesystem::copy_file(path, path + ".copy");
  std::filesystem::rename(path + ".copy", path);
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
  double grep_mib = Grep(path);  // into the page cache
  const double grep_ms = MedianMs(runs, [&] { grep_mib = Grep(path); });
  const double one_ms = MedianMs(runs, read_one);
  const double four_ms = MedianMs(runs, read_four);
  // The program beside its settings, as a copied binary keeps them.
  const std::filesystem::path program =
      std::filesystem::path(path).parent_path() / "kelvora-bench-program" / "kelvora";
  std::filesystem::create_directories(program.parent_path());
  std::filesystem::copy_file(KELVORA_PROGRAM, program,
                             std::filesystem::copy_options::overwrite_existing);
  const std::string ini = (program.parent_path() / "kelvora.ini").string();
  std::filesystem::rename(path, ini);
  std::vector<double> peaks;
  const double preview_ms = MedianMs(runs, [&] {
    Rewrite(ini);
    peaks.push_back(Run({program.string(), "/P"}));
  });
  std::sort(peaks.begin(), peaks.end());
  std::filesystem::remove_all(program.parent_path());
  std::printf("settings file of %.1f MB, [main] after 500,000 lines; median of %d runs\n\n",
              megabytes, runs);
  std::printf("| read | ms | ÷ grep -c | peak MiB |\n|---|---|---|---|\n");
  std::printf("| grep -c (a process) | %.1f | 1.00 | %.1f |\n", grep_ms, grep_mib);
  std::printf("| one key (SP=%s) | %.1f | %.2f | |\n", value.c_str(), one_ms, one_ms / grep_ms);
  std::printf("| the four keys of a start | %.1f | %.2f | |\n", four_ms, four_ms / grep_ms);
  std::printf("| kelvora /P, the file just written (a process) | %.1f | %.2f | %.1f |\n",
              preview_ms, preview_ms / grep_ms, peaks[peaks.size() / 2]);
  return 0;
}
