// Our Linux settings reader and number conversions held against Windows' own
// functions (GetPrivateProfileStringA; VarI4FromStr and VarR8FromStr under
// locale 1041) through the probe under Wine, over generated tables. Each
// table goes through one probe run, in code page 932 as the program's
// Japanese Windows has it.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "runtime/private_profile.h"
#include "tests/e2e/harness.h"
#include "tests/support/settings_corpus.h"

namespace {

std::string WindowsPath(const std::string& path) {
  std::string windows = "Z:" + path;
  std::replace(windows.begin(), windows.end(), '/', '\\');
  return windows;
}

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (const unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string Unhex(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  }
  return out;
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

}  // namespace
