// A picture box's image for a form drawn straight onto its X window: the
// image lives in a pixmap on the X server, so that moving the box costs one
// server-side copy and no pixels travel. Drawing happens in a client copy
// whose changed rows reach the pixmap before it is next copied from. Only
// the most recently drawn images keep their client copy; the others are
// brought back (from their one colour, or read from the server) when they
// are drawn into again.
#pragma once

#include <xcb/xcb.h>

#include <memory>
#include <optional>

#include "runtime/native.h"
#include "runtime/x11/x11_image.h"
#include "runtime/x11/x11_text_masks.h"

namespace rt::x11 {

class X11Surface : public native::Surface {
 public:
  X11Surface(std::shared_ptr<TextFont> font, xcb_connection_t* connection, xcb_window_t window,
             uint8_t depth, xcb_gcontext_t gc);
  ~X11Surface() override;
  X11Surface(const X11Surface&) = delete;
  X11Surface& operator=(const X11Surface&) = delete;

  void Resize(int width, int height, int32_t back_color) override;
  void Clear(int32_t back_color) override;
  int PrintLine(int y, const std::string& text, int32_t fore_color) override;

  // Copies part of the image (source in image pixels) to the window.
  void CopyTo(int source_x, int source_y, int width, int height, int target_x, int target_y) const;
  // The image as it stands, read from the server when the client copy has gone.
  Image Snapshot() const;

 private:
  void MarkChanged(int from_row, int to_row);
  void Upload() const;
  // The client copy is about to be drawn into: brings it back if needed and
  // makes it the most recent one.
  void Touch();
  void DropClientCopy();
  Image ReadBack() const;

  std::shared_ptr<TextFont> font_;
  xcb_connection_t* connection_;
  xcb_window_t window_;
  uint8_t depth_;
  xcb_gcontext_t gc_;
  xcb_pixmap_t pixmap_ = XCB_NONE;
  Image image_;
  // Rows changed since the last upload: [first, end).
  mutable int changed_first_ = 0;
  mutable int changed_end_ = 0;
  bool dropped_ = false;
  int width_ = 0;  // kept while the client copy is dropped
  int height_ = 0;
  std::optional<uint32_t> uniform_;  // the whole image's one colour, when it has one
};

}  // namespace rt::x11
