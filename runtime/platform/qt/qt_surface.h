// A picture box's persistent image on Qt: a QImage that its form blits.
#pragma once

#include <QFont>
#include <QImage>
#include <string>

#include "runtime/forms/design.h"
#include "runtime/platform/native.h"

namespace rt::qt {

class QtSurface : public native::Surface {
 public:
  explicit QtSurface(const FontDesign& font);
  void Resize(int width, int height, int32_t back_color) override;
  void Clear(int32_t back_color) override;
  int PrintLine(int y, const std::string& text, int32_t fore_color) override;
  const QImage& image() const { return image_; }

 private:
  QImage image_;
  QFont font_;
  std::string font_key_;
  int line_height_;
};

QFont ToQFont(const FontDesign& font);

}  // namespace rt::qt
