// BuildColumns and ResetColumn: the row, each column's length, lines,
// gradient, speed and place, and the skip-mode arithmetic.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

#include "runtime/language/conversions.h"
#include "tests/support/rain_fixture.h"

namespace {

class Columns : public RainFixture {
 protected:
  // Regenerates column i until its length satisfies the test.
  const rt::PictureBox& GenerateWithLength(TestableMain& rain, int32_t i,
                                           const std::function<bool(int)>& wanted) {
    for (int attempt = 0; attempt < 50000; ++attempt) {
      rain.ResetColumn(i);
      if (wanted(LengthOf(rain.Code(static_cast<int16_t>(i))))) break;
    }
    return rain.Code(static_cast<int16_t>(i));
  }

  static int LengthOf(const rt::PictureBox& column) {
    return static_cast<int>(column.Height() / 225);
  }

  static std::vector<int> Reds(const rt::PictureBox& column) {
    std::vector<int> reds;
    for (const auto& line : SurfaceOf(column).lines()) reds.push_back(line.color & 0xFF);
    return reds;
  }
};

TEST_F(Columns, EveryColumnIsAFreshGradientStripAboveTheWindow) {
  TestableMain& rain = ShowRain("0", "240", "0");
  std::set<std::string> texts;
  for (int16_t i = 1; i <= rain.Code.UBound(); ++i) {
    const rt::PictureBox& column = rain.Code(i);
    const int length = LengthOf(column);
    EXPECT_EQ(column.Height(), 225.0f * length) << i;
    EXPECT_GE(length, 3);
    EXPECT_LE(length, 253);
    EXPECT_EQ(column.Left(), 285.0f * (i - 1));
    EXPECT_EQ(column.Width(), 285);
    EXPECT_TRUE(column.Visible());
    EXPECT_EQ(column.Top() + column.Height(), 0) << "just above the top edge";
    ASSERT_EQ(column.Tag().size(), 1u) << "one character";
    EXPECT_GE(rt::Asc(column.Tag()), 1);
    EXPECT_LE(rt::Asc(column.Tag()), 100);

    const auto& lines = SurfaceOf(column).lines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(length + 1)) << "L + 1 printed lines";
    const int step = 240 / (length - 1);
    std::string text;
    for (size_t j = 0; j < lines.size(); ++j) {
      EXPECT_EQ(lines[j].y, static_cast<int>(j) * rt::null::kLineHeight);
      EXPECT_EQ(lines[j].color, rt::RGB(0, std::min<int>(255, static_cast<int>(j) * step), 0));
      text += lines[j].text + "|";
    }
    EXPECT_EQ(column.ForeColor(), lines.back().color);
    texts.insert(text);
  }
  EXPECT_EQ(texts.size(), static_cast<size_t>(rain.Code.UBound()))
      << "columns made within one clock reading still differ";
}

TEST_F(Columns, CharactersAreHalfWidthKatakanaOrEmpty) {
  TestableMain& rain = ShowRain();
  int katakana = 0;
  int empty = 0;
  for (int16_t i = 1; i <= rain.Code.UBound(); ++i) {
    for (const auto& line : SurfaceOf(rain.Code(i)).lines()) {
      if (line.text.empty()) {
        ++empty;  // codes 224..255 are no character on their own
        continue;
      }
      const int code = rt::Asc(line.text);
      EXPECT_GE(code, 161);
      EXPECT_LE(code, 223);
      ++katakana;
    }
  }
  EXPECT_GT(katakana, empty);  // 63 codes of 95 print a character
  EXPECT_GT(empty, 0);
}

struct Gradient {
  const char* name;
  friend void PrintTo(const Gradient& c, std::ostream* out) { *out << c.name; }
  int end_red;
  int min_length, max_length;
  std::vector<int> reds;  // empty: every line 0
};

class GradientExamples : public Columns, public testing::WithParamInterface<Gradient> {};

TEST_P(GradientExamples, MatchTheWorkedExamples) {
  const Gradient& g = GetParam();
  TestableMain& rain = ShowRain(std::to_string(g.end_red));
  const rt::PictureBox& column =
      GenerateWithLength(rain, 1, [&](int l) { return l >= g.min_length && l <= g.max_length; });
  ASSERT_GE(LengthOf(column), g.min_length);
  ASSERT_LE(LengthOf(column), g.max_length);
  std::vector<int> expected = g.reds;
  if (expected.empty()) expected.assign(static_cast<size_t>(LengthOf(column)) + 1, 0);
  EXPECT_EQ(Reds(column), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, GradientExamples,
    testing::Values(
        Gradient{"End255Length10", 255, 10, 10, {0, 28, 56, 84, 112, 140, 168, 196, 224, 252, 255}},
        Gradient{"End255Length3", 255, 3, 3, {0, 127, 254, 255}},
        Gradient{"End240Length3", 240, 3, 3, {0, 120, 240, 255}},
        Gradient{"End240LongStepsZero", 240, 242, 253, {}},
        Gradient{"Color300", 300, 3, 3, {0, 150, 255, 255}},
        Gradient{"NegativeActsByMagnitude", -240, 3, 3, {0, 120, 240, 255}},
        Gradient{"Zero", 0, 3, 253, {}}, Gradient{"Outside16BitsStaysZero", 40000, 3, 253, {}}),
    [](const testing::TestParamInfo<Gradient>& info) { return info.param.name; });

TEST_F(Columns, ALineWhoseProductOverflowsKeepsThePreviousColor) {
  TestableMain& rain = ShowRain("30000", "100", "0");
  const rt::PictureBox& column = GenerateWithLength(rain, 1, [](int l) { return l == 10; });
  ASSERT_EQ(LengthOf(column), 10);
  const auto& lines = SurfaceOf(column).lines();
  // Steps 3333 and 11: line 10's red product 33330 overflows, so line 10 is
  // printed in line 9's colour (green 99, not 110), and still printed.
  EXPECT_EQ(lines[9].color, rt::RGB(255, 99, 0));
  EXPECT_EQ(lines[10].color, rt::RGB(255, 99, 0));
  EXPECT_EQ(lines.size(), 11u);
}

struct Row {
  int screen_pixels;
  int columns;
  friend void PrintTo(const Row& r, std::ostream* out) { *out << r.screen_pixels << "px"; }
};

class RowWidth : public Columns, public testing::WithParamInterface<Row> {};

TEST_P(RowWidth, CoversTheWindowWithOneColumnToSpare) {
  rt::null::SetScreenSize(GetParam().screen_pixels, 600);
  TestableMain& rain = ShowRain();
  rain.BuildColumns();
  EXPECT_EQ(rain.Code.UBound(), GetParam().columns);
  EXPECT_EQ(rain.Code.LBound(), 0);
}

INSTANTIATE_TEST_SUITE_P(Widths, RowWidth,
                         testing::Values(Row{1024, 54},     // W = 15360 twips
                                         Row{19 * 10, 11},  // exactly 10 widths
                                         Row{10, 1},        // narrower than a column
                                         Row{3840, 203}));  // past 32767 twips

TEST_F(Columns, RebuildUnloadsAndReloadsYieldingOncePerStep) {
  TestableMain& rain = ShowRain();
  int yields = 0;
  rt::null::SetDoEventsHook([&] { ++yields; });
  rain.BuildColumns();
  rt::null::SetDoEventsHook(nullptr);
  int lines = 0;
  for (int16_t i = 1; i <= rain.Code.UBound(); ++i) {
    lines += static_cast<int>(SurfaceOf(rain.Code(i)).lines().size());
  }
  // 22 unloads, 102 loads, one per printed line.
  EXPECT_EQ(rain.Code.UBound(), 102);
  EXPECT_EQ(yields, 22 + 102 + lines);
  EXPECT_FALSE(rain.Code(0).Visible());
  EXPECT_TRUE(SurfaceOf(rain.Code(0)).lines().empty()) << "the template is never generated";
}

TEST_F(Columns, InputDuringALongBuildEndsIt) {
  TestableMain& rain = ShowRain();
  int yields = 0;
  rt::null::SetDoEventsHook([&] {
    if (++yields == 500) Input(rain).KeyDown({rt::native::Key::kCharacter, U'q', {}});
  });
  EXPECT_THROW(rain.BuildColumns(), rt::null::ProgramEnded);
  EXPECT_EQ(yields, 500);
}

}  // namespace
