#include "runtime/platform/x11/x11_canvas.h"

#include <cstdlib>
#include <optional>
#include <vector>

#include "runtime/platform/x11/x11_surface.h"
#include "runtime/platform/x11/x11_visual_pixels.h"

namespace rt::x11 {
namespace {

// The masks of a TrueColor visual of a depth XRender draws on; nothing for
// any other (a colour-mapped visual, say).
std::optional<VisualMasks> DrawableVisual(xcb_connection_t* connection, xcb_visualid_t visual,
                                          uint8_t depth) {
  if (depth != 15 && depth != 16 && depth != 24 && depth != 30) return std::nullopt;
  const xcb_setup_t* setup = xcb_get_setup(connection);
  for (auto screen = xcb_setup_roots_iterator(setup); screen.rem; xcb_screen_next(&screen)) {
    for (auto depths = xcb_screen_allowed_depths_iterator(screen.data); depths.rem;
         xcb_depth_next(&depths)) {
      for (auto type = xcb_depth_visuals_iterator(depths.data); type.rem;
           xcb_visualtype_next(&type)) {
        if (type.data->visual_id != visual) continue;
        if (type.data->_class != XCB_VISUAL_CLASS_TRUE_COLOR) return std::nullopt;
        return VisualMasks{type.data->red_mask, type.data->green_mask, type.data->blue_mask};
      }
    }
  }
  return std::nullopt;
}

}  // namespace

std::unique_ptr<X11Canvas> X11Canvas::For(xcb_connection_t* connection, xcb_window_t window,
                                          uint32_t back_rgb) {
  xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
      connection, xcb_get_window_attributes(connection, window), nullptr);
  xcb_get_geometry_reply_t* geometry =
      xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
  std::unique_ptr<X11Canvas> canvas;
  const std::optional<VisualMasks> masks =
      attributes != nullptr && geometry != nullptr
          ? DrawableVisual(connection, attributes->visual, geometry->depth)
          : std::nullopt;
  if (masks) {
    if (std::unique_ptr<ServerText> text = ServerText::For(connection, attributes->visual)) {
      canvas = std::make_unique<X11Canvas>(connection, window, geometry->depth,
                                           PixelIn(*masks, back_rgb), std::move(text));
    }
  }
  std::free(attributes);
  std::free(geometry);
  return canvas;
}

X11Canvas::X11Canvas(xcb_connection_t* connection, xcb_window_t window, uint8_t depth,
                     uint32_t back_pixel, std::unique_ptr<ServerText> text)
    : connection_(connection),
      window_(window),
      depth_(depth),
      back_pixel_(back_pixel),
      gc_(xcb_generate_id(connection)),
      text_(std::move(text)) {
  // Copies never ask for exposure events: the columns' pixmaps are whole.
  const uint32_t values[] = {back_pixel, 0};
  xcb_create_gc(connection_, gc_, window_, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values);
}

X11Canvas::~X11Canvas() { xcb_free_gc(connection_, gc_); }

std::unique_ptr<native::Surface> X11Canvas::CreateSurface(
    std::shared_ptr<desktop::TextFont> font) const {
  return std::make_unique<X11Surface>(
      std::move(font), SurfaceContext{connection_, window_, depth_, gc_, text_.get()});
}

void X11Canvas::Paint(const native::WindowEvents& form, const native::PixelRect& area, int width,
                      int height) {
  const native::PixelRect clipped = native::Intersection(area, {0, 0, width, height});
  if (clipped.width <= 0 || clipped.height <= 0) return;
  struct Piece {
    const X11Surface* surface;
    native::PixelRect bounds;
  };
  std::vector<Piece> pieces;
  form.ForEachBoxIn(clipped, [&](const native::Surface& surface, const native::PixelRect& bounds) {
    pieces.push_back({static_cast<const X11Surface*>(&surface), bounds});
  });
  // A lone box across the whole area (a falling column's old and new place)
  // leaves the back colour to paint above and below it only.
  const bool lone_box_across =
      pieces.size() == 1 && pieces[0].bounds.x <= clipped.x &&
      pieces[0].bounds.x + pieces[0].bounds.width >= clipped.x + clipped.width;
  if (lone_box_across) {
    const native::PixelRect covered = native::Intersection(clipped, pieces[0].bounds);
    Fill(clipped.x, clipped.y, clipped.width, covered.y - clipped.y);
    Fill(clipped.x, covered.y + covered.height, clipped.width,
         clipped.y + clipped.height - covered.y - covered.height);
  } else {
    Fill(clipped.x, clipped.y, clipped.width, clipped.height);
  }
  for (const Piece& piece : pieces) {
    const native::PixelRect part = native::Intersection(clipped, piece.bounds);
    piece.surface->CopyTo(part.x - piece.bounds.x, part.y - piece.bounds.y, part.width, part.height,
                          part.x, part.y);
  }
}

void X11Canvas::Fill(int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  const xcb_rectangle_t rect{static_cast<int16_t>(x), static_cast<int16_t>(y),
                             static_cast<uint16_t>(width), static_cast<uint16_t>(height)};
  xcb_poly_fill_rectangle(connection_, window_, gc_, 1, &rect);
}

}  // namespace rt::x11
