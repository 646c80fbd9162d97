// Key presses as the forms layer takes them, through the server's keyboard
// map (XKB): what the key is, the character it gives, and the modifiers.
// The map is followed as it changes (a new layout, a keyboard plugged in,
// xmodmap).
#pragma once

#include <xcb/xcb.h>

#include "runtime/platform/native.h"

namespace rt::x11 {

// The map is read on the first press after the start or a change.
native::KeyStroke KeyStrokeOf(xcb_connection_t* connection, const xcb_key_press_event_t& event);
// Whether the event says that the keyboard's map changed; the next press
// then reads it again.
bool TakeKeymapChange(const xcb_generic_event_t& event);

}  // namespace rt::x11
