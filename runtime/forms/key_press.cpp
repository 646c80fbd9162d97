#include "runtime/forms/key_press.h"

namespace rt {
namespace {

bool IsLetter(char32_t c) { return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'); }

// Ctrl alone with a key that gives a character.
std::optional<char32_t> WithCtrl(char32_t c, bool shift) {
  // @, A..Z, [ \ ] ^ _ give 0..31, whichever of them Shift makes, and
  // so do their shifted partners { | } ~.
  if (IsLetter(c) || (c >= U'@' && c <= U'_')) return c & 0x1F;
  if (c >= U'{' && c <= U'~') return c & 0x1F;
  if (c == U' ') return shift ? 0 : c;
  // Systems that apply Ctrl themselves give the control code already.
  if (c < 0x20) return c;
  return std::nullopt;
}

}  // namespace

std::optional<char32_t> KeyPressCharacter(const native::KeyStroke& stroke) {
  const native::Modifiers& m = stroke.modifiers;
  // Alt posts WM_SYSCHAR; Ctrl + Alt makes nothing that the layout did not
  // already make (AltGr comes without them).
  if (m.alt) return std::nullopt;
  switch (stroke.key) {
    case native::Key::kNoCharacter:
    case native::Key::kDelete:
    case native::Key::kInsert:
      return std::nullopt;
    case native::Key::kEnter:
      if (!m.ctrl) return U'\r';
      return m.shift ? std::nullopt : std::optional<char32_t>(U'\n');
    case native::Key::kEscape:
      return 0x1B;
    case native::Key::kBackspace:
      return U'\b';
    case native::Key::kTab:
      return m.ctrl ? std::nullopt : std::optional<char32_t>(U'\t');
    case native::Key::kCharacter:
      break;
  }
  const char32_t c = stroke.character;
  if (m.ctrl) return WithCtrl(c, m.shift);
  // A control code from a key of no kind above is no character.
  if (c < 0x20 || c == 0x7F) return std::nullopt;
  return c;
}

}  // namespace rt
