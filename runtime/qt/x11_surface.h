// A picture box's image for a form drawn straight onto its X window: the
// image is kept as on every platform and mirrored into a pixmap on the X
// server, so that moving the box costs one server-side copy and no pixels
// travel. Changed rows reach the pixmap before it is next copied from.
#pragma once

#include <xcb/xcb.h>

#include "runtime/qt/qt_surface.h"

namespace rt::qt {

class X11Surface : public QtSurface {
 public:
  X11Surface(const FontDesign& font, xcb_connection_t* connection, xcb_window_t window,
             uint8_t depth);
  ~X11Surface() override;
  X11Surface(const X11Surface&) = delete;
  X11Surface& operator=(const X11Surface&) = delete;

  void Resize(int width, int height, int32_t back_color) override;
  void Clear(int32_t back_color) override;
  int PrintLine(int y, const std::string& text, int32_t fore_color) override;

  // Copies part of the image (source in image pixels) to the window.
  void CopyTo(xcb_gcontext_t gc, int source_x, int source_y, int width, int height, int target_x,
              int target_y) const;

 private:
  void MarkChanged(int from_row, int to_row);
  void Upload(xcb_gcontext_t gc) const;

  xcb_connection_t* connection_;
  xcb_window_t window_;
  uint8_t depth_;
  xcb_pixmap_t pixmap_ = XCB_NONE;
  // Rows changed since the last upload: [first, end).
  mutable int changed_first_ = 0;
  mutable int changed_end_ = 0;
};

}  // namespace rt::qt
