// Which key strokes raise KeyPress and with what code: exactly those for
// which Windows posts WM_CHAR. Printable characters, Space, Enter, Escape,
// Backspace and Tab do, and Ctrl with a letter gives its control code;
// Delete, Insert, arrows, function keys and Alt with a key do not (Alt gives
// WM_SYSCHAR). AltGr, being Ctrl + Alt, gives its character.
#pragma once

#include "runtime/native.h"

namespace rt {

// The character the stroke gives to KeyPress, or 0 for none.
char32_t KeyPressCharacter(const native::KeyStroke& stroke);

}  // namespace rt
