#include "runtime/x11/x11_surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <list>

#include "runtime/x11/x11_color.h"

namespace rt::x11 {
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

X11Surface::X11Surface(std::shared_ptr<TextFont> font, xcb_connection_t* connection,
                       xcb_window_t window, uint8_t depth, xcb_gcontext_t gc)
    : font_(std::move(font)), connection_(connection), window_(window), depth_(depth), gc_(gc) {
  WithClientCopies().push_back(this);
}

X11Surface::~X11Surface() {
  WithClientCopies().remove(this);
  if (pixmap_ != XCB_NONE) xcb_free_pixmap(connection_, pixmap_);
}

void X11Surface::Resize(int width, int height, int32_t back_color) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  Touch();
  Image resized(width, height, PixelOf(back_color));
  const int rows = std::min(height, image_.height);
  const int columns = std::min(width, image_.width);
  for (int y = 0; y < rows; ++y) std::copy_n(image_.Row(y), columns, resized.Row(y));
  image_ = std::move(resized);
  width_ = width;
  height_ = height;
  if (uniform_ != PixelOf(back_color)) uniform_.reset();
  if (pixmap_ != XCB_NONE) xcb_free_pixmap(connection_, pixmap_);
  pixmap_ = XCB_NONE;
  changed_first_ = changed_end_ = 0;  // rows of the old size mean nothing now
  // X addresses pixels with 16-bit numbers: a larger image is not mirrored.
  if (image_.empty() || width_ > kLargestSide || height_ > kLargestSide) return;
  pixmap_ = xcb_generate_id(connection_);
  xcb_create_pixmap(connection_, depth_, pixmap_, window_, static_cast<uint16_t>(width_),
                    static_cast<uint16_t>(height_));
  MarkChanged(0, height_);
}

void X11Surface::Clear(int32_t back_color) {
  uniform_ = PixelOf(back_color);
  Touch();  // a dropped copy comes back in that colour, unread
  std::fill(image_.pixels.begin(), image_.pixels.end(), *uniform_);
  MarkChanged(0, height_);
}

int X11Surface::PrintLine(int y, const std::string& text, int32_t fore_color) {
  if (!text.empty()) {
    Touch();
    uniform_.reset();
    if (!image_.empty()) BlendMask(image_, font_->MaskFor(text), 0, y, PixelOf(fore_color));
  }
  const int height = font_->LineHeight();
  if (!text.empty()) MarkChanged(y, y + height);
  return height;
}

void X11Surface::MarkChanged(int from_row, int to_row) {
  from_row = std::max(from_row, 0);
  to_row = std::min(to_row, height_);
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
  const int row_bytes = image_.RowBytes();
  // A request may hold only so many bytes; long images go in slices.
  const uint64_t request_bytes = uint64_t{xcb_get_maximum_request_length(connection_)} * 4;
  const int rows_per_request =
      std::max(1, static_cast<int>((request_bytes - 64) / static_cast<uint64_t>(row_bytes)));
  for (int row = changed_first_; row < changed_end_; row += rows_per_request) {
    const int rows = std::min(rows_per_request, changed_end_ - row);
    xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap_, gc_,
                  static_cast<uint16_t>(image_.width), static_cast<uint16_t>(rows), 0,
                  static_cast<int16_t>(row), 0, depth_, static_cast<uint32_t>(rows * row_bytes),
                  reinterpret_cast<const uint8_t*>(image_.Row(row)));
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

Image X11Surface::Snapshot() const {
  if (!dropped_) return image_;
  if (uniform_) return Image(width_, height_, *uniform_);
  return ReadBack();
}

void X11Surface::Touch() {
  std::list<X11Surface*>& recent = WithClientCopies();
  if (dropped_) {
    image_ = uniform_ ? Image(width_, height_, *uniform_) : ReadBack();
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
  image_ = Image();
  dropped_ = true;
}

Image X11Surface::ReadBack() const {
  Image copy(width_, height_, 0);
  if (pixmap_ == XCB_NONE) return copy;
  xcb_get_image_reply_t* reply = xcb_get_image_reply(
      connection_,
      xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap_, 0, 0,
                    static_cast<uint16_t>(width_), static_cast<uint16_t>(height_), ~0u),
      nullptr);
  const auto bytes = static_cast<size_t>(copy.RowBytes()) * static_cast<size_t>(height_);
  if (reply != nullptr && static_cast<size_t>(xcb_get_image_data_length(reply)) >= bytes) {
    std::memcpy(copy.pixels.data(), xcb_get_image_data(reply), bytes);
  }
  std::free(reply);
  return copy;
}

}  // namespace rt::x11
