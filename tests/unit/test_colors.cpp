// Runtime colour values as every backend decodes them.
#include <gtest/gtest.h>

#include "runtime/forms/colors.h"

namespace {

constexpr rt::SystemPalette kPalette{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};

struct ColorCase {
  const char* name;
  int32_t value;
  rt::Rgb expected;
};

class Decode : public testing::TestWithParam<ColorCase> {};

TEST_P(Decode, GivesRedGreenAndBlue) {
  const rt::Rgb rgb = rt::DecodeColor(GetParam().value, kPalette);
  EXPECT_EQ(rgb.red, GetParam().expected.red);
  EXPECT_EQ(rgb.green, GetParam().expected.green);
  EXPECT_EQ(rgb.blue, GetParam().expected.blue);
}

INSTANTIATE_TEST_SUITE_P(
    Colors, Decode,
    testing::Values(
        ColorCase{"Black", 0, {0, 0, 0}},
        // The rain's green, red and blue as the dialog stores them.
        ColorCase{"Green", 240 * 256, {0, 240, 0}}, ColorCase{"Red", 240, {240, 0, 0}},
        ColorCase{"Blue", 240 * 65536, {0, 0, 240}},
        ColorCase{"HighByteIgnored", 0x7F123456, {0x56, 0x34, 0x12}},
        ColorCase{"WindowBackground", rt::SystemColor(rt::kWindowBackground), {1, 2, 3}},
        ColorCase{"WindowText", rt::SystemColor(rt::kWindowText), {4, 5, 6}},
        ColorCase{"ButtonFace", rt::SystemColor(rt::kButtonFace), {7, 8, 9}},
        ColorCase{"ButtonText", rt::SystemColor(rt::kButtonText), {10, 11, 12}},
        ColorCase{"UnknownIndexIsTheButtonFace", static_cast<int32_t>(0x80000001u), {7, 8, 9}}),
    [](const testing::TestParamInfo<ColorCase>& info) { return info.param.name; });

}  // namespace
