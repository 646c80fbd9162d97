#include <cmath>

#include "runtime/program.h"

namespace rt {

int Screen::PixelsX(float twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelX())); }

int Screen::PixelsY(float twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelY())); }

}  // namespace rt
