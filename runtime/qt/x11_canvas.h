// Drawing a form of picture boxes straight onto its X window (the saver's
// full-screen form): a repaint fills what no box covers with the back colour
// and copies each box from its pixmap on the X server. No client-side
// backing store is filled or sent, so a falling column costs the program a
// few requests and the server one copy.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <memory>

#include "runtime/native.h"

class QWidget;

namespace rt {
struct FontDesign;
}  // namespace rt

namespace rt::qt {

class X11Canvas {
 public:
  // Nothing unless the program runs on an X server that lays pixels out as
  // Qt's 32-bit images do. Creates the widget's window.
  static std::unique_ptr<X11Canvas> For(QWidget& widget, uint32_t back_pixel);
  X11Canvas(xcb_connection_t* connection, xcb_window_t window, uint8_t depth, uint32_t back_pixel);
  ~X11Canvas();
  X11Canvas(const X11Canvas&) = delete;
  X11Canvas& operator=(const X11Canvas&) = delete;

  std::unique_ptr<native::Surface> CreateSurface(const FontDesign& font) const;
  // Repaints the area (clipped to the window's size) at once.
  void Paint(const native::WindowEvents& form, const native::PixelRect& area, int width,
             int height);

 private:
  void Fill(int x, int y, int width, int height);

  xcb_connection_t* connection_;
  xcb_window_t window_;
  uint8_t depth_;
  xcb_gcontext_t gc_;
};

}  // namespace rt::qt
