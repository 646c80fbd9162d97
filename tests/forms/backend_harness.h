// What the forms-layer conformance suite needs to know of the backend under
// test; one implementation per backend.
#pragma once

#include <string>

#include "runtime/native.h"

struct ScreenPixels {
  int width;
  int height;
};

ScreenPixels ScreenSize();
// Lets the backend deliver what it has queued (repaints, timers).
void Pump();
// Whether any printed pixel of the surface differs from black.
bool HasInk(const rt::native::Surface& surface);
