// Keyboard and pointer of the compositor's seats, reported as raw facts to
// the surface they are over: keys through XKB with the keymap the
// compositor sends, buttons by their X numbers.
#pragma once

#include <wayland-client.h>

#include "runtime/platform/native.h"

namespace rt::wayland {

// What a surface of ours does with input; positions in surface coordinates.
class SurfaceInput {
 public:
  // time: the compositor's clock in milliseconds.
  virtual void ButtonDown(native::PointerButton button, double x, double y,
                          native::Modifiers modifiers, uint32_t time) = 0;
  virtual void ButtonUp(native::PointerButton button, double x, double y,
                        native::Modifiers modifiers) = 0;
  virtual void PointerMoved(double x, double y, native::Modifiers modifiers) = 0;
  virtual void KeyDown(const native::KeyStroke& stroke) = 0;
  // The compositor gave the keyboard away from every surface of ours: to a
  // lock, or to whatever it put before the saver.
  virtual void KeyboardTaken() = 0;

 protected:
  ~SurfaceInput() = default;
};

// A seat the compositor announced.
void AddSeat(wl_seat* seat);
// Input on the surface goes to the target until UnwatchInput.
void WatchInput(wl_surface* surface, SurfaceInput* target);
void UnwatchInput(wl_surface* surface);
// Tells the targets whose keyboard went elsewhere in the events just
// handled; called once the whole batch is handled, so that a move between
// our own surfaces and an unplugged keyboard are not taken for a loss.
void ReportKeyboardTaken();
// Whether a seat has a keyboard that is on none of our surfaces.
bool KeyboardHeldElsewhere();

}  // namespace rt::wayland
