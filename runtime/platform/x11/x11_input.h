// Pointer facts of X events as the forms layer takes them: buttons by their
// X numbers, Shift/Ctrl/Alt, and when a press is the second of a double click.
#pragma once

#include <xcb/xcb.h>

#include "runtime/platform/native.h"

namespace rt::x11 {

// The wheel's buttons (4 to 7) scroll rather than press: none (0).
native::PointerButton ButtonOf(xcb_button_t button);
// Alt is Mod1, as X keyboards map it; AltGr (Mod5) counts as neither.
native::Modifiers ModifiersOf(uint16_t state);

// Remembers presses to tell a double click: the same button again within
// the toolkit's usual 400 ms and 5 pixels.
class DoubleClicks {
 public:
  bool IsSecondPress(const xcb_button_press_event_t& press);

 private:
  xcb_button_t button_ = 0;
  xcb_timestamp_t time_ = 0;
  int x_ = 0;
  int y_ = 0;
};

}  // namespace rt::x11
