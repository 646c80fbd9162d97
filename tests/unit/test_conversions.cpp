// The runtime's conversions and their run-time errors.
#include <gtest/gtest.h>

#include <utility>

#include "runtime/language/conversions.h"
#include "runtime/language/runtime_error.h"
#include "tests/support/error_of.h"

namespace {

struct TextToLong {
  const char* text;
  int32_t value;  // when error is 0
  int error;
  friend void PrintTo(const TextToLong& c, std::ostream* out) { *out << '"' << c.text << '"'; }
};

class CLngTable : public testing::TestWithParam<TextToLong> {};

TEST_P(CLngTable, ConvertsOrRaises) {
  const TextToLong& c = GetParam();
  int32_t got = 0;
  EXPECT_EQ(ErrorOf([&] { got = rt::CLng(c.text); }), c.error) << '"' << c.text << '"';
  if (c.error == 0) {
    EXPECT_EQ(got, c.value) << '"' << c.text << '"';
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CLngTable,
    testing::Values(
        TextToLong{"240", 240, 0}, TextToLong{" 10 ", 10, 0}, TextToLong{"240.0", 240, 0},
        TextToLong{"-1", -1, 0}, TextToLong{"+7", 7, 0}, TextToLong{"2.5", 2, 0},
        TextToLong{"3.5", 4, 0}, TextToLong{"-2.5", -2, 0}, TextToLong{"1e3", 1000, 0},
        TextToLong{"&H10", 16, 0}, TextToLong{"&o17", 15, 0},
        TextToLong{"2147483647", 2147483647, 0}, TextToLong{"2147483648", 0, rt::kOverflow},
        TextToLong{"-2147483649", 0, rt::kOverflow}, TextToLong{"99999999999", 0, rt::kOverflow},
        TextToLong{"1e400", 0, rt::kOverflow}, TextToLong{"", 0, rt::kTypeMismatch},
        TextToLong{"  ", 0, rt::kTypeMismatch}, TextToLong{"fast", 0, rt::kTypeMismatch},
        TextToLong{"abc", 0, rt::kTypeMismatch}, TextToLong{"12abc", 0, rt::kTypeMismatch},
        TextToLong{"1 0", 0, rt::kTypeMismatch}, TextToLong{"-", 0, rt::kTypeMismatch},
        TextToLong{"&H", 0, rt::kTypeMismatch}, TextToLong{"&HZZ", 0, rt::kTypeMismatch},
        // As OLE Automation reads them under the Japanese locale.
        TextToLong{"1,000", 1000, 0}, TextToLong{"2,4,0", 240, 0}, TextToLong{"(5)", -5, 0},
        TextToLong{"5-", -5, 0}, TextToLong{"240-", -240, 0}, TextToLong{"1,000.5", 1000, 0},
        TextToLong{"\u3000"
                   "240",
                   240, 0},
        TextToLong{"\uFFE5"
                   "5",
                   5, 0},
        TextToLong{"&HFFFFFFFF", -1, 0}, TextToLong{"&H100000000", 0, rt::kOverflow},
        TextToLong{"-&H1F", 31, 0}, TextToLong{"0.06", 0, 0}, TextToLong{"0.6", 1, 0},
        TextToLong{",5", 0, rt::kTypeMismatch}, TextToLong{"(5", 0, rt::kTypeMismatch},
        TextToLong{"+5+", 0, rt::kTypeMismatch}, TextToLong{"\uFF15", 0, rt::kTypeMismatch},
        TextToLong{"\xC2\xA5"
                   "5",
                   0, rt::kTypeMismatch},
        TextToLong{"1e3,0", 10000, 0}));

TEST(CDbl, ReadsNumbersLikeCLngButKeepsFractions) {
  EXPECT_EQ(rt::CDbl("240.0"), 240.0);
  EXPECT_EQ(rt::CDbl(" 0.5 "), 0.5);
  EXPECT_EQ(ErrorOf([] { rt::CDbl(""); }), rt::kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { rt::CDbl("green"); }), rt::kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { rt::CDbl("1e400"); }), rt::kOverflow);
  EXPECT_EQ(ErrorOf([] { rt::CDbl(std::string(400, '9')); }), rt::kOverflow);
  EXPECT_EQ(rt::CDbl("1e-400"), 0.0);
  EXPECT_EQ(rt::CDbl("0." + std::string(400, '0') + "1"), 0.0);
}

TEST(Rounding, HalfToEvenWithRangeChecks) {
  EXPECT_EQ(rt::CIntRound(12.5), 12);
  EXPECT_EQ(rt::CIntRound(13.5), 14);
  EXPECT_EQ(rt::CIntRound(-12.5), -12);
  EXPECT_EQ(rt::CIntRound(252.5f), 252);
  EXPECT_EQ(rt::CIntRound(32767.4), 32767);
  EXPECT_EQ(ErrorOf([] { rt::CIntRound(32767.5); }), rt::kOverflow);
  EXPECT_EQ(rt::CIntRound(-32768.5), -32768);
  EXPECT_EQ(rt::CLngRound(45000.5), 45000);
  EXPECT_EQ(ErrorOf([] { rt::CLngRound(2147483648.0); }), rt::kOverflow);
  EXPECT_EQ(rt::Int(-0.5f), -1.0f);
  EXPECT_EQ(rt::Int(99.99f), 99.0f);
}

TEST(Chr, MapsCodePage932SingleBytes) {
  EXPECT_EQ(rt::Chr(65), "A");
  EXPECT_EQ(rt::Chr(1), "\x01");
  EXPECT_EQ(rt::Chr(161), "\uFF61");  // halfwidth ideographic full stop
  EXPECT_EQ(rt::Chr(177), "\uFF71");  // halfwidth katakana a
  EXPECT_EQ(rt::Chr(223), "\uFF9F");  // halfwidth semi-voiced sound mark
  for (int lead_or_unassigned = 224; lead_or_unassigned <= 255; ++lead_or_unassigned) {
    EXPECT_EQ(rt::Chr(lead_or_unassigned), "") << lead_or_unassigned;
  }
  EXPECT_EQ(ErrorOf([] { rt::Chr(256); }), rt::kInvalidCall);
  EXPECT_EQ(ErrorOf([] { rt::Chr(-1); }), rt::kInvalidCall);
}

TEST(Asc, GivesTheCodeBackAndRejectsEmptyText) {
  for (int code : {1, 32, 57, 100, 161, 200, 223}) EXPECT_EQ(rt::Asc(rt::Chr(code)), code);
  EXPECT_EQ(rt::Asc("xyz"), 'x');
  EXPECT_EQ(ErrorOf([] { rt::Asc(""); }), rt::kInvalidCall);
}

// A double-byte character gives its code page 932 code as an Integer, as
// Windows does: &H8341 for a full-width ア is -31935.
TEST(Asc, DoubleByteCharactersGiveTheirCodeAsANegativeInteger) {
  const std::pair<const char*, int> cases[] = {
      {"\u30A2", 0x8341 - 0x10000},        // full-width katakana a
      {"\u30A2\u30A4", 0x8341 - 0x10000},  // only the first character counts
      {"\u3042", 0x82A0 - 0x10000},        // hiragana a
      {"\uFF21", 0x8260 - 0x10000},        // full-width A
      {"\u6F22", 0x8ABF - 0x10000},        // a kanji
      {"\uFF71", 0xB1},                    // half-width katakana a: one byte
  };
  for (const auto& [text, code] : cases) EXPECT_EQ(rt::Asc(text), code) << text;
}

TEST(TextFunctions, UpperCaseAndLeftCountCharacters) {
  EXPECT_EQ(rt::UCase("/s /c:42"), "/S /C:42");
  EXPECT_EQ(rt::Left("/SETTINGS", 2), "/S");
  EXPECT_EQ(rt::Left("/", 2), "/");
  EXPECT_EQ(rt::Left("", 2), "");
  EXPECT_EQ(rt::Left("設定です", 2), "設定");
}

TEST(RGB, CombinesComponentsClampedAt255) {
  EXPECT_EQ(rt::RGB(240, 0, 0), 240);
  EXPECT_EQ(rt::RGB(0, 240, 0), 240 * 256);
  EXPECT_EQ(rt::RGB(0, 0, 240), 240 * 65536);
  EXPECT_EQ(rt::RGB(300, 256, 1000), 0xFFFFFF);
  EXPECT_EQ(ErrorOf([] { rt::RGB(-1, 0, 0); }), rt::kInvalidCall);
}

TEST(ErrorMessage, IsJapaneseWithTheNumber) {
  const std::string message = rt::ErrorMessage(13);
  EXPECT_NE(message.find("実行時エラー '13'"), std::string::npos);
  EXPECT_NE(message.find("型が一致しません"), std::string::npos);
}

}  // namespace
