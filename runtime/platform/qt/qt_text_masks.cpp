#include "runtime/platform/qt/qt_text_masks.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <unordered_map>

namespace rt::qt {
namespace {

// Far more than the few dozen characters the saver prints; a program that
// prints ever new texts starts the cache again rather than grow it.
constexpr size_t kMaxMasks = 2048;

CoverageMask DrawMask(const QFont& font, const std::string& text) {
  const QFontMetrics metrics(font);
  const QString string = QString::fromStdString(text);
  // The line's box and the ink wherever it reaches, with a pixel to spare
  // for antialiasing.
  const QRect area = QRect(0, 0, metrics.horizontalAdvance(string), metrics.height())
                         .united(metrics.boundingRect(string).translated(0, metrics.ascent()))
                         .adjusted(-1, -1, 1, 1);
  CoverageMask mask{QImage(area.size(), QImage::Format_RGB32), area.topLeft()};
  mask.coverage.fill(Qt::black);
  QPainter painter(&mask.coverage);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(-area.x(), metrics.ascent() - area.y(), string);
  return mask;
}

int BlendChannel(int under, int over, int coverage) {
  return under + (over - under) * coverage / 255;
}

}  // namespace

const CoverageMask& MaskFor(const QFont& font, const std::string& font_key,
                            const std::string& text) {
  static std::unordered_map<std::string, CoverageMask> masks;
  const std::string key = font_key + '\n' + text;
  if (const auto found = masks.find(key); found != masks.end()) return found->second;
  if (masks.size() >= kMaxMasks) masks.clear();
  return masks.emplace(key, DrawMask(font, text)).first->second;
}

void BlendMask(QImage& image, const CoverageMask& mask, int x, int line_top, QRgb color) {
  const int left = x + mask.offset.x();
  const int top = line_top + mask.offset.y();
  const int first_row = std::max(0, -top);
  const int end_row = std::min(mask.coverage.height(), image.height() - top);
  const int first_column = std::max(0, -left);
  const int end_column = std::min(mask.coverage.width(), image.width() - left);
  for (int row = first_row; row < end_row; ++row) {
    const auto* coverage = reinterpret_cast<const QRgb*>(mask.coverage.constScanLine(row));
    auto* pixels = reinterpret_cast<QRgb*>(image.scanLine(top + row)) + left;
    for (int column = first_column; column < end_column; ++column) {
      const QRgb cover = coverage[column];
      if ((cover & 0xFFFFFF) == 0) continue;
      const QRgb under = pixels[column];
      pixels[column] = qRgb(BlendChannel(qRed(under), qRed(color), qRed(cover)),
                            BlendChannel(qGreen(under), qGreen(color), qGreen(cover)),
                            BlendChannel(qBlue(under), qBlue(color), qBlue(cover)));
    }
  }
}

}  // namespace rt::qt
