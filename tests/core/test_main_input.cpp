// frmMain's Load and input: what ends the saver and what does not.
#include <gtest/gtest.h>

#include "tests/support/error_of.h"
#include "tests/support/rain_fixture.h"

namespace {

using rt::native::Key;
using rt::null::ProgramEnded;

class RainInput : public RainFixture {};

TEST_F(RainInput, LoadPreparesTemplateTimerAndColor) {
  TestableMain& rain = ShowRain("300", "0", "-5", "10");
  const rt::PictureBox& templ = rain.Code(0);
  EXPECT_FALSE(templ.Visible());
  EXPECT_EQ(templ.BorderStyle(), 0);
  EXPECT_TRUE(templ.AutoRedraw());
  EXPECT_EQ(templ.BackColor(), 0);
  EXPECT_EQ(templ.Width(), 285);
  EXPECT_EQ(rain.Timer1.Interval(), 10);
  EXPECT_EQ(rain.GRed, 300);
  EXPECT_EQ(rain.GBlue, -5);
  EXPECT_EQ(rain.Code.UBound(), 22);      // the design width, 6195 twips
  EXPECT_EQ(rain.Width(), 1920 * 15.0f);  // then maximized
  EXPECT_TRUE(rain.Visible());
}

struct BadSetting {
  const char* red;
  const char* speed;
  int error;
  friend void PrintTo(const BadSetting& b, std::ostream* out) { *out << b.red << "/" << b.speed; }
};

class RainLoadErrors : public RainFixture, public testing::WithParamInterface<BadSetting> {};

TEST_P(RainLoadErrors, StopTheProgramWithTheRunTimeError) {
  GColor = {GetParam().red, "0", "0"};
  GSpeed = GetParam().speed;
  TestableMain rain;
  EXPECT_EQ(ErrorOf([&] { rain.Show(); }), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(Settings, RainLoadErrors,
                         testing::Values(BadSetting{"240", "fast", rt::kTypeMismatch},
                                         BadSetting{"abc", "10", rt::kTypeMismatch},
                                         BadSetting{"", "10", rt::kTypeMismatch},
                                         BadSetting{"240", "2147483648", rt::kOverflow},
                                         BadSetting{"240", "-1", rt::kInvalidPropertyValue},
                                         BadSetting{"240", "70000", rt::kInvalidPropertyValue}));

TEST_F(RainInput, KeysClicksAndButtonsOnTheBackgroundEndIt) {
  TestableMain& rain = ShowRain();
  EXPECT_THROW(Input(rain).KeyDown({Key::kEscape, 0x1B, {}}), ProgramEnded);
  EXPECT_THROW(Input(rain).ButtonDown(3, 1000, 500, {}, 0), ProgramEnded);
  EXPECT_THROW(rain.Form_Click(), ProgramEnded);
  EXPECT_THROW(rain.Form_DblClick(), ProgramEnded);
  EXPECT_TRUE(rain.IsLoaded()) << "End runs no Unload";
}

TEST_F(RainInput, MouseOverAColumnReachesNoHandler) {
  TestableMain& rain = ShowRain();
  rain.Code(3).SetTop(0);  // column 3 covers x 38..56 from the top
  EXPECT_NO_THROW(Input(rain).ButtonDown(1, 40, 10, {}, 0));
  EXPECT_NO_THROW(Input(rain).ButtonUp(1, 40, 10, {}));
  EXPECT_NO_THROW(Input(rain).PointerMoved(45, 20, {}));
  EXPECT_EQ(rain.LastX, 0) << "no position was stored";
  EXPECT_THROW(
      Input(rain).ButtonDown(1, 40, static_cast<int>(rain.Code(3).Height() / 15) + 5, {}, 0),
      ProgramEnded);
}

TEST_F(RainInput, ADragFromAColumnEndsNothing) {
  TestableMain& rain = ShowRain();
  rain.Code(3).SetTop(0);
  Input(rain).PointerMoved(1000, 500, {});  // a position is stored
  EXPECT_NO_THROW(Input(rain).ButtonDown(1, 40, 10, {}, 0));
  // The press on the column holds the pointer: the jump back reaches nothing.
  EXPECT_NO_THROW(Input(rain).PointerMoved(1000, 800, {}));
  EXPECT_NO_THROW(Input(rain).ButtonUp(1, 1000, 800, {}));
  EXPECT_TRUE(rain.IsLoaded());
  EXPECT_EQ(rain.LastY, 7500) << "nothing moved the stored position";
  EXPECT_THROW(Input(rain).PointerMoved(1000, 805, {}), ProgramEnded) << "free again";
}

struct Move {
  const char* name;
  friend void PrintTo(const Move& c, std::ostream* out) { *out << c.name; }
  int32_t last_x, last_y;  // stored before the move
  float x, y;
  bool ends;
  int32_t stored_x, stored_y;  // when it does not end
};

class MovementTest : public RainFixture, public testing::WithParamInterface<Move> {};

TEST_P(MovementTest, EndsOnAQuickMoveOnly) {
  const Move& m = GetParam();
  TestableMain& rain = ShowRain();
  rain.LastX = m.last_x;
  rain.LastY = m.last_y;
  if (m.ends) {
    EXPECT_THROW(rain.Form_MouseMove(0, 0, m.x, m.y), ProgramEnded);
    EXPECT_FALSE(rain.IsLoaded()) << "the window is unloaded before End";
    EXPECT_EQ(rain.LastX, m.last_x);
  } else {
    rain.Form_MouseMove(0, 0, m.x, m.y);
    EXPECT_TRUE(rain.IsLoaded());
    EXPECT_EQ(rain.LastX, m.stored_x);
    EXPECT_EQ(rain.LastY, m.stored_y);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Moves, MovementTest,
    testing::Values(Move{"FirstEventOnlyStores", 0, 0, 9000, 7000, false, 9000, 7000},
                    Move{"Exactly50Ends", 1000, 1000, 1050, 1000, true, 0, 0},
                    Move{"Exactly50UpEnds", 1000, 1000, 1000, 950, true, 0, 0},
                    Move{"FourPixelsEnd", 1500, 1500, 1560, 1500, true, 0, 0},
                    Move{"49EachWayStores", 1000, 1000, 1049, 951, false, 1049, 951},
                    Move{"ThreePixelsStore", 1500, 1500, 1545, 1545, false, 1545, 1545},
                    Move{"StoredOriginCountsAsNone", 0, 0, 60, 0, false, 60, 0},
                    Move{"OneZeroCoordinateCounts", 0, 30, 100, 30, true, 0, 0},
                    Move{"HalfRoundsDownToEven", 0, 0, 12.5f, 13.5f, false, 12, 14},
                    Move{"BeyondSixteenBitsStores", 45000, 1000, 45045, 1000, false, 45045, 1000},
                    Move{"BeyondSixteenBitsEnds", 45000, 40000, 45000, 40060, true, 0, 0}),
    [](const testing::TestParamInfo<Move>& info) { return info.param.name; });

TEST_F(RainInput, SmallStepsAcrossTheWholeWindowNeverEnd) {
  TestableMain& rain = ShowRain();
  for (float x = 45; x < 57600; x += 45) rain.Form_MouseMove(0, 0, x, 16000);
  EXPECT_TRUE(rain.IsLoaded());
}

}  // namespace
