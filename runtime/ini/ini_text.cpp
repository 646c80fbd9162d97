#include "runtime/ini/ini_text.h"

#include <cstring>
#include <string_view>

namespace rt::ini {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  for (size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// One line of the file, without its line end.
struct Line {
  size_t begin = 0;  // offset of the line in the text
  size_t end = 0;    // offset of its line end (or of the text's end)
  std::string_view in(std::string_view text) const { return text.substr(begin, end - begin); }
};

// Walks the text one line at a time; memchr finds each line end, so that a
// large file costs little more than reading it.
class LineScanner {
 public:
  explicit LineScanner(std::string_view text)
      : text_(text), next_(text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0) {}

  bool Next(Line& line) {
    if (next_ >= text_.size()) return false;
    line.begin = next_;
    const void* newline = std::memchr(text_.data() + next_, '\n', text_.size() - next_);
    if (newline == nullptr) {
      line.end = next_ = text_.size();
    } else {
      line.end = static_cast<size_t>(static_cast<const char*>(newline) - text_.data());
      next_ = line.end + 1;
    }
    if (line.end > line.begin && text_[line.end - 1] == '\r') --line.end;
    return true;
  }

 private:
  std::string_view text_;
  size_t next_;
};

enum class Kind { kOther, kSection, kKey };

struct Parsed {
  Kind kind = Kind::kOther;
  std::string_view name;
  std::optional<std::string_view> value;  // a key line without '=' has none
};

Parsed Parse(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';') return {};
  if (trimmed.front() == '[') {
    const size_t close = trimmed.find(']');
    return {Kind::kSection,
            Trim(trimmed.substr(1, close == std::string_view::npos ? close : close - 1)),
            std::nullopt};
  }
  const size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return {Kind::kKey, trimmed, std::nullopt};
  return {Kind::kKey, Trim(trimmed.substr(0, equals)), Trim(trimmed.substr(equals + 1))};
}

// Outside the wanted section only a header matters; this test is cheaper
// than parsing the line.
bool IsSectionHeader(std::string_view line) {
  size_t first = 0;
  while (first < line.size() && IsBlank(line[first])) ++first;
  return first < line.size() && line[first] == '[';
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Where the first section of that name is, and the first line of the key
// in it. The scan stops at the key, or where that section ends.
struct Place {
  std::optional<Line> section;  // the section's header line
  std::optional<Line> key;      // the key's line
  Line last_content;            // last non-blank line of the section
};

Place Locate(std::string_view text, std::string_view section, std::string_view key) {
  Place place;
  LineScanner lines(text);
  for (Line line; lines.Next(line);) {
    const std::string_view content = line.in(text);
    if (!place.section) {
      if (IsSectionHeader(content) && SameName(Parse(content).name, section)) {
        place.section = place.last_content = line;
      }
      continue;
    }
    const Parsed parsed = Parse(content);
    if (parsed.kind == Kind::kSection) break;  // only the first section of that name counts
    if (!Trim(content).empty()) place.last_content = line;
    if (parsed.kind == Kind::kKey && SameName(parsed.name, key)) {
      place.key = line;
      break;
    }
  }
  return place;
}

}  // namespace

std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key) {
  const Place place = Locate(text, section, key);
  if (!place.key) return std::nullopt;
  const Parsed parsed = Parse(place.key->in(text));
  if (!parsed.value) return std::nullopt;
  return std::string(Unquoted(*parsed.value));
}

namespace {

// The text with its last line ended: a final CR alone gains only its LF, so
// that the line reads as before.
std::string Terminated(const std::string& text, const std::string& newline) {
  if (text.empty() || text.back() == '\n') return text;
  return text + (text.back() == '\r' ? "\n" : newline);
}

}  // namespace

std::string WithValue(const std::string& text, const std::string& section, const std::string& key,
                      const std::string& value) {
  const std::string newline = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  const Place place = Locate(text, section, key);
  if (place.key) {
    const Parsed parsed = Parse(place.key->in(text));
    return text.substr(0, place.key->begin) + std::string(parsed.name) + "=" + value +
           text.substr(place.key->end);
  }
  const std::string entry = key + "=" + value + newline;
  if (place.section) {
    const size_t line_end = text.find('\n', place.last_content.end);
    if (line_end == std::string::npos) return Terminated(text, newline) + entry;
    return text.substr(0, line_end + 1) + entry + text.substr(line_end + 1);
  }
  return Terminated(text, newline) + "[" + section + "]" + newline + entry;
}

}  // namespace rt::ini
