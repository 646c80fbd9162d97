#include "runtime/platform/wayland/wayland_seat.h"

#include <sys/mman.h>
#include <unistd.h>
#include <xkbcommon/xkbcommon.h>

#include <unordered_map>
#include <vector>

#include "runtime/platform/desktop/xkb_keys.h"

namespace rt::wayland {
namespace {

// Linux input codes of the buttons (linux/input-event-codes.h).
constexpr uint32_t kButtonLeft = 0x110;
constexpr uint32_t kButtonRight = 0x111;
constexpr uint32_t kButtonMiddle = 0x112;
constexpr uint32_t kButtonSide = 0x113;
constexpr uint32_t kButtonExtra = 0x114;

std::unordered_map<wl_surface*, SurfaceInput*>& Targets() {
  static std::unordered_map<wl_surface*, SurfaceInput*> targets;
  return targets;
}

SurfaceInput* TargetOf(wl_surface* surface) {
  const auto found = Targets().find(surface);
  return found == Targets().end() ? nullptr : found->second;
}

native::PointerButton ButtonOf(uint32_t code) {
  switch (code) {
    case kButtonLeft:
      return 1;
    case kButtonMiddle:
      return 2;
    case kButtonRight:
      return 3;
    case kButtonSide:
      return 8;
    case kButtonExtra:
      return 9;
    default:
      return 10 + static_cast<int>(code - kButtonLeft);
  }
}

struct Keyboard {
  xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  xkb_keymap* keymap = nullptr;
  xkb_state* state = nullptr;   // as the modifiers are
  xkb_state* typing = nullptr;  // Ctrl and Alt left out: the key's own character
  xkb_mod_mask_t ctrl = 0;
  xkb_mod_mask_t alt = 0;
  wl_surface* focus = nullptr;
};

struct SeatState {
  explicit SeatState(wl_seat* given) : seat(given) {}
  wl_seat* seat;
  wl_keyboard* keyboard = nullptr;
  wl_pointer* pointer = nullptr;
  Keyboard keys;
  // In this batch of events: the surface of ours that the keyboard left and
  // that no surface of ours has taken it for since; and one that the
  // keyboard left and came back to.
  wl_surface* left = nullptr;
  wl_surface* left_and_given_back = nullptr;
  wl_surface* pointer_focus = nullptr;
  double x = 0;
  double y = 0;
};

std::vector<SeatState*>& Seats() {
  static std::vector<SeatState*> seats;
  return seats;
}

native::Modifiers ModifiersOf(const Keyboard& keys) {
  if (keys.state == nullptr) return {};
  const auto active = [&](const char* name) {
    return xkb_state_mod_name_is_active(keys.state, name, XKB_STATE_MODS_EFFECTIVE) > 0;
  };
  // Alt is Mod1, as on X; AltGr (Mod5) counts as neither.
  return {active(XKB_MOD_NAME_SHIFT), active(XKB_MOD_NAME_CTRL), active(XKB_MOD_NAME_ALT)};
}

void Keymap(void* data, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
  Keyboard& keys = static_cast<SeatState*>(data)->keys;
  if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && keys.context != nullptr) {
    void* text = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (text != MAP_FAILED) {
      xkb_keymap* keymap =
          xkb_keymap_new_from_string(keys.context, static_cast<const char*>(text),
                                     XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
      ::munmap(text, size);
      if (keymap != nullptr) {
        xkb_state_unref(keys.state);
        xkb_state_unref(keys.typing);
        xkb_keymap_unref(keys.keymap);
        keys.keymap = keymap;
        keys.state = xkb_state_new(keymap);
        keys.typing = xkb_state_new(keymap);
        keys.ctrl = 1u << xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_CTRL);
        keys.alt = 1u << xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_ALT);
      }
    }
  }
  ::close(fd);
}

// The keyboard moving from one surface of ours to another is no loss. sway
// 1.7 taking it from a surface for a locker's input inhibitor and giving it
// back to that very surface (its layer focus ignores the inhibitor) is, even
// when it moves on to another surface of ours in the same batch.
void KeyboardEnter(void* data, wl_keyboard*, uint32_t, wl_surface* surface, wl_array*) {
  auto* seat = static_cast<SeatState*>(data);
  seat->keys.focus = surface;
  if (TargetOf(surface) == nullptr) return;
  if (surface == seat->left) seat->left_and_given_back = surface;
  seat->left = nullptr;
}

void KeyboardLeave(void* data, wl_keyboard*, uint32_t, wl_surface* surface) {
  auto* seat = static_cast<SeatState*>(data);
  seat->keys.focus = nullptr;
  if (TargetOf(surface) != nullptr) seat->left = surface;
}

void Key(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
  const Keyboard& keys = static_cast<SeatState*>(data)->keys;
  SurfaceInput* target = TargetOf(keys.focus);
  if (state != WL_KEYBOARD_KEY_STATE_PRESSED || target == nullptr) return;
  const native::Modifiers modifiers = ModifiersOf(keys);
  if (keys.typing == nullptr) return target->KeyDown({native::Key::kNoCharacter, 0, modifiers});
  const xkb_keycode_t code = key + 8;  // XKB counts from 8, as X does
  const xkb_keysym_t symbol = xkb_state_key_get_one_sym(keys.typing, code);
  const char32_t character = xkb_state_key_get_utf32(keys.typing, code);
  target->KeyDown({desktop::KeyOf(symbol, character != 0), character, modifiers});
}

void KeyModifiers(void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched,
                  uint32_t locked, uint32_t group) {
  Keyboard& keys = static_cast<SeatState*>(data)->keys;
  if (keys.state == nullptr) return;
  xkb_state_update_mask(keys.state, depressed, latched, locked, 0, 0, group);
  const xkb_mod_mask_t typing = ~(keys.ctrl | keys.alt);
  xkb_state_update_mask(keys.typing, depressed & typing, latched & typing, locked, 0, 0, group);
}

void RepeatInfo(void*, wl_keyboard*, int32_t, int32_t) {}

void PointerEnter(void* data, wl_pointer* pointer, uint32_t serial, wl_surface* surface,
                  wl_fixed_t x, wl_fixed_t y) {
  auto* seat = static_cast<SeatState*>(data);
  // A screen saver shows no pointer.
  if (TargetOf(surface) != nullptr) wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
  seat->pointer_focus = surface;
  seat->x = wl_fixed_to_double(x);
  seat->y = wl_fixed_to_double(y);
  if (SurfaceInput* target = TargetOf(surface))
    target->PointerMoved(seat->x, seat->y, ModifiersOf(seat->keys));
}

void PointerLeave(void* data, wl_pointer*, uint32_t, wl_surface*) {
  static_cast<SeatState*>(data)->pointer_focus = nullptr;
}

void Motion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
  auto* seat = static_cast<SeatState*>(data);
  seat->x = wl_fixed_to_double(x);
  seat->y = wl_fixed_to_double(y);
  if (SurfaceInput* target = TargetOf(seat->pointer_focus))
    target->PointerMoved(seat->x, seat->y, ModifiersOf(seat->keys));
}

void Button(void* data, wl_pointer*, uint32_t, uint32_t time, uint32_t code, uint32_t state) {
  auto* seat = static_cast<SeatState*>(data);
  SurfaceInput* target = TargetOf(seat->pointer_focus);
  if (target == nullptr) return;
  const native::PointerButton button = ButtonOf(code);
  if (state == WL_POINTER_BUTTON_STATE_PRESSED) {
    target->ButtonDown(button, seat->x, seat->y, ModifiersOf(seat->keys), time);
  } else {
    target->ButtonUp(button, seat->x, seat->y, ModifiersOf(seat->keys));
  }
}

// The wheel scrolls rather than presses, as the X backend has it.
void Axis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
void Frame(void*, wl_pointer*) {}
void AxisSource(void*, wl_pointer*, uint32_t) {}
void AxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void AxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}

void ReleaseKeyboard(wl_keyboard* keyboard) {
  if (wl_keyboard_get_version(keyboard) >= WL_KEYBOARD_RELEASE_SINCE_VERSION) {
    wl_keyboard_release(keyboard);
  } else {
    wl_keyboard_destroy(keyboard);
  }
}

void ReleasePointer(wl_pointer* pointer) {
  if (wl_pointer_get_version(pointer) >= WL_POINTER_RELEASE_SINCE_VERSION) {
    wl_pointer_release(pointer);
  } else {
    wl_pointer_destroy(pointer);
  }
}

// Devices come and go (a Bluetooth keyboard, a KVM switch, a dock): each is
// bound when the seat gains it and released when it loses it.
void Capabilities(void* data, wl_seat* wl_seat, uint32_t capabilities) {
  static const wl_keyboard_listener keyboard_listener = {Keymap, KeyboardEnter, KeyboardLeave,
                                                         Key,    KeyModifiers,  RepeatInfo};
  static const wl_pointer_listener pointer_listener = {
      PointerEnter, PointerLeave, Motion,   Button,       Axis,
      Frame,        AxisSource,   AxisStop, AxisDiscrete, nullptr};
  auto* seat = static_cast<SeatState*>(data);
  const bool keyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
  if (keyboard && seat->keyboard == nullptr) {
    seat->keyboard = wl_seat_get_keyboard(wl_seat);
    wl_keyboard_add_listener(seat->keyboard, &keyboard_listener, seat);
  } else if (!keyboard && seat->keyboard != nullptr) {
    // The last keyboard was unplugged: the compositor took the focus with
    // it, which is no loss to a lock.
    ReleaseKeyboard(seat->keyboard);
    seat->keyboard = nullptr;
    seat->keys.focus = seat->left = seat->left_and_given_back = nullptr;
  }
  const bool pointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
  if (pointer && seat->pointer == nullptr) {
    seat->pointer = wl_seat_get_pointer(wl_seat);
    wl_pointer_add_listener(seat->pointer, &pointer_listener, seat);
  } else if (!pointer && seat->pointer != nullptr) {
    ReleasePointer(seat->pointer);
    seat->pointer = nullptr;
    seat->pointer_focus = nullptr;
  }
}

void Name(void*, wl_seat*, const char*) {}

}  // namespace

void AddSeat(wl_seat* seat) {
  static const wl_seat_listener listener = {Capabilities, Name};
  // Seats live as long as the process.
  Seats().push_back(new SeatState(seat));
  wl_seat_add_listener(seat, &listener, Seats().back());
}

void ReportKeyboardTaken() {
  for (SeatState* seat : Seats()) {
    wl_surface* lost =
        seat->left_and_given_back != nullptr ? seat->left_and_given_back : seat->left;
    seat->left = seat->left_and_given_back = nullptr;
    if (lost == nullptr) continue;
    SurfaceInput* target = TargetOf(lost);
    if (target != nullptr) target->KeyboardTaken();
  }
}

bool KeyboardHeldElsewhere() {
  for (const SeatState* seat : Seats()) {
    if (seat->keyboard != nullptr && TargetOf(seat->keys.focus) == nullptr) return true;
  }
  return false;
}

void WatchInput(wl_surface* surface, SurfaceInput* target) { Targets()[surface] = target; }

void UnwatchInput(wl_surface* surface) {
  Targets().erase(surface);
  for (SeatState* seat : Seats()) {
    if (seat->left == surface) seat->left = nullptr;
    if (seat->left_and_given_back == surface) seat->left_and_given_back = nullptr;
  }
}

}  // namespace rt::wayland
