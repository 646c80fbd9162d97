#include "tests/support/settings_corpus.h"

#include <cstdio>

namespace {

std::string Hex(unsigned char c) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", c);
  return text;
}

class Corpus {
 public:
  void Add(const std::string& name, const std::string& bytes) { files_.push_back({name, bytes}); }
  std::vector<CorpusFile> Take() { return std::move(files_); }

 private:
  std::vector<CorpusFile> files_;
};

// The plain shapes first: what a hand-edited file mostly holds.
void Basics(Corpus& corpus) {
  const std::pair<const char*, std::string> files[] = {
      {"Plain", "[main]\nSP=10\n"},
      {"CrLf", "[main]\r\nSP=10\r\n"},
      {"NoSection", "[x]\nSP=1\n"},
      {"CaseOfNames", "[MAIN]\nsp=100\n"},
      {"Blanks", "  [ main ]\n  SP  =  200  \n"},
      {"EmptyValue", "[main]\nSP=\n"},
      {"DoubleQuotes", "[main]\nSP=\"10\"\n"},
      {"SingleQuotes", "[main]\nSP='10'\n"},
      {"Comment", "[main]\n;SP=1\nSP=3\n"},
      {"FirstKeyWins", "[main]\nSP=1\nSP=2\n"},
      {"FirstSectionWins", "[main]\nA=0\n[main]\nSP=9\n"},
      {"LongValue", "[main]\nSP=" + std::string(300, '7') + "\n"},
      {"Marker", "[main]\nSP=ERRORFLAG\n"},
      {"NoFinalNewline", "[main]\nSP=10"}};
  for (const auto& [name, bytes] : files) corpus.Add(name, bytes);
}

void LineEnds(Corpus& corpus) {
  const std::pair<const char*, std::string> ends[] = {
      {"Lf", "\n"}, {"CrLf", "\r\n"}, {"Cr", "\r"}, {"LfCr", "\n\r"}, {"CrCrLf", "\r\r\n"}};
  for (const auto& [name, end] : ends) {
    const std::string main = "[main]" + end + "COLOR1=240" + end + "SP=10" + end;
    corpus.Add(std::string("End") + name, main);
    corpus.Add(std::string("End") + name + "NoFinal", main.substr(0, main.size() - end.size()));
    corpus.Add(std::string("End") + name + "AfterOther", "[other]" + end + "SP=1" + end + main);
    corpus.Add(std::string("End") + name + "BeforeOther", main + "[other]" + end + "SP=1" + end);
  }
  corpus.Add("EndMixed", "[other]\rSP=1\n[main]\r\nCOLOR1=3\rSP=4\n\rSP=5\n");
  corpus.Add("EndMixedLoneCrFirst", "[main]\rSP=1\r\nCOLOR1=2\n");
}

void Headers(Corpus& corpus) {
  const char* headers[] = {"[main]]",  "[[main]",  "[main",         "main]",
                           "[ main ]", "[main] x", "[main][other]", "[other][main]",
                           "[main]x]", " [main] ", "\t[main]\t",    "[MAIN]",
                           "[ma in]",  "[]",       "[main]  ;c",    "[main] ]",
                           "[main\t]", "[\tmain]", "[main]\x1a",    "\x1a[main]",
                           "[main]\v", "\f[main]", "[main][main]",  "[[main]]",
                           "[main]=1", "[main=]",  "[Main]",        "[ma]in]"};
  int index = 0;
  for (const char* header : headers) {
    const std::string name = "Header" + std::to_string(index++);
    corpus.Add(name, std::string(header) + "\r\nSP=10\r\nCOLOR1=1\r\n");
    corpus.Add(name + "AfterMain",
               "[main]\r\nCOLOR1=2\r\n" + std::string(header) + "\r\nSP=10\r\n");
  }
  corpus.Add("HeaderTwoOnALine", "[other]  [main]\r\nSP=1\r\n[main]\r\nSP=2\r\n");
  corpus.Add("HeaderMissingThenReal", "[main\r\nSP=1\r\n[main]\r\nSP=2\r\n");
}

void ControlCharacters(Corpus& corpus) {
  std::vector<std::string> characters;
  for (int c = 1; c < 0x20; ++c) {
    if (c != '\n') characters.push_back(std::string(1, static_cast<char>(c)));
  }
  characters.push_back("\x7F");
  characters.push_back(std::string("\x81\x40"));  // the full-width space in Shift-JIS
  characters.push_back(std::string("\0", 1));
  for (const std::string& c : characters) {
    const std::string code = Hex(static_cast<unsigned char>(c[0]));
    const std::pair<const char*, std::string> places[] = {
        {"BeforeName", c + "SP=10"},     {"InName", "S" + c + "P=10"},
        {"AfterName", "SP" + c + "=10"}, {"BeforeValue", "SP=" + c + "10"},
        {"InValue", "SP=1" + c + "0"},   {"AfterValue", "SP=10" + c}};
    for (const auto& [place, line] : places) {
      corpus.Add("Control" + code + place, "[main]\r\n" + line + "\r\nCOLOR1=" + c + "7\r\n");
    }
  }
}

void KeysAndValues(Corpus& corpus) {
  const char* lines[] = {"SP=\"10\"",     "SP='10'",     "SP=\"10'",  "SP=\"\"", "SP=\"",
                         "SP= \" 10 \" ", "SP=\"1\"0\"", "SP='",      "SP=''",   "SP=\"'\"",
                         "SP=a=b",        "SP==10",      "SP = = 10", "SP=",     "SP",
                         "SP =",          "=10",         " = 10",     "[SP=10",  "[SP]=10",
                         ";SP=1",         "# SP=1",      "SP=1 ;c",   "sp=5",    "Sp =  6  ",
                         "S P=7",         "SP\t=\t8\t",  "SP=\t",     "SP=10\"", "\"SP\"=10",
                         "SP=(5)",        "SP=1,000"};
  int index = 0;
  for (const char* line : lines) {
    const std::string name = "Key" + std::to_string(index++);
    corpus.Add(name, "[main]\r\n" + std::string(line) + "\r\nSP=99\r\nCOLOR1=" + line + "\r\n");
  }
  corpus.Add("KeyWithoutEqualsFirst", "[main]\r\nSP\r\nSP=4\r\n");
  corpus.Add("EmptyNameLines", "[main]\r\n=1\r\n=2\r\nSP=3\r\n");
  corpus.Add("CommentBeforeSection", ";[main]\r\n[main]\r\nSP=1\r\n");
  corpus.Add("RepeatedSections", "[main]\r\nCOLOR1=1\r\n[other]\r\n[main]\r\nSP=2\r\n");
  corpus.Add("RepeatedKeys", "[main]\r\nSP=1\r\nSP=2\r\nCOLOR1=3\r\ncolor1=4\r\n");
  corpus.Add("KeysBeforeAnySection", "SP=1\r\nCOLOR1=2\r\n[main]\r\n");
  corpus.Add("Empty", "");
  corpus.Add("OnlyBlanks", " \r\n\t\r\n");
}

void LongValues(Corpus& corpus) {
  for (const size_t length : {250, 253, 254, 255, 256, 257, 300, 1000}) {
    const std::string digits(length, '7');
    const std::string n = std::to_string(length);
    corpus.Add("Long" + n, "[main]\r\nSP=" + digits + "\r\n");
    corpus.Add("LongQuoted" + n, "[main]\r\nSP=\"" + digits + "\"\r\n");
    corpus.Add("LongQuotedOpen" + n, "[main]\r\nSP=\"" + digits + "\r\n");
    // Shift-JIS katakana "a" (two bytes) across the cut at 255 bytes.
    for (const size_t offset : {0, 1}) {
      std::string value(offset, 'x');
      while (value.size() < length) value += "\x83\x41";
      corpus.Add("LongShiftJis" + n + "Offset" + std::to_string(offset),
                 "[main]\r\nSP=" + value + "\r\nCOLOR1=\"" + value + "\"\r\n");
    }
  }
  corpus.Add("LongName", "[main]\r\n" + std::string(300, 'K') + "=1\r\nSP=2\r\n");
  corpus.Add("LongLine", "[main]\r\n;" + std::string(100000, 'x') + "\r\nSP=2\r\n");
}

std::string Utf16(const std::u16string& text, bool big_endian) {
  std::string out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    out += big_endian ? high : low;
    out += big_endian ? low : high;
  }
  return out;
}

void Encodings(Corpus& corpus) {
  const std::string japanese_utf8 = "\xE3\x82\xA2\xEF\xBD\xB1\xE5\x80\xA4";  // ア ｱ 値
  const std::string japanese_sjis = "\x83\x41\xB1\x92\x6C";
  corpus.Add("Utf8Bom", "\xEF\xBB\xBF[main]\r\nSP=10\r\nCOLOR1=" + japanese_utf8 + "\r\n");
  corpus.Add("Utf8BomNotCp932",
             "\xEF\xBB\xBF[main]\r\nSP=\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\r\n");
  corpus.Add("Utf8BomInvalid", "\xEF\xBB\xBF[main]\r\nSP=1\xFF\xC3\r\nCOLOR1=\xE3\x82\r\n");
  corpus.Add("Utf8BomFullWidthSpace",
             "\xEF\xBB\xBF[main]\r\nSP=\xE3\x80\x80"
             "10\xE3\x80\x80\r\n");
  corpus.Add("Utf8NoBom", "[main]\r\nSP=10\r\nCOLOR1=" + japanese_utf8 + "\r\n");
  corpus.Add("Utf8BomTwice", "\xEF\xBB\xBF\xEF\xBB\xBF[main]\r\nSP=10\r\n");
  corpus.Add("ShiftJis", "[main]\r\nSP=10\r\nCOLOR1=" + japanese_sjis + "\r\n");
  corpus.Add("ShiftJisBackslashTrail",
             "[main]\r\nSP=\x83\x5C"
             "10\r\nCOLOR1=\x95\x5C\r\n");
  corpus.Add("ShiftJisBracketTrail", "[main\x83]\r\nSP=1\r\n[main]\r\nSP=2\r\n");
  corpus.Add("ShiftJisBracketTrailInKey", "[main]\r\nSP=\x83]\r\nCOLOR1=\x83[\r\n");
  corpus.Add("ShiftJisLoneLeadAtEnd", "[main]\r\nSP=10\x83\r\nCOLOR1=5\x83");
  corpus.Add("ShiftJisLeadBeforeLf", "[main]\r\nCOLOR1=1\x83\nSP=10\r\n");
  corpus.Add("ShiftJisLeadBeforeEquals", "[main]\r\nSP\x83=10\r\nCOLOR1\x81=2\r\n");
  corpus.Add("HighBytes", "[main]\r\nSP=\x80\xA0\xFD\xFE\xFF\r\nCOLOR1=\xA1\xDF\r\n");
  corpus.Add("UndefinedPairs", "[main]\r\nSP=\xEF\x40\x85\x40\r\nCOLOR1=\xF0\x40\x87\x40\r\n");
  corpus.Add("UserDefinedArea", "[main]\r\nSP=\xF9\xFC\r\n");
  corpus.Add("FullWidthDigits", "[main]\r\nSP=\x82\x50\x82\x4F\r\n");
  corpus.Add("NulBytes", std::string("[main]\r\nSP=1\0"
                                     "0\r\nCOLOR1=\0"
                                     "5\r\n",
                                     27));
  corpus.Add("NulInSection", std::string("[ma\0in]\r\nSP=1\r\n[main]\r\nSP=2\r\n", 27));
  corpus.Add("NulInKeyName", std::string("[main]\r\nS\0P=1\r\nSP=2\r\n", 20));
  const std::u16string text = u"[main]\r\nSP=10\r\nCOLOR1=\u30A2\u5024\U0001F600\r\n";
  corpus.Add("Utf16Le", Utf16(text, false));
  corpus.Add("Utf16Be", Utf16(text, true));
  corpus.Add("Utf16LeOddLength", Utf16(text, false) + "x");
  corpus.Add("Utf16LeLoneSurrogate", Utf16(u"[main]\r\nSP=1\xD800"
                                           u"0\r\n",
                                           false));
  corpus.Add("Utf16LeCrOnly", Utf16(u"[main]\rSP=10\r", false));
  corpus.Add("Utf16LeFullWidthSpace", Utf16(u"[main]\n\u3000SP\u3000=\u300010\u3000\n", false));
  // "[main]\nSP=1\n" in UTF-16LE: 12 characters, 24 bytes.
  corpus.Add("Utf16LeNoMark", std::string("[\0m\0a\0i\0n\0]\0\n\0S\0P\0=\0"
                                          "1\0\n\0",
                                          24));
}

}  // namespace

std::vector<CorpusFile> SettingsCorpus() {
  Corpus corpus;
  Basics(corpus);
  LineEnds(corpus);
  Headers(corpus);
  ControlCharacters(corpus);
  KeysAndValues(corpus);
  LongValues(corpus);
  Encodings(corpus);
  return corpus.Take();
}
