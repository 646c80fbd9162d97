// The native Wayland backend, built into the program as a module's bytes
// and loaded only when first needed, so that a run on X maps no Wayland
// library.
#pragma once

#include "runtime/platform/wayland/wayland_module.h"

namespace rt::linux_program {

// The module's functions, loaded on first call. Ends the program with a
// message when the module can't be loaded.
const wayland::Module& WaylandModule();

}  // namespace rt::linux_program
