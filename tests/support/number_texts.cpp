#include "tests/support/number_texts.h"

namespace {

const char kFullWidthSpace[] = "\xE3\x80\x80";

void Signs(std::vector<std::string>& texts) {
  for (const char* n : {"5", "240", "1.5", "0"}) {
    const std::string v = n;
    for (const std::string& t :
         {"-" + v, "+" + v, v + "-", v + "+", "(" + v + ")", "-(" + v + ")", "(-" + v + ")",
          "(" + v, v + ")", "--" + v, "+-" + v, "-" + v + "-", "- " + v, v + " -", "(" + v + ")-",
          "( " + v + " )", "(" + v + "-)", "+" + v + "+", "-" + v + "+"}) {
      texts.push_back(t);
    }
  }
}

void Blanks(std::vector<std::string>& texts) {
  const std::string blanks[] = {" ",  "\t", kFullWidthSpace, "\r",   "\n",
                                "\v", "\f", "\xC2\xA0",      "  \t "};
  for (const std::string& b : blanks) {
    texts.push_back(b + "240");
    texts.push_back("240" + b);
    texts.push_back("2" + b + "40");
    texts.push_back("-" + b + "5");
    texts.push_back(b);
  }
}

void Separators(std::vector<std::string>& texts) {
  for (const char* t : {"1,000", "2,4,0",     "1,000.5", ",5",     "5,",       "1,,000", "1,00",
                        ",",     "1,000,000", "-1,000",  "1,000-", "(1,000)",  "1.000",  "1.000,5",
                        "1,0e3", "1e3,0",     "&H1,0",   "1 000",  "12,34,56", ",,",     "0,0"}) {
    texts.push_back(t);
  }
}

void Decimals(std::vector<std::string>& texts) {
  for (const char* t : {"1.5",
                        ".5",
                        "5.",
                        "1..5",
                        "1.5.5",
                        ".",
                        "-.5",
                        "1e3",
                        "1E3",
                        "1e+3",
                        "1e-3",
                        "1.5e1",
                        "1e",
                        "1e+",
                        "e3",
                        "1d3",
                        "1D2",
                        "1e3.5",
                        "1e 3",
                        "1 e3",
                        ".e1",
                        "1e400",
                        "1e-400",
                        "1e308",
                        "2e308",
                        "-1e308",
                        "4.9e-324",
                        "1e10",
                        "0.5",
                        "1.5",
                        "2.5",
                        "3.5",
                        "-0.5",
                        "-1.5",
                        "-2.5",
                        "0.49999999999999994",
                        "2.5000001",
                        "32767.5",
                        "32768.5",
                        "-32768.5",
                        "-32769",
                        "2147483647.5",
                        "2147483646.5",
                        "-2147483648.5",
                        "-2147483649",
                        "00012",
                        "0000",
                        "1.50",
                        "123456789012345678901234"}) {
    texts.push_back(t);
  }
}

void Radix(std::vector<std::string>& texts) {
  for (const char* t : {"&H",         "&H0",        "&HF",        "&HFF",          "&HFFF",
                        "&HFFFF",     "&H7FFF",     "&H8000",     "&H10000",       "&HFFFFF",
                        "&H7FFFFFFF", "&H80000000", "&HFFFFFFFF", "&H100000000",   "&HFFFFFFFFFF",
                        "&h1f",       "&H1F ",      " &H1F",      "-&H1F",         "&H-1",
                        "&HG",        "&H1.5",      "&O",         "&O7",           "&O17",
                        "&O77777",    "&O100000",   "&O177777",   "&O37777777777", "&O40000000000",
                        "&O8",        "&o17",       "&17",        "&B101",         "&",
                        "&H 1",       "(&H1)",      "&H1-",       "0x10",          "&HFFFF8000"}) {
    texts.push_back(t);
  }
}

void Limits(std::vector<std::string>& texts) {
  for (const char* t : {"32767", "32768", "-32768", "-32769", "2147483647", "2147483648",
                        "-2147483648", "-2147483649", "99999999999", "4294967296",
                        "9223372036854775807", "1.7976931348623157e308", "1.8e308"}) {
    texts.push_back(t);
  }
}

void Junk(std::vector<std::string>& texts) {
  for (const std::string& t : {std::string(""),
                               std::string("fast"),
                               std::string("12abc"),
                               std::string("abc12"),
                               std::string("1 0"),
                               std::string("-"),
                               std::string("+"),
                               std::string("()"),
                               std::string("$5"),
                               std::string("5$"),
                               std::string("\\5"),
                               std::string("5\\"),
                               std::string("\xC2\xA5"
                                           "5"),
                               std::string("5\xC2\xA5"),
                               std::string("\xEF\xBF\xA5"
                                           "5"),
                               std::string("\xEF\xBC\x95"),
                               std::string("\xEF\xBC\x92\xEF\xBC\x94\xEF\xBC\x90"),
                               std::string("\xEF\xBC\x8D"
                                           "5"),
                               std::string("5%"),
                               std::string("#5"),
                               std::string("\xE3\x80\x80"
                                           "240"),
                               std::string("240\xE3\x80\x80"),
                               std::string("1/2"),
                               std::string("1:2"),
                               std::string("true"),
                               std::string("ERRORFLAG"),
                               std::string("0\0"
                                           "5",
                                           3),
                               std::string("\xD9\xA5"),
                               std::string("\xE0\xA5\xAB")}) {
    texts.push_back(t);
  }
}

// Fractions below a tenth, half-way and more digits than a double holds.
void Fractions(std::vector<std::string>& texts) {
  for (const char* t : {"0.06", "0.051", "0.0051", "6e-2", ".06", "-0.06", "0.05", "0.15", "99e-2",
                        "0,06", "1.06", "0.96", "9.5", "10.5", "-9.5"}) {
    texts.push_back(t);
  }
  texts.push_back(std::string(400, '9'));
  texts.push_back("0." + std::string(400, '0') + "1");
}

// Characters that are blanks to some and not to others.
void OtherBlanks(std::vector<std::string>& texts) {
  for (const char* b : {"\x1C", "\x1F", "\xC2\x85", "\xE2\x80\x83", "\xEF\xBB\xBF"}) {
    texts.push_back(std::string(b) + "24");
    texts.push_back("24" + std::string(b));
  }
}

}  // namespace

std::vector<std::string> NumberTexts() {
  std::vector<std::string> texts;
  Signs(texts);
  Blanks(texts);
  Separators(texts);
  Decimals(texts);
  Radix(texts);
  Limits(texts);
  Junk(texts);
  Fractions(texts);
  OtherBlanks(texts);
  return texts;
}
