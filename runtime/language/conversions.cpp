#include "runtime/language/conversions.h"

#include <cctype>
#include <cmath>
#include <limits>

#include "runtime/language/runtime_error.h"
#include "runtime/language/utf8.h"
#include "runtime/platform/os_services.h"

namespace rt {
namespace {

template <class Integer>
Integer RoundHalfEven(double value) {
  if (std::isnan(value)) Raise(kOverflow);
  const double rounded = std::nearbyint(value);  // the default mode rounds half to even
  if (rounded < static_cast<double>(std::numeric_limits<Integer>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Integer>::max())) {
    Raise(kOverflow);
  }
  return static_cast<Integer>(rounded);
}

}  // namespace

int32_t CLng(const std::string& text) { return LongFromText(text); }

double CDbl(const std::string& text) { return DoubleFromText(text); }

int16_t CIntRound(double value) { return RoundHalfEven<int16_t>(value); }

int32_t CLngRound(double value) { return RoundHalfEven<int32_t>(value); }

float Int(float value) { return std::floor(value); }

std::string CStr(int64_t value) { return std::to_string(value); }

std::string Chr(int code) {
  if (code < 0 || code > 255) Raise(kInvalidCall);
  if (code < 0x80) return std::string(1, static_cast<char>(code));
  // CP932 maps 0xA1..0xDF to the half-width katakana block U+FF61..U+FF9F;
  // every other high code is a lead byte or unassigned.
  if (code >= 0xA1 && code <= 0xDF) return EncodeUtf8(0xFF61 + (code - 0xA1));
  return "";
}

int Asc(const std::string& text) {
  if (text.empty()) Raise(kInvalidCall);
  // The first character in the ANSI code page, as Windows converts it: one
  // byte, or a lead and a trail byte read as an Integer (&H8341 is -31935).
  const std::string bytes = ToAnsiCodePage(EncodeUtf8(DecodeFirstUtf8(text)));
  const auto lead = static_cast<unsigned char>(bytes[0]);
  const bool double_byte = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
  if (!double_byte || bytes.size() < 2) return lead;
  return static_cast<int16_t>(lead << 8 | static_cast<unsigned char>(bytes[1]));
}

std::string UCase(const std::string& text) {
  std::string upper = text;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

std::string Left(const std::string& text, int n) {
  if (n < 0) Raise(kInvalidCall);
  return text.substr(0, Utf8PrefixBytes(text, static_cast<size_t>(n)));
}

int32_t RGB(int32_t red, int32_t green, int32_t blue) {
  if (red < 0 || green < 0 || blue < 0) Raise(kInvalidCall);
  const auto clamp = [](int32_t c) { return c > 255 ? 255 : c; };
  return clamp(red) + 256 * clamp(green) + 65536 * clamp(blue);
}

}  // namespace rt
