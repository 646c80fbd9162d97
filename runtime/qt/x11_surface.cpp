#include "runtime/qt/x11_surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <list>

#include "runtime/qt/qt_color.h"

namespace rt::qt {
namespace {

constexpr int kLargestSide = 32767;

// A column is drawn line by line and then only moved: a handful of client
// copies covers the ones being drawn, while the row's hundreds of images
// stay on the server alone.
constexpr size_t kClientCopies = 4;

// Surfaces with a client copy, the most recently drawn last.
std::list<X11Surface*>& WithClientCopies() {
  static std::list<X11Surface*> surfaces;
  return surfaces;
}

}  // namespace

X11Surface::X11Surface(const FontDesign& font, xcb_connection_t* connection, xcb_window_t window,
                       uint8_t depth, xcb_gcontext_t gc)
    : QtSurface(font), connection_(connection), window_(window), depth_(depth), gc_(gc) {
  WithClientCopies().push_back(this);
}

X11Surface::~X11Surface() {
  WithClientCopies().remove(this);
  if (pixmap_ != XCB_NONE) xcb_free_pixmap(connection_, pixmap_);
}

void X11Surface::Resize(int width, int height, int32_t back_color) {
  Touch();
  const QSize before = image().size();
  QtSurface::Resize(width, height, back_color);
  size_ = image().size();
  if (size_ == before) return;
  if (uniform_ != ToQColor(back_color).rgb()) uniform_.reset();
  if (pixmap_ != XCB_NONE) xcb_free_pixmap(connection_, pixmap_);
  pixmap_ = XCB_NONE;
  changed_first_ = changed_end_ = 0;  // rows of the old size mean nothing now
  // X addresses pixels with 16-bit numbers: a larger image is not mirrored.
  if (image().isNull() || size_.width() > kLargestSide || size_.height() > kLargestSide) return;
  pixmap_ = xcb_generate_id(connection_);
  xcb_create_pixmap(connection_, depth_, pixmap_, window_, static_cast<uint16_t>(size_.width()),
                    static_cast<uint16_t>(size_.height()));
  MarkChanged(0, size_.height());
}

void X11Surface::Clear(int32_t back_color) {
  uniform_ = ToQColor(back_color).rgb();
  Touch();  // a dropped copy comes back in that colour, unread
  QtSurface::Clear(back_color);
  MarkChanged(0, size_.height());
}

int X11Surface::PrintLine(int y, const std::string& text, int32_t fore_color) {
  if (!text.empty()) {
    Touch();
    uniform_.reset();
  }
  const int height = QtSurface::PrintLine(y, text, fore_color);
  if (!text.empty()) MarkChanged(y, y + height);
  return height;
}

void X11Surface::MarkChanged(int from_row, int to_row) {
  from_row = std::max(from_row, 0);
  to_row = std::min(to_row, size_.height());
  if (from_row >= to_row) return;
  if (changed_first_ >= changed_end_) {
    changed_first_ = from_row;
    changed_end_ = to_row;
  } else {
    changed_first_ = std::min(changed_first_, from_row);
    changed_end_ = std::max(changed_end_, to_row);
  }
}

void X11Surface::Upload() const {
  if (changed_first_ >= changed_end_ || pixmap_ == XCB_NONE) return;
  const QImage& source = image();
  const int row_bytes = static_cast<int>(source.bytesPerLine());
  // A request may hold only so many bytes; long images go in slices.
  const uint64_t request_bytes = uint64_t{xcb_get_maximum_request_length(connection_)} * 4;
  const int rows_per_request =
      std::max(1, static_cast<int>((request_bytes - 64) / static_cast<uint64_t>(row_bytes)));
  for (int row = changed_first_; row < changed_end_; row += rows_per_request) {
    const int rows = std::min(rows_per_request, changed_end_ - row);
    xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap_, gc_,
                  static_cast<uint16_t>(source.width()), static_cast<uint16_t>(rows), 0,
                  static_cast<int16_t>(row), 0, depth_, static_cast<uint32_t>(rows * row_bytes),
                  source.constScanLine(row));
  }
  changed_first_ = changed_end_ = 0;
}

void X11Surface::CopyTo(int source_x, int source_y, int width, int height, int target_x,
                        int target_y) const {
  Upload();
  if (pixmap_ == XCB_NONE) return;
  xcb_copy_area(connection_, pixmap_, window_, gc_, static_cast<int16_t>(source_x),
                static_cast<int16_t>(source_y), static_cast<int16_t>(target_x),
                static_cast<int16_t>(target_y), static_cast<uint16_t>(width),
                static_cast<uint16_t>(height));
}

void X11Surface::Touch() {
  std::list<X11Surface*>& recent = WithClientCopies();
  if (dropped_) {
    if (uniform_) {
      QImage copy(size_, QImage::Format_RGB32);
      copy.fill(*uniform_);
      ReplaceImage(std::move(copy));
    } else {
      ReadBack();
    }
    dropped_ = false;
  }
  recent.remove(this);
  recent.push_back(this);
  // The oldest go first; one without a pixmap to stand in for it (too
  // large for X) keeps its copy.
  for (auto it = recent.begin(); recent.size() > kClientCopies && *it != this;) {
    if ((*it)->pixmap_ == XCB_NONE) {
      ++it;
      continue;
    }
    X11Surface* oldest = *it;
    it = recent.erase(it);
    oldest->DropClientCopy();
  }
}

void X11Surface::DropClientCopy() {
  Upload();
  ReplaceImage(QImage());
  dropped_ = true;
}

void X11Surface::ReadBack() {
  QImage copy(size_, QImage::Format_RGB32);
  copy.fill(Qt::black);
  xcb_get_image_reply_t* reply =
      xcb_get_image_reply(connection_,
                          xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap_, 0, 0,
                                        static_cast<uint16_t>(size_.width()),
                                        static_cast<uint16_t>(size_.height()), ~0u),
                          nullptr);
  const auto row_bytes = static_cast<size_t>(copy.bytesPerLine());
  if (reply != nullptr &&
      static_cast<size_t>(xcb_get_image_data_length(reply)) >= row_bytes * size_.height()) {
    const uint8_t* data = xcb_get_image_data(reply);
    for (int row = 0; row < size_.height(); ++row) {
      std::memcpy(copy.scanLine(row), data + row * row_bytes, row_bytes);
    }
  }
  std::free(reply);
  ReplaceImage(std::move(copy));
}

}  // namespace rt::qt
