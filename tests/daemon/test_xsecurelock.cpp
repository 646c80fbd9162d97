// kelvora as xsecurelock's saver module, for both installs: the package's
// saver_kelvora by name, the one in ~/.local by its full path. The locker
// runs the module in its window on every monitor, shows its password dialog
// over the rain on a key, and leaves no kelvora running once it has ended.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include "tests/daemon/daemon_session.h"
#include "tests/daemon/screen_checks.h"
#include "tests/daemon/top_level_windows.h"

namespace {

class Xsecurelock : public testing::TestWithParam<Install> {
 protected:
  void SetUp() override {
    if (!OnPath("xsecurelock"))
      GTEST_SKIP() << "xsecurelock is not installed (apt-get install "
                      "--no-install-recommends xsecurelock)";
    if (GetParam() == Install::kPackage && (BuiltPackage().empty() || ::geteuid() != 0))
      GTEST_SKIP() << "the package test left no package, or we are not root";
    display_ = std::make_unique<VirtualDisplay>(800, 600);
    session_ = std::make_unique<UserSession>(*display_, GetParam());
    const std::string module = GetParam() == Install::kPackage
                                   ? "saver_kelvora"
                                   : session_->home() + "/.local/libexec/xsecurelock/saver_kelvora";
    // A light dialog, told apart from the rain by its face.
    locker_ = session_->Launch({"xsecurelock"}, {"XSECURELOCK_SAVER=" + module,
                                                 "XSECURELOCK_AUTH_BACKGROUND_COLOR=white"});
  }

  std::unique_ptr<VirtualDisplay> display_;
  std::unique_ptr<UserSession> session_;
  std::unique_ptr<Process> locker_;
};

TEST_P(Xsecurelock, RainsInTheLockersWindowShowsItsDialogOnTopAndStopsClean) {
  std::vector<Saver> savers;
  EXPECT_TRUE(WaitUntil([&] {
    savers = session_->Savers();
    return savers.size() == 1 && savers.front().window != 0;
  })) << savers.size()
      << " copies of kelvora\n"
      << locker_->Stderr();
  const RainPicture picture = WaitForRainOn(*display_);
  EXPECT_TRUE(IsRain(picture)) << picture.lit_pixels[0] << " red pixels\n" << locker_->Stderr();
  for (const TopLevelWindow& window : ViewableTopLevelWindows(*display_, 0))
    EXPECT_NE(window.window_class, "kelvora") << "a window of kelvora's own" << Describe({window});

  // A key asks for the password: the dialog's face in the middle.
  const QRect middle(350, 285, 100, 30);
  const bool shown = WaitUntil([&] {
    display_->Xdo({"key", "space"});
    return MostlyLight(display_->Screenshot(), middle);
  });
  EXPECT_TRUE(shown) << "no password dialog over the rain\n" << locker_->Stderr();

  ::kill(locker_->pid(), SIGTERM);
  EXPECT_TRUE(locker_->WaitExit().has_value());
  EXPECT_TRUE(WaitUntil([&] { return session_->Savers().empty(); }))
      << "kelvora outlived the locker";
}

INSTANTIATE_TEST_SUITE_P(Installs, Xsecurelock, testing::Values(Install::kHome, Install::kPackage),
                         [](const testing::TestParamInfo<Install>& info) {
                           return info.param == Install::kHome ? "Home" : "Package";
                         });

}  // namespace
