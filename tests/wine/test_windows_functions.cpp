// Our Linux settings reader and number conversions held against Windows' own
// functions (GetPrivateProfileStringA; VarI4FromStr and VarR8FromStr under
// locale 1041) through the probe under Wine, over generated tables. Each
// table goes through one probe run, in code page 932 as the program's
// Japanese Windows has it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <sstream>
#include <vector>

#include "runtime/language/conversions.h"
#include "runtime/language/runtime_error.h"
#include "runtime/language/utf8.h"
#include "runtime/platform/os_services.h"
#include "tests/e2e/harness.h"
#include "tests/support/number_texts.h"
#include "tests/support/settings_corpus.h"
#include "tools/profile_probe/hex_text.h"

namespace {

using probe::Hex;
using probe::Unhex;

std::string WindowsPath(const std::string& path) {
  std::string windows = "Z:" + path;
  std::replace(windows.begin(), windows.end(), '/', '\\');
  return windows;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The probe's answers, one line per question in the list.
std::vector<std::string> AskProbe(const std::string& mode, const std::string& list,
                                  size_t questions) {
  Process probe(
      {"env", "LC_ALL=ja_JP.UTF-8", "wine", KELVORA_PROFILE_PROBE, mode, WindowsPath(list)}, "");
  const std::optional<int> status = probe.WaitExit(120s);
  EXPECT_EQ(status, 0) << probe.Stderr();
  std::vector<std::string> answers = Lines(probe.Stdout());
  EXPECT_EQ(answers.size(), questions) << probe.Stderr();
  answers.resize(questions);
  return answers;
}

TEST(WindowsProfileFunctions, EveryKeyOfTheCorpusReadsAsWindowsReadsIt) {
  const std::vector<CorpusFile> corpus = SettingsCorpus();
  TempDir dir;
  struct Question {
    std::string file, section, key;
  };
  std::vector<Question> questions;
  std::string list;
  for (size_t i = 0; i < corpus.size(); ++i) {
    const std::string path = dir.File("f" + std::to_string(i) + ".ini");
    WriteFile(path, corpus[i].bytes);
    for (const char* key : {"SP", "COLOR1"}) {
      questions.push_back({path, "main", key});
      list += WindowsPath(path) + "\tmain\t" + key + "\n";
    }
  }
  WriteFile(dir.File("list.txt"), list);
  const std::vector<std::string> windows =
      AskProbe("--read", dir.File("list.txt"), questions.size());
  for (size_t i = 0; i < questions.size(); ++i) {
    const std::string ours = rt::GetPrivateProfileString(questions[i].section, questions[i].key,
                                                         "ERRORFLAG", 256, questions[i].file);
    EXPECT_EQ(Hex(ours), windows[i]) << corpus[i / 2].name << " " << questions[i].key << ": ours \""
                                     << ours << "\", Windows' \"" << Unhex(windows[i]) << "\"";
  }
}

// The outcome as the probe prints it: the value, or E and the error.
std::string Outcome(const std::function<std::string()>& convert) {
  try {
    return convert();
  } catch (const rt::RuntimeError& error) {
    return "E" + std::to_string(error.number());
  }
}

std::string Ours(const std::string& text) {
  const std::string long_value = Outcome([&] { return std::to_string(rt::CLng(text)); });
  const std::string double_value = Outcome([&] {
    char printed[40];
    std::snprintf(printed, sizeof printed, "%.17g", rt::CDbl(text));
    return std::string(printed);
  });
  return long_value + " " + double_value;
}

// Where Wine is known to answer otherwise than Windows: Wine rounds a
// fraction whose first digit lies past the tenths as if that digit were the
// tenths (0.06 to 1), where Windows rounds the value itself (0.06 to 0); and
// Wine gives infinity for more digits than a double holds, where Windows
// reports an overflow. Text, then Wine's answer and Windows', which we follow.
const std::map<std::string, std::pair<std::string, std::string>> kWineDiffers = {
    {"0.06", {"1 0.059999999999999998", "0 0.059999999999999998"}},
    {"0.051", {"1 0.050999999999999997", "0 0.050999999999999997"}},
    {"0.0051", {"1 0.0051000000000000004", "0 0.0051000000000000004"}},
    {"6e-2", {"1 0.059999999999999998", "0 0.059999999999999998"}},
    {".06", {"1 0.059999999999999998", "0 0.059999999999999998"}},
    {"-0.06", {"-1 -0.059999999999999998", "0 -0.059999999999999998"}},
    {std::string(400, '9'), {"E6 inf", "E6 E6"}},
};

TEST(WindowsNumberParsing, EveryTextOfTheTableConvertsAsWindowsConvertsIt) {
  const std::vector<std::string> texts = NumberTexts();
  TempDir dir;
  std::string list;
  for (const std::string& text : texts) list += Hex(text) + "\n";
  WriteFile(dir.File("numbers.txt"), list);
  const std::vector<std::string> windows =
      AskProbe("--numbers", dir.File("numbers.txt"), texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    const auto known = kWineDiffers.find(texts[i]);
    if (known != kWineDiffers.end()) {
      EXPECT_EQ(windows[i], known->second.first) << "Wine's answer changed for " << texts[i];
      EXPECT_EQ(Ours(texts[i]), known->second.second) << texts[i];
      continue;
    }
    EXPECT_EQ(Ours(texts[i]), windows[i]) << "\"" << texts[i] << "\" (" << Hex(texts[i]) << ")";
  }
}

// Characters as Asc and KeyAscii see them: the code page 932 bytes of
// full-width and half-width kana, kanji, full-width ASCII, symbols that the
// code page maps by best fit or lacks.
std::vector<std::string> AnsiTable() {
  std::vector<char32_t> characters;
  for (char32_t c = 0x20; c < 0x7F; c += 7) characters.push_back(c);
  for (char32_t c = 0x3041; c <= 0x3093; c += 5) characters.push_back(c);
  for (char32_t c = 0x30A1; c <= 0x30F6; c += 3) characters.push_back(c);
  for (char32_t c = 0xFF01; c <= 0xFF5E; c += 9) characters.push_back(c);
  for (char32_t c = 0xFF61; c <= 0xFF9F; c += 4) characters.push_back(c);
  for (const char32_t c : {0x4E00, 0x6F22, 0x5B57, 0x9ED2, 0x3000, 0x301C, 0xFF5E, 0x2460, 0x00A5,
                           0x00E9, 0x20AC, 0x2014, 0x2212})
    characters.push_back(c);
  std::vector<std::string> texts;
  for (const char32_t c : characters) texts.push_back(rt::EncodeUtf8(c));
  return texts;
}

// Characters that code page 932 lacks but Windows' best fit gives a
// near one for (the JIS dashes and wave): Wine writes "?" instead. The
// test holds Wine's answer and Windows' (ours).
const std::map<char32_t, std::pair<std::string, std::string>> kWineLacksBestFit = {
    {0x301C, {"3f", "8160"}},  // wave dash as the full-width tilde's code
    {0x2014, {"3f", "815c"}},  // em dash as the horizontal bar's
    {0x2212, {"3f", "817c"}},  // minus sign as the full-width hyphen-minus's
};

TEST(WindowsCodePage, AscGivesWhatTheCodePageConversionGives) {
  const std::vector<std::string> texts = AnsiTable();
  TempDir dir;
  std::string list;
  for (const std::string& text : texts) list += Hex(text) + "\n";
  WriteFile(dir.File("ansi.txt"), list);
  const std::vector<std::string> windows = AskProbe("--ansi", dir.File("ansi.txt"), texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    std::string answer = windows[i];
    const auto known = kWineLacksBestFit.find(rt::DecodeFirstUtf8(texts[i]));
    if (known != kWineLacksBestFit.end()) {
      EXPECT_EQ(answer, known->second.first) << "Wine's answer changed for " << texts[i];
      answer = known->second.second;
    }
    EXPECT_EQ(Hex(rt::ToAnsiCodePage(texts[i])), answer) << texts[i];
    const std::string bytes = Unhex(answer);
    ASSERT_FALSE(bytes.empty()) << texts[i];
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const int expected =
        bytes.size() >= 2 ? static_cast<int16_t>(lead << 8 | static_cast<unsigned char>(bytes[1]))
                          : lead;
    EXPECT_EQ(rt::Asc(texts[i]), expected) << texts[i];
  }
}

}  // namespace
