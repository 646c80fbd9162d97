// A picture box's image for a form drawn straight onto its X window. The
// image lives in a pixmap on the X server and is drawn there too (fills,
// and text as glyphs), so moving the box costs one server-side copy and no
// pixels travel between the program and the server.
#pragma once

#include <xcb/render.h>
#include <xcb/xcb.h>

#include <memory>

#include "runtime/platform/native.h"
#include "runtime/platform/x11/x11_image.h"
#include "runtime/platform/x11/x11_server_text.h"
#include "runtime/platform/x11/x11_text_masks.h"

namespace rt::x11 {

// What the images of one window share.
struct SurfaceContext {
  xcb_connection_t* connection;
  xcb_window_t window;
  uint8_t depth;
  xcb_gcontext_t gc;
  ServerText* text;
};

class X11Surface : public native::Surface {
 public:
  X11Surface(std::shared_ptr<TextFont> font, const SurfaceContext& context);
  ~X11Surface() override;
  X11Surface(const X11Surface&) = delete;
  X11Surface& operator=(const X11Surface&) = delete;

  void Resize(int width, int height, int32_t back_color) override;
  void Clear(int32_t back_color) override;
  int PrintLine(int y, const std::string& text, int32_t fore_color) override;

  // Copies part of the image (source in image pixels) to the window.
  void CopyTo(int source_x, int source_y, int width, int height, int target_x, int target_y) const;
  // The image as it stands, read from the server.
  Image Snapshot() const;

 private:
  void FreePixmap();

  std::shared_ptr<TextFont> font_;
  SurfaceContext context_;
  xcb_pixmap_t pixmap_ = XCB_NONE;  // none for an empty image or one too large for X
  xcb_render_picture_t picture_ = XCB_NONE;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace rt::x11
