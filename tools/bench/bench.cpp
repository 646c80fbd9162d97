// The bench: runs the real rain (a build with bench probes) on virtual
// displays at an interval of 10 ms and prints, for each screen size, the
// ticks per second achieved, the cores used by the saver and by the X server
// in the steady state, the saver's peak memory and the time from its start
// to its first frame. Usage: bench [--seconds N] [--runs N]
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/harness.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kWarmUp = 5s;  // the first row and its rebuild are over by then

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

double PeakMemoryMiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

long long Nanoseconds(Clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

struct Run {
  double ticks_per_second;
  double saver_cores;
  double server_cores;
  double peak_mib;
  double first_frame_ms;
};

// Ticks per second from the probe's lines inside the steady-state window.
double TickRate(const std::string& log, long long from_ns, long long to_ns) {
  std::istringstream lines(log);
  long long first_ticks = -1, first_ns = 0, last_ticks = 0, last_ns = 0;
  for (std::string line; std::getline(lines, line);) {
    long long ticks = 0, ns = 0;
    if (std::sscanf(line.c_str(), "bench-ticks %lld %lld", &ticks, &ns) != 2) continue;
    if (ns < from_ns || ns > to_ns) continue;
    if (first_ticks < 0) {
      first_ticks = ticks;
      first_ns = ns;
    }
    last_ticks = ticks;
    last_ns = ns;
  }
  if (first_ticks < 0 || last_ns == first_ns) return 0;
  return static_cast<double>(last_ticks - first_ticks) * 1e9 /
         static_cast<double>(last_ns - first_ns);
}

double FirstFrameMs(const std::string& log, long long start_ns) {
  const size_t at = log.find("bench-first-paint ");
  if (at == std::string::npos) return -1;
  return static_cast<double>(std::stoll(log.substr(at + 18)) - start_ns) / 1e6;
}

Run MeasureOnce(int width, int height, std::chrono::seconds steady) {
  VirtualDisplay display(width, height);
  Installation install;
  WriteFile(install.Ini(), "[main]\nCOLOR1=240\nCOLOR2=0\nCOLOR3=0\nSP=10\n");
  const Clock::time_point start = Clock::now();
  Process saver({install.Executable(), "/S"}, display.name());
  std::this_thread::sleep_until(start + kWarmUp);
  const double saver_before = CpuSeconds(saver.pid());
  const double server_before = CpuSeconds(display.server_pid());
  const Clock::time_point from = Clock::now();
  std::this_thread::sleep_until(from + steady);
  const double saver_after = CpuSeconds(saver.pid());
  const double server_after = CpuSeconds(display.server_pid());
  const Clock::time_point to = Clock::now();
  const double wall = std::chrono::duration<double>(to - from).count();
  Run run{};
  run.peak_mib = PeakMemoryMiB(saver.pid());
  display.Xdo({"key", "a"});
  saver.WaitExit(5s);
  const std::string log = saver.Stderr();
  run.ticks_per_second = TickRate(log, Nanoseconds(from), Nanoseconds(to));
  run.saver_cores = (saver_after - saver_before) / wall;
  run.server_cores = (server_after - server_before) / wall;
  run.first_frame_ms = FirstFrameMs(log, Nanoseconds(start));
  return run;
}

std::string Summary(std::vector<double> values, const char* format) {
  std::sort(values.begin(), values.end());
  char median[32], low[32], high[32];
  std::snprintf(median, sizeof median, format, values[values.size() / 2]);
  std::snprintf(low, sizeof low, format, values.front());
  std::snprintf(high, sizeof high, format, values.back());
  return std::string(median) + " (" + low + "–" + high + ")";
}

}  // namespace

int main(int argc, char** argv) {
  int seconds = 20;
  int runs = 3;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::stoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::stoi(argv[i + 1]);
  }
  std::printf(
      "kelvora /S at an interval of 10 ms (100 ticks/s configured); median (range) of "
      "%d runs, %d s each after a %lld s warm-up\n\n",
      runs, seconds, static_cast<long long>(kWarmUp.count()));
  std::printf(
      "| screen | ticks/s | saver cores | X server cores | peak memory MiB | first frame ms |\n");
  std::printf("|---|---|---|---|---|---|\n");
  for (const auto& [width, height] : {std::pair{1920, 1080}, std::pair{3840, 2160}}) {
    std::vector<double> ticks, saver, server, memory, first;
    for (int run = 0; run < runs; ++run) {
      const Run r = MeasureOnce(width, height, std::chrono::seconds(seconds));
      ticks.push_back(r.ticks_per_second);
      saver.push_back(r.saver_cores);
      server.push_back(r.server_cores);
      memory.push_back(r.peak_mib);
      first.push_back(r.first_frame_ms);
    }
    std::printf("| %d×%d | %s | %s | %s | %s | %s |\n", width, height,
                Summary(ticks, "%.1f").c_str(), Summary(saver, "%.2f").c_str(),
                Summary(server, "%.2f").c_str(), Summary(memory, "%.1f").c_str(),
                Summary(first, "%.0f").c_str());
    std::fflush(stdout);
  }
  return 0;
}
