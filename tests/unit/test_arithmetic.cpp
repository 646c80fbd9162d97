// Checked 16- and 32-bit arithmetic: results in range, error 6 outside.
#include <gtest/gtest.h>

#include "runtime/language/checked_int.h"
#include "tests/support/error_of.h"

namespace {

TEST(CheckedArithmetic, InRangeResults) {
  EXPECT_EQ(rt::Add16(32766, 1), 32767);
  EXPECT_EQ(rt::Sub16(-32767, 1), -32768);
  EXPECT_EQ(rt::Mul16(126, 2), 252);
  EXPECT_EQ(rt::Abs16(-240), 240);
  EXPECT_EQ(rt::Div16(-7, 2), -3);  // truncates toward zero
  EXPECT_EQ(rt::Div16(240, 252), 0);
  EXPECT_EQ(rt::Add32(2147483646, 1), 2147483647);
  EXPECT_EQ(rt::Div32(28800, 285), 101);
}

TEST(CheckedArithmetic, OverflowIsError6) {
  EXPECT_EQ(ErrorOf([] { rt::Add16(32767, 1); }), rt::kOverflow);
  EXPECT_EQ(ErrorOf([] { rt::Sub16(-32768, 1); }), rt::kOverflow);
  EXPECT_EQ(ErrorOf([] { rt::Mul16(253, 300); }), rt::kOverflow);
  EXPECT_EQ(ErrorOf([] { rt::Abs16(-32768); }), rt::kOverflow);
  EXPECT_EQ(ErrorOf([] { rt::Narrow16(32768); }), rt::kOverflow);
  EXPECT_EQ(ErrorOf([] { rt::Narrow16(-32769); }), rt::kOverflow);
  EXPECT_EQ(ErrorOf([] { rt::Add32(2147483647, 1); }), rt::kOverflow);
  EXPECT_EQ(ErrorOf([] { rt::Div32(-2147483647 - 1, -1); }), rt::kOverflow);
}

TEST(CheckedArithmetic, ZeroDivisorIsError11) {
  EXPECT_EQ(ErrorOf([] { rt::Div16(5, 0); }), rt::kDivisionByZero);
  EXPECT_EQ(ErrorOf([] { rt::Div32(5, 0); }), rt::kDivisionByZero);
}

}  // namespace
