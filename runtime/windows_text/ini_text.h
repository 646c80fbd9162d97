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

// The key's value in the first section of that name, if the key has one.
std::optional<std::u16string> FindValue(std::string_view text, Charset charset,
                                        std::u16string_view section, std::u16string_view key);

// The text with key set to value (bytes in the text's charset) in that
// section: the key's line replaced in place, or the key (and section)
// added; every other line kept byte for byte.
std::string WithValue(const std::string& text, Charset charset, std::u16string_view section,
                      std::u16string_view key, const std::string& value);

}  // namespace rt::ini
