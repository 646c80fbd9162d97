#include "runtime/platform/x11/x11_keyboard.h"

#include <xkbcommon/xkbcommon-x11.h>

#include "runtime/platform/desktop/xkb_keys.h"
#include "runtime/platform/x11/x11_input.h"

namespace rt::x11 {
namespace {

struct Keyboard {
  xkb_context* context = nullptr;
  xkb_keymap* keymap = nullptr;
  xkb_state* state = nullptr;
};

Keyboard ReadKeyboard(xcb_connection_t* connection) {
  Keyboard keyboard;
  if (xkb_x11_setup_xkb_extension(
          connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
          XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr) == 0)
    return keyboard;
  keyboard.context = xkb_context_new(XKB_CONTEXT_NO_DEFAULT_INCLUDES);
  const int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
  if (keyboard.context == nullptr || device < 0) return keyboard;
  keyboard.keymap = xkb_x11_keymap_new_from_device(keyboard.context, connection, device,
                                                   XKB_KEYMAP_COMPILE_NO_FLAGS);
  if (keyboard.keymap != nullptr) keyboard.state = xkb_state_new(keyboard.keymap);
  return keyboard;
}

}  // namespace

native::KeyStroke KeyStrokeOf(xcb_connection_t* connection, const xcb_key_press_event_t& event) {
  static const Keyboard keyboard = ReadKeyboard(connection);
  const native::Modifiers modifiers = ModifiersOf(event.state);
  if (keyboard.state == nullptr) return {native::Key::kNoCharacter, 0, modifiers};
  // The key as Shift, Lock and AltGr make it, Ctrl and Alt left out: with
  // them held the forms layer wants the key's own character. The event
  // carries the modifiers and the group that were in effect.
  const uint16_t typing = event.state & 0xFF & ~(XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1);
  xkb_state_update_mask(keyboard.state, typing, 0, 0, 0, 0, (event.state >> 13) & 3);
  const xkb_keysym_t symbol = xkb_state_key_get_one_sym(keyboard.state, event.detail);
  const char32_t character = xkb_state_key_get_utf32(keyboard.state, event.detail);
  return {desktop::KeyOf(symbol, character != 0), character, modifiers};
}

}  // namespace rt::x11
