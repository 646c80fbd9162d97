#include "runtime/platform/x11/x11_input.h"

namespace rt::x11 {

native::PointerButton ButtonOf(xcb_button_t button) {
  return button >= 4 && button <= 7 ? 0 : button;
}

native::Modifiers ModifiersOf(uint16_t state) {
  return {(state & XCB_MOD_MASK_SHIFT) != 0, (state & XCB_MOD_MASK_CONTROL) != 0,
          (state & XCB_MOD_MASK_1) != 0};
}

}  // namespace rt::x11
