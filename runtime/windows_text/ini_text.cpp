#include "runtime/windows_text/ini_text.h"

#include <cstring>

#include "runtime/windows_text/wide_text.h"

namespace rt::ini {
namespace {

// The characters Windows' profile functions skip around lines, names and
// values: ASCII's blanks, and Ctrl-Z (an old end-of-file mark). The
// full-width space is not one of them.
bool IsSpace(char16_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A; }

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

// A name or value is a C string: it ends at the first NUL.
std::u16string_view CString(std::u16string_view s) { return s.substr(0, s.find(u'\0')); }

char16_t Lower(char16_t c) {
  if (c >= 'A' && c <= 'Z') return static_cast<char16_t>(c + 32);
  if (c == 0x0130) return u'i';  // Latin capital I with dot
  if (c == 0x212A) return u'k';  // Kelvin sign
  return c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::u16string Decode(std::string_view bytes, Charset charset) {
  return charset == Charset::kUtf8 ? Utf8ToUtf16(bytes) : Cp932ToUtf16(bytes);
}

// One line of the file, without its line end.
struct Line {
  size_t begin = 0;  // offset of the line in the text
  size_t end = 0;    // offset of its CR or LF (or of the text's end)
  std::string_view in(std::string_view text) const { return text.substr(begin, end - begin); }
};

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Walks the text one line at a time. A line ends at a CR or an LF; memchr
// finds them, so that a large file costs little more than reading it. In
// code page 932 a lead byte takes the byte after it, even a CR or an LF, so
// a line end right after one is no end.
class LineScanner {
 public:
  LineScanner(std::string_view text, Charset charset) : text_(text), charset_(charset) {}

  bool Next(Line& line) {
    if (next_ >= text_.size()) return false;
    line.begin = next_;
    size_t from = next_;
    for (;;) {
      line.end = FindEnd(from);
      if (line.end == text_.size() || !SwallowedByLeadByte(line.begin, line.end)) break;
      from = line.end + 1;
    }
    next_ = line.end + 1;
    return true;
  }

 private:
  size_t FindEnd(size_t from) {
    if (from >= lf_ || lf_ == kUnknown) {
      const void* lf = std::memchr(text_.data() + from, '\n', text_.size() - from);
      lf_ = lf == nullptr ? text_.size()
                          : static_cast<size_t>(static_cast<const char*>(lf) - text_.data());
    }
    const void* cr = std::memchr(text_.data() + from, '\r', lf_ - from);
    return cr == nullptr ? lf_ : static_cast<size_t>(static_cast<const char*>(cr) - text_.data());
  }

  // Bytes outside the lead range end a character, so the run of lead-range
  // bytes before the end tells: an odd run ends in a lead byte.
  bool SwallowedByLeadByte(size_t begin, size_t end) const {
    if (charset_ != Charset::kCp932) return false;
    size_t run = 0;
    while (end - run > begin && IsLeadByte(static_cast<unsigned char>(text_[end - run - 1]))) ++run;
    return run % 2 == 1;
  }

  static constexpr size_t kUnknown = static_cast<size_t>(-1);
  std::string_view text_;
  Charset charset_;
  size_t next_ = 0;
  size_t lf_ = kUnknown;
};

// Whether the line's first character after blanks is '['. Most lines start
// with an ASCII character, which settles it without decoding.
bool MayBeHeader(std::string_view line, Charset charset) {
  for (size_t i = 0; i < line.size(); ++i) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (c >= 0x80) {
      const std::u16string wide = Decode(line.substr(i), charset);
      const std::u16string_view rest = Trim(wide);
      return !rest.empty() && rest.front() == u'[';
    }
    if (!IsSpace(c)) return c == '[';
  }
  return false;
}

enum class Kind { kBlank, kSection, kKey };

struct Parsed {
  Kind kind = Kind::kBlank;
  std::u16string name;
  std::optional<std::u16string> value;  // a key line without '=' has none
};

Parsed Parse(std::string_view bytes, Charset charset) {
  const std::u16string wide = Decode(bytes, charset);
  const std::u16string_view line = Trim(wide);
  if (line.empty()) return {};
  if (line.front() == u'[') {
    const size_t close = line.rfind(u']');
    if (close != std::u16string_view::npos) {
      return {Kind::kSection, std::u16string(CString(Trim(line.substr(1, close - 1)))),
              std::nullopt};
    }
  }
  const size_t equals = line.find(u'=');
  if (equals == std::u16string_view::npos) {
    return {Kind::kKey, std::u16string(CString(line)), std::nullopt};
  }
  return {Kind::kKey, std::u16string(CString(Trim(line.substr(0, equals)))),
          std::u16string(CString(Trim(line.substr(equals + 1))))};
}

}  // namespace

KeySearch::KeySearch(Charset charset, std::u16string_view section, std::u16string_view key)
    : charset_(charset), section_(Trim(section)), key_(Trim(key)) {}

KeySearch::Seen KeySearch::Take(std::string_view line) {
  if (!in_section_) {
    if (!MayBeHeader(line, charset_)) return Seen::kOther;
    const Parsed parsed = Parse(line, charset_);
    if (parsed.kind != Kind::kSection || parsed.name.empty() || !SameName(parsed.name, section_))
      return Seen::kOther;
    in_section_ = true;
    return Seen::kSection;
  }
  Parsed parsed = Parse(line, charset_);
  if (parsed.kind == Kind::kSection)
    return Seen::kEnd;  // only the first section of that name counts
  if (parsed.kind == Kind::kBlank) return Seen::kOther;
  if (!SameName(parsed.name, key_)) return Seen::kContent;
  value_ = std::move(parsed.value);
  return Seen::kKey;
}

namespace {

// Where the first section of that name is, and the first line of the key
// in it. The scan stops at the key, or where that section ends.
struct Place {
  std::optional<Line> section;  // the section's header line
  std::optional<Line> key;      // the key's line
  Line last_content;            // last non-blank line of the section
  std::optional<std::u16string> value;
};

Place Locate(std::string_view text, Charset charset, std::u16string_view section,
             std::u16string_view key) {
  Place place;
  KeySearch search(charset, section, key);
  LineScanner lines(text, charset);
  for (Line line; lines.Next(line);) {
    switch (search.Take(line.in(text))) {
      case KeySearch::Seen::kSection:
        place.section = place.last_content = line;
        break;
      case KeySearch::Seen::kContent:
        place.last_content = line;
        break;
      case KeySearch::Seen::kKey:
        place.key = place.last_content = line;
        place.value = search.value();
        return place;
      case KeySearch::Seen::kEnd:
        return place;
      case KeySearch::Seen::kOther:
        break;
    }
  }
  return place;
}

}  // namespace

std::optional<std::u16string> FindValue(std::string_view text, Charset charset,
                                        std::u16string_view section, std::u16string_view key) {
  return Locate(text, charset, section, key).value;
}

namespace {

// The text with its last line ended: a final CR alone gains only its LF, so
// that the line reads as before.
std::string Terminated(const std::string& text, const std::string& newline) {
  if (text.empty() || text.back() == '\n') return text;
  return text + (text.back() == '\r' ? "\n" : newline);
}

std::string Encode(std::u16string_view text, Charset charset) {
  return charset == Charset::kUtf8 ? Utf16ToUtf8(text) : Utf16ToCp932(text);
}

// The key's name as the line spells it, for the rewritten line.
std::string KeyName(std::string_view line, Charset charset) {
  const std::u16string wide = Decode(line, charset);
  const std::u16string_view trimmed = Trim(wide);
  return Encode(Trim(trimmed.substr(0, trimmed.find(u'='))), charset);
}

}  // namespace

std::string WithValue(const std::string& text, Charset charset, std::u16string_view section,
                      std::u16string_view key, const std::string& value) {
  const std::string newline = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  const Place place = Locate(text, charset, section, key);
  if (place.key) {
    return text.substr(0, place.key->begin) + KeyName(place.key->in(text), charset) + "=" + value +
           text.substr(place.key->end);
  }
  const std::string entry = Encode(key, charset) + "=" + value + newline;
  if (place.section) {
    // Right after the section's last line and its line end.
    size_t after = place.last_content.end;
    if (after < text.size() && text[after] == '\r') ++after;
    if (after < text.size() && text[after] == '\n') ++after;
    if (after == text.size()) return Terminated(text, newline) + entry;
    return text.substr(0, after) + entry + text.substr(after);
  }
  return Terminated(text, newline) + "[" + Encode(section, charset) + "]" + newline + entry;
}

}  // namespace rt::ini
