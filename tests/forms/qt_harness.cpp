#include <QApplication>
#include <QScreen>

#include "runtime/qt/qt_application.h"
#include "runtime/qt/qt_surface.h"
#include "tests/forms/backend_harness.h"

ScreenPixels ScreenSize() {
  const QRect geometry = rt::qt::EnsureApplication().primaryScreen()->geometry();
  return {geometry.width(), geometry.height()};
}

void Pump() { QCoreApplication::processEvents(); }

bool HasInk(const rt::native::Surface& surface) {
  const QImage& image = static_cast<const rt::qt::QtSurface&>(surface).image();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) != 0) return true;
    }
  }
  return false;
}
