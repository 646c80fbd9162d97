// Runtime colours (r + 256 g + 65536 b, or a system colour) as X pixels.
#pragma once

#include <cstdint>

#include "runtime/forms/design.h"

namespace rt::x11 {

// System colours as a plain desktop shows them: white fields, light grey
// buttons, black text.
inline uint32_t PixelOf(int32_t color) {
  if (IsSystemColor(color)) {
    switch (color & 0xFF) {
      case kWindowBackground:
        return 0xFFFFFF;
      case kButtonFace:
        return 0xEFEFEF;
      default:
        return 0x000000;
    }
  }
  const auto bits = static_cast<uint32_t>(color);
  return (bits & 0xFF) << 16 | (bits & 0xFF00) | (bits >> 16 & 0xFF);
}

}  // namespace rt::x11
