// What the daemon tests look for on a screen: the rain, a dialog's face.
#pragma once

#include <QImage>
#include <QRect>

#include "tests/e2e/rain_picture.h"

// Rain, not noise: red glyphs in columns that brighten downwards.
bool IsRain(const RainPicture& picture);

// More than half of the area is light: the unlock dialog's face, not rain.
bool MostlyLight(const QImage& shot, const QRect& area);

// Waits until the screen shows rain, or the hang bound has passed; gives
// the last picture.
RainPicture WaitForRainOn(const VirtualDisplay& display, int screen = 0);
