#include "runtime/windows_text/file_encoding.h"

#include "runtime/windows_text/wide_text.h"

namespace rt::ini {
namespace {

std::string ToUtf16Bytes(std::u16string_view text, bool big_endian) {
  std::string out;
  out.reserve(2 * text.size());
  for (const char16_t unit : text) {
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    out += big_endian ? high : low;
    out += big_endian ? low : high;
  }
  return out;
}

}  // namespace

std::u16string FromUtf16Bytes(std::string_view bytes, bool big_endian) {
  std::u16string out(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    out[i] = static_cast<char16_t>(big_endian ? (first << 8) | second : (second << 8) | first);
  }
  return out;
}

ProfileText::ProfileText(std::string_view file) : raw_(file) {
  if (file.starts_with(kUtf8Mark)) {
    encoding_ = FileEncoding::kUtf8;
    raw_.remove_prefix(kUtf8Mark.size());
  } else if (file.starts_with(kUtf16LeMark) || file.starts_with(kUtf16BeMark)) {
    encoding_ = file.starts_with(kUtf16LeMark) ? FileEncoding::kUtf16Le : FileEncoding::kUtf16Be;
    const std::string_view units = file.substr(2, (file.size() - 2) & ~size_t{1});
    odd_byte_ = file.substr(2 + units.size());
    owned_ = Utf16ToUtf8(FromUtf16Bytes(units, encoding_ == FileEncoding::kUtf16Be));
    converted_ = true;
  }
}

std::string ProfileText::Save(const std::string& text) const {
  switch (encoding_) {
    case FileEncoding::kAnsi:
      return text;
    case FileEncoding::kUtf8:
      return std::string(kUtf8Mark) + text;
    case FileEncoding::kUtf16Le:
      return std::string(kUtf16LeMark) + ToUtf16Bytes(Utf8ToUtf16(text), false) + odd_byte_;
    case FileEncoding::kUtf16Be:
      return std::string(kUtf16BeMark) + ToUtf16Bytes(Utf8ToUtf16(text), true) + odd_byte_;
  }
  return text;
}

}  // namespace rt::ini
