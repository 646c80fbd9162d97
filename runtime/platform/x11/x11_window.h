// A form's window on bare X: an X window of its own (or the one an X
// screen-saver daemon hands over), drawn from its picture boxes' server
// images; its input becomes the forms layer's facts.
#pragma once

#include <xcb/xcb.h>

#include <functional>
#include <memory>

#include "runtime/forms/design.h"
#include "runtime/platform/native.h"
#include "runtime/platform/x11/x11_event_loop.h"
#include "runtime/platform/x11/x11_input.h"
#include "runtime/platform/x11/x11_xcb_window.h"

namespace rt::x11 {

class X11Window : public native::Window, public EventTarget {
 public:
  X11Window(const FormDesign& design, int client_width, int client_height,
            native::WindowEvents& events);
  ~X11Window() override;

  void SetVisible(bool visible) override;
  void FillScreen() override;
  void MoveTo(int x, int y) override { window_.MoveTo(x, y); }
  void TakeKeyboard() override { window_.TakeKeyboard(); }
  int OuterWidth() const override { return window_.width(); }
  int OuterHeight() const override { return window_.height(); }
  int ClientWidth() const override { return window_.width(); }
  int ClientHeight() const override { return window_.height(); }
  void Invalidate(const native::PixelRect& area) override;
  std::unique_ptr<native::Surface> CreateSurface(const FontDesign& font) override;
  // Forms with windowed controls are the toolkit backend's.
  std::unique_ptr<native::ControlPeer> CreateControl(const native::ControlLook& look,
                                                     const native::PixelRect& bounds,
                                                     native::ControlPeer* container,
                                                     native::ControlEvents& events) override;
  void OrderControls(const std::vector<native::FocusStop>&) override {}

  // Every event for the window comes here, input included.
  void HandleEvent(const xcb_generic_event_t& event) override;
  void ScreenResized() override { window_.ScreenResized(); }
  xcb_window_t id() const { return window_.id(); }

 private:
  void OnExpose(const xcb_expose_event_t& expose);
  void OnButtonPress(const xcb_button_press_event_t& press);

  native::WindowEvents& events_;
  XcbWindow window_;
};

// Whether a window of this run draws in the window an X screen-saver daemon
// handed over.
bool InGivenWindow();

}  // namespace rt::x11
