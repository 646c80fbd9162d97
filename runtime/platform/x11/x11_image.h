// A picture box's client-side image: 32-bit 0x00RRGGBB pixels, rows packed,
// the layout the X server takes for a 24-bit TrueColor drawable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rt::x11 {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  Image() = default;
  Image(int w, int h, uint32_t fill)
      : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}
  bool empty() const { return pixels.empty(); }
  uint32_t* Row(int y) { return pixels.data() + static_cast<ptrdiff_t>(y) * width; }
  const uint32_t* Row(int y) const { return pixels.data() + static_cast<ptrdiff_t>(y) * width; }
  int RowBytes() const { return width * 4; }
};

}  // namespace rt::x11
