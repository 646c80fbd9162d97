#include "runtime/platform/wayland/wayland_region_paint.h"

#include "runtime/platform/wayland/wayland_surface.h"

namespace rt::wayland {

// Each pixel is written once: the boxes are opaque, so only what none of
// them covers takes the back colour.
void PaintRegion(pixman_image_t* target, const pixman_region32_t& region, int origin_x,
                 int origin_y, uint32_t back_pixel, const native::WindowEvents& boxes) {
  pixman_region32_t bare;
  pixman_region32_t part;
  pixman_region32_init(&part);
  pixman_region32_init(&bare);
  pixman_region32_copy(&bare, &region);
  const pixman_box32_t& extents = *pixman_region32_extents(&region);
  const native::PixelRect area{extents.x1 + origin_x, extents.y1 + origin_y,
                               extents.x2 - extents.x1, extents.y2 - extents.y1};
  boxes.ForEachBoxIn(area, [&](const native::Surface& surface, const native::PixelRect& bounds) {
    const int x = bounds.x - origin_x;
    const int y = bounds.y - origin_y;
    pixman_region32_intersect_rect(&part, &region, x, y, static_cast<unsigned>(bounds.width),
                                   static_cast<unsigned>(bounds.height));
    int count = 0;
    const pixman_box32_t* rects = pixman_region32_rectangles(&part, &count);
    for (int i = 0; i < count; ++i) {
      const pixman_box32_t& rect = rects[i];
      static_cast<const PixmanSurface&>(surface).CopyTo(
          target, rect.x1 - x, rect.y1 - y, rect.x2 - rect.x1, rect.y2 - rect.y1, rect.x1, rect.y1);
    }
    pixman_region32_subtract(&bare, &bare, &part);
  });
  FillRegion(target, bare, back_pixel);
  pixman_region32_fini(&bare);
  pixman_region32_fini(&part);
}

}  // namespace rt::wayland
