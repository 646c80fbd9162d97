// Reading and changing INI text the way a hand-edited settings file needs.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "runtime/windows_text/ini_text.h"
#include "runtime/windows_text/returned_value.h"
#include "runtime/windows_text/wide_text.h"

namespace {

// The raw value as UTF-8, in a file of the ANSI code page.
std::optional<std::string> FindValue(const std::string& text, const std::u16string& section,
                                     const std::u16string& key) {
  const auto value = rt::ini::FindValue(text, rt::ini::Charset::kCp932, section, key);
  if (!value) return std::nullopt;
  return rt::ini::Utf16ToUtf8(*value);
}

std::string WithValue(const std::string& text, const std::u16string& section,
                      const std::u16string& key, const std::string& value) {
  return rt::ini::WithValue(text, rt::ini::Charset::kCp932, section, key, value);
}

struct ReadCase {
  const char* name;
  friend void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.name; }
  std::string text;
  std::optional<std::string> sp;  // the value of key SP in section main
};

class FindValueTable : public testing::TestWithParam<ReadCase> {};

TEST_P(FindValueTable, FindsTheValue) {
  EXPECT_EQ(FindValue(GetParam().text, u"main", u"SP"), GetParam().sp);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FindValueTable,
    testing::Values(ReadCase{"Plain", "[main]\nSP=10\n", "10"}, ReadCase{"Empty", "", std::nullopt},
                    ReadCase{"NoSection", "SP=10\n", std::nullopt},
                    ReadCase{"OtherSection", "[other]\nSP=10\n", std::nullopt},
                    ReadCase{"KeyInOtherSectionAfterMain", "[main]\nCOLOR1=1\n[x]\nSP=5\n",
                             std::nullopt},
                    ReadCase{"CaseInsensitiveNames", "[MAIN]\nsp=100\n", "100"},
                    ReadCase{"BlanksAround", "  [ main ]  \n  SP \t=  200  \n", "200"},
                    ReadCase{"EmptyValue", "[main]\nSP=\n", ""},
                    ReadCase{"QuotesKeptForTheCaller", "[main]\nSP=\" 10 \"\n", "\" 10 \""},
                    ReadCase{"CommentLinesSkipped", "[main]\n;SP=1\n  ; SP=2\nSP=3\n", "3"},
                    ReadCase{"FirstKeyWins", "[main]\nSP=1\nSP=2\n", "1"},
                    ReadCase{"FirstSectionWins", "[main]\nCOLOR1=0\n[main]\nSP=9\n", std::nullopt},
                    ReadCase{"KeyWithoutEqualsHidesLaterOnes", "[main]\nSP\nSP=4\n", std::nullopt},
                    ReadCase{"CrLf", "[main]\r\nSP=10\r\n", "10"},
                    ReadCase{"CrAloneEndsALine", "[main]\rSP=10\rCOLOR1=1", "10"},
                    ReadCase{"SectionNameToTheLastBracket", "[main]x]\nSP=10\n", std::nullopt},
                    ReadCase{"TextAfterTheBracket", "[main] ; x\nSP=10\n", "10"},
                    ReadCase{"NoBracketIsAKeyLine", "[main]\n[other\nSP=10\n", "10"},
                    ReadCase{"FullWidthSpaceIsNoBlank", "[main]\n\x81\x40SP=10\n", std::nullopt},
                    ReadCase{"NulEndsTheValue",
                             std::string("[main]\nSP=1\0"
                                         "0\n",
                                         14),
                             "1"},
                    ReadCase{"LeadByteTakesTheLineEnd", "[main]\nA=\x83\nSP=10\n", std::nullopt},
                    ReadCase{"ShiftJisTrailByteIsNoBracket", "[main\x83]\nSP=10\n", std::nullopt},
                    ReadCase{"NoFinalNewline", "[main]\nSP=10", "10"},
                    ReadCase{"ValueWithEquals", "[main]\nSP=a=b\n", "a=b"},
                    ReadCase{"ErrorFlagIsJustText", "[main]\nSP=ERRORFLAG\n", "ERRORFLAG"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

struct WriteCase {
  const char* name;
  friend void PrintTo(const WriteCase& c, std::ostream* out) { *out << c.name; }
  std::string before;
  std::string after;  // with SP set to 200
};

class WithValueTable : public testing::TestWithParam<WriteCase> {};

TEST_P(WithValueTable, ChangesOnlyTheKey) {
  EXPECT_EQ(WithValue(GetParam().before, u"main", u"SP", "200"), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Files, WithValueTable,
    testing::Values(
        WriteCase{"NewFile", "", "[main]\nSP=200\n"},
        WriteCase{"InPlace", "[main]\nCOLOR1=240\nSP=10\nCOLOR3=0\n",
                  "[main]\nCOLOR1=240\nSP=200\nCOLOR3=0\n"},
        WriteCase{"KeepsKeySpellingAndOtherLines", "; mine\n[Main]\n  sp = 10 ; x\n[b]\nk=v\n",
                  "; mine\n[Main]\nsp=200\n[b]\nk=v\n"},
        WriteCase{"AddsKeyAtEndOfSection", "[main]\nCOLOR1=1\n\n[other]\nx=1\n",
                  "[main]\nCOLOR1=1\nSP=200\n\n[other]\nx=1\n"},
        WriteCase{"AddsKeyAfterUnterminatedLine", "[main]\nCOLOR1=1", "[main]\nCOLOR1=1\nSP=200\n"},
        WriteCase{"AddsSection", "[other]\nx=1\n", "[other]\nx=1\n[main]\nSP=200\n"},
        WriteCase{"AddsSectionAfterUnterminatedLine", "[other]\nx=1",
                  "[other]\nx=1\n[main]\nSP=200\n"},
        WriteCase{"KeepsCrLf", "[main]\r\nCOLOR1=1\r\n", "[main]\r\nCOLOR1=1\r\nSP=200\r\n"},
        // A file ending in a CR alone: the CR gains its LF, and nothing else
        // moves (the key once went to the start of the file, or the last
        // value gained a CR).
        WriteCase{"AddsKeyAfterFinalLoneCr", "[main]\r\nCOLOR1=1\r",
                  "[main]\r\nCOLOR1=1\r\nSP=200\r\n"},
        WriteCase{"AddsSectionAfterFinalLoneCr", "[other]\r\nx=1\r",
                  "[other]\r\nx=1\r\n[main]\r\nSP=200\r\n"},
        WriteCase{"ReplacesKeyWithoutEquals", "[main]\nSP\n", "[main]\nSP=200\n"},
        WriteCase{"OnlyFirstSection", "[main]\nA=1\n[main]\nSP=1\n",
                  "[main]\nA=1\nSP=200\n[main]\nSP=1\n"}),
    [](const testing::TestParamInfo<WriteCase>& info) { return info.param.name; });

TEST(WithValue, WhatIsWrittenReadsBack) {
  const std::string text = WithValue("; c\n[x]\nSP=1\n", u"main", u"SP", "70");
  EXPECT_EQ(FindValue(text, u"main", u"SP"), "70");
  EXPECT_EQ(FindValue(text, u"x", u"SP"), "1");
}

TEST(WithValue, AddsTheKeyToItsSectionInAFileOfLoneCrs) {
  const std::string text = WithValue("[main]\rA=1\r[x]\rB=2\r", u"main", u"SP", "7");
  EXPECT_EQ(text, "[main]\rA=1\rSP=7\n[x]\rB=2\r");
  EXPECT_EQ(FindValue(text, u"main", u"SP"), "7");
}

// What the A function hands back: quotes gone when they match, the value
// cut to the buffer, a double-byte character that does not fit left out.
TEST(AsReturned, UnquotesAndCutsLikeTheAFunction) {
  using rt::ini::AsReturned;
  EXPECT_EQ(AsReturned(u"\" 10 \"", 256), " 10 ");
  EXPECT_EQ(AsReturned(u"'10'", 256), "10");
  EXPECT_EQ(AsReturned(u"\"10'", 256), "\"10'");
  EXPECT_EQ(AsReturned(u"\"", 256), "\"");
  EXPECT_EQ(AsReturned(std::u16string(300, u'7'), 256), std::string(255, '7'));
  EXPECT_EQ(AsReturned(u"\"" + std::u16string(255, u'7') + u"\"", 256), std::string(254, '7'))
      << "the closing quote goes only when the whole value fits";
  EXPECT_EQ(AsReturned(std::u16string(200, u'\u30A2'), 256).size(), 127u * 3)
      << "127 two-byte characters fill 254 bytes; the 128th does not fit";
  EXPECT_EQ(AsReturned(u"\u00E9\u20AC", 256), "e?");
}

}  // namespace
