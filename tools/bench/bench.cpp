// The bench: runs the real rain (a build with bench probes) and the
// reference program (the least work the same picture needs) in alternation
// on the same virtual display, at an interval of 10 ms, and prints for each
// screen size the ticks per second achieved, the longest tick against the
// median one, the cores used by the program and by the X server in the
// steady state, the ratio of the saver's total to the reference's, the peak
// memory, the time from exec to the window's first map and to its first
// full-screen frame drawn on the server. With --against, an earlier build
// of the program runs in the same alternation, for an A/B comparison on one
// loaded machine.
// Usage: bench [--seconds N] [--runs N] [--against EXECUTABLE]

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/harness.h"
#include "tools/bench/bench_log.h"
#include "tools/bench/process_stats.h"

namespace {

using bench::Clock;
using bench::CpuSeconds;
using bench::MarkerMs;
using bench::Nanoseconds;
using bench::PeakMemoryMiB;
using bench::Tick;

constexpr auto kWarmUp = 5s;  // the first row and its rebuild are over by then

struct Run {
  double ticks_per_second = 0;
  double longest_to_median_tick = 0;
  double longest_to_median_gap = 0;
  double program_cores = 0;
  double server_cores = 0;
  double peak_mib = 0;
  double first_map_ms = 0;
  double first_frame_ms = 0;
};

double LongestToMedian(std::vector<long long> lengths) {
  if (lengths.empty()) return 0;
  std::sort(lengths.begin(), lengths.end());
  return static_cast<double>(lengths.back()) /
         static_cast<double>(std::max(1LL, lengths[lengths.size() / 2]));
}

// A column made anew inside a tick must not stall the picture: how much
// longer the longest tick took than the median one, and how much longer the
// longest wait from one tick to the next was than the median wait.
double LongestToMedianTick(const std::vector<Tick>& ticks) {
  std::vector<long long> lengths;
  for (const Tick& tick : ticks) lengths.push_back(tick.end_ns - tick.start_ns);
  return LongestToMedian(lengths);
}

double LongestToMedianGap(const std::vector<Tick>& ticks) {
  std::vector<long long> gaps;
  for (size_t i = 1; i < ticks.size(); ++i)
    gaps.push_back(ticks[i].start_ns - ticks[i - 1].start_ns);
  return LongestToMedian(gaps);
}

// One run of a program: its warm-up, then the steady state measured.
Run MeasureOnce(const std::vector<std::string>& command, const VirtualDisplay& display,
                std::chrono::seconds steady) {
  const Clock::time_point start = Clock::now();
  Process program(command, display.name());
  std::this_thread::sleep_until(start + kWarmUp);
  const double program_before = CpuSeconds(program.pid());
  const double server_before = CpuSeconds(display.server_pid());
  const Clock::time_point from = Clock::now();
  std::this_thread::sleep_until(from + steady);
  const double program_after = CpuSeconds(program.pid());
  const double server_after = CpuSeconds(display.server_pid());
  const Clock::time_point to = Clock::now();
  const double wall = std::chrono::duration<double>(to - from).count();
  Run run;
  run.peak_mib = PeakMemoryMiB(program.pid());
  program.Kill();
  const std::string log = program.Stderr();
  const std::vector<Tick> ticks = bench::TicksBetween(log, Nanoseconds(from), Nanoseconds(to));
  run.ticks_per_second = bench::TickRate(ticks);
  run.longest_to_median_tick = LongestToMedianTick(ticks);
  run.longest_to_median_gap = LongestToMedianGap(ticks);
  run.program_cores = (program_after - program_before) / wall;
  run.server_cores = (server_after - server_before) / wall;
  run.first_map_ms = MarkerMs(log, "bench-first-map ", Nanoseconds(start));
  run.first_frame_ms = MarkerMs(log, "bench-first-frame ", Nanoseconds(start));
  return run;
}

// A row of the table: the columns of its header, in order.
struct Series {
  bench::Series row{{"%.1f", "%.1f", "%.1f", "%.3f", "%.3f", "%.2f", "%.1f", "%.0f", "%.0f"}};

  void Add(const Run& run, double ratio_to_reference) {
    row.Add({run.ticks_per_second, run.longest_to_median_tick, run.longest_to_median_gap,
             run.program_cores, run.server_cores, ratio_to_reference, run.peak_mib,
             run.first_map_ms, run.first_frame_ms});
  }

  void Print(const char* name, int width, int height) const {
    std::printf("| %d×%d | %s %s\n", width, height, name, row.Cells().c_str());
  }
};

double TotalCores(const Run& run) { return run.program_cores + run.server_cores; }

}  // namespace

int main(int argc, char** argv) {
  const auto [seconds, runs] = bench::ParseRunLength(argc, argv);
  std::string against;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--against") == 0) against = argv[i + 1];
  }
  std::printf(
      "kelvora /S at SP=10 against the reference blit loop, in alternation on one virtual "
      "display; median (range) of %d runs, %d s each after a %lld s warm-up\n\n",
      runs, seconds, static_cast<long long>(kWarmUp.count()));
  std::printf(
      "| screen | program | ticks/s | longest ÷ median tick | longest ÷ median gap between "
      "ticks | program cores | X server cores | total ÷ reference | peak memory MiB | exec to "
      "first "
      "map ms | exec to first full-screen frame ms |\n");
  std::printf("|---|---|---|---|---|---|---|---|---|---|---|\n");
  for (const auto& [width, height] : {std::pair{1920, 1080}, std::pair{3840, 2160}}) {
    VirtualDisplay display(width, height);
    const std::string settings = "[main]\nCOLOR1=240\nCOLOR2=0\nCOLOR3=0\nSP=10\n";
    Installation install;
    WriteFile(install.Ini(), settings);
    std::optional<Installation> earlier;
    if (!against.empty()) {
      earlier.emplace(against);
      WriteFile(earlier->Ini(), settings);
    }
    Series saver, earlier_saver, reference;
    for (int run = 0; run < runs; ++run) {
      const Run ours =
          MeasureOnce({install.Executable(), "/S"}, display, std::chrono::seconds(seconds));
      const Run theirs = MeasureOnce({KELVORA_REFERENCE}, display, std::chrono::seconds(seconds));
      saver.Add(ours, TotalCores(ours) / TotalCores(theirs));
      reference.Add(theirs, 1.0);
      if (earlier) {
        const Run before =
            MeasureOnce({earlier->Executable(), "/S"}, display, std::chrono::seconds(seconds));
        earlier_saver.Add(before, TotalCores(before) / TotalCores(theirs));
      }
    }
    saver.Print("kelvora", width, height);
    if (earlier) earlier_saver.Print("earlier build", width, height);
    reference.Print("reference", width, height);
    std::fflush(stdout);
  }
  return 0;
}
