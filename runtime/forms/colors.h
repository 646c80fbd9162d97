// Runtime colours as every backend reads them: r + 256 g + 65536 b, or, with
// the high bit set, the system colour that the low byte names, which each
// system paints in its own way.
#pragma once

#include <cstdint>

#include "runtime/forms/design.h"

namespace rt {

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
};

// The system colours a design names, as the system paints them.
struct SystemPalette {
  Rgb window_background;
  Rgb window_text;
  Rgb button_face;
  Rgb button_text;
};

// An index the palette lacks reads as the button face, the colour of most
// of a dialog.
constexpr Rgb DecodeColor(int32_t color, const SystemPalette& palette) {
  if (IsSystemColor(color)) {
    switch (color & 0xFF) {
      case kWindowBackground:
        return palette.window_background;
      case kWindowText:
        return palette.window_text;
      case kButtonText:
        return palette.button_text;
      default:
        return palette.button_face;
    }
  }
  const auto bits = static_cast<uint32_t>(color);
  return {static_cast<uint8_t>(bits & 0xFF), static_cast<uint8_t>(bits >> 8 & 0xFF),
          static_cast<uint8_t>(bits >> 16 & 0xFF)};
}

}  // namespace rt
