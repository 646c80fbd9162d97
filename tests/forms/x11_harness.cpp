// The bare X backend under the suite: a virtual display of its own, and
// input sent through the X server to the form's window, then taken in by
// the backend's event loop.
#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon-x11.h>

#include <cstdlib>

#include "runtime/platform/x11/x11_connection.h"
#include "runtime/platform/x11/x11_event_loop.h"
#include "runtime/platform/x11/x11_surface.h"
#include "runtime/platform/x11/x11_window.h"
#include "tests/e2e/harness.h"
#include "tests/forms/backend_harness.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
// A key the default keyboard leaves without symbols: it types half-width
// katakana ｱ, which no US layout has.
constexpr xcb_keycode_t kKatakanaKey = 252;

void GiveKeyASymbol(const std::string& display, xcb_keycode_t key, xcb_keysym_t symbol) {
  xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
  xcb_change_keyboard_mapping(connection, 1, key, 1, &symbol);
  std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
  xcb_disconnect(connection);
}

// The suite runs on a virtual display of its own, there before any form.
struct OwnDisplay {
  OwnDisplay() : display(kWidth, kHeight) {
    ::setenv("DISPLAY", display.name().c_str(), 1);
    ::unsetenv("WAYLAND_DISPLAY");  // the X backend, even from a Wayland session
    GiveKeyASymbol(display.name(), kKatakanaKey, xkb_utf32_to_keysym(U'\uFF71'));
  }
  VirtualDisplay display;
};
const OwnDisplay own_display;

// Sends the event to the form's window as the server would deliver it, and
// lets the backend handle it.
template <class Event>
void Deliver(const rt::Form& form, Event event, uint32_t mask) {
  static_assert(sizeof(Event) == 32, "an X event is 32 bytes");
  const auto& window = static_cast<const rt::x11::X11Window&>(*form.window());
  event.event = window.id();
  rt::x11::X11Connection& x = rt::x11::X11Connection::Get();
  xcb_send_event(x.xcb(), 0, window.id(), mask, reinterpret_cast<const char*>(&event));
  x.Sync();  // the event is queued before the reply
  Pump();
}

// The time of the last press, for the events that follow it.
xcb_timestamp_t now = 0;

uint16_t StateOf(rt::native::Modifiers m) {
  return static_cast<uint16_t>((m.shift ? XCB_MOD_MASK_SHIFT : 0) |
                               (m.ctrl ? XCB_MOD_MASK_CONTROL : 0) | (m.alt ? XCB_MOD_MASK_1 : 0));
}

void SendButton(const rt::Form& form, uint8_t type, int button, int x, int y) {
  xcb_button_press_event_t event{};
  event.response_type = type;
  event.detail = static_cast<xcb_button_t>(button);
  event.time = now;
  event.event_x = static_cast<int16_t>(x);
  event.event_y = static_cast<int16_t>(y);
  Deliver(form, event,
          type == XCB_BUTTON_PRESS ? XCB_EVENT_MASK_BUTTON_PRESS : XCB_EVENT_MASK_BUTTON_RELEASE);
}

xkb_keysym_t SymbolOf(const rt::native::KeyStroke& stroke) {
  switch (stroke.key) {
    case rt::native::Key::kEnter:
      return XKB_KEY_Return;
    case rt::native::Key::kEscape:
      return XKB_KEY_Escape;
    case rt::native::Key::kBackspace:
      return XKB_KEY_BackSpace;
    case rt::native::Key::kTab:
      return XKB_KEY_Tab;
    case rt::native::Key::kDelete:
      return XKB_KEY_Delete;
    case rt::native::Key::kInsert:
      return XKB_KEY_Insert;
    case rt::native::Key::kNoCharacter:
      return XKB_KEY_F5;
    case rt::native::Key::kCharacter:
      break;
  }
  const char32_t c = stroke.character;
  if (c >= 1 && c <= 26) return XKB_KEY_a + (c - 1);  // a control code is Ctrl on a letter
  if (c == 0x7F) return XKB_KEY_Delete;
  return xkb_utf32_to_keysym(c);
}

struct KeyOnKeyboard {
  xcb_keycode_t code = 0;
  bool shifted = false;
};

// Where the keyboard has the symbol, at the first or the Shift level.
KeyOnKeyboard Find(xkb_keysym_t wanted) {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION,
                              XKB_X11_MIN_MINOR_XKB_VERSION, XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS,
                              nullptr, nullptr, nullptr, nullptr);
  xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_DEFAULT_INCLUDES);
  xkb_keymap* keymap = xkb_x11_keymap_new_from_device(
      context, connection, xkb_x11_get_core_keyboard_device_id(connection),
      XKB_KEYMAP_COMPILE_NO_FLAGS);
  KeyOnKeyboard found;
  for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap);
       found.code == 0 && code <= xkb_keymap_max_keycode(keymap); ++code) {
    for (xkb_level_index_t level = 0; level < 2 && found.code == 0; ++level) {
      const xkb_keysym_t* symbols = nullptr;
      const int count = xkb_keymap_key_get_syms_by_level(keymap, code, 0, level, &symbols);
      if (count == 1 && symbols[0] == wanted)
        found = {static_cast<xcb_keycode_t>(code), level == 1};
    }
  }
  xkb_keymap_unref(keymap);
  xkb_context_unref(context);
  xcb_disconnect(connection);
  return found;
}

}  // namespace

ScreenPixels ScreenSize() { return {kWidth, kHeight}; }

void Pump() { rt::x11::ProcessPending(); }

bool HasInk(const rt::native::Surface& surface) {
  const rt::x11::Image image = static_cast<const rt::x11::X11Surface&>(surface).Snapshot();
  for (const uint32_t pixel : image.pixels) {
    if ((pixel & 0xFFFFFF) != 0) return true;
  }
  return false;
}

bool HoldsWindowedControls() { return false; }

bool InjectsInput() { return true; }

void Press(const rt::Form& form, int button, int x, int y, bool double_click) {
  now = NextPressTime(double_click);
  SendButton(form, XCB_BUTTON_PRESS, button, x, y);
}

void Release(const rt::Form& form, int button, int x, int y) {
  now += 10;
  SendButton(form, XCB_BUTTON_RELEASE, button, x, y);
}

void Move(const rt::Form& form, int x, int y) {
  xcb_motion_notify_event_t event{};
  event.response_type = XCB_MOTION_NOTIFY;
  event.time = now;
  event.event_x = static_cast<int16_t>(x);
  event.event_y = static_cast<int16_t>(y);
  Deliver(form, event, XCB_EVENT_MASK_POINTER_MOTION);
}

void Type(const rt::Form& form, const rt::native::KeyStroke& stroke) {
  const KeyOnKeyboard key = Find(SymbolOf(stroke));
  ASSERT_NE(key.code, 0) << "no key types U+" << std::hex << static_cast<int>(stroke.character);
  xcb_key_press_event_t event{};
  event.response_type = XCB_KEY_PRESS;
  event.detail = key.code;
  event.time = now;
  event.state =
      static_cast<uint16_t>(StateOf(stroke.modifiers) | (key.shifted ? XCB_MOD_MASK_SHIFT : 0));
  Deliver(form, event, XCB_EVENT_MASK_KEY_PRESS);
}

void Arrow(const rt::WindowedControl&, int) { ADD_FAILURE() << "no windowed controls on bare X"; }

bool Focused(const rt::WindowedControl&) {
  ADD_FAILURE() << "no windowed controls on bare X";
  return false;
}

std::string AccessibleName(const rt::WindowedControl&) {
  ADD_FAILURE() << "no windowed controls on bare X";
  return {};
}
