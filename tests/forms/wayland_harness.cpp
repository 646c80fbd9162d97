// The native Wayland backend under the suite: a headless sway of its own
// with one output, there before any form, and no X display. Nothing here
// can give sway input that stays with the form (a virtual keyboard takes
// the layer surface's keyboard with it when it goes), so the input cases
// are skipped; the rest of the contract holds as on every backend.
#include <gtest/gtest.h>
#include <pixman.h>

#include <cstdlib>

#include "runtime/platform/wayland/wayland_event_loop.h"
#include "runtime/platform/wayland/wayland_surface.h"
#include "tests/forms/backend_harness.h"
#include "tests/support/sway_session.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

struct OwnCompositor {
  OwnCompositor() : session({.count = 1, .width = kWidth, .height = kHeight}) {
    if (!SwaySession::Available() || !session.Start()) {
      std::fprintf(stderr, "no headless sway for the suite: %s\n", session.Log().c_str());
      std::abort();
    }
    // The session's runtime folder holds the socket; root may connect to it.
    ::setenv("XDG_RUNTIME_DIR", session.user().runtime_dir().c_str(), 1);
    ::setenv("WAYLAND_DISPLAY", session.wayland_display().c_str(), 1);
    ::unsetenv("DISPLAY");
  }
  SwaySession session;
};
const OwnCompositor own_compositor;

}  // namespace

ScreenPixels ScreenSize() { return {kWidth, kHeight}; }

void Pump() { rt::wayland::ProcessPending(); }

bool HasInk(const rt::native::Surface& surface) {
  auto* image =
      const_cast<pixman_image_t*>(static_cast<const rt::wayland::PixmanSurface&>(surface).image());
  if (image == nullptr) return false;
  const uint32_t* pixels = pixman_image_get_data(image);
  const int words_per_row = pixman_image_get_stride(image) / 4;
  for (int y = 0; y < pixman_image_get_height(image); ++y) {
    for (int x = 0; x < pixman_image_get_width(image); ++x) {
      if ((pixels[y * words_per_row + x] & 0xFFFFFF) != 0) return true;
    }
  }
  return false;
}

bool HoldsWindowedControls() { return false; }

bool InjectsInput() { return false; }

void Press(const rt::Form&, int, int, int, bool) { ADD_FAILURE() << "no input on this harness"; }

void Release(const rt::Form&, int, int, int) { ADD_FAILURE() << "no input on this harness"; }

void Move(const rt::Form&, int, int) { ADD_FAILURE() << "no input on this harness"; }

void Type(const rt::Form&, const rt::native::KeyStroke&) {
  ADD_FAILURE() << "no input on this harness";
}

void Arrow(const rt::WindowedControl&, int) { ADD_FAILURE() << "no windowed controls on Wayland"; }

bool Focused(const rt::WindowedControl&) {
  ADD_FAILURE() << "no windowed controls on Wayland";
  return false;
}

std::string AccessibleName(const rt::WindowedControl&) {
  ADD_FAILURE() << "no windowed controls on Wayland";
  return {};
}
