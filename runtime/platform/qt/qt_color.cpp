#include "runtime/platform/qt/qt_color.h"

#include <QApplication>
#include <QPalette>

#include "runtime/forms/colors.h"

namespace rt::qt {
namespace {

Rgb RgbOf(const QColor& color) {
  return {static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()),
          static_cast<uint8_t>(color.blue())};
}

}  // namespace

QColor ToQColor(int32_t color) {
  const QPalette palette = QApplication::palette();
  const SystemPalette system{
      RgbOf(palette.color(QPalette::Base)), RgbOf(palette.color(QPalette::WindowText)),
      RgbOf(palette.color(QPalette::Button)), RgbOf(palette.color(QPalette::ButtonText))};
  const Rgb rgb = DecodeColor(color, system);
  return QColor(rgb.red, rgb.green, rgb.blue);
}

}  // namespace rt::qt
