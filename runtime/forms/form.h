// A form: a window created from its design when loaded, with event handlers
// that the program's forms override. Shown modeless and without an owner.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "runtime/forms/boxes_by_column.h"
#include "runtime/forms/design.h"
#include "runtime/forms/form_input.h"
#include "runtime/platform/native.h"

namespace rt {

class Control;
class PictureBox;
class WindowedControl;

enum MouseButton : int16_t { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

class Form {
 public:
  explicit Form(FormDesign design);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Loads the form if needed (its Load handler runs inside this call and an
  // error there passes to the caller), then shows it.
  void Show();
  // Runs the Unload handler, then destroys the window and its controls.
  void Unload();
  bool IsLoaded() const { return window_ != nullptr; }

  // Outer size in twips.
  float Width() const;
  float Height() const;
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  int32_t BackColor() const { return design_.back_color; }
  // 2 (maximized) fills the screen.
  void SetWindowState(int16_t state);

  // Whether a visible picture box covers the client-area pixel.
  bool OverBox(int x, int y) const;
  // Hands every visible picture box that meets the area to draw, bottom first.
  void ForEachBoxIn(
      const native::PixelRect& area,
      const std::function<void(const native::Surface&, const native::PixelRect&)>& draw) const;

  // Called by controls.
  void Attach(Control& control);
  void Detach(Control& control);
  void AttachBox(PictureBox& box);
  void DetachBox(PictureBox& box);
  // A box's columns changed: its left edge or its width.
  void BoxMovedSideways() { boxes_by_column_.MarkStale(); }
  void AttachWindowed(WindowedControl& control);
  void DetachWindowed(WindowedControl& control);
  const std::vector<WindowedControl*>& WindowedControls() const { return windowed_; }
  native::Window* window() const { return window_.get(); }
  void Invalidate(const native::PixelRect& area) const;

 protected:
  virtual void Form_Load() {}
  virtual void Form_Unload(int16_t& /*cancel*/) {}
  virtual void Form_Click() {}
  virtual void Form_DblClick() {}
  virtual void Form_KeyPress(int16_t& /*key_ascii*/) {}
  virtual void Form_MouseDown(int16_t /*button*/, int16_t /*shift*/, float /*x*/, float /*y*/) {}
  virtual void Form_MouseMove(int16_t /*button*/, int16_t /*shift*/, float /*x*/, float /*y*/) {}

 private:
  friend class FormInput;  // raises the events above

  FormDesign design_;
  FormInput input_{*this};
  std::unique_ptr<native::Window> window_;
  std::vector<Control*> controls_;
  std::vector<PictureBox*> boxes_;  // in z-order, bottom first
  mutable BoxesByColumn boxes_by_column_;
  std::vector<WindowedControl*> windowed_;
  native::ControlPeer* first_focus_ = nullptr;  // until the first showing
  bool visible_ = false;
};

// True while at least one form is loaded: the program runs that long.
bool AnyFormLoaded();
// Hides every loaded form: nothing of the program covers a last message.
void HideLoadedForms();

}  // namespace rt
