#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "runtime/language/runtime_error.h"
#include "runtime/language/utf8.h"
#include "runtime/platform/os_services.h"

namespace rt {
namespace {

constexpr char32_t kYen = 0xFFE5;  // the locale's currency sign, full width

bool IsBlank(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }

// The text's characters up to its end or its first NUL; a byte that is not
// valid UTF-8 stands for itself (and matches nothing).
std::u32string Characters(const std::string& text) {
  std::u32string out;
  for (size_t i = 0; i < text.size() && text[i] != '\0';) {
    const Utf8Sequence read = ReadUtf8(text, i);
    out += read.complete() ? read.code : static_cast<unsigned char>(text[i]);
    i += read.complete() ? read.length : 1;
  }
  return out;
}

// A number as read: its significant digits and the power of ten of the
// last one, or its hexadecimal or octal digits.
struct Number {
  bool negative = false;
  int radix_bits = 0;  // 4 for "&H", 3 for "&O", 0 for decimal
  std::vector<int> digits;
  long long power10 = 0;
};

class Parser {
 public:
  explicit Parser(const std::string& text) : text_(Characters(text)) {}

  Number Parse() {
    Leading();
    if (!currency_ && !decimal_) Radix();
    while (Peek() == '0') {
      leading_zero_ = true;
      ++at_;
    }
    Body();
    if (number_.digits.empty() && leading_zero_) number_.digits.push_back(0);
    if (in_exponent_) Raise(kTypeMismatch);
    if (number_.radix_bits == 0) {
      while (number_.digits.size() > 1 && number_.digits.back() == 0) {
        number_.digits.pop_back();
        ++number_.power10;
      }
    }
    Trailing();
    if (parens_ && !number_.negative) Raise(kTypeMismatch);
    if (at_ != text_.size() || number_.digits.empty()) Raise(kTypeMismatch);
    return number_;
  }

 private:
  char32_t Peek(size_t ahead = 0) const {
    return at_ + ahead < text_.size() ? text_[at_ + ahead] : U'\0';
  }

  void SkipBlanks() {
    while (IsBlank(Peek())) ++at_;
  }

  // Zeros right after a decimal point that comes before any digit.
  void SkipFractionZeros() {
    if (!number_.digits.empty()) return;
    while (Peek() == '0') {
      leading_zero_ = true;
      --number_.power10;
      ++at_;
    }
  }

  void Leading() {
    for (;;) {
      const char32_t c = Peek();
      if (c == '.') {
        decimal_ = true;
        ++at_;
        SkipFractionZeros();
        return;
      }
      if (IsBlank(c)) {
        SkipBlanks();
      } else if (c == ',') {
        Raise(kTypeMismatch);  // no separator before the first digit
      } else if (c == '+' && !leading_plus_) {
        leading_plus_ = true;
        ++at_;
      } else if (c == '-' && !leading_minus_) {
        leading_minus_ = number_.negative = true;
        ++at_;
      } else if (c == kYen && !currency_) {
        currency_ = true;
        ++at_;
      } else if (c == '(' && !parens_) {
        parens_ = true;
        ++at_;
      } else {
        return;
      }
    }
  }

  void Radix() {
    if (Peek() != '&') return;
    const char32_t kind = Peek(1);
    if (kind == 'H' || kind == 'h') number_.radix_bits = 4;
    if (kind == 'O' || kind == 'o') number_.radix_bits = 3;
    if (number_.radix_bits != 0) at_ += 2;
  }

  void Body() {
    for (; at_ < text_.size(); ++at_) {
      const char32_t c = text_[at_];
      const bool radix = number_.radix_bits != 0;
      if (IsDigit(c) && in_exponent_) {
        Exponent();
      } else if (IsDigit(c)) {
        if (number_.radix_bits == 3 && c >= '8') return;
        if (decimal_) --number_.power10;
        number_.digits.push_back(static_cast<int>(c - '0'));
      } else if (c == ',' && !radix) {
        // A thousands separator, wherever it stands.
      } else if (c == '.' && !radix && !decimal_ && !exponent_) {
        decimal_ = true;
        ++at_;
        SkipFractionZeros();
        --at_;
      } else if (number_.radix_bits == 4 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) {
        number_.digits.push_back(static_cast<int>((c | 0x20) - 'a' + 10));
      } else if ((c == 'e' || c == 'E') && !radix && !currency_ && !exponent_) {
        exponent_ = in_exponent_ = true;
      } else if (in_exponent_ && c == '+') {
      } else if (in_exponent_ && c == '-') {
        negative_exponent_ = true;
      } else {
        return;
      }
    }
  }

  void Exponent() {
    long long exponent = 0;
    while (IsDigit(Peek())) {
      // Far past any double's range the exact figure no longer matters.
      if (exponent < 100000) exponent = exponent * 10 + (Peek() - '0');
      ++at_;
    }
    number_.power10 += negative_exponent_ ? -exponent : exponent;
    in_exponent_ = false;
    --at_;
  }

  void Trailing() {
    const bool radix = number_.radix_bits != 0;
    for (;;) {
      const char32_t c = Peek();
      if (c == ',' && !radix) {
        ++at_;
      } else if (IsBlank(c)) {
        SkipBlanks();
      } else if (c == '+' && !leading_plus_) {
        ++at_;
      } else if (c == '-' && !leading_minus_) {
        number_.negative = true;
        ++at_;
      } else if (c == ')' && parens_) {
        number_.negative = true;
        ++at_;
      } else if (c == kYen && !radix) {
        ++at_;
      } else {
        return;
      }
    }
  }

  std::u32string text_;
  size_t at_ = 0;
  Number number_;
  bool leading_plus_ = false, leading_minus_ = false, parens_ = false, currency_ = false;
  bool decimal_ = false, exponent_ = false, in_exponent_ = false, negative_exponent_ = false;
  bool leading_zero_ = false;
};

// The digits of a hexadecimal or octal number as 64 bits; more is an overflow.
uint64_t RadixValue(const Number& number) {
  uint64_t value = 0;
  for (const int digit : number.digits) {
    if (value > (std::numeric_limits<uint64_t>::max() >> number.radix_bits)) Raise(kOverflow);
    value = (value << number.radix_bits) + static_cast<uint64_t>(digit);
  }
  return value;
}

}  // namespace

int32_t LongFromText(const std::string& text) {
  const Number number = Parser(text).Parse();
  if (number.radix_bits != 0) {
    const uint64_t value = RadixValue(number);
    if (value >> 32 != 0) Raise(kOverflow);
    return static_cast<int32_t>(static_cast<uint32_t>(value));
  }
  // The whole part, exactly, then half to even on the exact fraction.
  const long long count = static_cast<long long>(number.digits.size());
  const long long whole_digits = count + number.power10;
  constexpr uint64_t kLimit = uint64_t{1} << 31;
  uint64_t whole = 0;
  for (long long i = 0; i < whole_digits; ++i) {
    const uint64_t digit = i < count ? static_cast<uint64_t>(number.digits[i]) : 0;
    whole = whole * 10 + digit;
    if (whole > kLimit) Raise(kOverflow);
  }
  // A fraction whose first digit lies past the tenths is below a half.
  if (whole_digits >= 0 && whole_digits < count) {
    const int tenths = number.digits[whole_digits];
    bool more = false;
    for (long long i = whole_digits + 1; i < count; ++i) more |= number.digits[i] != 0;
    if (tenths > 5 || (tenths == 5 && (more || (whole & 1) != 0))) ++whole;
  }
  if (number.negative && whole != 0) {
    if (whole > kLimit) Raise(kOverflow);
    return static_cast<int32_t>(-static_cast<int64_t>(whole));
  }
  if (whole >= kLimit) Raise(kOverflow);
  return static_cast<int32_t>(whole);
}

double DoubleFromText(const std::string& text) {
  const Number number = Parser(text).Parse();
  if (number.radix_bits != 0) {
    const uint64_t value = RadixValue(number);
    if (value <= static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
      return static_cast<double>(value);
    }
    const int64_t negative = -static_cast<int64_t>(value);
    if (value >> 32 == 0 && negative >= std::numeric_limits<int32_t>::min()) {
      return static_cast<double>(negative);
    }
    Raise(kOverflow);
  }
  // The digits as a double, then scaled by at most ten powers of ten at a
  // time: the arithmetic OLE Automation does, last bits included.
  constexpr double kMax = std::numeric_limits<double>::max();
  constexpr double kMin = std::numeric_limits<double>::min();
  static const double kPowers[11] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
  double value = 0;
  for (const int digit : number.digits) value = value * 10.0 + digit;
  for (long long up = number.power10; up > 0;) {
    const int step = static_cast<int>(std::min<long long>(up, 10));
    if (value > kMax / kPowers[step]) Raise(kOverflow);
    value *= kPowers[step];
    up -= step;
  }
  for (long long down = -number.power10; down > 0;) {
    const int step = static_cast<int>(std::min<long long>(down, 10));
    if (value != 0 && value < kMin * kPowers[step]) {
      value = 0;  // too small reads as zero
      break;
    }
    value /= kPowers[step];
    down -= step;
  }
  if (std::isinf(value)) Raise(kOverflow);  // more digits than a double holds
  return number.negative ? -value : value;
}

}  // namespace rt
