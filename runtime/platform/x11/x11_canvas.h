// Drawing a form of picture boxes straight onto its X window (the saver's
// full-screen form): a repaint fills what no box covers with the back colour
// and copies each box from its pixmap on the X server. No client-side
// backing store is filled or sent, so a falling column costs the program a
// few requests and the server one copy.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <memory>

#include "runtime/platform/desktop/text_masks.h"
#include "runtime/platform/native.h"
#include "runtime/platform/x11/x11_server_text.h"

namespace rt::x11 {

class X11Canvas {
 public:
  // Nothing unless the window's visual is TrueColor of depth 15, 16, 24 or
  // 30 and the server draws text; back_rgb is 0xRRGGBB.
  static std::unique_ptr<X11Canvas> For(xcb_connection_t* connection, xcb_window_t window,
                                        uint32_t back_rgb);
  X11Canvas(xcb_connection_t* connection, xcb_window_t window, uint8_t depth, uint32_t back_pixel,
            std::unique_ptr<ServerText> text);
  ~X11Canvas();
  X11Canvas(const X11Canvas&) = delete;
  X11Canvas& operator=(const X11Canvas&) = delete;

  // The back colour as a pixel of the window's visual.
  uint32_t back_pixel() const { return back_pixel_; }
  std::unique_ptr<native::Surface> CreateSurface(std::shared_ptr<desktop::TextFont> font) const;
  // Repaints the area (clipped to the window's size) at once.
  void Paint(const native::WindowEvents& form, const native::PixelRect& area, int width,
             int height);

 private:
  void Fill(int x, int y, int width, int height);

  xcb_connection_t* connection_;
  xcb_window_t window_;
  uint8_t depth_;
  uint32_t back_pixel_;
  xcb_gcontext_t gc_;
  std::unique_ptr<ServerText> text_;
};

}  // namespace rt::x11
