#include "runtime/platform/null/null_backend.h"
#include "tests/forms/backend_harness.h"

namespace {

rt::native::WindowEvents& Events(const rt::Form& form) { return rt::null::EventsOf(form.window()); }

const rt::null::NullControl& Peer(const rt::WindowedControl& control) {
  return *static_cast<const rt::null::NullControl*>(control.native());
}

}  // namespace

ScreenPixels ScreenSize() { return {1920, 1080}; }

void Pump() {}

bool HasInk(const rt::native::Surface& surface) {
  for (const auto& line : static_cast<const rt::null::NullSurface&>(surface).lines()) {
    if (!line.text.empty() && line.color != 0) return true;
  }
  return false;
}

bool HoldsWindowedControls() { return true; }

bool InjectsInput() { return true; }

void Press(const rt::Form& form, int button, int x, int y, bool double_click) {
  Events(form).ButtonDown(button, x, y, {}, NextPressTime(double_click));
}

void Release(const rt::Form& form, int button, int x, int y) {
  Events(form).ButtonUp(button, x, y, {});
}

void Move(const rt::Form& form, int x, int y) { Events(form).PointerMoved(x, y, {}); }

void Type(const rt::Form& form, const rt::native::KeyStroke& stroke) {
  Events(form).KeyDown(stroke);
}

void Arrow(const rt::WindowedControl& control, int step) { Peer(control).UserArrow(step); }

bool Focused(const rt::WindowedControl& control) { return rt::null::Focused() == &Peer(control); }

std::string AccessibleName(const rt::WindowedControl& control) {
  return Peer(control).look().accessible_name;
}
