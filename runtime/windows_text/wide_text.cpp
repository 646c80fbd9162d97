#include "runtime/windows_text/wide_text.h"

#include <iconv.h>

#include <cstring>

#include "runtime/language/utf8.h"

namespace rt::ini {
namespace {

constexpr char16_t kUndefinedPair = 0x30FB;
constexpr char16_t kReplacement = 0xFFFD;

// One converter per direction, opened once; iconv keeps no state between
// the whole characters it is given here.
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(::iconv_open(to, from)) {}
  ~Converter() {
    if (handle_ != reinterpret_cast<iconv_t>(-1)) ::iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // The converted bytes of one whole character, or empty when it has none.
  std::string One(const void* in, size_t size) const {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) return {};
    char source[4];
    std::memcpy(source, in, size);
    char target[8];
    char* from = source;
    char* to = target;
    size_t left = size;
    size_t room = sizeof target;
    if (::iconv(handle_, &from, &left, &to, &room) == static_cast<size_t>(-1) || left != 0) {
      ::iconv(handle_, nullptr, nullptr, nullptr, nullptr);
      return {};
    }
    return std::string(target, static_cast<size_t>(to - target));
  }

 private:
  iconv_t handle_;
};

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Single bytes that code page 932 leaves undefined map into the private
// use area, so that they come back unchanged.
char16_t UndefinedSingleByte(unsigned char c) {
  if (c == 0x80) return 0x0080;
  if (c == 0xA0) return 0xF8F0;
  return static_cast<char16_t>(0xF8F1 + (c - 0xFD));  // 0xFD..0xFF
}

// Windows writes an accented Latin letter that code page 932 lacks as the
// letter without its accent (its "best fit"), not as '?'.
char BestFit(char16_t unit) {
  static constexpr char kLatin1[] =
      "AAAAAAACEEEEIIII"
      "DNOOOOO?OUUUUY??"
      "aaaaaaaceeeeiiii"
      "?nooooo?ouuuuy?y";
  if (unit >= 0xC0 && unit <= 0xFF) return kLatin1[unit - 0xC0];
  return '?';
}

}  // namespace

std::u16string Cp932ToUtf16(std::string_view bytes) {
  static const Converter to_utf16("UTF-16LE", "CP932");
  std::u16string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      out += static_cast<char16_t>(c);
    } else if (c >= 0xA1 && c <= 0xDF) {
      out += static_cast<char16_t>(0xFF61 + (c - 0xA1));
    } else if (!IsLeadByte(c)) {
      out += UndefinedSingleByte(c);
    } else if (i + 1 == bytes.size()) {
      out += kUndefinedPair;  // a lead byte at the very end
    } else {
      const std::string wide = to_utf16.One(bytes.data() + i, 2);
      char16_t unit = kUndefinedPair;
      if (wide.size() == 2) std::memcpy(&unit, wide.data(), 2);
      out += unit;
      ++i;
    }
  }
  return out;
}

std::string Utf16ToCp932(std::u16string_view text) {
  static const Converter to_cp932("CP932", "UTF-16LE");
  std::string out;
  out.reserve(text.size());
  for (const char16_t unit : text) {
    if (unit < 0x80) {
      out += static_cast<char>(unit);
    } else if (unit == 0x0080 || unit == 0xF8F0 || (unit >= 0xF8F1 && unit <= 0xF8F3)) {
      out += static_cast<char>(unit == 0x0080   ? 0x80
                               : unit == 0xF8F0 ? 0xA0
                                                : unit - 0xF8F1 + 0xFD);
    } else {
      const std::string bytes = to_cp932.One(&unit, 2);
      out += bytes.empty() ? std::string(1, BestFit(unit)) : bytes;
    }
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    // C0 and C1 lead only overlong forms, and past F4 lies past U+10FFFF.
    if (lead == 0xC0 || lead == 0xC1 || lead > 0xF4) {
      out += kReplacement;
      ++i;
      continue;
    }
    const Utf8Sequence read = ReadUtf8(bytes, i);
    const char32_t code = read.code;
    const bool valid = read.complete() && !(read.length == 3 && code < 0x800) &&
                       !(read.length == 4 && code < 0x10000) && code <= 0x10FFFF;
    if (valid && code >= 0xD800 && code <= 0xDFFF) {
      out += static_cast<char16_t>(code);  // a lone surrogate kept, as written
    } else if (!valid) {
      out += kReplacement;
    } else if (code >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
    i += read.matched;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      AppendUtf8(out,
                 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

}  // namespace rt::ini
