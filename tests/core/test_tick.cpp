// The tick: the fall, the bottom test, the template and the coverage test.
#include <gtest/gtest.h>

#include "runtime/language/conversions.h"
#include "tests/support/rain_fixture.h"

namespace {

class Tick : public RainFixture {};

TEST_F(Tick, ColumnsFallByTheirSpeedInPixels) {
  TestableMain& rain = ShowRain();
  rain.Timer1_Timer();  // the first tick rebuilds the row for the full width
  rain.Code(1).SetTag(rt::Chr(1));
  rain.Code(1).SetTop(0);
  rain.Code(2).SetTag(rt::Chr(100));
  rain.Code(2).SetTop(0);
  rain.Code(3).SetTag("9");  // the character's code (57), not the digit
  rain.Code(3).SetTop(0);
  rain.Timer1_Timer();
  EXPECT_EQ(rain.Code(1).Top(), 15);
  EXPECT_EQ(rain.Code(2).Top(), 1500);
  EXPECT_EQ(rain.Code(3).Top(), 57 * 15);
  EXPECT_EQ(rt::null::TakeHideCount(), 1) << "only the first tick rebuilt";
}

TEST_F(Tick, AColumnIsRegeneratedOnlyOnceItsTopIsBelowTheBottom) {
  TestableMain& rain = ShowRain();
  rain.Timer1_Timer();
  rt::PictureBox& column = rain.Code(5);
  column.SetTag(rt::Chr(2));
  column.SetTop(rain.Height() - 30);
  rain.Timer1_Timer();
  EXPECT_EQ(column.Top(), rain.Height()) << "equal is not past";
  EXPECT_EQ(rt::Asc(column.Tag()), 2);
  rain.Timer1_Timer();
  EXPECT_EQ(column.Top() + column.Height(), 0) << "regenerated above the window";
}

TEST_F(Tick, TheTemplateNeverMovesNorShows) {
  TestableMain& rain = ShowRain();
  for (int i = 0; i < 5; ++i) rain.Timer1_Timer();
  EXPECT_EQ(rain.Code(0).Top(), 0);
  EXPECT_FALSE(rain.Code(0).Visible());
  EXPECT_TRUE(rain.Code(0).Tag().empty());
  EXPECT_TRUE(rain.Visible());
}

struct Coverage {
  int screen_pixels;  // the maximized width; the first row is for 6195 twips
  bool rebuilds;
  int columns_after;
  friend void PrintTo(const Coverage& c, std::ostream* out) { *out << c.screen_pixels << "px"; }
};

class CoverageTest : public Tick, public testing::WithParamInterface<Coverage> {};

TEST_P(CoverageTest, RebuildsOnlyWhenTheWindowOutgrowsTheRow) {
  rt::null::SetScreenSize(GetParam().screen_pixels, 600);
  TestableMain& rain = ShowRain();
  ASSERT_EQ(rain.Code.UBound(), 22);  // last column at 5985, so 2 w + x = 6555 twips
  rain.Timer1_Timer();
  EXPECT_EQ(rt::null::TakeHideCount(), GetParam().rebuilds ? 1 : 0);
  EXPECT_EQ(rain.Code.UBound(), GetParam().columns_after);
  EXPECT_TRUE(rain.Visible());
  rain.Timer1_Timer();
  EXPECT_EQ(rt::null::TakeHideCount(), 0) << "a row for the current width passes";
}

INSTANTIATE_TEST_SUITE_P(Widths, CoverageTest,
                         testing::Values(Coverage{437, false, 22},  // 6555 twips: equal
                                         Coverage{438, true, 24},   // 6570 twips
                                         Coverage{1920, true, 102},
                                         Coverage{300, false, 22}));  // narrower keeps its row

TEST_F(Tick, TimerDrivesTheTicksAtTheConfiguredInterval) {
  TestableMain& rain = ShowRain("240", "0", "0", "10");
  EXPECT_EQ(rain.Timer1.Interval(), 10);
  rt::null::FireTimers();
  EXPECT_EQ(rain.Code.UBound(), 102) << "the timer's tick rebuilt the row";
}

}  // namespace
