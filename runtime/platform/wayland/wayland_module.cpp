// The entry of the Wayland module. Everything else in the module is hidden
// from the program that loaded it.
#include "runtime/platform/wayland/wayland_module.h"

extern "C" __attribute__((visibility("default"))) const rt::wayland::Module*
kelvora_wayland_module_entry(rt::linux_program::FatalFailure fail) {
  rt::linux_program::PassFailuresTo(fail);
  static constexpr rt::wayland::Module kModule{rt::wayland::Compositor, rt::wayland::Open};
  return &kModule;
}
