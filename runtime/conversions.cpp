#include "runtime/conversions.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "runtime/runtime_error.h"
#include "runtime/utf8.h"

namespace rt {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trimmed(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// "&H1F" and "&O17" are numbers too.
bool ParseRadix(const std::string& text, double& out) {
  if (text.size() < 3 || text[0] != '&') return false;
  const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(text[1])));
  const int base = kind == 'H' ? 16 : kind == 'O' ? 8 : 0;
  if (base == 0) return false;
  uint64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data() + 2, text.data() + text.size(), value, base);
  if (ec == std::errc::result_out_of_range) Raise(kOverflow);
  if (ec != std::errc() || end != text.data() + text.size()) Raise(kTypeMismatch);
  out = static_cast<double>(value);
  return true;
}

// For a number out of a double's range: a negative exponent, or no exponent
// and nothing but zeros before the point, make it too small, not too large.
bool IsTooSmall(std::string_view number) {
  const size_t exponent = number.find_first_of("eE");
  if (exponent != std::string_view::npos) return number.substr(exponent + 1).starts_with('-');
  return number.substr(0, number.find('.')).find_first_not_of('0') == std::string_view::npos;
}

// A decimal number: sign, digits with an optional point, optional exponent.
double ParseNumber(const std::string& raw) {
  const std::string text = Trimmed(raw);
  double value = 0;
  if (ParseRadix(text, value)) return value;
  size_t start = 0;
  bool negative = false;
  if (start < text.size() && (text[start] == '+' || text[start] == '-')) {
    negative = text[start] == '-';
    ++start;
  }
  const char* first = text.data() + start;
  const char* last = text.data() + text.size();
  if (first == last || !(std::isdigit(static_cast<unsigned char>(*first)) || *first == '.')) {
    Raise(kTypeMismatch);
  }
  const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec != std::errc() && ec != std::errc::result_out_of_range) Raise(kTypeMismatch);
  if (end != last) Raise(kTypeMismatch);
  if (ec == std::errc::result_out_of_range) {
    // Too small a magnitude reads as 0; only one too large is an overflow.
    if (!IsTooSmall(std::string_view(first, static_cast<size_t>(last - first)))) Raise(kOverflow);
    value = 0;
  }
  return negative ? -value : value;
}

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

int32_t CLng(const std::string& text) { return RoundHalfEven<int32_t>(ParseNumber(text)); }

double CDbl(const std::string& text) { return ParseNumber(text); }

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
  const char32_t first = DecodeFirstUtf8(text);
  if (first >= 0xFF61 && first <= 0xFF9F) return static_cast<int>(first - 0xFF61 + 0xA1);
  return static_cast<int>(first);
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
