#include "runtime/platform/qt/qt_surface.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "runtime/platform/linux/carried_font.h"
#include "runtime/platform/qt/qt_color.h"
#include "runtime/platform/qt/qt_text_masks.h"

namespace rt::qt {

QFont ToQFont(const FontDesign& font) {
  // The carried glyphs whatever the design names, as the X backend draws.
  QFont qfont(linux_program::kCarriedFontFamily);
  qfont.setPointSizeF(font.points);
  qfont.setWeight(static_cast<QFont::Weight>(font.weight));
  return qfont;
}

QtSurface::QtSurface(const FontDesign& font)
    : font_(ToQFont(font)),
      font_key_(font_.key().toStdString()),
      line_height_(QFontMetrics(font_).height()) {}

void QtSurface::Resize(int width, int height, int32_t back_color) {
  if (width == image_.width() && height == image_.height()) return;
  QImage resized(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
  resized.fill(ToQColor(back_color));
  if (!image_.isNull() && !resized.isNull()) {
    QPainter painter(&resized);
    painter.drawImage(0, 0, image_);
  }
  image_ = std::move(resized);
}

void QtSurface::Clear(int32_t back_color) { image_.fill(ToQColor(back_color)); }

int QtSurface::PrintLine(int y, const std::string& text, int32_t fore_color) {
  if (!image_.isNull() && !text.empty())
    BlendMask(image_, MaskFor(font_, font_key_, text), 0, y, ToQColor(fore_color).rgb());
  return line_height_;
}

}  // namespace rt::qt
