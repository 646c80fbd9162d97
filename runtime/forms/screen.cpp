#include <cmath>

#include "runtime/forms/backend_choice.h"
#include "runtime/forms/program.h"

namespace rt {
namespace {

// Asked on every move of every column, so read from the display once.
const native::DotsPerInch& Dpi() {
  static const native::DotsPerInch dpi = [] {
    native::DotsPerInch read = RunBackend().ScreenDpi();
    if (read.x <= 0) read.x = 96;
    if (read.y <= 0) read.y = 96;
    return read;
  }();
  return dpi;
}

}  // namespace

float Screen::TwipsPerPixelX() { return 1440.0f / static_cast<float>(Dpi().x); }

float Screen::TwipsPerPixelY() { return 1440.0f / static_cast<float>(Dpi().y); }

int Screen::PixelsX(float twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelX())); }

int Screen::PixelsY(float twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelY())); }

}  // namespace rt
