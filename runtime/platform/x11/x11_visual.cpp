#include "runtime/platform/x11/x11_visual.h"

namespace rt::x11 {
namespace {

bool DrawnDepth(uint8_t depth) { return depth == 15 || depth == 16 || depth == 24 || depth == 30; }

// The screen's TrueColor visual of that depth, the default first.
std::optional<ScreenVisual> TrueColorOf(const xcb_screen_t& screen, uint8_t depth) {
  std::optional<ScreenVisual> found;
  for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem;
       xcb_depth_next(&depths)) {
    if (depths.data->depth != depth) continue;
    for (auto type = xcb_depth_visuals_iterator(depths.data); type.rem;
         xcb_visualtype_next(&type)) {
      if (type.data->_class != XCB_VISUAL_CLASS_TRUE_COLOR) continue;
      if (type.data->visual_id == screen.root_visual)
        return ScreenVisual{screen.root_visual, depth};
      if (!found) found = ScreenVisual{type.data->visual_id, depth};
    }
  }
  return found;
}

}  // namespace

std::optional<ScreenVisual> DrawableVisualOf(const xcb_screen_t& screen) {
  if (DrawnDepth(screen.root_depth)) {
    const std::optional<ScreenVisual> own = TrueColorOf(screen, screen.root_depth);
    if (own && own->id == screen.root_visual) return own;
  }
  for (const uint8_t depth : {24, 30, 16, 15}) {
    if (const std::optional<ScreenVisual> visual = TrueColorOf(screen, depth)) return visual;
  }
  return std::nullopt;
}

}  // namespace rt::x11
