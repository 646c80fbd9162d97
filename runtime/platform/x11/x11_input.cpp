#include "runtime/platform/x11/x11_input.h"

#include <cstdlib>

namespace rt::x11 {
namespace {

constexpr xcb_timestamp_t kDoubleClickMilliseconds = 400;
constexpr int kDoubleClickPixels = 5;

}  // namespace

native::PointerButton ButtonOf(xcb_button_t button) {
  return button >= 4 && button <= 7 ? 0 : button;
}

native::Modifiers ModifiersOf(uint16_t state) {
  return {(state & XCB_MOD_MASK_SHIFT) != 0, (state & XCB_MOD_MASK_CONTROL) != 0,
          (state & XCB_MOD_MASK_1) != 0};
}

bool DoubleClicks::IsSecondPress(const xcb_button_press_event_t& press) {
  const bool second = press.detail == button_ && press.time - time_ <= kDoubleClickMilliseconds &&
                      std::abs(press.event_x - x_) <= kDoubleClickPixels &&
                      std::abs(press.event_y - y_) <= kDoubleClickPixels;
  // A third press starts a new pair.
  button_ = second ? 0 : press.detail;
  time_ = press.time;
  x_ = press.event_x;
  y_ = press.event_y;
  return second;
}

}  // namespace rt::x11
