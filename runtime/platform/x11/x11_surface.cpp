#include "runtime/platform/x11/x11_surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "runtime/platform/x11/x11_color.h"

namespace rt::x11 {
namespace {

constexpr int kLargestSide = 32767;

}  // namespace

X11Surface::X11Surface(std::shared_ptr<TextFont> font, const SurfaceContext& context)
    : font_(std::move(font)), context_(context) {}

X11Surface::~X11Surface() { FreePixmap(); }

void X11Surface::FreePixmap() {
  if (pixmap_ == XCB_NONE) return;
  xcb_render_free_picture(context_.connection, picture_);
  xcb_free_pixmap(context_.connection, pixmap_);
  pixmap_ = XCB_NONE;
  picture_ = XCB_NONE;
}

void X11Surface::Resize(int width, int height, int32_t back_color) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  const xcb_pixmap_t old_pixmap = pixmap_;
  const xcb_render_picture_t old_picture = picture_;
  const int old_width = width_, old_height = height_;
  pixmap_ = picture_ = XCB_NONE;
  width_ = width;
  height_ = height;
  // X addresses pixels with 16-bit numbers: a larger image is not kept.
  if (width_ > 0 && height_ > 0 && width_ <= kLargestSide && height_ <= kLargestSide) {
    xcb_connection_t* connection = context_.connection;
    pixmap_ = xcb_generate_id(connection);
    xcb_create_pixmap(connection, context_.depth, pixmap_, context_.window,
                      static_cast<uint16_t>(width_), static_cast<uint16_t>(height_));
    picture_ = xcb_generate_id(connection);
    xcb_render_create_picture(connection, picture_, pixmap_, context_.text->window_format(), 0,
                              nullptr);
    // What overlaps the old size stays; the rest takes the back colour.
    const int kept_width = old_pixmap == XCB_NONE ? 0 : std::min(width_, old_width);
    const int kept_height = old_pixmap == XCB_NONE ? 0 : std::min(height_, old_height);
    const uint32_t back = PixelOf(back_color);
    context_.text->Fill(picture_, kept_width, 0, width_ - kept_width, height_, back);
    context_.text->Fill(picture_, 0, kept_height, kept_width, height_ - kept_height, back);
    if (kept_width > 0 && kept_height > 0) {
      xcb_copy_area(connection, old_pixmap, pixmap_, context_.gc, 0, 0, 0, 0,
                    static_cast<uint16_t>(kept_width), static_cast<uint16_t>(kept_height));
    }
  }
  if (old_pixmap != XCB_NONE) {
    xcb_render_free_picture(context_.connection, old_picture);
    xcb_free_pixmap(context_.connection, old_pixmap);
  }
}

void X11Surface::Clear(int32_t back_color) {
  if (pixmap_ != XCB_NONE)
    context_.text->Fill(picture_, 0, 0, width_, height_, PixelOf(back_color));
}

int X11Surface::PrintLine(int y, const std::string& text, int32_t fore_color) {
  if (!text.empty() && pixmap_ != XCB_NONE)
    context_.text->Draw(picture_, *font_, text, 0, y, PixelOf(fore_color));
  return font_->LineHeight();
}

void X11Surface::CopyTo(int source_x, int source_y, int width, int height, int target_x,
                        int target_y) const {
  if (pixmap_ == XCB_NONE) return;
  xcb_copy_area(context_.connection, pixmap_, context_.window, context_.gc,
                static_cast<int16_t>(source_x), static_cast<int16_t>(source_y),
                static_cast<int16_t>(target_x), static_cast<int16_t>(target_y),
                static_cast<uint16_t>(width), static_cast<uint16_t>(height));
}

Image X11Surface::Snapshot() const {
  Image copy(width_, height_, 0);
  if (pixmap_ == XCB_NONE) return copy;
  xcb_get_image_reply_t* reply = xcb_get_image_reply(
      context_.connection,
      xcb_get_image(context_.connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap_, 0, 0,
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
