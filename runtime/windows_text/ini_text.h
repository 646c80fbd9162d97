// INI text as Windows' private-profile functions read and change it. A line
// ends at LF only; blanks (Unicode's, CR and Ctrl-Z among them) around a
// line, a name and a value are ignored. A line that starts with '[' and
// holds a ']' opens a section named by what lies between the '[' and the
// last ']'; any other line is a key, its name before the first '=' and its
// value after it. Names compare without regard to case; the first section
// of a name, and the first key of a name in it, win; a name or value ends
// at a NUL character. Comments need no rule of their own: ";SP=1" is the
// key ";SP".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rt::ini {

// How the text's characters are encoded: the ANSI code page (932) or
// UTF-8 (a file with a UTF-8 or UTF-16 byte-order mark, the mark removed).
enum class Charset { kCp932, kUtf8 };

// Follows a file's lines one at a time, each without its line end, to the
// key's line in the first section of that name: the one search of a whole
// text and of a file read in pieces.
class KeySearch {
 public:
  // What a line was to the search; after kKey or kEnd it is over.
  enum class Seen { kOther, kSection, kContent, kKey, kEnd };

  KeySearch(Charset charset, std::u16string_view section, std::u16string_view key);
  Seen Take(std::string_view line);
  // Before the section, only a line with a '[' can change anything.
  bool in_section() const { return in_section_; }
  // The key's value once its line is seen, if the line has one.
  const std::optional<std::u16string>& value() const { return value_; }

 private:
  Charset charset_;
  std::u16string section_;
  std::u16string key_;
  bool in_section_ = false;
  std::optional<std::u16string> value_;
};

// The key's value in the first section of that name, if the key has one.
std::optional<std::u16string> FindValue(std::string_view text, Charset charset,
                                        std::u16string_view section, std::u16string_view key);

// The text with key set to value (bytes in the text's charset) in that
// section: the key's line replaced in place, or the key (and section)
// added; every other line kept byte for byte.
std::string WithValue(const std::string& text, Charset charset, std::u16string_view section,
                      std::u16string_view key, const std::string& value);

}  // namespace rt::ini
