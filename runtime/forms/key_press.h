// Which key strokes raise KeyPress and with what code: exactly those for
// which Windows (US layout) posts WM_CHAR. Printable characters, Space,
// Enter, Escape, Backspace and Tab do, and Ctrl with a letter or one of
// @ [ \ ] ^ _ { | } ~ gives its control code; Delete, Insert, arrows,
// function keys, Alt with a key (WM_SYSCHAR) and Ctrl with a digit do not.
#pragma once

#include <optional>

#include "runtime/platform/native.h"

namespace rt {

// The character the stroke gives to KeyPress (0 is a character: Ctrl+@),
// or nothing.
std::optional<char32_t> KeyPressCharacter(const native::KeyStroke& stroke);

}  // namespace rt
