#include "runtime/platform/desktop/xkb_keys.h"

#include <xkbcommon/xkbcommon-keysyms.h>

namespace rt::desktop {

native::Key KeyOf(xkb_keysym_t symbol, bool gives_character) {
  switch (symbol) {
    case XKB_KEY_Delete:
    case XKB_KEY_KP_Delete:
      return native::Key::kDelete;
    case XKB_KEY_Insert:
    case XKB_KEY_KP_Insert:
      return native::Key::kInsert;
    case XKB_KEY_Return:
    case XKB_KEY_KP_Enter:
      return native::Key::kEnter;
    case XKB_KEY_Escape:
      return native::Key::kEscape;
    case XKB_KEY_BackSpace:
      return native::Key::kBackspace;
    case XKB_KEY_Tab:
    case XKB_KEY_ISO_Left_Tab:
      return native::Key::kTab;
    default:
      return gives_character ? native::Key::kCharacter : native::Key::kNoCharacter;
  }
}

}  // namespace rt::desktop
