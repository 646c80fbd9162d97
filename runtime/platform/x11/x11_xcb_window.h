// A form's X window: a top-level window of our own, or the window that an
// X screen-saver daemon hands over in XSCREENSAVER_WINDOW. Ours covers the
// screen without a window manager's help (override-redirect) and takes the
// keyboard's focus once shown, never a grab, so that a locker can always
// grab it; a handed-over one is only drawn into: the daemon owns its input,
// its place and its life.
#pragma once

#include <xcb/xcb.h>

#include <memory>

#include "runtime/forms/design.h"
#include "runtime/platform/x11/x11_canvas.h"

namespace rt::x11 {

class XcbWindow {
 public:
  XcbWindow(const FormDesign& design, int client_width, int client_height);
  ~XcbWindow();
  XcbWindow(const XcbWindow&) = delete;
  XcbWindow& operator=(const XcbWindow&) = delete;

  xcb_window_t id() const { return window_; }
  bool handed_over() const { return handed_over_; }
  int width() const { return width_; }
  int height() const { return height_; }
  bool visible() const { return visible_; }
  X11Canvas& canvas() const { return *canvas_; }

  void SetVisible(bool visible);
  // Ours covers the screen, and keeps covering it as the screen's size
  // changes; a handed-over window keeps its own size.
  void FillScreen();
  // The screen has a new size.
  void ScreenResized();
  // The server reports the window's size.
  void Configured(int width, int height);
  void MoveTo(int x, int y);
  // The keyboard's focus, now if mapped, else once mapped.
  void TakeKeyboard();
  // The server reports the window on the screen.
  void Mapped();

 private:
  void CreateOwn(const FormDesign& design);
  void SetProperties(const FormDesign& design);
  void FocusKeyboard();

  xcb_connection_t* connection_;
  xcb_window_t window_ = XCB_NONE;
  xcb_colormap_t colormap_ = XCB_NONE;  // ours, for a visual other than the default
  bool handed_over_ = false;
  int width_;
  int height_;
  bool visible_ = false;
  bool mapped_ = false;
  bool wants_keyboard_ = false;
  bool fills_screen_ = false;
  std::unique_ptr<X11Canvas> canvas_;
};

}  // namespace rt::x11
