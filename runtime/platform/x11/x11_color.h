// Runtime colours as X pixels.
#pragma once

#include <cstdint>

#include "runtime/forms/colors.h"

namespace rt::x11 {

// X has no system colours: those of a plain desktop, white fields, light
// grey buttons and black text.
constexpr SystemPalette kPalette{{0xFF, 0xFF, 0xFF}, {0, 0, 0}, {0xEF, 0xEF, 0xEF}, {0, 0, 0}};

inline uint32_t PixelOf(int32_t color) {
  const Rgb rgb = DecodeColor(color, kPalette);
  return static_cast<uint32_t>(rgb.red) << 16 | static_cast<uint32_t>(rgb.green) << 8 | rgb.blue;
}

}  // namespace rt::x11
