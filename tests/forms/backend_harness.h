// What the forms-layer conformance suite needs to know of the backend under
// test; one implementation per backend. Input goes in as the user makes it,
// through the backend's own input path.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/forms/form.h"
#include "runtime/forms/windowed_controls.h"
#include "runtime/platform/native.h"

struct ScreenPixels {
  int width;
  int height;
};

ScreenPixels ScreenSize();
// The time of the next press: a second after the last, or well within every
// system's double-click time for the second press of a double click.
inline uint32_t NextPressTime(bool double_click) {
  static uint32_t now = 0;
  now += double_click ? 100 : 1000;
  return now;
}
// Lets the backend deliver what it has queued (repaints, timers).
void Pump();
// Whether any printed pixel of the surface differs from black.
bool HasInk(const rt::native::Surface& surface);
// Whether the backend's forms take windowed controls (bare X's don't).
bool HoldsWindowedControls();
// Whether the harness can put input into the backend's own input path.
bool InjectsInput();

// Pointer buttons as X numbers them (1 left, 2 middle, 3 right, 8 back,
// 9 forward); positions in client-area pixels.
void Press(const rt::Form& form, int button, int x, int y, bool double_click = false);
void Release(const rt::Form& form, int button, int x, int y);
void Move(const rt::Form& form, int x, int y);
// A key as the system's text input reports it.
void Type(const rt::Form& form, const rt::native::KeyStroke& stroke);
// An arrow key on a control that has the focus: +1 right, -1 left.
void Arrow(const rt::WindowedControl& control, int step);
// Whether the control has its window's focus.
bool Focused(const rt::WindowedControl& control);
// What assistive technology reads as the control's name, asked of the
// backend's own accessibility interface where it has one.
std::string AccessibleName(const rt::WindowedControl& control);
