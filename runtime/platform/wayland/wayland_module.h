// The native Wayland backend as a module that the Linux program loads only
// when a Wayland compositor answers, so that a run on X maps neither
// libwayland-client nor pixman. Its one exported function takes the
// program's FailFatally and gives what the Linux list asks of the backend.
#pragma once

#include "runtime/platform/linux/module_failure.h"
#include "runtime/platform/wayland/wayland_backend.h"

namespace rt::wayland {

struct Module {
  Shells (*compositor)();
  native::Backend& (*open)();
};

using ModuleEntry = const Module* (*)(linux_program::FatalFailure fail);
constexpr char kModuleEntry[] = "kelvora_wayland_module_entry";

}  // namespace rt::wayland
