// Settings files a person can make with an ordinary editor, generated:
// line ends, section headers, key and value shapes, control characters,
// quotes, comments, repeats, long values and encodings. The tests read
// their keys through our reader and through Windows' own functions.
#pragma once

#include <string>
#include <vector>

struct CorpusFile {
  std::string name;
  std::string bytes;
};

std::vector<CorpusFile> SettingsCorpus();
