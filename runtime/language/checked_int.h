// Checked 16- and 32-bit integer arithmetic: a result out of range raises
// run-time error 6 instead of wrapping.
#pragma once

#include <cstdint>
#include <limits>

#include "runtime/language/runtime_error.h"

namespace rt {

template <class Integer>
Integer Checked(int64_t value) {
  if (value < std::numeric_limits<Integer>::min() || value > std::numeric_limits<Integer>::max()) {
    Raise(kOverflow);
  }
  return static_cast<Integer>(value);
}

inline int16_t Narrow16(int64_t v) { return Checked<int16_t>(v); }
inline int16_t Add16(int16_t a, int16_t b) { return Checked<int16_t>(int64_t{a} + b); }
inline int16_t Sub16(int16_t a, int16_t b) { return Checked<int16_t>(int64_t{a} - b); }
inline int16_t Mul16(int16_t a, int16_t b) { return Checked<int16_t>(int64_t{a} * b); }
inline int16_t Abs16(int16_t a) { return Checked<int16_t>(a < 0 ? -int64_t{a} : a); }
// Integer division truncating toward zero.
inline int16_t Div16(int16_t a, int16_t b) {
  if (b == 0) Raise(kDivisionByZero);
  return Checked<int16_t>(int64_t{a} / b);
}

inline int32_t Add32(int32_t a, int32_t b) { return Checked<int32_t>(int64_t{a} + b); }
inline int32_t Sub32(int32_t a, int32_t b) { return Checked<int32_t>(int64_t{a} - b); }
inline int32_t Mul32(int32_t a, int32_t b) { return Checked<int32_t>(int64_t{a} * b); }
inline int32_t Div32(int32_t a, int32_t b) {
  if (b == 0) Raise(kDivisionByZero);
  return Checked<int32_t>(int64_t{a} / b);
}

}  // namespace rt
