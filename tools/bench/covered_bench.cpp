// The rain that nobody sees: kelvora /S on a virtual display of 1920×1080,
// once uncovered and once under a window that covers the whole screen,
// against an idle process (sleep) and the idle X server. It prints for
// each the cores and the wake-ups a second (voluntary context switches) of
// the program and of the X server, over the steady state.
// Usage: covered_bench [--seconds N] [--runs N]
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/harness.h"
#include "tools/bench/bench_log.h"
#include "tools/bench/process_stats.h"

namespace {

using bench::Clock;

constexpr auto kWarmUp = 5s;  // the first row and its rebuild are over by then

struct Run {
  double program_cores = 0;
  double program_wakeups = 0;
  double server_cores = 0;
  double server_wakeups = 0;
};

// A window over the whole screen, of another client, while it lives.
class Cover {
 public:
  explicit Cover(const VirtualDisplay& display)
      : connection_(xcb_connect(display.name().c_str(), nullptr)) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    const xcb_window_t window = xcb_generate_id(connection_);
    const uint32_t values[] = {screen->white_pixel, 1};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0,
                      screen->width_in_pixels, screen->height_in_pixels, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(connection_, window);
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  }
  ~Cover() { xcb_disconnect(connection_); }
  Cover(const Cover&) = delete;
  Cover& operator=(const Cover&) = delete;

 private:
  xcb_connection_t* connection_;
};

enum class Scene { kRain, kCoveredRain, kIdleProcess };

Run MeasureOnce(Scene scene, const std::vector<std::string>& command, const VirtualDisplay& display,
                std::chrono::seconds steady) {
  Process program(command, display.name());
  std::this_thread::sleep_for(kWarmUp);
  std::optional<Cover> cover;
  if (scene == Scene::kCoveredRain) {
    cover.emplace(display);
    std::this_thread::sleep_for(1s);  // the exposures and the last tick are over
  }
  const double program_cpu = bench::CpuSeconds(program.pid());
  const long long program_switches = bench::VoluntarySwitches(program.pid());
  const double server_cpu = bench::CpuSeconds(display.server_pid());
  const long long server_switches = bench::VoluntarySwitches(display.server_pid());
  const Clock::time_point from = Clock::now();
  std::this_thread::sleep_for(steady);
  const double wall = std::chrono::duration<double>(Clock::now() - from).count();
  Run run;
  run.program_cores = (bench::CpuSeconds(program.pid()) - program_cpu) / wall;
  run.program_wakeups =
      static_cast<double>(bench::VoluntarySwitches(program.pid()) - program_switches) / wall;
  run.server_cores = (bench::CpuSeconds(display.server_pid()) - server_cpu) / wall;
  run.server_wakeups =
      static_cast<double>(bench::VoluntarySwitches(display.server_pid()) - server_switches) / wall;
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  const auto [seconds, runs] = bench::ParseRunLength(argc, argv);
  std::printf(
      "kelvora /S at SP=10 on a virtual display of 1920×1080, uncovered and fully covered by "
      "another window, against an idle process; median (range) of %d runs, %d s each after a "
      "%lld s warm-up\n\n",
      runs, seconds, static_cast<long long>(kWarmUp.count()));
  std::printf(
      "| program | program cores | program wake-ups/s | X server cores | X server wake-ups/s "
      "|\n|---|---|---|---|---|\n");
  VirtualDisplay display(1920, 1080);
  Installation install;
  WriteFile(install.Ini(), "[main]\nCOLOR1=240\nCOLOR2=0\nCOLOR3=0\nSP=10\n");
  const struct {
    const char* name;
    Scene scene;
    std::vector<std::string> command;
  } scenes[] = {{"kelvora, uncovered", Scene::kRain, {install.Executable(), "/S"}},
                {"kelvora, covered", Scene::kCoveredRain, {install.Executable(), "/S"}},
                {"sleep (idle)", Scene::kIdleProcess, {"sleep", "1000"}}};
  for (const auto& scene : scenes) {
    bench::Series row({"%.4f", "%.1f", "%.4f", "%.1f"});
    for (int run = 0; run < runs; ++run) {
      const Run measured =
          MeasureOnce(scene.scene, scene.command, display, std::chrono::seconds(seconds));
      row.Add({measured.program_cores, measured.program_wakeups, measured.server_cores,
               measured.server_wakeups});
    }
    std::printf("| %s %s\n", scene.name, row.Cells().c_str());
    std::fflush(stdout);
  }
  return 0;
}
