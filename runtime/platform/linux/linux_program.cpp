// The backends of the Linux program, first choice first: for a form without
// windowed controls or a picture, the native Wayland backend where the
// compositor has the layer shell, else the bare X backend (the saver's run
// never starts Qt); Qt Widgets, loaded as a module on need, for the others
// and wherever no X display answers (Qt has its own Wayland plugin).
#include "runtime/platform/backends.h"
#include "runtime/platform/linux/displays.h"
#include "runtime/platform/linux/qt_module_loader.h"
#include "runtime/platform/wayland/wayland_backend.h"
#include "runtime/platform/x11/x11_backend.h"

namespace rt::native {
namespace {

int program_argc = 0;
char** program_argv = nullptr;

Backend& QtBackend() { return linux_program::QtModuleBackend(program_argc, program_argv); }

bool IsPlain(const FormNeeds& needs) { return !needs.windowed_controls && !needs.picture; }

constexpr BackendEntry kBackends[] = {
    {"wayland", IsPlain,
     []() -> Backend* { return wayland::Serves() ? &wayland::Backend(QtBackend) : nullptr; }},
    {"x11", IsPlain,
     []() -> Backend* {
       // Wayland first: a bare X session asks no display here.
       const bool wayland_alone =
           linux_program::HasWaylandDisplay() && !linux_program::HasXDisplay();
       return wayland_alone ? nullptr : &x11::Backend(QtBackend);
     }},
    {"qt", [](const FormNeeds&) { return true; },
     [] {
       linux_program::RequireADisplay();
       return &QtBackend();
     }},
};

}  // namespace

void StartProgram(int argc, char** argv) {
  program_argc = argc;
  program_argv = argv;
}

std::span<const BackendEntry> PlatformBackends() { return kBackends; }

}  // namespace rt::native
