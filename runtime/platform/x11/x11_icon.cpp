#include "runtime/platform/x11/x11_icon.h"

#include <cstddef>

namespace rt::x11 {
namespace {

uint32_t Little(std::string_view bytes, size_t at, size_t count) {
  uint32_t value = 0;
  for (size_t i = 0; i < count; ++i)
    value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  return value;
}

size_t RowBytes(uint32_t width, uint32_t bits) { return ((width * bits + 31) / 32) * 4; }

struct Entry {
  uint32_t size = 0;
  uint32_t offset = 0;
  uint32_t area = 0;
};

// The directory entry of the largest image.
Entry LargestEntry(std::string_view file) {
  Entry best;
  const uint32_t count = Little(file, 4, 2);
  for (uint32_t i = 0; i < count && 6 + 16 * (i + 1) <= file.size(); ++i) {
    const size_t at = 6 + 16 * i;
    const uint32_t width = Little(file, at, 1) == 0 ? 256 : Little(file, at, 1);
    const uint32_t height = Little(file, at + 1, 1) == 0 ? 256 : Little(file, at + 1, 1);
    if (width * height > best.area)
      best = {Little(file, at + 8, 4), Little(file, at + 12, 4), width * height};
  }
  return best;
}

}  // namespace

std::vector<uint32_t> IconCardinals(std::string_view file) {
  if (file.size() < 6 || Little(file, 0, 2) != 0 || Little(file, 2, 2) != 1) return {};
  const Entry entry = LargestEntry(file);
  if (entry.area == 0 || uint64_t{entry.offset} + entry.size > file.size()) return {};
  const std::string_view image = file.substr(entry.offset, entry.size);
  if (image.size() < 40 || Little(image, 0, 4) < 40 || Little(image, 16, 4) != 0) return {};
  const uint32_t header = Little(image, 0, 4);
  const uint32_t width = Little(image, 4, 4);
  const uint32_t height = Little(image, 8, 4) / 2;  // the colour rows, then the mask's
  const uint32_t bits = Little(image, 14, 2);
  if (width == 0 || height == 0 || width > 256 || height > 256) return {};
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return {};
  const uint32_t used = Little(image, 32, 4);
  const uint32_t colours = bits <= 8 ? (used != 0 ? used : 1u << bits) : 0;
  const size_t palette = header;
  const size_t pixels = palette + 4 * size_t{colours};
  const size_t mask = pixels + RowBytes(width, bits) * height;
  if (mask + RowBytes(width, 1) * height > image.size()) return {};

  std::vector<uint32_t> cardinals{width, height};
  for (uint32_t y = 0; y < height; ++y) {
    const size_t row = pixels + RowBytes(width, bits) * (height - 1 - y);  // stored bottom up
    const size_t mask_row = mask + RowBytes(width, 1) * (height - 1 - y);
    for (uint32_t x = 0; x < width; ++x) {
      uint32_t argb = 0;
      if (bits == 32) {
        argb = Little(image, row + 4 * x, 4);
      } else if (bits == 24) {
        argb = 0xFF000000u | Little(image, row + 3 * x, 3);
      } else {
        const uint32_t byte = Little(image, row + x * bits / 8, 1);
        const uint32_t index = (byte >> (8 - bits - (x * bits) % 8)) & ((1u << bits) - 1);
        if (index < colours) argb = 0xFF000000u | (Little(image, palette + 4 * index, 3));
      }
      const bool transparent = (Little(image, mask_row + x / 8, 1) >> (7 - x % 8)) & 1;
      if (bits != 32 && transparent) argb = 0;
      cardinals.push_back(argb);
    }
  }
  return cardinals;
}

}  // namespace rt::x11
