// Drawing a region of an output's buffer anew from the form's picture boxes.
#pragma once

#include <pixman.h>

#include <cstdint>

#include "runtime/platform/native.h"

namespace rt::wayland {

// The target's top-left pixel is the form's (origin_x, origin_y); what no box
// covers takes the back colour (0x00RRGGBB).
void PaintRegion(pixman_image_t* target, const pixman_region32_t& region, int origin_x,
                 int origin_y, uint32_t back_pixel, const native::WindowEvents& boxes);

}  // namespace rt::wayland
