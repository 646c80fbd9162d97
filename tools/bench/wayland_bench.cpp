// The bench's Wayland run: on a headless sway (pixman renderer, one output
// of 1920×1080, Xwayland started with it), the rain as a Wayland client
// (when this build and the compositor allow it), the same rain through
// Xwayland, and the wl_shm reference client, in alternation, at SP=10. It
// prints for each the ticks per second, the cores of the program and of the
// compositor (sway and its Xwayland) in the
// steady state, the ratio of their total to the reference's, the peak memory
// and the time from exec to the first frame. Then the native rain while no
// frames come (sway stopped, as a screen that is off sends none), against an
// idle process: its cores and wakeups, and whether it ticks again after.
// Usage: wayland_bench [--seconds N] [--runs N]
#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/sway_session.h"
#include "tools/bench/bench_log.h"
#include "tools/bench/process_stats.h"

namespace {

using bench::Clock;
using bench::Nanoseconds;

constexpr auto kWarmUp = 5s;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct Run {
  std::string failure;  // why it did not run; empty when it ran
  double ticks_per_second = 0;
  double program_cores = 0;
  double compositor_cores = 0;
  double peak_mib = 0;
  double first_frame_ms = 0;
};

// sway and its Xwayland, which it starts detached.
struct Compositor {
  pid_t sway;
  pid_t xwayland;
  double CpuSeconds() const {
    return bench::CpuSeconds(sway) + (xwayland > 0 ? bench::CpuSeconds(xwayland) : 0);
  }
};

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

Run MeasureOnce(const SwaySession& session, const Compositor& compositor,
                const std::vector<std::string>& command,
                const std::vector<std::string>& environment, std::chrono::seconds steady) {
  const Clock::time_point start = Clock::now();
  const std::unique_ptr<Process> program = session.Run(command, environment);
  std::this_thread::sleep_until(start + kWarmUp);
  Run run;
  if (!program->Running()) {
    run.failure = FirstLine(program->Stderr());
    return run;
  }
  const double program_before = bench::CpuSeconds(program->pid());
  const double compositor_before = compositor.CpuSeconds();
  const Clock::time_point from = Clock::now();
  std::this_thread::sleep_until(from + steady);
  const double program_after = bench::CpuSeconds(program->pid());
  const double compositor_after = compositor.CpuSeconds();
  const Clock::time_point to = Clock::now();
  const double wall = std::chrono::duration<double>(to - from).count();
  run.peak_mib = bench::PeakMemoryMiB(program->pid());
  program->Kill();
  const std::string log = program->Stderr();
  run.ticks_per_second =
      bench::TickRate(bench::TicksBetween(log, Nanoseconds(from), Nanoseconds(to)));
  run.program_cores = (program_after - program_before) / wall;
  run.compositor_cores = (compositor_after - compositor_before) / wall;
  run.first_frame_ms = bench::MarkerMs(log, "bench-first-frame ", Nanoseconds(start));
  return run;
}

double TotalCores(const Run& run) { return run.program_cores + run.compositor_cores; }

// Context switches of all the process's threads so far: each time it slept
// and woke, or was put aside.
long long Wakeups(pid_t pid) {
  long long total = 0;
  std::error_code error;
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
    std::ifstream status(task.path() / "status");
    std::string line;
    while (std::getline(status, line)) {
      const auto colon = line.find(':');
      if (line.find("ctxt_switches") != std::string::npos && colon != std::string::npos)
        total += std::stoll(line.substr(colon + 1));
    }
  }
  return total;
}

struct Unseen {
  std::string failure;
  double cores = 0;
  double wakeups_per_second = 0;
  double ticks_per_second_after = 0;  // once frames come again
};

// The program runs past its warm-up, the compositor stops, and after a
// second the program's cost is measured for the steady span; then the
// compositor goes on and the program's ticks are counted for two seconds.
Unseen MeasureUnseen(const SwaySession& session, const std::vector<std::string>& command,
                     std::chrono::seconds steady) {
  const std::unique_ptr<Process> program = session.Run(command);
  std::this_thread::sleep_for(kWarmUp);
  Unseen unseen;
  if (!program->Running()) {
    unseen.failure = FirstLine(program->Stderr());
    return unseen;
  }
  ::kill(session.pid(), SIGSTOP);
  std::this_thread::sleep_for(1s);
  const double cpu_before = bench::CpuSeconds(program->pid());
  const long long wakeups_before = Wakeups(program->pid());
  const Clock::time_point from = Clock::now();
  std::this_thread::sleep_until(from + steady);
  const double wall = std::chrono::duration<double>(Clock::now() - from).count();
  unseen.cores = (bench::CpuSeconds(program->pid()) - cpu_before) / wall;
  unseen.wakeups_per_second = static_cast<double>(Wakeups(program->pid()) - wakeups_before) / wall;
  ::kill(session.pid(), SIGCONT);
  const Clock::time_point resumed = Clock::now();
  std::this_thread::sleep_for(2s);
  program->Kill();
  unseen.ticks_per_second_after = bench::TickRate(
      bench::TicksBetween(program->Stderr(), Nanoseconds(resumed), Nanoseconds(resumed + 2s)));
  return unseen;
}

// A row of the table: the columns of its header, in order.
struct Series {
  std::string failure;
  bench::Series row{{"%.1f", "%.3f", "%.3f", "%.2f", "%.1f", "%.0f"}};

  void Add(const Run& run, double ratio_to_reference) {
    if (!run.failure.empty()) {
      failure = run.failure;
      return;
    }
    row.Add({run.ticks_per_second, run.program_cores, run.compositor_cores, ratio_to_reference,
             run.peak_mib, run.first_frame_ms});
  }

  void Print(const char* name) const {
    if (row.Empty()) {
      std::printf("| %s | did not run: %s | | | | | |\n", name, failure.c_str());
      return;
    }
    std::printf("| %s %s\n", name, row.Cells().c_str());
  }
};

}  // namespace

int main(int argc, char** argv) {
  const auto [seconds, runs] = bench::ParseRunLength(argc, argv);
  if (!SwaySession::Available()) {
    std::printf("Wayland run skipped: %s\n", SwaySession::kSkipMessage);
    return 0;
  }
  SwaySession session({.count = 1, .width = kWidth, .height = kHeight, .xwayland = true});
  if (!session.Start()) {
    std::printf("Wayland run skipped: sway did not start\n%s\n", session.Log().c_str());
    return 1;
  }
  const std::string x_display = session.XDisplay();
  const Compositor compositor{session.pid(), bench::FindProcess("Xwayland " + x_display + " ")};
  std::printf(
      "kelvora /S at SP=10 on headless sway (pixman, one %d×%d output), against the wl_shm "
      "reference client, in alternation; median (range) of %d runs, %d s each after a %lld s "
      "warm-up\n\n",
      kWidth, kHeight, runs, seconds, static_cast<long long>(kWarmUp.count()));
  std::printf(
      "| program | ticks/s | program cores | compositor cores (sway, Xwayland) | total ÷ "
      "reference | peak memory MiB | exec to first frame ms |\n");
  std::printf("|---|---|---|---|---|---|---|\n");
  Installation install;
  WriteFile(install.Ini(), "[main]\nCOLOR1=240\nCOLOR2=0\nCOLOR3=0\nSP=10\n");
  const std::vector<std::string> saver = install.Command({"/S"});
  // A copy the session's user may run.
  const Installation reference_copy(KELVORA_WAYLAND_REFERENCE);
  // Wayland alone; then X alone, so that a Wayland backend cannot take the run.
  const std::vector<std::string> native_environment;
  const std::vector<std::string> x_environment{"DISPLAY=" + x_display, "WAYLAND_DISPLAY="};
  Series native, through_xwayland, reference;
  const std::chrono::seconds steady(seconds);
  for (int run = 0; run < runs; ++run) {
    const Run theirs = MeasureOnce(session, compositor, reference_copy.Command({}), {}, steady);
    const Run ours = MeasureOnce(session, compositor, saver, native_environment, steady);
    const Run over_x = MeasureOnce(session, compositor, saver, x_environment, steady);
    reference.Add(theirs, 1.0);
    native.Add(ours, TotalCores(ours) / TotalCores(theirs));
    through_xwayland.Add(over_x, TotalCores(over_x) / TotalCores(theirs));
  }
  native.Print("kelvora (Wayland)");
  through_xwayland.Print("kelvora (Xwayland)");
  reference.Print("wl_shm reference");

  std::printf(
      "\nNo frames come (sway stopped, as for a screen that is off), %d s each after a second "
      "without frames; median (range) of %d runs\n\n",
      seconds, runs);
  std::printf("| program | cores | wakeups/s | ticks/s once frames come again |\n");
  std::printf("|---|---|---|---|\n");
  std::vector<double> cores, wakeups, after, idle_cores, idle_wakeups;
  std::string failure;
  for (int run = 0; run < runs; ++run) {
    const Unseen ours = MeasureUnseen(session, saver, steady);
    const Unseen idle = MeasureUnseen(session, {"sleep", "1000"}, steady);
    if (!ours.failure.empty()) failure = ours.failure;
    if (!ours.failure.empty()) continue;
    cores.push_back(ours.cores);
    wakeups.push_back(ours.wakeups_per_second);
    after.push_back(ours.ticks_per_second_after);
    idle_cores.push_back(idle.cores);
    idle_wakeups.push_back(idle.wakeups_per_second);
  }
  using bench::Summary;
  if (cores.empty()) {
    std::printf("| kelvora (Wayland) | did not run: %s | | |\n", failure.c_str());
    return 0;
  }
  std::printf("| kelvora (Wayland) | %s | %s | %s |\n", Summary(cores, "%.4f").c_str(),
              Summary(wakeups, "%.2f").c_str(), Summary(after, "%.1f").c_str());
  std::printf("| idle process (sleep) | %s | %s | |\n", Summary(idle_cores, "%.4f").c_str(),
              Summary(idle_wakeups, "%.2f").c_str());
  return 0;
}
