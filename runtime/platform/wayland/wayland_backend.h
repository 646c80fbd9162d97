// The native Wayland backend: a form without windowed controls on every
// output (the saver's rain), its timers, its loop and the resolution.
// Chosen when WAYLAND_DISPLAY names a compositor with the layer shell, or,
// with no X display either, one that has full-screen toplevels.
#pragma once

#include "runtime/platform/native.h"

namespace rt::wayland {

// Whether this backend can serve the run; connects on the first call.
bool Serves();

// The backend's object. Wayland has no message box of its own: messages go
// to the backend that message_boxes gives, loaded only then.
native::Backend& Backend(native::Backend& (*message_boxes)());

}  // namespace rt::wayland
