// Printed text as coverage masks, each drawn once per font and text and then
// blended in any colour: a column prints hundreds of one-character lines,
// and laying out and rasterising each of them anew was most of its cost.
#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <string>

namespace rt::qt {

struct CoverageMask {
  QImage coverage;  // white text on black, RGB32: one coverage per channel
  QPoint offset;    // of the mask from the line's top-left corner
};

const CoverageMask& MaskFor(const QFont& font, const std::string& font_key,
                            const std::string& text);

// Draws the text's mask in the colour (0xRRGGBB) over the image, at the
// mask's offset from (x, line_top).
void BlendMask(QImage& image, const CoverageMask& mask, int x, int line_top, QRgb color);

}  // namespace rt::qt
