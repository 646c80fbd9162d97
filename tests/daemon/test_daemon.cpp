// kelvora as the X screen-saver daemon's program, on a display with two
// monitors (two X screens): the daemon blanks each with a window of its own
// and runs `kelvora /S` for each window, and locks with a dialog of its own.
// Each case runs for both installs: into ~/.local, and from the package.
#include <gtest/gtest.h>
#include <signal.h>

#include <set>
#include <sstream>

#include "tests/daemon/daemon_session.h"
#include "tests/daemon/screen_checks.h"
#include "tests/daemon/top_level_windows.h"
#include "tests/e2e/rain_picture.h"

namespace {

constexpr int kMonitors = 2;

std::string Hex(unsigned long id) {
  std::ostringstream text;
  text << "0x" << std::hex << id;
  return text.str();
}

std::string InstallName(Install install) { return install == Install::kHome ? "Home" : "Package"; }

class DaemonFixture : public testing::Test {
 protected:
  void StartWith(Install install) {
    if (!OnPath("xscreensaver") || !OnPath("xscreensaver-command")) {
      GTEST_SKIP() << "the X screen-saver daemon is not installed (apt-get install "
                      "--no-install-recommends xscreensaver)";
    }
    if (install == Install::kPackage && (BuiltPackage().empty() || ::geteuid() != 0))
      GTEST_SKIP() << "the package test left no package, or we are not root";
    display_ = std::make_unique<VirtualDisplay>(800, 600, kMonitors);
    session_ = std::make_unique<DaemonSession>(*display_, install);
    ASSERT_TRUE(session_->Start()) << session_->Log();
  }

  // Waits until the daemon runs a copy for every monitor, each in a window
  // of its own, and gives them.
  std::vector<Saver> WaitForSavers() const {
    std::vector<Saver> savers;
    const bool all = WaitUntil([&] {
      savers = session_->Savers();
      std::set<unsigned long> windows;
      for (const Saver& saver : savers) windows.insert(saver.window);
      return savers.size() == kMonitors && windows.size() == kMonitors && !windows.contains(0);
    });
    EXPECT_TRUE(all) << savers.size() << " copies of kelvora run for " << kMonitors << " monitors\n"
                     << session_->Log();
    return savers;
  }

  RainPicture WaitForRainOn(int screen) const { return ::WaitForRainOn(*display_, screen); }

  std::unique_ptr<VirtualDisplay> display_;
  std::unique_ptr<DaemonSession> session_;
};

class Daemon : public DaemonFixture, public testing::WithParamInterface<Install> {
 protected:
  void SetUp() override { StartWith(GetParam()); }
};

TEST_P(Daemon, BlankingRainsOnEveryMonitorInTheDaemonsWindows) {
  ASSERT_TRUE(session_->Command("-activate"));
  const std::vector<Saver> savers = WaitForSavers();
  for (int screen = 0; screen < kMonitors; ++screen) {
    const RainPicture picture = WaitForRainOn(screen);
    EXPECT_TRUE(IsRain(picture)) << "monitor " << screen << ": " << picture.lit_pixels[0]
                                 << " red pixels, " << picture.columns_brightening
                                 << " columns brightening downwards";
  }

  // What shows on the screens is the daemon's alone: kelvora draws into the
  // windows it was given and shows none of its own.
  for (int screen = 0; screen < kMonitors; ++screen) {
    std::vector<TopLevelWindow> foreign;
    for (const TopLevelWindow& window : ViewableTopLevelWindows(*display_, screen))
      if (window.window_class != "XScreenSaver") foreign.push_back(window);
    EXPECT_TRUE(foreign.empty()) << "monitor " << screen
                                 << " shows windows besides the daemon's:" << Describe(foreign);
  }
  for (const Saver& saver : savers) {
    // The daemon marks its window with the pid of the program it runs there.
    std::istringstream ids(
        display_->Xdo({"search", "--onlyvisible", "--pid", std::to_string(saver.pid)}));
    for (unsigned long id = 0; ids >> id;) {
      EXPECT_EQ(id, saver.window) << "kelvora " << saver.pid << " in " << Hex(saver.window)
                                  << " shows a window of its own, " << Hex(id);
    }
  }

  for (const std::string& program : session_->ProgramsStarted())
    EXPECT_EQ(program, session_->ProgramLine()) << "the daemon ran " << program;
  for (const Saver& saver : savers) EXPECT_EQ(::kill(saver.pid, 0), 0) << "still running";
}

struct Ending {
  const char* name;
  friend void PrintTo(const Ending& e, std::ostream* out) { *out << e.name; }
  std::vector<std::string> commands;
};

class DaemonEnding : public DaemonFixture,
                     public testing::WithParamInterface<std::tuple<Install, Ending>> {
 protected:
  void SetUp() override { StartWith(std::get<0>(GetParam())); }
};

TEST_P(DaemonEnding, LeavesNoKelvoraRunning) {
  ASSERT_TRUE(session_->Command("-activate"));
  WaitForSavers();
  EXPECT_TRUE(IsRain(WaitForRainOn(0)));

  for (const std::string& command : std::get<1>(GetParam()).commands)
    EXPECT_TRUE(session_->Command(command)) << command;
  EXPECT_TRUE(session_->Ended()) << session_->Log();
  std::vector<Saver> left;
  EXPECT_TRUE(WaitUntil([&] {
    left = session_->Savers();
    return left.empty();
  })) << left.size()
      << " copies of kelvora outlived the daemon, the first " << left.front().pid;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, DaemonEnding,
    testing::Combine(testing::Values(Install::kHome, Install::kPackage),
                     testing::Values(Ending{"DeactivatedThenExited", {"-deactivate", "-exit"}},
                                     Ending{"ExitedWhileBlanked", {"-exit"}})),
    [](const testing::TestParamInfo<std::tuple<Install, Ending>>& info) {
      return InstallName(std::get<0>(info.param)) + std::get<1>(info.param).name;
    });

TEST_P(Daemon, LockedAMouseMoveShowsTheUnlockDialogOverTheRain) {
  ASSERT_TRUE(session_->Command("-lock"));
  const std::vector<Saver> savers = WaitForSavers();
  ASSERT_TRUE(IsRain(WaitForRainOn(0)));

  std::set<unsigned long> saver_windows;
  for (const Saver& saver : savers) saver_windows.insert(saver.window);
  // The daemon ignores a bump of the desk: the mouse moves on until it asks.
  // Its dialog is a window of its own, smaller than the monitor, drawn in a
  // light face on top: the rain must not cover it.
  TopLevelWindow dialog;
  QImage shot;
  int step = 0;
  const bool shown = WaitUntil([&] {
    // A walk to and fro: the daemon looks at how far the mouse went, and
    // only at real motion (a warp of the pointer is none).
    const int dx = ++step / 20 % 2 == 0 ? 15 : -15;
    display_->Xdo({"mousemove_relative", "--", std::to_string(dx), "10"});
    for (const TopLevelWindow& window : ViewableTopLevelWindows(*display_, 0)) {
      if (window.window_class == "XScreenSaver" && !saver_windows.contains(window.id) &&
          window.geometry.width() < 800 && window.geometry.height() > 100) {
        dialog = window;
        shot = display_->Screenshot(0);
        return MostlyLight(shot, dialog.geometry);
      }
    }
    return false;
  });
  ASSERT_TRUE(shown) << "no unlock dialog over the rain; the last one seen:" << Describe({dialog})
                     << "\n"
                     << session_->Log();

  QImage around = shot.copy();
  const QRect area = dialog.geometry.intersected(shot.rect());
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) around.setPixel(x, y, 0);
  EXPECT_GT(ReadRain(around, kColumnPixels).lit_pixels[0], 200) << "rain around the dialog";
}

// Given a window that does not exist (a daemon's window gone), the installed
// program ends with an error and shows nothing, over the blanked screens too.
TEST_P(Daemon, AWindowIdNamingNoWindowShowsNothing) {
  ASSERT_TRUE(session_->Command("-activate"));
  WaitForSavers();
  // The daemon maps its own windows as it blanks, in its own time: only a
  // window of anyone else's counts.
  const auto others = [&] {
    std::vector<TopLevelWindow> windows = ViewableTopLevelWindows(*display_, 0);
    std::erase_if(windows,
                  [](const TopLevelWindow& w) { return w.window_class == "XScreenSaver"; });
    return windows;
  };
  const auto before = others().size();
  const std::unique_ptr<Process> stray =
      session_->Launch({"sh", "-c", session_->ProgramLine()}, {"XSCREENSAVER_WINDOW=0x1fffff1"});
  EXPECT_EQ(stray->WaitExit(), 1) << stray->Stderr();
  EXPECT_NE(stray->Stderr().find("names no window"), std::string::npos) << stray->Stderr();
  EXPECT_EQ(others().size(), before) << Describe(others());
}

INSTANTIATE_TEST_SUITE_P(Installs, Daemon, testing::Values(Install::kHome, Install::kPackage),
                         [](const testing::TestParamInfo<Install>& info) {
                           return InstallName(info.param);
                         });

}  // namespace
