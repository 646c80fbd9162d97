#include "tests/e2e/rain_picture.h"

#include <algorithm>
#include <thread>

#include "tests/e2e/harness.h"

namespace {

constexpr int kInk = 40;  // a channel above this is a drawn glyph

int Brightest(QRgb pixel) { return std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)}); }

}  // namespace

LitRun LitRunOfStrip(const QImage& shot, int left, int width) {
  LitRun run;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = left; x < std::min(left + width, shot.width()); ++x) {
      if (Brightest(shot.pixel(x, y)) > kInk) {
        if (run.top < 0) run.top = y;
        run.bottom = y;
        break;
      }
    }
  }
  return run;
}

RainPicture ReadRain(const QImage& shot, int strip_width) {
  RainPicture picture;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      const QRgb p = shot.pixel(x, y);
      const int r = qRed(p), g = qGreen(p), b = qBlue(p);
      if (r > kInk && r > 2 * g && r > 2 * b) ++picture.lit_pixels[0];
      if (g > kInk && g > 2 * r && g > 2 * b) ++picture.lit_pixels[1];
      if (b > kInk && b > 2 * r && b > 2 * g) ++picture.lit_pixels[2];
    }
  }
  for (int left = 0; left < shot.width(); left += strip_width) {
    const LitRun run = LitRunOfStrip(shot, left, strip_width);
    if (run.length() < 120) continue;
    const int middle = (run.top + run.bottom) / 2;
    // Lines differ in how much ink they hold, so compare the brightest.
    int upper = 0, lower = 0;
    for (int y = run.top; y <= run.bottom; ++y) {
      for (int x = left; x < std::min(left + strip_width, shot.width()); ++x) {
        int& half = y < middle ? upper : lower;
        half = std::max(half, Brightest(shot.pixel(x, y)));
      }
    }
    ++picture.columns_seen;
    if (lower > upper) ++picture.columns_brightening;
  }
  return picture;
}

bool AllBlack(const QImage& shot) {
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      if ((shot.pixel(x, y) & 0xFFFFFF) != 0) return false;
    }
  }
  return true;
}

RainPicture WaitForRain(const VirtualDisplay& display,
                        const std::function<bool(const RainPicture&)>& enough) {
  const auto deadline = std::chrono::steady_clock::now() + kHangBound;
  RainPicture picture = ReadRain(display.Screenshot(), kColumnPixels);
  while (!enough(picture) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(250ms);
    picture = ReadRain(display.Screenshot(), kColumnPixels);
  }
  return picture;
}

RainPicture WaitForRain(const VirtualDisplay& display, Channel channel, int more_than) {
  const auto lit = static_cast<size_t>(channel);
  return WaitForRain(
      display, [&](const RainPicture& picture) { return picture.lit_pixels[lit] > more_than; });
}
