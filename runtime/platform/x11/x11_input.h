// Pointer facts of X events as the forms layer takes them: buttons by their
// X numbers, and Shift/Ctrl/Alt.
#pragma once

#include <xcb/xcb.h>

#include "runtime/platform/native.h"

namespace rt::x11 {

// The wheel's buttons (4 to 7) scroll rather than press: none (0).
native::PointerButton ButtonOf(xcb_button_t button);
// Alt is Mod1, as X keyboards map it; AltGr (Mod5) counts as neither.
native::Modifiers ModifiersOf(uint16_t state);

}  // namespace rt::x11
