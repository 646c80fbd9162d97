#include "runtime/language/utf8.h"

namespace rt {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

Utf8Sequence ReadUtf8(std::string_view text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  Utf8Sequence sequence;
  sequence.length = lead < 0x80 ? 1 : lead < 0xC0 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  sequence.matched = 1;
  if (sequence.length <= 1) {
    sequence.code = lead;
    return sequence;
  }
  sequence.code = lead & (0x7F >> sequence.length);
  while (sequence.matched < sequence.length && at + sequence.matched < text.size() &&
         IsContinuation(static_cast<unsigned char>(text[at + sequence.matched]))) {
    sequence.code =
        (sequence.code << 6) | (static_cast<unsigned char>(text[at + sequence.matched]) & 0x3F);
    ++sequence.matched;
  }
  return sequence;
}

void AppendUtf8(std::string& out, char32_t cp) {
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
}

std::string EncodeUtf8(char32_t cp) {
  std::string out;
  AppendUtf8(out, cp);
  return out;
}

char32_t DecodeFirstUtf8(const std::string& text) {
  const Utf8Sequence first = ReadUtf8(text, 0);
  return first.complete() ? first.code : static_cast<unsigned char>(text[0]);
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
