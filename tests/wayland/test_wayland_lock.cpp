// The rain never stands between the user and the lock on Wayland: swaylock
// on a headless sway 1.7 (its input inhibitor) shows, whether it comes
// during the rain or was there first, and the README's swayidle lines lock
// at their timeout while the rain runs and leave no rain under the lock.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/rain_picture.h"
#include "tests/support/sway_session.h"

namespace {

constexpr int kOutputWidth = 640;
constexpr int kOutputHeight = 480;
constexpr char kGreenRain[] = "[main]\nCOLOR1=0\nCOLOR2=240\nCOLOR3=0\nSP=10\n";
constexpr int kGreen = static_cast<int>(Channel::kGreen);
// A keyboard for the whole test: a real session has one, and a headless
// sway has none until a virtual one comes. This wtype only waits.
const std::vector<std::string> kKeyboardPlugged{"wtype", "-s", "600000"};

// The share of the screenshot in swaylock's colour (-c 0000ff).
double ShareOfLockColour(const QImage& shot) {
  if (shot.isNull()) return 0;
  long blue = 0;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) blue += (shot.pixel(x, y) & 0xFFFFFF) == 0x0000FF;
  }
  return static_cast<double>(blue) / (shot.width() * shot.height());
}

class WaylandLock : public testing::Test {
 protected:
  void SetUp() override {
    if (!SwaySession::Available() || !OnPath("swaylock") || !OnPath("swayidle"))
      GTEST_SKIP() << SwaySession::kSkipMessage << "; or swaylock or swayidle is not installed";
    // Two outputs: the keyboard moves from the rain's first surface to its
    // second as they map, which is no loss.
    session_ = std::make_unique<SwaySession>(
        SwayOutputs{.count = 2, .width = kOutputWidth, .height = kOutputHeight});
    ASSERT_TRUE(session_->Start()) << session_->Log();
    WriteFile(install_.Ini(), kGreenRain);
    session_->user().Own(install_.folder());
    keyboard_ = session_->Run(kKeyboardPlugged);
  }

  std::unique_ptr<Process> StartRain() { return session_->Run(install_.Command({"/S"})); }

  void WaitForRain(Process& saver) const {
    WaitUntil([&] {
      return !saver.Running() || ReadRain(session_->Screenshot(), kColumnPixels).columns_seen >=
                                     kOutputWidth / kColumnPixels / 2;
    });
    ASSERT_TRUE(saver.Running()) << saver.Stderr();
  }

  // Waits until the lock's colour covers the screen; gives the last share.
  double WaitForLock() const {
    double share = 0;
    WaitUntil([&] { return (share = ShareOfLockColour(session_->Screenshot())) > 0.9; });
    return share;
  }

  void Lock() const {
    const auto locker = session_->Run({"swaylock", "-f", "-c", "0000ff"});
    // -f: it returns once the session is locked.
    ASSERT_EQ(locker->WaitExit(), 0) << locker->Stderr();
  }

  Installation install_;
  std::unique_ptr<SwaySession> session_;
  std::unique_ptr<Process> keyboard_;
};

TEST_F(WaylandLock, ALockDuringTheRainEndsItAndShows) {
  const auto saver = StartRain();
  WaitForRain(*saver);
  Lock();
  EXPECT_EQ(saver->WaitExit(), 0) << saver->Stderr();
  EXPECT_GT(WaitForLock(), 0.9);
  EXPECT_EQ(ReadRain(session_->Screenshot(), kColumnPixels).lit_pixels[kGreen], 0);
}

TEST_F(WaylandLock, ARainStartedUnderTheLockEndsAtOnce) {
  Lock();
  const auto saver = StartRain();
  EXPECT_EQ(saver->WaitExit(), 0) << saver->Stderr();
  EXPECT_GT(WaitForLock(), 0.9);
}

// The README's lines with the timeouts cut to seconds. A kelvora on the PATH
// notes each start and end of the rain around the installed one.
TEST_F(WaylandLock, TheReadmesSwayidleLinesLockDuringTheRainAndStartNoneUnderTheLock) {
  const std::string bin = install_.folder() / "bin";
  const std::string log = install_.folder() / "rain.log";
  std::filesystem::create_directory(bin);
  std::string wrapper = "#!/bin/sh\necho start >> " + log + "\n";
  for (const std::string& part : install_.Command({})) wrapper += "'" + part + "' ";
  wrapper += "\"$@\"\necho \"end $?\" >> " + log + "\n";
  WriteFile(bin + "/kelvora", wrapper);
  std::filesystem::permissions(bin + "/kelvora", std::filesystem::perms::owner_all);
  session_->user().Own(install_.folder());

  const auto idle =
      session_->Run({"swayidle", "-w", "timeout", "1", "kelvora /S &", "timeout", "4",
                     "swaylock -f -c 0000ff", "before-sleep", "swaylock -f -c 0000ff"},
                    {"PATH=" + bin + ":/usr/bin:/bin"});
  EXPECT_GT(WaitForLock(), 0.9) << idle->Stderr();
  ASSERT_TRUE(WaitUntil([&] { return ReadFile(log) == "start\nend 0\n"; })) << ReadFile(log);

  // Activity under the lock (a key typed into it), then idle again: the
  // next rain starts and ends at once, unseen.
  ASSERT_TRUE(session_->Type({"x"}));
  EXPECT_TRUE(WaitUntil([&] { return ReadFile(log) == "start\nend 0\nstart\nend 0\n"; }))
      << ReadFile(log);
  EXPECT_GT(ShareOfLockColour(session_->Screenshot()), 0.9);
  EXPECT_TRUE(idle->Running()) << idle->Stderr();
}

}  // namespace
