// The rain of the real program: its colours and gradient on screen, what
// input ends it and what does not, bad settings, and a 4K screen.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <thread>
#include <utility>

#include "tests/e2e/display_fixture.h"
#include "tests/e2e/rain_picture.h"

namespace {

class Rain : public OnDisplay<1920, 1080> {
 protected:
  // Starts /S with the pointer parked where the test wants it first.
  std::unique_ptr<Process> StartRain(const std::string& settings, int pointer_x = 960,
                                     int pointer_y = 1075) {
    if (!settings.empty()) WriteFile(install_.Ini(), settings);
    display().Xdo({"mousemove", std::to_string(pointer_x), std::to_string(pointer_y)});
    auto saver = std::make_unique<Process>(install_.Command({"/S"}), display().name());
    EXPECT_TRUE(display().WaitForWindow()) << saver->Stderr();
    return saver;
  }

  void Key(const std::string& key) const { display().Xdo({"key", key}); }
};

// The first row is laid out for the window's design width, 6195 twips, before
// the window is maximized: 22 columns, 418 pixels. A column right of them
// belongs to the row that the first tick rebuilt for the whole screen, after
// which the window no longer hides.
constexpr int kFirstRowPixels = 22 * kColumnPixels;

bool FullRowShows(const QImage& shot) {
  for (int left = kFirstRowPixels; left + kColumnPixels <= shot.width(); left += kColumnPixels) {
    if (LitRunOfStrip(shot, left, kColumnPixels).length() > 0) return true;
  }
  return false;
}

void WaitForFullRow(const VirtualDisplay& display) {
  ASSERT_TRUE(WaitUntil([&] { return FullRowShows(display.Screenshot()); }))
      << "the rain never covered the screen";
}

// Holds the rain still while it looks at the screen and, once `find` finds
// its places there, while `act` sends input to them. The input waits in the
// X server's queue; going on, the rain takes it at its next look at events,
// having moved at most one column at most one step (100 pixels) further
// than the screen showed. Looks again every half second until then; false
// when the bound for a hang passed first.
template <typename Find, typename Act>
bool ActOnStillRain(const VirtualDisplay& display, const Process& saver, Find find, Act act) {
  const auto deadline = std::chrono::steady_clock::now() + kHangBound;
  while (std::chrono::steady_clock::now() < deadline) {
    // Seen falling first, so that the rain is held only when it is worth it.
    if (find(display.Screenshot())) {
      const HeldStill still(saver);
      if (const auto places = find(display.Screenshot())) {
        act(*places);
        return true;
      }
    }
    std::this_thread::sleep_for(500ms);
  }
  return false;
}

// xdotool, then a question whose answer comes once the server has delivered
// the input before it.
void SendInput(const VirtualDisplay& display, std::vector<std::string> input) {
  input.push_back("getmouselocation");
  display.Xdo(input);
}

struct Point {
  int x, y;
};

// The middle of a column with a long lit run, in the row laid out for the
// whole screen: 300 pixels of it on either side of the point.
std::optional<Point> PointOnAColumn(const QImage& shot) {
  for (int left = kFirstRowPixels; left + kColumnPixels <= shot.width(); left += kColumnPixels) {
    const LitRun run = LitRunOfStrip(shot, left, kColumnPixels);
    if (run.length() >= 600) return Point{left + kColumnPixels / 2, (run.top + run.bottom) / 2};
  }
  return std::nullopt;
}

// The bottom row under a column whose lowest ink, its bright end, lies 500
// pixels above it: the column's box ends there. (A strip without ink may hold
// a column of black lines, or a column's dark top.) Only one column falls in
// each strip.
std::optional<int> BackgroundAtTheBottom(const QImage& shot) {
  if (!FullRowShows(shot)) return std::nullopt;
  for (int left = 0; left + kColumnPixels <= shot.width(); left += kColumnPixels) {
    const LitRun run = LitRunOfStrip(shot, left, kColumnPixels);
    if (run.length() > 0 && run.bottom < shot.height() - 500) return left + kColumnPixels / 2;
  }
  return std::nullopt;
}

struct DragPlaces {
  Point column;
  int background_x;
};

std::optional<DragPlaces> DragPlacesIn(const QImage& shot) {
  const std::optional<Point> column = PointOnAColumn(shot);
  const std::optional<int> background_x = BackgroundAtTheBottom(shot);
  if (!column || !background_x) return std::nullopt;
  return DragPlaces{*column, *background_x};
}

struct ColorCase {
  const char* name;
  friend void PrintTo(const ColorCase& c, std::ostream* out) { *out << c.name; }
  std::string settings;  // empty: no settings file, the first-run red
  Channel channel;
};

class RainColor : public Rain, public testing::WithParamInterface<ColorCase> {};

TEST_P(RainColor, ColumnsBrightenFromBlackToTheRainColor) {
  const auto saver = StartRain(GetParam().settings);
  const int wanted = static_cast<int>(GetParam().channel);
  const RainPicture picture = WaitForRain(display(), [&](const RainPicture& seen) {
    return seen.lit_pixels[wanted] > 2000 && seen.columns_seen >= 20;
  });
  EXPECT_GT(picture.lit_pixels[wanted], 2000);
  for (int other = 0; other < 3; ++other) {
    if (other != wanted) {
      EXPECT_LT(picture.lit_pixels[other], picture.lit_pixels[wanted] / 50);
    }
  }
  EXPECT_GE(picture.columns_seen, 20) << "columns across the whole width";
  EXPECT_GE(picture.columns_brightening * 10, picture.columns_seen * 9);
  EXPECT_TRUE(saver->Running());
}

INSTANTIATE_TEST_SUITE_P(
    Colors, RainColor,
    testing::Values(
        ColorCase{"FirstRunRed", "", Channel::kRed},
        ColorCase{"Green", "[main]\nCOLOR1=0\nCOLOR2=240\nCOLOR3=0\nSP=10\n", Channel::kGreen},
        ColorCase{"Blue", "[main]\nCOLOR1=0\nCOLOR2=0\nCOLOR3=240\nSP=10\n", Channel::kBlue},
        // A missing speed rewrites the file, but this run keeps its green.
        ColorCase{"GreenOnFirstRunWrite", "[main]\nCOLOR1=0\nCOLOR2=240\nCOLOR3=0\n",
                  Channel::kGreen}),
    [](const testing::TestParamInfo<ColorCase>& info) { return info.param.name; });

class EndingKeys : public Rain, public testing::WithParamInterface<const char*> {};

TEST_P(EndingKeys, ACharacterKeyEndsIt) {
  const auto saver = StartRain("");
  EXPECT_EQ(EndWith(*saver, [&] { Key(GetParam()); }), 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, EndingKeys,
                         testing::Values("a", "5", "space", "Return", "Escape", "BackSpace",
                                         "comma"));

// Nor do the keys for which Windows posts no WM_CHAR, though X gives some of
// them a character: Delete, Insert and Alt with a letter.
TEST_F(Rain, KeysWithoutACharacterDoNotEndIt) {
  const auto saver = StartRain("");
  WaitForFullRow(display());
  for (const char* key : {"Left", "Down", "F5", "Shift_L", "Control_L", "Alt_L", "Delete",
                          "shift+Delete", "alt+a", "Insert", "KP_Delete"}) {
    Key(key);
  }
  std::this_thread::sleep_for(700ms);
  EXPECT_TRUE(saver->Running());
  EXPECT_EQ(EndWith(*saver, [&] { Key("x"); }), 0);
}

TEST_F(Rain, ARightButtonPressOnTheBackgroundEndsIt) {
  const auto saver = StartRain(SettingsFile("240", "0", "0", "200"));
  ASSERT_TRUE(ActOnStillRain(display(), *saver, BackgroundAtTheBottom, [&](int background_x) {
    SendInput(display(), {"mousemove", std::to_string(background_x), "1075", "click", "3"});
  })) << "no background came into view";
  EXPECT_EQ(saver->WaitExit(), 0);
}

TEST_F(Rain, TheBackAndForwardButtonsDoNotEndIt) {
  // At 0 ms no tick runs: the pointer stays on the background.
  const auto saver = StartRain(SettingsFile("240", "0", "0", "0"));
  display().Xdo({"click", "8", "click", "9"});
  std::this_thread::sleep_for(700ms);
  EXPECT_TRUE(saver->Running());
  EXPECT_EQ(EndWith(*saver, [&] { display().Xdo({"click", "3"}); }), 0);
}

// A press on a column holds the pointer until its release, as on Windows:
// the drag's jump over the background and its release there reach no handler.
TEST_F(Rain, ADragFromAColumnToTheBackgroundEndsNothing) {
  const auto saver = StartRain(SettingsFile("240", "0", "0", "200"));
  ASSERT_TRUE(ActOnStillRain(display(), *saver, DragPlacesIn, [&](const DragPlaces& places) {
    const std::string background_x = std::to_string(places.background_x);
    // Small steps on the background store a position there.
    SendInput(display(),
              {"mousemove", background_x, "1075", "mousemove", background_x, "1073", "mousemove",
               std::to_string(places.column.x), std::to_string(places.column.y), "mousedown", "1",
               "mousemove", background_x, "1040", "mouseup", "1"});
  })) << "no long column came into view beside the background";
  std::this_thread::sleep_for(700ms);
  EXPECT_TRUE(saver->Running());
  EXPECT_EQ(EndWith(*saver, [&] { Key("q"); }), 0);
}

TEST_F(Rain, AClickOnAColumnEndsNothing) {
  const auto saver = StartRain(SettingsFile("240", "0", "0", "200"));
  ASSERT_TRUE(ActOnStillRain(display(), *saver, PointOnAColumn, [&](const Point& column) {
    SendInput(display(),
              {"mousemove", std::to_string(column.x), std::to_string(column.y), "click", "1"});
  })) << "no long column came into view";
  std::this_thread::sleep_for(700ms);
  EXPECT_TRUE(saver->Running());
  EXPECT_EQ(EndWith(*saver, [&] { Key("q"); }), 0);
}

TEST_F(Rain, SmallPointerStepsKeepItRunningAFourPixelJumpEndsIt) {
  // At 0 ms no tick runs: no column comes down under the pointer to take its
  // moves, and the window never hides to rebuild its row.
  const auto saver = StartRain(SettingsFile("240", "0", "0", "0"), 100, 1075);
  int x = 100;
  for (int step = 0; step < 20; ++step) {
    x += 3;
    display().Xdo({"mousemove", std::to_string(x), "1075"});
  }
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(saver->Running()) << "3 pixels are 45 twips, under the 50 of a quick move";
  EXPECT_EQ(EndWith(*saver,
                    [&] {
                      x += 4;
                      display().Xdo({"mousemove", std::to_string(x), "1075"});
                    }),
            0);
}

TEST_F(Rain, SpeedZeroShowsBlackAndNothingFalls) {
  const auto saver = StartRain(SettingsFile("240", "0", "0", "0"));
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(AllBlack(display().Screenshot()));
  EXPECT_TRUE(display().WaitForWindow(0ms)) << "the black is the saver's window";
  Key("a");
  EXPECT_EQ(saver->WaitExit(), 0);
}

struct BadSettings {
  const char* name;
  friend void PrintTo(const BadSettings& c, std::ostream* out) { *out << c.name; }
  std::string settings;
  const char* message;
};

class RainBadSettings : public Rain, public testing::WithParamInterface<BadSettings> {};

TEST_P(RainBadSettings, StopAtStartWithTheRunTimeError) {
  WriteFile(install_.Ini(), GetParam().settings);
  Process saver = install_.Start(display(), {"/S"});
  const std::optional<std::string> window = display().WaitForWindow();
  ASSERT_TRUE(window) << "the message box";
  const std::string box = *window;
  EXPECT_EQ(display().WindowName(box), "kelvora");
  EXPECT_TRUE(saver.Running()) << "the message waits to be read";
  display().Xdo({"windowfocus", "--sync", box, "key", "Return"});
  EXPECT_EQ(saver.WaitExit(), 1);
  EXPECT_NE(saver.Stderr().find(GetParam().message), std::string::npos) << saver.Stderr();
}

INSTANTIATE_TEST_SUITE_P(
    Settings, RainBadSettings,
    testing::Values(
        BadSettings{"SpeedLetters", SettingsFile("240", "0", "0", "fast"), "実行時エラー '13'"},
        BadSettings{"ColorLetters", SettingsFile("abc", "0", "0", "10"), "実行時エラー '13'"},
        BadSettings{"SpeedTooLarge", SettingsFile("240", "0", "0", "2147483648"),
                    "実行時エラー '6'"}),
    [](const testing::TestParamInfo<BadSettings>& info) { return info.param.name; });

class Rain4K : public OnDisplay<3840, 2160> {};

TEST_F(Rain4K, RainsAcrossTheScreenAndEndsOnKeyOrJump) {
  WriteFile(install_.Ini(), SettingsFile("240", "0", "0", "200"));
  {
    Process saver = install_.Start(display(), {"/S"});
    ASSERT_TRUE(display().WaitForWindow()) << saver.Stderr();
    const RainPicture picture = WaitForRain(display(), [](const RainPicture& seen) {
      return seen.lit_pixels[0] > 2000 && seen.columns_seen >= 40;
    });
    EXPECT_GT(picture.lit_pixels[0], 2000);
    EXPECT_GE(picture.columns_seen, 40);
    EXPECT_EQ(EndWith(saver, [&] { display().Xdo({"key", "a"}); }), 0);
  }
  // Past 32767 twips (2184 pixels) the pointer is stored like anywhere else.
  // At 0 ms no tick runs, so no column comes down under the pointer.
  WriteFile(install_.Ini(), SettingsFile("240", "0", "0", "0"));
  display().Xdo({"mousemove", "3000", "2150"});
  Process saver = install_.Start(display(), {"/S"});
  ASSERT_TRUE(display().WaitForWindow());
  display().Xdo({"mousemove", "3003", "2150"});
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(saver.Running());
  int x = 3003;
  EXPECT_EQ(EndWith(saver,
                    [&] {
                      x += 4;
                      display().Xdo({"mousemove", std::to_string(x), "2150"});
                    }),
            0);
}

}  // namespace
