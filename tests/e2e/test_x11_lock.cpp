// The real lockers on bare X against the rain. The rain holds the
// keyboard's focus and never a grab, so a locker started during the rain
// grabs the keyboard, the rain steps aside, and the lock is what shows; a
// rain started under a lock steps aside too.
#include <gtest/gtest.h>
#include <signal.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/display_fixture.h"
#include "tests/e2e/rain_picture.h"
#include "tests/support/test_user.h"

namespace {

class Lockers : public OnDisplay<800, 600> {
 protected:
  void SetUp() override {
    OnDisplay::SetUp();
    for (const char* locker : {"i3lock", "xsecurelock"}) {
      if (!OnPath(locker))
        GTEST_SKIP() << locker << " is not installed (apt-get install --no-install-recommends "
                     << locker << ")";
    }
    connection_ = xcb_connect(display().name().c_str(), nullptr);
    ASSERT_EQ(xcb_connection_has_error(connection_), 0);
    WriteFile(install_.Ini(), SettingsFile("240", "0", "0", "10"));
    // A grey desktop, told apart from a black lock.
    RunToEnd({"xsetroot", "-solid", "#808080"}, display().name());
  }
  void TearDown() override {
    if (connection_ != nullptr) xcb_disconnect(connection_);
  }

  std::unique_ptr<Process> StartRain() {
    return std::make_unique<Process>(install_.Command({"/S"}), display().name());
  }

  void WaitForRedRain(Process& rain) {
    const RainPicture picture = WaitForRain(display(), Channel::kRed, 500);
    ASSERT_GT(picture.lit_pixels[static_cast<int>(Channel::kRed)], 500) << rain.Stderr();
  }

  // Whether some other client holds the keyboard: our grab is refused.
  bool KeyboardHeldElsewhere() {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    xcb_grab_keyboard_reply_t* reply =
        xcb_grab_keyboard_reply(connection_,
                                xcb_grab_keyboard(connection_, 0, root, XCB_CURRENT_TIME,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                nullptr);
    const bool held = reply != nullptr && reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
    if (reply != nullptr && reply->status == XCB_GRAB_STATUS_SUCCESS)
      xcb_ungrab_keyboard(connection_, XCB_CURRENT_TIME);
    std::free(reply);
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    return held;
  }

  // Every pixel of the screen in the one colour.
  bool ScreenIs(QRgb color) const {
    const QImage shot = display().Screenshot();
    for (int y = 0; y < shot.height(); ++y) {
      for (int x = 0; x < shot.width(); ++x) {
        if ((shot.pixel(x, y) & 0xFFFFFF) != (color & 0xFFFFFF)) return false;
      }
    }
    return !shot.isNull();
  }

  // The locker and whatever it started (xsecurelock's saver and dialog).
  static void EndLocker(const Process& locker) { ::kill(-locker.pid(), SIGKILL); }

  xcb_connection_t* connection_ = nullptr;
};

struct LockerCase {
  const char* name;
  friend void PrintTo(const LockerCase& c, std::ostream* out) { *out << c.name; }
  std::vector<std::string> command;
  QRgb face;  // what the lock shows until a key is pressed
};

class LockerDuringTheRain : public Lockers, public testing::WithParamInterface<LockerCase> {};

TEST_P(LockerDuringTheRain, LocksAndIsWhatShows) {
  const auto rain = StartRain();
  WaitForRedRain(*rain);
  Process locker(GetParam().command, display().name());
  EXPECT_EQ(rain->WaitExit(), 0) << "the rain did not step aside\n" << rain->Stderr();
  EXPECT_TRUE(WaitUntil([&] { return ScreenIs(GetParam().face); }))
      << "the lock does not cover the screen\n"
      << locker.Stderr();
  EXPECT_TRUE(KeyboardHeldElsewhere()) << "the locker holds no keyboard";
  EXPECT_TRUE(locker.Running()) << "the locker gave up\n" << locker.Stderr();
  EndLocker(locker);
}

INSTANTIATE_TEST_SUITE_P(
    Lockers, LockerDuringTheRain,
    testing::Values(LockerCase{"i3lock", {"i3lock", "-n", "-c", "0000ff"}, qRgb(0, 0, 255)},
                    // Its blank saver until a key asks for the password.
                    LockerCase{"xsecurelock",
                               {"env", "XSECURELOCK_SAVER=saver_blank", "xsecurelock"},
                               qRgb(0, 0, 0)}),
    [](const testing::TestParamInfo<LockerCase>& info) { return std::string(info.param.name); });

TEST_F(Lockers, ARainStartedUnderALockStepsAside) {
  Process locker({"i3lock", "-n", "-c", "0000ff"}, display().name());
  ASSERT_TRUE(WaitUntil([&] { return ScreenIs(qRgb(0, 0, 255)); })) << locker.Stderr();
  const auto rain = StartRain();
  EXPECT_EQ(rain->WaitExit(), 0) << "the rain stayed over the lock\n" << rain->Stderr();
  EXPECT_TRUE(WaitUntil([&] { return ScreenIs(qRgb(0, 0, 255)); })) << "the lock is not shown";
  EXPECT_TRUE(locker.Running()) << locker.Stderr();
  EndLocker(locker);
}

// The README's line for bare X, `xset s TIMEOUT CYCLE` with
// `xss-lock -n 'kelvora /S' -- i3lock -n`, at short times: the rain comes
// when the session goes idle, and the lock comes at the end of the cycle,
// over the rain. xss-lock needs a login manager: a mock of logind on a bus
// of the test's own stands in for it.
TEST_F(Lockers, XssLockRunsTheRainThenLocksOverIt) {
  for (const char* tool : {"xss-lock", "dbus-daemon", "dbus-send"}) {
    if (!OnPath(tool)) GTEST_SKIP() << tool << " is not installed";
  }
  if (std::system("/usr/bin/python3 -c 'import dbusmock' 2>/dev/null") != 0)
    GTEST_SKIP() << "python3-dbusmock is not installed";
  Process bus({"dbus-daemon", "--session", "--nofork", "--print-address=1"}, "");
  std::string address;
  ASSERT_TRUE(WaitUntil([&] {
    address = bus.Stdout();
    return address.ends_with('\n');
  })) << bus.Stderr();
  const std::string system_bus = "DBUS_SYSTEM_BUS_ADDRESS=" + address.substr(0, address.size() - 1);
  Process logind(
      {"env", system_bus, "/usr/bin/python3", "-m", "dbusmock", "--system", "--template", "logind"},
      "");
  const auto mock = [&](const std::vector<std::string>& call) {
    std::vector<std::string> command{"env",
                                     system_bus,
                                     "dbus-send",
                                     "--system",
                                     "--print-reply",
                                     "--dest=org.freedesktop.login1",
                                     "/org/freedesktop/login1"};
    command.insert(command.end(), call.begin(), call.end());
    Process send(command, "");
    return send.WaitExit() == 0;
  };
  ASSERT_TRUE(WaitUntil([&] {
    return mock({"org.freedesktop.DBus.Mock.AddSeat", "string:seat0"});
  })) << logind.Stderr();
  ASSERT_TRUE(mock({"org.freedesktop.DBus.Mock.AddSession", "string:c1", "string:seat0", "uint32:0",
                    "string:root", "boolean:true"}));

  RunToEnd({"xset", "s", "2", "4"}, display().name());
  Process xss_lock(
      {"env", system_bus, "xss-lock", "--session=c1", "--notifier=" + install_.Executable() + " /S",
       "--", "i3lock", "-n", "-c", "0000ff"},
      display().name());
  RunToEnd({"xset", "s", "reset"}, display().name());
  const RainPicture rain = WaitForRain(display(), Channel::kRed, 500);
  EXPECT_GT(rain.lit_pixels[static_cast<int>(Channel::kRed)], 500) << "no rain at the idle time\n"
                                                                   << xss_lock.Stderr();
  EXPECT_TRUE(WaitUntil([&] { return ScreenIs(qRgb(0, 0, 255)); }))
      << "no lock at the end of the cycle\n"
      << xss_lock.Stderr();
  EXPECT_TRUE(display().VisibleWindows().empty()) << "the rain outlived the lock";
  EXPECT_TRUE(KeyboardHeldElsewhere()) << "the locker holds no keyboard";
  RunToEnd({"xset", "s", "off"}, display().name());
  EndLocker(xss_lock);
}

}  // namespace
