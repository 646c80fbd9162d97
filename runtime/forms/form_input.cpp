#include "runtime/forms/form_input.h"

#include "runtime/forms/backend_choice.h"
#include "runtime/forms/event_guard.h"
#include "runtime/forms/form.h"
#include "runtime/forms/key_press.h"
#include "runtime/forms/program.h"
#include "runtime/language/characters.h"
#include "runtime/language/utf8.h"

namespace rt {
namespace {

int16_t ButtonOf(native::PointerButton button) {
  switch (button) {
    case 1:
      return kLeftButton;
    case 2:
      return kMiddleButton;
    case 3:
      return kRightButton;
    default:
      return 0;
  }
}

int16_t ShiftOf(native::Modifiers m) {
  return static_cast<int16_t>((m.shift ? 1 : 0) | (m.ctrl ? 2 : 0) | (m.alt ? 4 : 0));
}

float TwipsX(int pixels) { return static_cast<float>(pixels) * Screen::TwipsPerPixelX(); }
float TwipsY(int pixels) { return static_cast<float>(pixels) * Screen::TwipsPerPixelY(); }

}  // namespace

void FormInput::Reset() {
  capture_ = Capture::kNone;
  held_ = 0;
}

bool FormInput::OnBackground(int x, int y) const {
  const native::Window* window = form_.window();
  return window != nullptr &&
         native::Contains({0, 0, window->ClientWidth(), window->ClientHeight()}, x, y) &&
         !form_.OverBox(x, y);
}

void FormInput::ButtonDown(native::PointerButton button, int x, int y, native::Modifiers modifiers,
                           uint32_t time) {
  const int16_t counted = ButtonOf(button);
  if (counted == 0) return;
  const bool double_click =
      double_clicks_.IsSecondPress(button, x, y, time, RunBackend().DoubleClickSetting());
  if (held_ == 0) capture_ = form_.OverBox(x, y) ? Capture::kBox : Capture::kBackground;
  held_ = static_cast<int16_t>(held_ | counted);
  if (capture_ != Capture::kBackground) return;
  RunGuarded([&] { form_.Form_MouseDown(counted, ShiftOf(modifiers), TwipsX(x), TwipsY(y)); });
  if (double_click && form_.IsLoaded()) RunGuarded([&] { form_.Form_DblClick(); });
}

void FormInput::ButtonUp(native::PointerButton button, int x, int y, native::Modifiers) {
  const int16_t counted = ButtonOf(button);
  if ((held_ & counted) == 0) return;
  held_ = static_cast<int16_t>(held_ & ~counted);
  const Capture released = capture_;
  if (held_ == 0) capture_ = Capture::kNone;
  if (released == Capture::kBackground && OnBackground(x, y)) {
    RunGuarded([&] { form_.Form_Click(); });
  }
}

void FormInput::PointerMoved(int x, int y, native::Modifiers modifiers) {
  if (capture_ == Capture::kBox) return;
  if (capture_ == Capture::kNone && form_.OverBox(x, y)) return;
  RunGuarded([&] { form_.Form_MouseMove(held_, ShiftOf(modifiers), TwipsX(x), TwipsY(y)); });
}

void FormInput::KeyDown(const native::KeyStroke& stroke) {
  const std::optional<char32_t> character = KeyPressCharacter(stroke);
  if (!character) return;
  auto key_ascii = static_cast<int16_t>(*character == 0 ? 0 : Asc(EncodeUtf8(*character)));
  RunGuarded([&] { form_.Form_KeyPress(key_ascii); });
}

// Nothing is left to show or to save: the program ends at once, as End does.
void FormInput::WindowGone() { End(); }

void FormInput::TerminationRequested() { End(); }

void FormInput::CloseRequested() {
  RunGuarded([&] { form_.Unload(); });
}

void FormInput::ForEachBoxIn(
    const native::PixelRect& area,
    const std::function<void(const native::Surface&, const native::PixelRect&)>& draw) const {
  form_.ForEachBoxIn(area, draw);
}

}  // namespace rt
