#include "runtime/platform/qt/qt_color.h"

#include <QApplication>
#include <QPalette>

#include "runtime/forms/design.h"

namespace rt::qt {

QColor ToQColor(int32_t color) {
  if (!IsSystemColor(color)) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
  }
  const QPalette palette = QApplication::palette();
  switch (color & 0xFF) {
    case kWindowBackground:
      return palette.color(QPalette::Base);
    case kWindowText:
      return palette.color(QPalette::WindowText);
    case kButtonText:
      return palette.color(QPalette::ButtonText);
    default:
      return palette.color(QPalette::Button);
  }
}

}  // namespace rt::qt
