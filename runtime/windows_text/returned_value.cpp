#include "runtime/windows_text/returned_value.h"

#include "runtime/windows_text/wide_text.h"

namespace rt::ini {
namespace {

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Matching quotes around a value go. The closing one goes only when the
// whole value fits the buffer; a longer value keeps the character the cut
// left at its end.
std::u16string Unquoted(std::u16string_view value, size_t size) {
  bool quoted = false;
  if (!value.empty() && (value.front() == u'"' || value.front() == u'\'') && value.size() > 1 &&
      value.back() == value.front()) {
    quoted = true;
    value.remove_prefix(1);
  }
  std::u16string copy(value.substr(0, size - 1));
  if (quoted && size >= value.size()) copy.pop_back();
  return copy;
}

// The ANSI bytes in a buffer of size bytes: whole characters while they
// fit with the final NUL. A double-byte character that would not fit is
// left out, not cut.
std::string InBuffer(const std::string& ansi, size_t size) {
  size_t fits = 0;
  while (fits < ansi.size()) {
    const size_t length = IsLeadByte(static_cast<unsigned char>(ansi[fits])) ? 2 : 1;
    if (fits + length > size - 1) break;
    fits += length;
  }
  return ansi.substr(0, fits);
}

}  // namespace

std::u16string DefaultValue(std::u16string_view text) {
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  return std::u16string(text);
}

std::string AsReturned(std::u16string_view value, size_t size) {
  if (size == 0) return {};
  const std::string ansi = InBuffer(Utf16ToCp932(Unquoted(value, size)), size);
  return Utf16ToUtf8(Cp932ToUtf16(ansi));
}

}  // namespace rt::ini
