#include "runtime/language/utf8.h"

namespace rt {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::string EncodeUtf8(char32_t cp) {
  std::string out;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

char32_t DecodeFirstUtf8(const std::string& text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  const size_t length = lead < 0x80    ? 1
                        : lead >= 0xF0 ? 4
                        : lead >= 0xE0 ? 3
                        : lead >= 0xC0 ? 2
                                       : 1;
  if (length == 1 || text.size() < length) return lead;
  char32_t cp = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if (!IsContinuation(byte(i))) return lead;
    cp = (cp << 6) | (byte(i) & 0x3F);
  }
  return cp;
}

size_t Utf8PrefixBytes(const std::string& text, size_t n) {
  size_t bytes = 0;
  for (size_t chars = 0; chars < n && bytes < text.size(); ++chars) {
    ++bytes;
    while (bytes < text.size() && IsContinuation(static_cast<unsigned char>(text[bytes]))) ++bytes;
  }
  return bytes;
}

}  // namespace rt
