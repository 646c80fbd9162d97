// Start-up of the real program: the command switch, the first-run write,
// the second copy, an unwritable program folder and no display at all.
#include <gtest/gtest.h>

#include <thread>

#include "tests/e2e/display_fixture.h"

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

// Neither display: what shows something says so in one line naming both,
// and fails; what shows nothing needs neither.
TEST(NoDisplay, WhatShowsSomethingNamesBothAndFails) {
  const std::string message = "kelvora: no Wayland or X display (set WAYLAND_DISPLAY or DISPLAY)\n";
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string error;
  } cases[] = {{{"/S"}, 1, message}, {{"/C"}, 1, message}, {{"/P"}, 0, ""}, {{}, 0, ""}};
  for (const auto& c : cases) {
    const Installation install;
    std::vector<std::string> argv{"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY"};
    for (const std::string& part : install.Command(c.arguments)) argv.push_back(part);
    Process run(argv, "");
    EXPECT_EQ(run.WaitExit(), c.status) << testing::PrintToString(c.arguments);
    EXPECT_EQ(run.Stderr(), c.error) << testing::PrintToString(c.arguments);
  }
}

}  // namespace
