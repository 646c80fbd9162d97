// How long the settings reader takes to find a key behind 50 MB of another
// section, beside grep's scan of the same file on the same machine.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/private_profile.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 7;

// 500,000 key lines of 100 bytes in [other], then [main] with its keys.
std::string WriteBigFile(const std::filesystem::path& folder) {
  const std::string path = (folder / "kelvora.ini").string();
  std::ofstream out(path, std::ios::binary);
  out << "[other]\n";
  char line[101];
  for (int i = 0; i < 500'000; ++i) {
    std::snprintf(line, sizeof line, "KEY%06d=%-88s\n", i, "value");
    out << line;
  }
  out << "[main]\nCOLOR1=0\nCOLOR2=240\nCOLOR3=0\nSP=10\n";
  return path;
}

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double GrepOnce(const std::string& path) {
  const Clock::time_point start = Clock::now();
  const pid_t child = ::fork();
  if (child == 0) {
    std::freopen("/dev/null", "w", stdout);
    ::execlp("grep", "grep", "-c", "SP=", path.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::waitpid(child, nullptr, 0);
  return Milliseconds(Clock::now() - start);
}

double ReadOnce(const std::string& path) {
  const Clock::time_point start = Clock::now();
  const std::string value = rt::GetPrivateProfileString("main", "SP", "", 256, path);
  const double took = Milliseconds(Clock::now() - start);
  if (value != "10") std::fprintf(stderr, "the reader found '%s', not 10\n", value.c_str());
  return took;
}

}  // namespace

int main() {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("kelvora-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directory(folder);
  const std::string path = WriteBigFile(folder);
  std::vector<double> reads, greps;
  for (int run = 0; run < kRuns; ++run) {  // alternated, both from the page cache
    greps.push_back(GrepOnce(path));
    reads.push_back(ReadOnce(path));
  }
  std::filesystem::remove_all(folder);
  const double read = Median(reads), grep = Median(greps);
  std::printf(
      "settings key behind 50 MB: reader %.1f ms, grep -c %.1f ms, ratio %.2f (median of %d)\n",
      read, grep, read / grep, kRuns);
  return 0;
}
