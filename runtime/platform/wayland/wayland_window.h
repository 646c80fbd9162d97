// A form's window on Wayland. Filling the screen, it is one surface per
// output, the outputs side by side in the form's pixels; otherwise one
// surface of the form's size where the compositor puts it.
#pragma once

#include <chrono>
#include <memory>
#include <vector>

#include "runtime/forms/design.h"
#include "runtime/platform/native.h"
#include "runtime/platform/wayland/wayland_output_view.h"

namespace rt::wayland {

// The largest output scale when the program started: glyphs are drawn at
// the pixels of the sharpest output. A window that does not fill the screen
// has this many form pixels per surface unit; one that does, its outputs'
// own scales.
int FormScale();
// The resolution that fonts are drawn at, the forms layer's too.
inline int FormDotsPerInch() { return 96 * FormScale(); }
// An output's place in form pixels (its own pixels), at the top-left corner.
native::PixelRect PlaceOf(const Output& output);

class WaylandWindow : public native::Window, public ViewHost {
 public:
  WaylandWindow(const FormDesign& design, int client_width, int client_height,
                native::WindowEvents& events);
  ~WaylandWindow() override;

  void SetVisible(bool visible) override;
  void FillScreen() override;
  // The compositor places the surfaces, and a layer surface has the keyboard.
  void MoveTo(int, int) override {}
  void TakeKeyboard() override {}
  int OuterWidth() const override { return width_; }
  int OuterHeight() const override { return height_; }
  int ClientWidth() const override { return width_; }
  int ClientHeight() const override { return height_; }
  void Invalidate(const native::PixelRect& area) override;
  std::unique_ptr<native::Surface> CreateSurface(const FontDesign& font) override;
  // Forms with windowed controls are the toolkit backend's.
  std::unique_ptr<native::ControlPeer> CreateControl(const native::ControlLook& look,
                                                     const native::PixelRect& bounds,
                                                     native::ControlPeer* container,
                                                     native::ControlEvents& events) override;
  void OrderControls(const std::vector<native::FocusStop>&) override {}

  void PaintInto(pixman_image_t* target, const pixman_region32_t& region, int origin_x,
                 int origin_y) const override;
  native::WindowEvents& events() override { return events_; }
  void ViewSized() override;

  // Every shown window sends what changed since its last frame; before the
  // program waits, hidden windows give up their surfaces.
  static void PresentAll(bool going_idle);
  // Whether every output that shows a window has owed us a frame since
  // before the time; false while nothing is shown.
  static bool UnseenSince(std::chrono::steady_clock::time_point time);

 private:
  static void OutputChanged(const Output& output, bool gone);
  void MakeViews();
  // Lays the outputs side by side; the form's size follows.
  void Layout();

  native::WindowEvents& events_;
  uint32_t back_pixel_;
  int width_;
  int height_;
  bool fills_screen_ = false;
  bool visible_ = false;
  std::vector<std::unique_ptr<OutputView>> views_;
};

}  // namespace rt::wayland
