#include "runtime/platform/linux/wayland_module_loader.h"

#include "runtime/platform/fatal_error.h"
#include "runtime/platform/linux/embedded_file.h"
#include "runtime/platform/linux/embedded_module.h"

// The module's file, stripped of its debugging data, in a section of its own.
KELVORA_EMBED_FILE(kelvora_wayland_module, KELVORA_WAYLAND_MODULE_FILE);

namespace rt::linux_program {

const wayland::Module& WaylandModule() {
  static const wayland::Module& module = *reinterpret_cast<wayland::ModuleEntry>(
      LoadEmbeddedModule({.name = "the Wayland module",
                          .file_name = "kelvora-wayland.so",
                          .start = kelvora_wayland_module_start,
                          .end = kelvora_wayland_module_end,
                          .entry = wayland::kModuleEntry}))(&native::FailFatally);
  return module;
}

}  // namespace rt::linux_program
