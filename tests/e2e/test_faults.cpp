// Faults of the world around the running program: the X server ending, the
// dialog short of descriptors or memory, the settings file rewritten in
// place or its folder removed, screens of other depths, a stop and a resume.
// Each ends in a clear way or is ridden out; none loses the file.
#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/rain_picture.h"

namespace {

namespace fs = std::filesystem;

std::unique_ptr<Process> StartRain(const Installation& install, const VirtualDisplay& display) {
  auto saver = std::make_unique<Process>(install.Command({"/S"}), display.name());
  EXPECT_TRUE(display.WaitForWindow()) << saver->Stderr();
  return saver;
}

TEST(Faults, TheXServerEndingEndsTheRainWithOneLine) {
  Installation install;
  const std::string settings = SettingsFile("0", "240", "0", "10");
  WriteFile(install.Ini(), settings);
  auto display = std::make_unique<VirtualDisplay>(640, 480);
  const auto saver = StartRain(install, *display);
  WaitForRain(*display, Channel::kGreen, 200);
  ::kill(display->server_pid(), SIGKILL);
  EXPECT_EQ(saver->WaitExit(), 1) << "status 1, not a signal: " << saver->Stderr();
  const std::string said = saver->Stderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_EQ(ReadFile(install.Ini()), settings);
}

// The dialog at the edges of what the system gives: its X server killed
// under it, six to nine file descriptors (the point where GLib's event loop
// used to die of SIGTRAP moves with what the process inherits), 80 MB of
// address space. Each ends with one
// line and status 1, or the dialog shows; never a signal, and the settings
// file stays byte for byte what it was.
struct DialogEdge {
  const char* name;
  friend void PrintTo(const DialogEdge& c, std::ostream* out) { *out << c.name; }
  std::vector<std::string> limit;  // prlimit's option, or none
  bool kill_server;
};

class DialogAtTheEdge : public testing::TestWithParam<DialogEdge> {};

TEST_P(DialogAtTheEdge, EndsWithOneLineOrShowsAndKeepsTheSettings) {
  const DialogEdge& edge = GetParam();
  auto display = std::make_unique<VirtualDisplay>(640, 480);
  Installation install;
  const std::string settings = "; mine\r\n" + SettingsFile("0", "240", "0", "10");
  WriteFile(install.Ini(), settings);
  // A runtime folder of its own, so that Qt has nothing else to say.
  const TempDir runtime;
  std::vector<std::string> argv{"env", "XDG_RUNTIME_DIR=" + runtime.path().string()};
  if (!edge.limit.empty()) {
    argv.push_back("prlimit");
    argv.insert(argv.end(), edge.limit.begin(), edge.limit.end());
    argv.push_back("--");
  }
  for (const std::string& part : install.Command({"/C"})) argv.push_back(part);
  Process dialog(argv, display->name());

  bool shown = false;
  WaitUntil([&] { return !dialog.Running() || (shown = !display->VisibleWindows().empty()); });
  if (edge.kill_server) {
    ASSERT_TRUE(shown) << dialog.Stderr();
    ::kill(display->server_pid(), SIGKILL);
  }
  if (shown && !edge.kill_server) {
    EXPECT_TRUE(dialog.Running()) << dialog.Stderr();
    dialog.Kill();
  } else {
    EXPECT_EQ(dialog.WaitExit(), 1) << "status 1, not a signal: " << dialog.Stderr();
    const std::string said = dialog.Stderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_TRUE(said.starts_with("kelvora: ")) << said;
  }
  EXPECT_EQ(ReadFile(install.Ini()), settings);
}

INSTANTIATE_TEST_SUITE_P(Edges, DialogAtTheEdge,
                         testing::Values(DialogEdge{"XServerKilled", {}, true},
                                         DialogEdge{"SixDescriptors", {"--nofile=6"}, false},
                                         DialogEdge{"SevenDescriptors", {"--nofile=7"}, false},
                                         DialogEdge{"EightDescriptors", {"--nofile=8"}, false},
                                         DialogEdge{"NineDescriptors", {"--nofile=9"}, false},
                                         DialogEdge{"EightyMegabytes", {"--as=81920000"}, false}),
                         [](const testing::TestParamInfo<DialogEdge>& info) {
                           return info.param.name;
                         });

// An editor saves by shortening the file and writing it again; a start that
// reads it meanwhile sees some version of it, and never dies.
TEST(Faults, StartsWhileTheFileIsRewrittenInPlaceNeverDie) {
  Installation install;
  const std::string text =
      "; " + std::string(2 << 20, 'x') + "\n" + SettingsFile("0", "0", "240", "10");
  WriteFile(install.Ini(), text);
  std::atomic<bool> editing = true;
  std::thread editor([&] {
    while (editing) std::ofstream(install.Ini(), std::ios::binary | std::ios::trunc) << text;
  });
  int signalled = 0, runs = 0;
  for (; runs < 150; ++runs) {
    Process preview(install.Command({"/P"}), "");
    const std::optional<int> status = preview.WaitExit();
    ASSERT_TRUE(status) << "a run of /P hung";
    if (*status < 0) ++signalled;
  }
  editing = false;
  editor.join();
  EXPECT_EQ(signalled, 0) << "of " << runs << " runs";
}

// The rain has read its settings: it goes on without its folder, and a new
// copy in a new folder of that name starts afresh with the first-run red.
TEST(Faults, TheFolderRemovedDuringTheRain) {
  VirtualDisplay display(640, 480);
  auto install = std::make_unique<Installation>();
  WriteFile(install->Ini(), SettingsFile("0", "0", "240", "10"));
  const fs::path folder = install->folder();
  {
    const auto saver = StartRain(*install, display);
    WaitForRain(display, Channel::kBlue, 200);
    fs::remove_all(folder);
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(saver->Running()) << saver->Stderr();
    EXPECT_EQ(EndWith(*saver, [&] { display.Xdo({"key", "a"}); }), 0) << saver->Stderr();
  }
  fs::create_directory(folder);
  fs::copy_file(KELVORA_EXE, folder / "kelvora");
  Process again({(folder / "kelvora").string(), "/S"}, display.name());
  EXPECT_GT(WaitForRain(display, Channel::kRed, 2000).lit_pixels[0], 2000) << again.Stderr();
  EXPECT_EQ(ReadFile((folder / "kelvora.ini").string()), SettingsFile("240", "0", "0", "10"));
  EXPECT_EQ(EndWith(again, [&] { display.Xdo({"key", "a"}); }), 0) << again.Stderr();
  fs::remove_all(folder);
}

// The write system calls a process has made: the rain flushes its requests
// to the X server once a tick, so they count its ticks.
long WritesOf(pid_t pid) {
  std::ifstream io("/proc/" + std::to_string(pid) + "/io");
  for (std::string name; io >> name;) {
    long value = 0;
    io >> value;
    if (name == "syscw:") return value;
  }
  return -1;
}

// A daemon stops the rain while its dialog is up. Resumed after 10 s, the
// rain goes on at its pace: no burst of the 50 ticks it missed at 200 ms.
TEST(Faults, AStoppedRainResumesWithoutABurst) {
  VirtualDisplay display(640, 480);
  Installation install;
  WriteFile(install.Ini(), SettingsFile("0", "240", "0", "200"));
  const auto saver = StartRain(install, display);
  WaitForRain(display, Channel::kGreen, 200);
  const long start = WritesOf(saver->pid());
  std::this_thread::sleep_for(3s);
  const long running = WritesOf(saver->pid()) - start;
  ASSERT_GE(start, 0) << "no /proc/PID/io here";
  ::kill(saver->pid(), SIGSTOP);
  std::this_thread::sleep_for(10s);
  const long stopped = WritesOf(saver->pid());
  ::kill(saver->pid(), SIGCONT);
  std::this_thread::sleep_for(3s);
  const long resumed = WritesOf(saver->pid()) - stopped;
  EXPECT_LE(resumed, 2 * running + 10) << running << " writes in 3 s before";
  EXPECT_EQ(EndWith(*saver, [&] { display.Xdo({"key", "a"}); }), 0) << saver->Stderr();
}

class OtherDepths : public testing::TestWithParam<int> {};

TEST_P(OtherDepths, TheRainIsDrawn) {
  VirtualDisplay display(640, 480, 1, GetParam());
  Installation install;
  WriteFile(install.Ini(), SettingsFile("0", "240", "0", "10"));
  const auto saver = StartRain(install, display);
  const RainPicture picture = WaitForRain(display, [](const RainPicture& seen) {
    return seen.lit_pixels[1] > 2000 && seen.columns_seen >= 10;
  });
  EXPECT_GT(picture.lit_pixels[1], 2000) << saver->Stderr();
  EXPECT_LT(picture.lit_pixels[0] + picture.lit_pixels[2], picture.lit_pixels[1] / 50);
  EXPECT_GE(picture.columns_brightening * 10, picture.columns_seen * 9) << "the gradient";
  EXPECT_EQ(EndWith(*saver, [&] { display.Xdo({"key", "a"}); }), 0) << saver->Stderr();
}

INSTANTIATE_TEST_SUITE_P(Depths, OtherDepths, testing::Values(15, 16, 30),
                         [](const testing::TestParamInfo<int>& info) {
                           return "Depth" + std::to_string(info.param);
                         });

}  // namespace
