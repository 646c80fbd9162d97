// Printed text as coverage masks, each rasterised once per font and text
// with FreeType from the glyphs the program carries, and then drawn in any
// colour: a column prints hundreds of one-character lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/forms/design.h"

namespace rt::desktop {

struct TextMask {
  int width = 0;
  int height = 0;
  int left = 0;  // of the mask from the line's top-left corner
  int top = 0;
  std::vector<uint8_t> coverage;  // 0..255, rows packed
};

// The mask's rows each padded to whole 32-bit words, as X's glyphs and
// pixman's images take them.
size_t PaddedStride(const TextMask& mask);
std::vector<uint8_t> PaddedRows(const TextMask& mask);

// A font of the design's size and weight at the screen's resolution, drawn
// with the carried glyphs whatever the design names, as the Windows screen
// saver draws. A character the carried glyphs lack comes from the font
// fontconfig picks for it, as a toolkit's font fallback does.
class TextFont {
 public:
  static std::shared_ptr<TextFont> For(const FontDesign& design, float dots_per_inch);
  virtual ~TextFont() = default;
  // The named font's ascent plus descent, in whole pixels.
  virtual int LineHeight() const = 0;
  virtual const TextMask& MaskFor(const std::string& text) = 0;
};

}  // namespace rt::desktop
