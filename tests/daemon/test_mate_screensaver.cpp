// kelvora as mate-screensaver's theme, from the package (mate-screensaver
// runs theme programs from its system folders alone, so a ~/.local install
// can't be reached): the daemon's session bus and settings are the user's
// own; it blanks with kelvora in its window, shows its unlock dialog over
// the rain, and leaves no kelvora running once it has stopped.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>

#include "tests/daemon/daemon_session.h"
#include "tests/daemon/screen_checks.h"
#include "tests/daemon/top_level_windows.h"

namespace {

class MateScreensaver : public testing::Test {
 protected:
  void SetUp() override {
    if (!OnPath("mate-screensaver") || !OnPath("dbus-run-session"))
      GTEST_SKIP() << "mate-screensaver is not installed (apt-get install "
                      "--no-install-recommends mate-screensaver)";
    if (BuiltPackage().empty() || ::geteuid() != 0)
      GTEST_SKIP() << "the package test left no package, or we are not root";
    display_ = std::make_unique<VirtualDisplay>(800, 600);
    session_ = std::make_unique<UserSession>(*display_, Install::kPackage);
    // The theme is the desktop entry's id; the bus address is kept for the
    // commands.
    daemon_ = session_->Launch(
        {"dbus-run-session", "--", "sh", "-c",
         "gsettings set org.mate.screensaver mode single && "
         "gsettings set org.mate.screensaver themes \"['screensavers-kelvora']\" && "
         "gsettings set org.mate.screensaver lock-enabled true && "
         "echo \"$DBUS_SESSION_BUS_ADDRESS\" > \"$HOME/bus.new\" && "
         "mv \"$HOME/bus.new\" \"$HOME/bus\" && exec mate-screensaver --no-daemon"},
        {"GSETTINGS_BACKEND=keyfile"});
    const std::string bus_file = session_->home() + "/bus";
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(bus_file); })) << daemon_->Stderr();
    bus_ =
        "DBUS_SESSION_BUS_ADDRESS=" + ReadFile(bus_file).substr(0, ReadFile(bus_file).find('\n'));
    ASSERT_TRUE(WaitUntil([&] { return Command("--query"); })) << daemon_->Stderr();
  }

  void TearDown() override {
    if (!daemon_) return;
    // The whole group: the session bus and the accessibility bus it started
    // outlive a killed dbus-run-session otherwise.
    ::kill(-daemon_->pid(), SIGKILL);
    daemon_->Kill();
  }

  bool Command(const std::string& option) const {
    return session_->Run({"mate-screensaver-command", option},
                         {bus_, "GSETTINGS_BACKEND=keyfile"}) == 0;
  }

  std::vector<Saver> WaitForSaver() const {
    std::vector<Saver> savers;
    WaitUntil([&] {
      savers = session_->Savers();
      return savers.size() == 1 && savers.front().window != 0;
    });
    return savers;
  }

  std::unique_ptr<VirtualDisplay> display_;
  std::unique_ptr<UserSession> session_;
  std::unique_ptr<Process> daemon_;
  std::string bus_;
};

TEST_F(MateScreensaver, BlankingRainsInTheDaemonsWindowAndStopsClean) {
  ASSERT_TRUE(Command("--activate"));
  const std::vector<Saver> savers = WaitForSaver();
  ASSERT_EQ(savers.size(), 1u) << daemon_->Stderr();
  const RainPicture picture = WaitForRainOn(*display_);
  EXPECT_TRUE(IsRain(picture)) << picture.lit_pixels[0] << " red pixels";
  for (const TopLevelWindow& window : ViewableTopLevelWindows(*display_, 0))
    EXPECT_NE(window.window_class, "kelvora") << "a window of kelvora's own" << Describe({window});

  ASSERT_TRUE(Command("--deactivate"));
  EXPECT_TRUE(WaitUntil([&] { return session_->Savers().empty(); }))
      << "kelvora outlived the blanking";
  ASSERT_TRUE(Command("--exit"));
  EXPECT_TRUE(daemon_->WaitExit().has_value());
  EXPECT_TRUE(session_->Savers().empty());
}

TEST_F(MateScreensaver, LockedAMouseMoveShowsTheUnlockDialogOverTheRain) {
  ASSERT_TRUE(Command("--lock"));
  ASSERT_EQ(WaitForSaver().size(), 1u) << daemon_->Stderr();
  ASSERT_TRUE(IsRain(WaitForRainOn(*display_)));
  // The dialog is drawn into the daemon's window, above the rain: a light
  // area in the middle of the screen.
  const QRect middle(300, 250, 200, 100);
  int step = 0;
  const bool shown = WaitUntil([&] {
    display_->Xdo({"mousemove_relative", "--", ++step % 2 == 0 ? "15" : "-15", "10"});
    return MostlyLight(display_->Screenshot(), middle);
  });
  EXPECT_TRUE(shown) << "no unlock dialog over the rain\n" << daemon_->Stderr();
  EXPECT_FALSE(session_->Savers().empty()) << "the rain runs on under the dialog";
}

}  // namespace
