// Start-up of the real program: the command switch, the first-run write,
// the second copy, an unwritable program folder, and displays that are not
// named, do not answer, or answer without Qt's plugin for them.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <thread>

#include "tests/e2e/display_fixture.h"
#include "tests/e2e/rain_picture.h"
#include "tests/support/sway_session.h"

namespace {

const std::string kDefaults = "[main]\nCOLOR1=240\nCOLOR2=0\nCOLOR3=0\nSP=10\n";

enum class Shows { kNothing, kRain, kDialog };

// Whether the running program has loaded Qt's libraries.
bool LoadedQt(const Process& program) {
  return ReadFile("/proc/" + std::to_string(program.pid()) + "/maps").find("libQt6") !=
         std::string::npos;
}

struct CommandCase {
  const char* name;
  friend void PrintTo(const CommandCase& c, std::ostream* out) { *out << c.name; }
  std::vector<std::string> arguments;
  Shows shows;
};

class CommandLine : public OnDisplay<1024, 768>, public testing::WithParamInterface<CommandCase> {};

TEST_P(CommandLine, PicksTheRainTheDialogOrNothing) {
  const CommandCase& c = GetParam();
  Process saver = install_.Start(display(), c.arguments);
  if (c.shows == Shows::kNothing) {
    EXPECT_EQ(saver.WaitExit(), 0);
    EXPECT_TRUE(display().VisibleWindows().empty());
  } else {
    const std::optional<std::string> window = display().WaitForWindow();
    ASSERT_TRUE(window) << saver.Stderr();
    const std::string caption = display().WindowName(*window);
    EXPECT_EQ(caption.starts_with("設定"), c.shows == Shows::kDialog) << caption;
    EXPECT_TRUE(saver.Running());
    EXPECT_EQ(LoadedQt(saver), c.shows == Shows::kDialog) << "the rain runs without Qt";
  }
  EXPECT_EQ(ReadFile(install_.Ini()), kDefaults) << "every run that gets past the copy test";
}

INSTANTIATE_TEST_SUITE_P(
    Switches, CommandLine,
    testing::Values(CommandCase{"LowerS", {"/s"}, Shows::kRain},
                    CommandCase{"UpperS", {"/S"}, Shows::kRain},
                    CommandCase{"Settings", {"/SETTINGS"}, Shows::kRain},
                    CommandCase{"LowerC", {"/c"}, Shows::kDialog},
                    CommandCase{"CWithWindow", {"/c:42"}, Shows::kDialog},
                    CommandCase{"PreviewWithWindow", {"/p", "42"}, Shows::kNothing},
                    CommandCase{"UpperP", {"/P"}, Shows::kNothing},
                    CommandCase{"Unknown", {"/A"}, Shows::kNothing},
                    CommandCase{"Dash", {"-s"}, Shows::kNothing},
                    CommandCase{"NoSlash", {"s"}, Shows::kNothing},
                    CommandCase{"LoneSlash", {"/"}, Shows::kNothing},
                    CommandCase{"Empty", {}, Shows::kNothing}),
    [](const testing::TestParamInfo<CommandCase>& info) { return info.param.name; });

class Startup : public OnDisplay<1024, 768> {
 protected:
  // Runs /P to its end and gives the settings file afterwards.
  std::string AfterPreviewRun(const std::string& file) {
    WriteFile(install_.Ini(), file);
    Process run = install_.Start(display(), {"/P"});
    EXPECT_EQ(run.WaitExit(), 0);
    return ReadFile(install_.Ini());
  }
};

TEST_F(Startup, MissingSpeedRewritesAllFourDefaults) {
  EXPECT_EQ(AfterPreviewRun("[main]\nCOLOR1=0\nCOLOR2=240\nCOLOR3=0\n"), kDefaults);
  EXPECT_EQ(AfterPreviewRun("[main]\nCOLOR1=0\nCOLOR2=240\nCOLOR3=0\nSP=ERRORFLAG\n"), kDefaults);
}

TEST_F(Startup, PresentSpeedWritesNothing) {
  const std::string lower_case_marker = "[main]\nCOLOR1=1\nSP=errorflag\n";
  EXPECT_EQ(AfterPreviewRun(lower_case_marker), lower_case_marker);
  const std::string color_missing = "; mine\n[main]\nCOLOR1=0\nCOLOR3=0\nSP=100\n";
  EXPECT_EQ(AfterPreviewRun(color_missing), color_missing);
}

TEST_F(Startup, ASecondCopyEndsBeforeTouchingTheFile) {
  Process first = install_.Start(display(), {"/S"});
  ASSERT_TRUE(display().WaitForWindow());
  const std::string would_be_rewritten = "[main]\nCOLOR1=0\n";
  WriteFile(install_.Ini(), would_be_rewritten);
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"/S"}, {"/c"}, {"/P"}}) {
    Process second = install_.Start(display(), arguments);
    EXPECT_EQ(second.WaitExit(), 0);
  }
  EXPECT_EQ(ReadFile(install_.Ini()), would_be_rewritten);
  EXPECT_TRUE(first.Running());

  // A killed copy leaves nothing behind that would stop the next one.
  first.Kill();
  Process after_kill = install_.Start(display(), {"/P"});
  EXPECT_EQ(after_kill.WaitExit(), 0);
  EXPECT_EQ(ReadFile(install_.Ini()), kDefaults);
}

// One copy per display session, as Windows' App.PrevInstance sees its own
// session only: a second X server (a VNC session beside the local one) gets
// its own rain while the first rains.
TEST_F(Startup, ASecondDisplayGetsItsOwnRain) {
  Process first = install_.Start(display(), {"/S"});
  ASSERT_TRUE(display().WaitForWindow());
  const VirtualDisplay other(640, 480);
  Process second = install_.Start(other, {"/S"});
  EXPECT_TRUE(other.WaitForWindow()) << second.Stderr();
  EXPECT_TRUE(second.Running());
  EXPECT_TRUE(first.Running());
  // Within the second session the rule still holds.
  Process third = install_.Start(other, {"/S"});
  EXPECT_EQ(third.WaitExit(), 0);
}

TEST_F(Startup, AnotherExecutableIsNoSecondCopy) {
  Installation other;
  Process first = other.Start(display(), {"/S"});
  ASSERT_TRUE(display().WaitForWindow());
  Process run = install_.Start(display(), {"/P"});
  EXPECT_EQ(run.WaitExit(), 0);
  EXPECT_EQ(ReadFile(install_.Ini()), kDefaults);
}

TEST_F(Startup, ReadOnlyProgramFolderRunsOnWithoutError) {
  std::filesystem::permissions(install_.folder(),
                               std::filesystem::perms::owner_write |
                                   std::filesystem::perms::group_write |
                                   std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  Process saver = install_.Start(display(), {"/S"}, /*as_nobody=*/true);
  ASSERT_TRUE(display().WaitForWindow()) << saver.Stderr();
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(saver.Running());
  EXPECT_EQ(saver.Stderr().find("実行時エラー"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(install_.Ini()));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(install_.folder()),
                          std::filesystem::directory_iterator()),
            1)
      << "nothing but the program in its folder";
}

// A Wayland socket that a compositor left behind when it ended: the file is
// there, and nothing answers on it.
void LeaveStaleSocket(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0) << path;
  ::close(fd);
}

// An X display number that no server has.
std::string UnservedXDisplay() {
  int number = 4000;
  while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number))) ++number;
  return ":" + std::to_string(number);
}

// The environment's displays: none named, or named and not answering. What
// shows something says in one line what it tried, and fails, with the
// settings untouched; what shows nothing needs no display.
TEST(NoDisplay, WhatShowsSomethingSaysWhatItTriedAndFails) {
  const TempDir runtime;
  LeaveStaleSocket(runtime.File("wayland-gone"));
  const std::string x = UnservedXDisplay();
  const std::string stale_wayland = "WAYLAND_DISPLAY=wayland-gone";
  const std::string gone_x = "DISPLAY=" + x;
  const struct {
    std::vector<std::string> named;
    std::string why;
  } environments[] = {
      {{}, "set WAYLAND_DISPLAY or DISPLAY"},
      {{stale_wayland}, "WAYLAND_DISPLAY=wayland-gone does not answer; DISPLAY not set"},
      {{gone_x}, "WAYLAND_DISPLAY not set; DISPLAY=" + x + " does not answer"},
      {{stale_wayland, gone_x},
       "WAYLAND_DISPLAY=wayland-gone does not answer; DISPLAY=" + x + " does not answer"},
  };
  for (const auto& environment : environments) {
    const std::string said = "kelvora: no Wayland or X display (" + environment.why + ")\n";
    const struct {
      std::vector<std::string> arguments;
      int status;
      std::string error;
    } runs[] = {{{"/S"}, 1, said}, {{"/C"}, 1, said}, {{"/P"}, 0, ""}, {{}, 0, ""}};
    for (const auto& run : runs) {
      const Installation install;
      WriteFile(install.Ini(), kDefaults);
      std::vector<std::string> argv{"env",
                                    "-u",
                                    "DISPLAY",
                                    "-u",
                                    "WAYLAND_DISPLAY",
                                    "XDG_RUNTIME_DIR=" + runtime.path().string()};
      argv.insert(argv.end(), environment.named.begin(), environment.named.end());
      for (const std::string& part : install.Command(run.arguments)) argv.push_back(part);
      Process program(argv, "");
      const std::string what =
          testing::PrintToString(environment.named) + " " + testing::PrintToString(run.arguments);
      EXPECT_EQ(program.WaitExit(), run.status) << what;
      EXPECT_EQ(program.Stderr(), run.error) << what;
      EXPECT_EQ(ReadFile(install.Ini()), kDefaults) << what;
    }
  }
}

// A Wayland socket left from an ended session beside a working X display:
// the rain and the dialog use X, as when only DISPLAY is named, even where
// the session type says Wayland (which Qt would follow).
TEST_F(Startup, AStaleWaylandDisplayBesideXIsPassedOver) {
  const TempDir runtime;
  LeaveStaleSocket(runtime.File("wayland-gone"));
  for (const Shows shows : {Shows::kRain, Shows::kDialog}) {
    std::vector<std::string> argv{"env", "WAYLAND_DISPLAY=wayland-gone", "XDG_SESSION_TYPE=wayland",
                                  "XDG_RUNTIME_DIR=" + runtime.path().string()};
    for (const std::string& part : install_.Command({shows == Shows::kRain ? "/S" : "/C"}))
      argv.push_back(part);
    Process program(argv, display().name());
    const std::optional<std::string> window = display().WaitForWindow();
    ASSERT_TRUE(window) << program.Stderr();
    EXPECT_EQ(display().WindowName(*window).starts_with("設定"), shows == Shows::kDialog);
    EXPECT_TRUE(program.Running()) << program.Stderr();
    program.Kill();
    EXPECT_TRUE(WaitUntil([&] { return display().VisibleWindows().empty(); }));
  }
}

// Whether green rain shows on the session's screen before the program ends
// (or the time is up).
bool RainsOn(const SwaySession& session, Process& saver) {
  return WaitUntil([&] {
           return !saver.Running() ||
                  ReadRain(session.Screenshot(), kColumnPixels).lit_pixels[1] > 2000;
         }) &&
         saver.Running();
}

// KELVORA_BACKEND chooses among the backends it names, in its order; a name
// that is none of them, or names that cannot show the form, end the run in
// one line. KELVORA_DEBUG names the choice.
TEST_F(Startup, KelvoraBackendChoosesAmongTheNamedOnes) {
  const struct {
    std::string backends;
    std::string argument;
    Shows shows;
    std::string error;  // the whole of standard error
  } cases[] = {
      {"nosuch", "/S", Shows::kNothing,
       "kelvora: KELVORA_BACKEND names 'nosuch', which is none of: wayland, x11, qt\n"},
      {"x11,nosuch", "/C", Shows::kNothing,
       "kelvora: KELVORA_BACKEND names 'nosuch', which is none of: wayland, x11, qt\n"},
      {"x11", "/C", Shows::kNothing,
       "kelvora: none of the backends that KELVORA_BACKEND names can show this window\n"},
      {"x11", "/S", Shows::kRain, "kelvora: backend x11\n"},
      {"qt", "/S", Shows::kRain, "kelvora: backend qt\n"},
      {"wayland,qt", "/C", Shows::kDialog, "kelvora: backend qt\n"},
  };
  for (const auto& c : cases) {
    const std::string what = c.backends + " " + c.argument;
    std::vector<std::string> argv{"env", "KELVORA_BACKEND=" + c.backends, "KELVORA_DEBUG=1"};
    for (const std::string& part : install_.Command({c.argument})) argv.push_back(part);
    Process program(argv, display().name());
    if (c.shows == Shows::kNothing) {
      EXPECT_EQ(program.WaitExit(), 1) << what;
      EXPECT_EQ(program.Stderr(), c.error) << what;
      continue;
    }
    const std::optional<std::string> window = display().WaitForWindow();
    ASSERT_TRUE(window) << what << ": " << program.Stderr();
    EXPECT_EQ(display().WindowName(*window).starts_with("設定"), c.shows == Shows::kDialog) << what;
    EXPECT_EQ(LoadedQt(program), c.backends != "x11") << what;
    program.Kill();
    EXPECT_TRUE(program.Stderr().starts_with(c.error)) << what << ": " << program.Stderr();
    EXPECT_TRUE(WaitUntil([&] { return display().VisibleWindows().empty(); }));
  }
  EXPECT_EQ(ReadFile(install_.Ini()), kDefaults);
}

// On a compositor that has the layer shell, KELVORA_BACKEND=x11 still rains
// through Xwayland.
TEST(KelvoraBackend, X11OnASwaySessionRainsThroughXwayland) {
  if (!SwaySession::Available()) GTEST_SKIP() << SwaySession::kSkipMessage;
  SwaySession session({.width = 640, .height = 480, .xwayland = true});
  ASSERT_TRUE(session.Start()) << session.Log();
  Installation install;
  WriteFile(install.Ini(), SettingsFile("0", "240", "0", "10"));
  session.user().Own(install.folder());
  const auto saver = session.Run(install.Command({"/S"}), {"KELVORA_BACKEND=x11", "KELVORA_DEBUG=1",
                                                           "DISPLAY=" + session.XDisplay()});
  EXPECT_TRUE(RainsOn(session, *saver)) << saver->Stderr();
  saver->Kill();
  EXPECT_TRUE(saver->Stderr().starts_with("kelvora: backend x11\n")) << saver->Stderr();
}

// A DISPLAY naming no server beside a working compositor: the rain and the
// dialog are drawn on Wayland. Without Qt's Wayland plugin (here hidden by a
// qt.conf beside the program), the dialog says so in one line.
TEST(WaylandWithoutX, AnUnservedDisplayIsPassedOverAndAMissingPluginSaysSo) {
  if (!SwaySession::Available()) GTEST_SKIP() << SwaySession::kSkipMessage;
  SwaySession session({.width = 640, .height = 480});
  ASSERT_TRUE(session.Start()) << session.Log();
  Installation install;
  const std::string settings = SettingsFile("0", "240", "0", "10");
  WriteFile(install.Ini(), settings);
  session.user().Own(install.folder());
  const std::vector<std::string> gone_x{"DISPLAY=" + UnservedXDisplay()};

  const auto saver = session.Run(install.Command({"/S"}), gone_x);
  EXPECT_TRUE(RainsOn(session, *saver)) << saver->Stderr();
  saver->Kill();

  const auto dialog = session.Run(install.Command({"/C"}), gone_x);
  EXPECT_TRUE(WaitUntil(
      [&] { return !dialog->Running() || session.WindowArea("kelvora-settings").has_value(); }));
  EXPECT_TRUE(dialog->Running()) << dialog->Stderr();
  dialog->Kill();

  std::filesystem::create_directory(install.folder() / "no-plugins");
  WriteFile((install.folder() / "qt.conf").string(), "[Paths]\nPlugins=no-plugins\n");
  session.user().Own(install.folder());
  const auto without_plugin = session.Run(install.Command({"/C"}));
  EXPECT_EQ(without_plugin->WaitExit(), 1) << without_plugin->Stderr();
  const std::string said = without_plugin->Stderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_TRUE(said.starts_with("kelvora: ") && said.find("\"wayland\"") != std::string::npos)
      << said;
  EXPECT_EQ(ReadFile(install.Ini()), settings);
}

}  // namespace
