// The backends of the Linux program, first choice first, and every choice
// that hangs on the displays and on a screen-saver daemon's window. For a
// form without windowed controls or a picture (the rain): the native
// Wayland backend where the compositor has the layer shell (or, with no X
// display, full-screen toplevels), else bare X unless only Wayland is there;
// the saver's run never starts Qt. Qt Widgets for the others and wherever
// no X display is named (Qt has its own Wayland plugin); Qt alone shows
// message boxes. A named display counts only when it answers. The Wayland
// and Qt backends are modules, loaded when first asked.
// A build may leave any backend out (KELVORA_BACKEND_X11, _WAYLAND, _QT).
#include <vector>

#include "runtime/platform/backends.h"
#include "runtime/platform/linux/displays.h"
#include "runtime/platform/linux/given_window.h"
#ifdef KELVORA_BACKEND_QT
#include "runtime/platform/linux/qt_module_loader.h"
#endif
#ifdef KELVORA_BACKEND_WAYLAND
#include "runtime/platform/linux/wayland_module_loader.h"
#endif
#ifdef KELVORA_BACKEND_X11
#include "runtime/platform/x11/x11_backend.h"
#endif

namespace rt::native {
namespace {

int program_argc = 0;
char** program_argv = nullptr;

[[maybe_unused]] bool IsPlain(const FormNeeds& needs) {
  return !needs.windowed_controls && !needs.picture;
}

#ifdef KELVORA_BACKEND_WAYLAND
bool WaylandServes() {
  // An X screen-saver daemon's window is drawn where the daemon wants it.
  if (GivenWindow() != 0 || !linux_program::HasWaylandDisplay()) return false;
  // Loaded here first: a session without a compositor maps no Wayland library.
  const wayland::Shells shells = linux_program::WaylandModule().compositor();
  // Without the layer shell, X covers the screen better where there is one.
  return shells.layer || (shells.xdg && !linux_program::HasXDisplay());
}
#endif

// A vector, because a build without backends has none.
const std::vector<BackendEntry> kBackends{
#ifdef KELVORA_BACKEND_WAYLAND
    {"wayland", IsPlain,
     []() -> Backend* {
       return WaylandServes() ? &linux_program::WaylandModule().open() : nullptr;
     },
     false},
#endif
#ifdef KELVORA_BACKEND_X11
    {"x11", IsPlain,
     []() -> Backend* {
       // Wayland first: a bare X session asks no display here.
       const bool wayland_alone =
           linux_program::HasWaylandDisplay() && !linux_program::HasXDisplay();
       return wayland_alone ? nullptr : &x11::Open();
     },
     false},
#endif
#ifdef KELVORA_BACKEND_QT
    {"qt", [](const FormNeeds&) { return true; },
     [] {
       linux_program::RequireADisplay();
       return &linux_program::QtModuleBackend(program_argc, program_argv);
     },
     true},
#endif
};

}  // namespace

void StartProgram(int argc, char** argv) {
  program_argc = argc;
  program_argv = argv;
}

std::span<const BackendEntry> PlatformBackends() { return kBackends; }

}  // namespace rt::native
