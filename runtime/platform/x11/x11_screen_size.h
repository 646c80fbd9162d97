// The screen's size as it changes (RandR): a monitor plugged in or out, a
// dock, a rotation. A maximized window follows it, as Windows re-maximizes
// a maximized window when the display changes.
#pragma once

#include <xcb/xcb.h>

namespace rt::x11 {

// Asks the server to report each new size of the screen, where it has RandR.
void WatchScreenSize(xcb_connection_t* connection, xcb_window_t root);
// Whether the event gives the screen a new size; the screen then has it,
// as Xlib's XRRUpdateConfiguration keeps it.
bool TakeScreenSize(const xcb_generic_event_t& event, xcb_screen_t& screen);

}  // namespace rt::x11
