#include "runtime/key_press.h"

namespace rt {
namespace {

bool IsLetter(char32_t c) { return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'); }

// Ctrl alone: a letter or one of [ \ ] gives its control code, Space itself.
char32_t WithCtrl(char32_t c) {
  if (IsLetter(c) || c == U'[' || c == U'\\' || c == U']') return c & 0x1F;
  if (c == U' ') return c;
  // Systems that apply Ctrl themselves give the control code already.
  if (c >= 1 && c <= 0x1F) return c;
  return 0;
}

}  // namespace

char32_t KeyPressCharacter(const native::KeyStroke& stroke) {
  const native::Modifiers& m = stroke.modifiers;
  if (m.alt && !m.ctrl) return 0;
  const bool ctrl_alone = m.ctrl && !m.alt;
  switch (stroke.key) {
    case native::Key::kNoCharacter:
    case native::Key::kDelete:
    case native::Key::kInsert:
      return 0;
    case native::Key::kEnter:
      return ctrl_alone ? U'\n' : U'\r';
    case native::Key::kEscape:
      return 0x1B;
    case native::Key::kBackspace:
      return ctrl_alone ? 0x7F : U'\b';
    case native::Key::kTab:
      return m.ctrl ? 0 : U'\t';
    case native::Key::kCharacter:
      break;
  }
  const char32_t c = stroke.character;
  if (ctrl_alone) return WithCtrl(c);
  // A control code from a key of no kind above is no character.
  return c < 0x20 || c == 0x7F ? 0 : c;
}

}  // namespace rt
