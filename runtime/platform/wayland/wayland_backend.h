// The native Wayland backend: a form without windowed controls on every
// output (the saver's rain), its timers, its loop and the resolution.
// The Linux list (linux/linux_program.cpp) chooses it from the compositor's
// shells.
#pragma once

#include "runtime/platform/native.h"

namespace rt::wayland {

// The shells of the compositor that WAYLAND_DISPLAY names; none of either
// when there is none, or it lacks shared memory. Connects on the first call.
struct Shells {
  bool layer = false;  // zwlr_layer_shell_v1: a surface over every output
  bool xdg = false;    // xdg_wm_base: full-screen toplevels
};
Shells Compositor();

// The backend's object. It shows no message box of its own.
native::Backend& Open();

}  // namespace rt::wayland
