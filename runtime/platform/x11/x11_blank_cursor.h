// A pointer shape with nothing in it: a screen saver shows no pointer.
#pragma once

#include <xcb/xcb.h>

namespace rt::x11 {

// A cursor whose mask is all clear, made on the screen of the drawable.
xcb_cursor_t BlankCursor(xcb_connection_t* connection, xcb_drawable_t drawable);

}  // namespace rt::x11
