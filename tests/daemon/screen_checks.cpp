#include "tests/daemon/screen_checks.h"

#include "tests/e2e/harness.h"

bool IsRain(const RainPicture& picture) {
  return picture.lit_pixels[0] > 1000 && picture.columns_brightening >= 3;
}

bool MostlyLight(const QImage& shot, const QRect& area) {
  const QRect inside = area.intersected(shot.rect());
  int light = 0;
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      const QRgb pixel = shot.pixel(x, y);
      if (qRed(pixel) > 150 && qGreen(pixel) > 150 && qBlue(pixel) > 150) ++light;
    }
  }
  return !inside.isEmpty() && light > inside.width() * inside.height() / 2;
}

RainPicture WaitForRainOn(const VirtualDisplay& display, int screen) {
  RainPicture picture;
  WaitUntil([&] {
    picture = ReadRain(display.Screenshot(screen), kColumnPixels);
    return IsRain(picture);
  });
  return picture;
}
