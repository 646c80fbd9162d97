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

// Once columns show across the whole width, the first tick has rebuilt the
// row for the full screen, and the window no longer hides.
void WaitForFullRow(const VirtualDisplay& display, int columns) {
  const RainPicture picture =
      WaitForRain(display, [&](const RainPicture& seen) { return seen.columns_seen >= columns; });
  ASSERT_GE(picture.columns_seen, columns) << "the rain never covered the screen";
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
  WaitForFullRow(display(), 20);
  for (const char* key : {"Left", "Down", "F5", "Shift_L", "Control_L", "Alt_L", "Delete",
                          "shift+Delete", "alt+a", "Insert", "KP_Delete"}) {
    Key(key);
  }
  std::this_thread::sleep_for(700ms);
  EXPECT_TRUE(saver->Running());
  EXPECT_EQ(EndWith(*saver, [&] { Key("x"); }), 0);
}

TEST_F(Rain, ARightButtonPressOnTheBackgroundEndsIt) {
  // At 200 ms a tick, no column reaches the bottom row for seconds.
  const auto saver = StartRain(SettingsFile("240", "0", "0", "200"));
  EXPECT_EQ(EndWith(*saver, [&] { display().Xdo({"click", "3"}); }), 0);
}

TEST_F(Rain, TheBackAndForwardButtonsDoNotEndIt) {
  // At 0 ms no tick runs: the pointer stays on the background.
  const auto saver = StartRain(SettingsFile("240", "0", "0", "0"));
  display().Xdo({"click", "8", "click", "9"});
  std::this_thread::sleep_for(700ms);
  EXPECT_TRUE(saver->Running());
  EXPECT_EQ(EndWith(*saver, [&] { display().Xdo({"click", "3"}); }), 0);
}

// Where a column shows a long lit run: a pointer in its middle stays on it
// for the next few ticks, each at most 100 pixels down.
std::optional<std::pair<int, int>> PointOnAColumn(const VirtualDisplay& display) {
  const auto deadline = std::chrono::steady_clock::now() + kHangBound;
  while (std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(500ms);
    const QImage shot = display.Screenshot();
    for (int left = 0; left + kColumnPixels <= shot.width(); left += kColumnPixels) {
      const LitRun run = LitRunOfStrip(shot, left, kColumnPixels);
      if (run.length() >= 600) {
        return std::pair{left + kColumnPixels / 2, (run.top + run.bottom) / 2};
      }
    }
  }
  return std::nullopt;
}

// A point on a column and a strip of background at the bottom row, from one
// screenshot: below a strip's lowest ink no column reaches for a few ticks.
struct DragPlaces {
  int column_x, column_y;
  int background_x;
};

std::optional<DragPlaces> FindDragPlaces(const VirtualDisplay& display) {
  const auto deadline = std::chrono::steady_clock::now() + kHangBound;
  while (std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(500ms);
    const QImage shot = display.Screenshot();
    std::optional<DragPlaces> places;
    int background_x = -1;
    for (int left = 0; left + kColumnPixels <= shot.width(); left += kColumnPixels) {
      const LitRun run = LitRunOfStrip(shot, left, kColumnPixels);
      if (run.length() >= 600 && !places) {
        places = DragPlaces{left + kColumnPixels / 2, (run.top + run.bottom) / 2, -1};
      } else if (run.bottom < shot.height() - 500) {
        background_x = left + kColumnPixels / 2;
      }
    }
    if (places && background_x >= 0) {
      places->background_x = background_x;
      return places;
    }
  }
  return std::nullopt;
}

// A press on a column holds the pointer until its release, as on Windows:
// the drag's jump over the background and its release there reach no handler.
TEST_F(Rain, ADragFromAColumnToTheBackgroundEndsNothing) {
  const auto saver = StartRain(SettingsFile("240", "0", "0", "200"));
  const auto places = FindDragPlaces(display());
  ASSERT_TRUE(places) << "no long column came into view";
  const std::string background_x = std::to_string(places->background_x);
  // Small steps on the background store a position there.
  display().Xdo({"mousemove", background_x, "1075", "mousemove", background_x, "1073"});
  display().Xdo({"mousemove", std::to_string(places->column_x), std::to_string(places->column_y),
                 "mousedown", "1"});
  display().Xdo({"mousemove", background_x, "1040", "mouseup", "1"});
  std::this_thread::sleep_for(700ms);
  EXPECT_TRUE(saver->Running());
  EXPECT_EQ(EndWith(*saver, [&] { Key("q"); }), 0);
}

TEST_F(Rain, AClickOnAColumnEndsNothing) {
  const auto saver = StartRain(SettingsFile("240", "0", "0", "200"));
  const auto column = PointOnAColumn(display());
  ASSERT_TRUE(column) << "no long column came into view";
  const auto [click_x, click_y] = *column;
  display().Xdo({"mousemove", std::to_string(click_x), std::to_string(click_y), "click", "1"});
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
