#include "runtime/platform/x11/x11_keyboard.h"

#include <xkbcommon/xkbcommon-x11.h>

// xcb's XKB header names a member `explicit`, a keyword of C++.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include "runtime/platform/desktop/xkb_keys.h"
#include "runtime/platform/x11/x11_input.h"

namespace rt::x11 {
namespace {

struct Keyboard {
  bool read = false;
  uint8_t xkb_events = 0;  // the extension's first event code; 0 without it
  xkb_context* context = nullptr;
  xkb_keymap* keymap = nullptr;
  xkb_state* state = nullptr;
};

Keyboard keyboard;

// The new map and layout of the core keyboard, and a new keyboard, are
// reported to us from the first reading on.
void WatchForChanges(xcb_connection_t* connection) {
  constexpr uint16_t kEvents =
      XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY;
  constexpr uint16_t kMapParts =
      XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS | XCB_XKB_MAP_PART_MODIFIER_MAP |
      XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS | XCB_XKB_MAP_PART_KEY_ACTIONS |
      XCB_XKB_MAP_PART_VIRTUAL_MODS | XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
  xcb_xkb_select_events(connection, XCB_XKB_ID_USE_CORE_KBD, kEvents, 0, kEvents, kMapParts,
                        kMapParts, nullptr);
}

void ReadKeyboard(xcb_connection_t* connection) {
  keyboard.read = true;
  xkb_state_unref(keyboard.state);
  xkb_keymap_unref(keyboard.keymap);
  keyboard.state = nullptr;
  keyboard.keymap = nullptr;
  if (keyboard.context == nullptr) {
    if (xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION,
                                    XKB_X11_MIN_MINOR_XKB_VERSION,
                                    XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr,
                                    &keyboard.xkb_events, nullptr) == 0)
      return;
    keyboard.context = xkb_context_new(XKB_CONTEXT_NO_DEFAULT_INCLUDES);
    if (keyboard.context == nullptr) return;
    WatchForChanges(connection);
  }
  const int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
  if (device < 0) return;
  keyboard.keymap = xkb_x11_keymap_new_from_device(keyboard.context, connection, device,
                                                   XKB_KEYMAP_COMPILE_NO_FLAGS);
  if (keyboard.keymap != nullptr) keyboard.state = xkb_state_new(keyboard.keymap);
}

}  // namespace

native::KeyStroke KeyStrokeOf(xcb_connection_t* connection, const xcb_key_press_event_t& event) {
  if (!keyboard.read) ReadKeyboard(connection);
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

bool TakeKeymapChange(const xcb_generic_event_t& event) {
  const uint8_t type = event.response_type & 0x7F;
  bool changed = false;
  if (type == XCB_MAPPING_NOTIFY) {
    changed =
        reinterpret_cast<const xcb_mapping_notify_event_t&>(event).request != XCB_MAPPING_POINTER;
  } else if (keyboard.xkb_events != 0 && type == keyboard.xkb_events) {
    // Every XKB event shares the one code and says its kind next.
    const uint8_t kind = reinterpret_cast<const uint8_t*>(&event)[1];
    changed = kind == XCB_XKB_NEW_KEYBOARD_NOTIFY || kind == XCB_XKB_MAP_NOTIFY;
  } else {
    return false;
  }
  if (changed) keyboard.read = false;
  return true;
}

}  // namespace rt::x11
