// The rain on a Wayland compositor with no X display: drawn natively on
// every output, ended by a character key with status 0, not by Shift alone.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/rain_picture.h"
#include "tests/support/sway_session.h"

namespace {

using namespace std::chrono_literals;

constexpr int kOutputWidth = 640;
constexpr int kOutputHeight = 480;
// Green, so that nothing of the compositor's own is taken for rain.
constexpr char kGreenRain[] = "[main]\nCOLOR1=0\nCOLOR2=240\nCOLOR3=0\nSP=10\n";
constexpr int kGreen = static_cast<int>(Channel::kGreen);

class WaylandRain : public testing::Test {
 protected:
  void StartSession(int outputs, int scale = 1) {
    if (!SwaySession::Available()) GTEST_SKIP() << SwaySession::kSkipMessage;
    session_ = std::make_unique<SwaySession>(SwayOutputs{
        .count = outputs, .width = kOutputWidth, .height = kOutputHeight, .scale = scale});
    ASSERT_TRUE(session_->Start()) << session_->Log();
    WriteFile(install_.Ini(), kGreenRain);
    session_->user().Own(install_.folder());
  }

  std::unique_ptr<Process> StartRain() { return session_->Run(install_.Command({"/S"})); }

  // Waits until green columns stand across most of the output's width.
  RainPicture WaitForRainOn(const std::string& output, Process& saver,
                            int column_pixels = kColumnPixels) const {
    RainPicture picture;
    WaitUntil([&] {
      if (!saver.Running()) return true;
      picture = ReadRain(session_->Screenshot(output), column_pixels);
      return picture.columns_seen >= kOutputWidth / column_pixels / 2;
    });
    return picture;
  }

  // Waits until the output has shown three new pictures (the rain has
  // drawn since, and so handled all that came before), or the saver ended.
  bool WaitForNewPictures(const std::string& output, Process& saver) const {
    QImage last = session_->Screenshot(output);
    for (int picture = 0; picture < 3; ++picture) {
      if (!WaitUntil([&] {
            const QImage shot = session_->Screenshot(output);
            return !saver.Running() || (shot != last && (last = shot, true));
          }))
        return false;
    }
    return saver.Running();
  }

  Installation install_;
  std::unique_ptr<SwaySession> session_;
};

class WaylandRainOutputs : public WaylandRain, public testing::WithParamInterface<int> {};

TEST_P(WaylandRainOutputs, CoversEveryOutput) {
  StartSession(GetParam());
  const auto saver = StartRain();
  for (const std::string& output : session_->OutputNames()) {
    const RainPicture picture = WaitForRainOn(output, *saver);
    EXPECT_GE(picture.columns_seen, kOutputWidth / kColumnPixels / 2)
        << output << ": " << saver->Stderr();
    EXPECT_GT(picture.lit_pixels[kGreen], 1000) << output;
    EXPECT_LT(picture.lit_pixels[static_cast<int>(Channel::kRed)], picture.lit_pixels[kGreen] / 50)
        << output;
  }
  EXPECT_TRUE(saver->Running()) << saver->Stderr();
}

INSTANTIATE_TEST_SUITE_P(OneAndTwo, WaylandRainOutputs, testing::Values(1, 2),
                         [](const testing::TestParamInfo<int>& info) {
                           return std::to_string(info.param) + "Outputs";
                         });

// An output plugged in during the rain gets its own surface, and the row
// of columns grows across it.
TEST_F(WaylandRain, FollowsAnOutputThatComesLater) {
  StartSession(1);
  const auto saver = StartRain();
  WaitForRainOn(session_->OutputNames().front(), *saver);
  ASSERT_EQ(session_->Run({"swaymsg", "create_output"})->WaitExit(), 0);
  const RainPicture picture = WaitForRainOn("HEADLESS-2", *saver);
  EXPECT_GE(picture.columns_seen, kOutputWidth / kColumnPixels / 2) << saver->Stderr();
  EXPECT_TRUE(saver->Running()) << saver->Stderr();
}

// Of the 2x2 blocks of the screenshot that hold ink, the share whose four
// pixels differ: none when a picture of half the pixels was scaled up.
double ShareOfFineBlocks(const QImage& shot) {
  int inked = 0, fine = 0;
  for (int y = 0; y + 1 < shot.height(); y += 2) {
    for (int x = 0; x + 1 < shot.width(); x += 2) {
      const QRgb corner = shot.pixel(x, y);
      const QRgb others[] = {shot.pixel(x + 1, y), shot.pixel(x, y + 1), shot.pixel(x + 1, y + 1)};
      bool ink = qGreen(corner) > 0, differs = false;
      for (const QRgb other : others) {
        ink = ink || qGreen(other) > 0;
        differs = differs || other != corner;
      }
      inked += ink;
      fine += ink && differs;
    }
  }
  return inked == 0 ? 0 : static_cast<double>(fine) / inked;
}

// At scale 2 the rain is drawn at the output's own pixels, twice the
// resolution, not at half and scaled up: columns twice as wide, glyph
// edges finer than 2x2 blocks.
TEST_F(WaylandRain, AtScaleTwoGlyphsAreDrawnAtTheOutputsPixels) {
  StartSession(1, 2);
  const auto saver = StartRain();
  const std::string output = session_->OutputNames().front();
  const RainPicture picture = WaitForRainOn(output, *saver, 2 * kColumnPixels);
  EXPECT_GE(picture.columns_seen, kOutputWidth / (2 * kColumnPixels) / 2) << saver->Stderr();
  EXPECT_GT(ShareOfFineBlocks(session_->Screenshot(output)), 0.3);
  EXPECT_TRUE(saver->Running()) << saver->Stderr();
}

// The sizes of the buffers a client made, from its WAYLAND_DEBUG log.
std::set<std::pair<int, int>> BufferSizes(const std::string& log) {
  static const std::regex made(R"(create_buffer\(new id wl_buffer@\d+, \d+, (\d+), (\d+),)");
  std::set<std::pair<int, int>> sizes;
  for (auto match = std::sregex_iterator(log.begin(), log.end(), made);
       match != std::sregex_iterator(); ++match)
    sizes.emplace(std::stoi((*match)[1]), std::stoi((*match)[2]));
  return sizes;
}

// Outputs at scales 1 and 2 side by side: each surface gets buffers of its
// output's own pixels, and no surface is drawn at any other size on the
// way (not at the form's first size, before it fills the screen).
TEST_F(WaylandRain, EachOutputGetsBuffersOfItsOwnPixelsAndNoOther) {
  StartSession(2);
  for (const char* output :
       {"HEADLESS-1 resolution 1920x1080 scale 1", "HEADLESS-2 resolution 1280x720 scale 2"})
    ASSERT_EQ(session_->Run({"sh", "-c", std::string("swaymsg output ") + output})->WaitExit(), 0);
  const auto saver = session_->Run(install_.Command({"/S"}), {"WAYLAND_DEBUG=1"});
  for (const std::string& output : session_->OutputNames())
    WaitForRainOn(output, *saver, 2 * kColumnPixels);
  // The keyboard comes with wtype: the key waits until the rain has bound it.
  ASSERT_TRUE(session_->Type({"-s", "500", "k"}));
  EXPECT_EQ(saver->WaitExit(), 0);
  EXPECT_EQ(BufferSizes(saver->Stderr()),
            (std::set<std::pair<int, int>>{{1920, 1080}, {1280, 720}}));
}

// With no frame for a while (sway stopped, as a screen that is off sends
// none) the rain's timer stops; the first frame after starts it again, and
// the rain goes on falling.
TEST_F(WaylandRain, GoesOnAfterAWhileWithoutFrames) {
  StartSession(1);
  const auto saver = StartRain();
  const std::string output = session_->OutputNames().front();
  WaitForRainOn(output, *saver);
  ::kill(session_->pid(), SIGSTOP);
  std::this_thread::sleep_for(2s);  // well past the half second that stops the timer
  ::kill(session_->pid(), SIGCONT);
  EXPECT_TRUE(WaitForNewPictures(output, *saver)) << "the rain stood still";
  EXPECT_TRUE(saver->Running()) << saver->Stderr();
}

// White pixels: the pointer's arrow; the rain here is green on black.
int PointerPixels(const QImage& shot) {
  int white = 0;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      const QRgb pixel = shot.pixel(x, y);
      white += qRed(pixel) > 200 && qGreen(pixel) > 200 && qBlue(pixel) > 200;
    }
  }
  return white;
}

// sway draws its arrow where no client sets a pointer; over the rain there
// is none.
TEST_F(WaylandRain, HidesThePointer) {
  if (!SwaySession::HasPointer())
    GTEST_SKIP() << "wayvnc is not installed (apt-get install wayvnc)";
  StartSession(1);
  const std::string output = session_->OutputNames().front();
  ASSERT_TRUE(session_->MovePointer(100, 100));
  ASSERT_TRUE(WaitUntil([&] { return PointerPixels(session_->Screenshot(output, true)) > 0; }))
      << "no pointer drawn before the rain";
  const auto saver = StartRain();
  WaitForRainOn(output, *saver);
  // A pixel: too small a move to end the rain.
  ASSERT_TRUE(session_->MovePointer(101, 100));
  EXPECT_TRUE(WaitUntil([&] { return PointerPixels(session_->Screenshot(output, true)) == 0; }));
  EXPECT_TRUE(saver->Running()) << saver->Stderr();
}

TEST_F(WaylandRain, ACharacterKeyEndsItWithStatusZero) {
  StartSession(1);
  const auto saver = StartRain();
  WaitForRainOn(session_->OutputNames().front(), *saver);
  const auto keyboard = session_->Run({"wtype", "-s", "500", "k"});
  EXPECT_EQ(saver->WaitExit(), 0) << saver->Stderr();
  EXPECT_EQ(keyboard->WaitExit(), 0) << keyboard->Stderr();
}

// Each wtype run is a keyboard plugged in and unplugged again (a Bluetooth
// keyboard, a KVM switch): the seat loses the keyboard between the runs, and
// the keyboard of the second run, bound anew, ends the rain.
TEST_F(WaylandRain, AKeyboardThatCameBackEndsIt) {
  StartSession(1);
  const auto saver = StartRain();
  WaitForRainOn(session_->OutputNames().front(), *saver);
  ASSERT_TRUE(session_->Type({"-P", "Shift_L", "-p", "Shift_L"}));
  // Frames drawn after the unplug: the rain has handled it, and goes on.
  WaitForNewPictures(session_->OutputNames().front(), *saver);
  EXPECT_TRUE(saver->Running()) << "the unplugged keyboard ended it: " << saver->Stderr();
  const auto keyboard = session_->Run({"wtype", "-s", "500", "k"});
  EXPECT_EQ(saver->WaitExit(), 0) << saver->Stderr();
  EXPECT_EQ(keyboard->WaitExit(), 0) << keyboard->Stderr();
}

// One wtype run presses Shift, then types what it reads from a pipe: the
// character waits there until the test has seen that Shift alone did not end
// the rain.
class WaylandShift : public WaylandRain,
                     public testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(WaylandShift, AloneDoesNotEndItAndTheNextCharacterDoes) {
  StartSession(1);
  const auto saver = StartRain();
  WaitForRainOn(session_->OutputNames().front(), *saver);
  const TempDir pipe_folder;
  const std::string pipe = pipe_folder.File("keys");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  session_->user().Own(pipe_folder.path());
  // Open for writing and reading here, the pipe opens at once for wtype, and
  // ends only when closed here.
  const int keys = ::open(pipe.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(keys, 0);
  std::vector<std::string> typing{"sh", "-c", "exec wtype \"$@\" < \"$0\"", pipe};
  typing.insert(typing.end(), GetParam().begin(), GetParam().end());
  typing.push_back("-");
  const auto keyboard = session_->Run(typing);
  // Time for Shift to reach the program; the character can't come before.
  std::this_thread::sleep_for(1500ms);
  EXPECT_TRUE(saver->Running()) << "Shift alone ended it: " << saver->Stderr();
  EXPECT_EQ(::write(keys, "k", 1), 1);
  ::close(keys);
  EXPECT_EQ(saver->WaitExit(), 0) << saver->Stderr();
  EXPECT_EQ(keyboard->WaitExit(), 0) << keyboard->Stderr();
}

INSTANTIATE_TEST_SUITE_P(AsModifierAndAsKey, WaylandShift,
                         testing::Values(std::vector<std::string>{"-M", "shift", "-m", "shift"},
                                         std::vector<std::string>{"-P", "Shift_L", "-p",
                                                                  "Shift_L"}),
                         [](const testing::TestParamInfo<std::vector<std::string>>& info) {
                           return info.param[0] == "-M" ? std::string("Modifier")
                                                        : std::string("Key");
                         });

}  // namespace
