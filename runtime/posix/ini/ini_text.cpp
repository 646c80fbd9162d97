#include "runtime/posix/ini/ini_text.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace rt::ini {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
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
  size_t begin;  // offset of the line in the text
  size_t end;    // offset of its line end (or of the text's end)
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t begin = text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
  while (begin < text.size()) {
    size_t newline = text.find('\n', begin);
    const size_t next = newline == std::string_view::npos ? text.size() : newline + 1;
    size_t end = newline == std::string_view::npos ? text.size() : newline;
    if (end > begin && text[end - 1] == '\r') --end;
    lines.push_back({begin, end});
    begin = next;
  }
  return lines;
}

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

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Where a section's lines are, and the first line of the key in it.
struct Place {
  std::optional<size_t> section;  // index of the section's header line
  std::optional<size_t> key;      // index of the key's line
  size_t last_content = 0;        // last non-blank line of the section
};

Place Locate(std::string_view text, const std::vector<Line>& lines, std::string_view section,
             std::string_view key) {
  Place place;
  for (size_t i = 0; i < lines.size(); ++i) {
    const Parsed parsed = Parse(text.substr(lines[i].begin, lines[i].end - lines[i].begin));
    if (parsed.kind == Kind::kSection) {
      if (place.section) break;  // only the first section of that name counts
      if (SameName(parsed.name, section)) place.section = place.last_content = i;
      continue;
    }
    if (!place.section) continue;
    if (!Trim(text.substr(lines[i].begin, lines[i].end - lines[i].begin)).empty()) {
      place.last_content = i;
    }
    if (parsed.kind == Kind::kKey && !place.key && SameName(parsed.name, key)) place.key = i;
  }
  return place;
}

}  // namespace

// One pass over the lines, stopping as soon as the answer is known: a file
// of many megabytes is read at the speed of its line scan. Outside the
// section only headers are looked at.
std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key) {
  const std::string_view all = text;
  size_t begin = all.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
  bool in_section = false;
  while (begin < all.size()) {
    const void* found = std::memchr(all.data() + begin, '\n', all.size() - begin);
    const size_t newline =
        found ? static_cast<size_t>(static_cast<const char*>(found) - all.data()) : all.size();
    size_t end = newline;
    if (end > begin && all[end - 1] == '\r') --end;
    const std::string_view line = all.substr(begin, end - begin);
    begin = newline + 1;
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) continue;
    if (line[first] == '[') {
      if (in_section) return std::nullopt;  // only the first section of that name counts
      in_section = SameName(Parse(line).name, section);
      continue;
    }
    if (!in_section) continue;
    const Parsed parsed = Parse(line);
    if (parsed.kind != Kind::kKey || !SameName(parsed.name, key)) continue;
    if (!parsed.value) return std::nullopt;
    return std::string(Unquoted(*parsed.value));
  }
  return std::nullopt;
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
  const std::vector<Line> lines = SplitLines(text);
  const Place place = Locate(text, lines, section, key);
  if (place.key) {
    const Line line = lines[*place.key];
    const Parsed parsed = Parse(std::string_view(text).substr(line.begin, line.end - line.begin));
    return text.substr(0, line.begin) + std::string(parsed.name) + "=" + value +
           text.substr(line.end);
  }
  const std::string entry = key + "=" + value + newline;
  if (place.section) {
    const size_t line_end = text.find('\n', lines[place.last_content].end);
    if (line_end == std::string::npos) return Terminated(text, newline) + entry;
    return text.substr(0, line_end + 1) + entry + text.substr(line_end + 1);
  }
  return Terminated(text, newline) + "[" + section + "]" + newline + entry;
}

}  // namespace rt::ini
