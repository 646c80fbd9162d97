#include "runtime/qt/x11_surface.h"

#include <algorithm>

namespace rt::qt {
namespace {

constexpr int kLargestSide = 32767;

}  // namespace

X11Surface::X11Surface(const FontDesign& font, xcb_connection_t* connection, xcb_window_t window,
                       uint8_t depth)
    : QtSurface(font), connection_(connection), window_(window), depth_(depth) {}

X11Surface::~X11Surface() {
  if (pixmap_ != XCB_NONE) xcb_free_pixmap(connection_, pixmap_);
}

void X11Surface::Resize(int width, int height, int32_t back_color) {
  const QSize before = image().size();
  QtSurface::Resize(width, height, back_color);
  if (image().size() == before) return;
  if (pixmap_ != XCB_NONE) xcb_free_pixmap(connection_, pixmap_);
  pixmap_ = XCB_NONE;
  changed_first_ = changed_end_ = 0;  // rows of the old size mean nothing now
  // X addresses pixels with 16-bit numbers: a larger image is not mirrored.
  if (image().isNull() || image().width() > kLargestSide || image().height() > kLargestSide) return;
  pixmap_ = xcb_generate_id(connection_);
  xcb_create_pixmap(connection_, depth_, pixmap_, window_, static_cast<uint16_t>(image().width()),
                    static_cast<uint16_t>(image().height()));
  MarkChanged(0, image().height());
}

void X11Surface::Clear(int32_t back_color) {
  QtSurface::Clear(back_color);
  MarkChanged(0, image().height());
}

int X11Surface::PrintLine(int y, const std::string& text, int32_t fore_color) {
  const int height = QtSurface::PrintLine(y, text, fore_color);
  if (!text.empty()) MarkChanged(y, y + height);
  return height;
}

void X11Surface::MarkChanged(int from_row, int to_row) {
  from_row = std::max(from_row, 0);
  to_row = std::min(to_row, image().height());
  if (from_row >= to_row) return;
  if (changed_first_ >= changed_end_) {
    changed_first_ = from_row;
    changed_end_ = to_row;
  } else {
    changed_first_ = std::min(changed_first_, from_row);
    changed_end_ = std::max(changed_end_, to_row);
  }
}

void X11Surface::Upload(xcb_gcontext_t gc) const {
  if (changed_first_ >= changed_end_ || pixmap_ == XCB_NONE) return;
  const QImage& source = image();
  const int row_bytes = static_cast<int>(source.bytesPerLine());
  // A request may hold only so many bytes; long images go in slices.
  const uint64_t request_bytes = uint64_t{xcb_get_maximum_request_length(connection_)} * 4;
  const int rows_per_request =
      std::max(1, static_cast<int>((request_bytes - 64) / static_cast<uint64_t>(row_bytes)));
  for (int row = changed_first_; row < changed_end_; row += rows_per_request) {
    const int rows = std::min(rows_per_request, changed_end_ - row);
    xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap_, gc,
                  static_cast<uint16_t>(source.width()), static_cast<uint16_t>(rows), 0,
                  static_cast<int16_t>(row), 0, depth_, static_cast<uint32_t>(rows * row_bytes),
                  source.constScanLine(row));
  }
  changed_first_ = changed_end_ = 0;
}

void X11Surface::CopyTo(xcb_gcontext_t gc, int source_x, int source_y, int width, int height,
                        int target_x, int target_y) const {
  Upload(gc);
  if (pixmap_ == XCB_NONE) return;
  xcb_copy_area(connection_, pixmap_, window_, gc, static_cast<int16_t>(source_x),
                static_cast<int16_t>(source_y), static_cast<int16_t>(target_x),
                static_cast<int16_t>(target_y), static_cast<uint16_t>(width),
                static_cast<uint16_t>(height));
}

}  // namespace rt::qt
