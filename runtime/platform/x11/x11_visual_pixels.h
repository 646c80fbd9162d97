// 0xRRGGBB colours as the pixels of a TrueColor visual of any depth.
#pragma once

#include <bit>
#include <cstdint>

namespace rt::x11 {

// A TrueColor visual's channels: 5-6-5 at depth 16, 10 bits each at 30.
struct VisualMasks {
  uint32_t red = 0;
  uint32_t green = 0;
  uint32_t blue = 0;
};

// The 0xRRGGBB colour as a pixel of the visual, each channel rounded to
// the nearest value its bits hold.
inline uint32_t PixelIn(const VisualMasks& masks, uint32_t rgb) {
  const auto channel = [](uint32_t mask, uint32_t value) {
    if (mask == 0) return 0u;
    const uint32_t largest = mask >> std::countr_zero(mask);
    return (value * largest + 127) / 255 << std::countr_zero(mask);
  };
  return channel(masks.red, rgb >> 16 & 0xFF) | channel(masks.green, rgb >> 8 & 0xFF) |
         channel(masks.blue, rgb & 0xFF);
}

}  // namespace rt::x11
