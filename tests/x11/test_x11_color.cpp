// Colours as pixels of TrueColor visuals of each depth the rain draws on:
// each channel rounded to the nearest value its bits hold.
#include <gtest/gtest.h>

#include "runtime/platform/x11/x11_visual_pixels.h"

namespace {

using rt::x11::VisualMasks;

constexpr VisualMasks kDepth15{0x7C00, 0x03E0, 0x001F};
constexpr VisualMasks kDepth16{0xF800, 0x07E0, 0x001F};
constexpr VisualMasks kDepth24{0xFF0000, 0x00FF00, 0x0000FF};
constexpr VisualMasks kDepth30{0x3FF00000, 0x000FFC00, 0x000003FF};
constexpr VisualMasks kBgr24{0x0000FF, 0x00FF00, 0xFF0000};

TEST(X11Color, PixelsOfEachDepth) {
  struct Case {
    const char* name;
    VisualMasks masks;
    uint32_t rgb;
    uint32_t pixel;
  };
  const Case cases[] = {
      {"24: as it is", kDepth24, 0x12F00A, 0x12F00A},
      {"24 BGR: channels swapped", kBgr24, 0x12F00A, 0x0AF012},
      {"16: white", kDepth16, 0xFFFFFF, 0xFFFF},
      // 240 of 255 is 29.2 of 31 (red) and 59.3 of 63 (green).
      {"16: the rain's red", kDepth16, 0xF00000, 29u << 11},
      {"16: the rain's green", kDepth16, 0x00F000, 59u << 5},
      {"16: dark grey stays off black", kDepth16, 0x080808, 1u << 11 | 2u << 5 | 1u},
      {"15: the rain's blue", kDepth15, 0x0000F0, 29},
      // 240 of 255 is 962.8 of 1023.
      {"30: the rain's green", kDepth30, 0x00F000, 963u << 10},
      {"30: white", kDepth30, 0xFFFFFF, 0x3FFFFFFF},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(rt::x11::PixelIn(test.masks, test.rgb), test.pixel) << test.name;
  }
}

}  // namespace
