// How a form's window's raw input becomes the form's events, as Windows and
// the forms runtime make them:
// - Only the left, right and middle buttons count; any other does nothing.
// - A press captures the pointer until the last button is released: a press
//   on a picture box gives the form nothing until then; a press on the
//   background gives it MouseDown, then every move even over a box, and
//   Click when the release lands on the background too.
// - Without a capture, input over a visible picture box reaches no handler.
// - A second press of the same button soon after and near the first is a
//   double click: DblClick follows its MouseDown.
// - KeyPress arises only for strokes that give a character (key_press.h).
#pragma once

#include "runtime/forms/double_clicks.h"
#include "runtime/platform/native.h"

namespace rt {

class Form;

class FormInput : public native::WindowEvents {
 public:
  explicit FormInput(Form& form) : form_(form) {}
  // The form's window is gone: nothing is held any more.
  void Reset();

  void ButtonDown(native::PointerButton button, int x, int y, native::Modifiers modifiers,
                  uint32_t time) override;
  void ButtonUp(native::PointerButton button, int x, int y, native::Modifiers modifiers) override;
  void PointerMoved(int x, int y, native::Modifiers modifiers) override;
  void KeyDown(const native::KeyStroke& stroke) override;
  void CloseRequested() override;
  void WindowGone() override;
  void TerminationRequested() override;
  void ForEachBoxIn(const native::PixelRect& area,
                    const std::function<void(const native::Surface&, const native::PixelRect&)>&
                        draw) const override;

 private:
  enum class Capture { kNone, kBackground, kBox };

  bool OnBackground(int x, int y) const;

  Form& form_;
  Capture capture_ = Capture::kNone;
  int16_t held_ = 0;  // the counted buttons held, as MouseMove's button mask
  DoubleClicks double_clicks_;
};

}  // namespace rt
