// INI text as the private-profile functions read and change it: sections and
// keys compared without regard to case, blanks around names and values
// ignored, quoted values unquoted, ';' comment lines skipped, the first
// matching section and key winning, LF or CRLF line ends.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rt::ini {

// The key's value in the first section of that name, if the key has one.
std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key);

// The text with key set to value in that section: the key's line replaced in
// place, or the key (and section) added; every other line kept byte for byte.
std::string WithValue(const std::string& text, const std::string& section, const std::string& key,
                      const std::string& value);

}  // namespace rt::ini
