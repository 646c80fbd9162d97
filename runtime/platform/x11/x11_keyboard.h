// Key presses as the forms layer takes them, through the server's keyboard
// map (XKB): what the key is, the character it gives, and the modifiers.
#pragma once

#include <xcb/xcb.h>

#include "runtime/platform/native.h"

namespace rt::x11 {

// The map is read on the first press.
native::KeyStroke KeyStrokeOf(xcb_connection_t* connection, const xcb_key_press_event_t& event);

}  // namespace rt::x11
