// Runtime colours as 0x00RRGGBB pixels, the layout of both X's true-colour
// windows and wl_shm's XRGB8888.
#pragma once

#include <cstdint>

#include "runtime/forms/colors.h"

namespace rt::desktop {

// Neither X nor Wayland has system colours: those of a plain desktop, white
// fields, light grey buttons and black text.
constexpr SystemPalette kPalette{{0xFF, 0xFF, 0xFF}, {0, 0, 0}, {0xEF, 0xEF, 0xEF}, {0, 0, 0}};

inline uint32_t PixelOf(int32_t color) {
  const Rgb rgb = DecodeColor(color, kPalette);
  return static_cast<uint32_t>(rgb.red) << 16 | static_cast<uint32_t>(rgb.green) << 8 | rgb.blue;
}

}  // namespace rt::desktop
