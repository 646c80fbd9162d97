// Which of the screen's visuals a window of ours is made with: one that the
// canvas draws on, whatever the screen's default is (a DirectColor or
// colour-mapped default often sits beside TrueColor visuals).
#pragma once

#include <xcb/xcb.h>

#include <optional>

namespace rt::x11 {

struct ScreenVisual {
  xcb_visualid_t id;
  uint8_t depth;
};

// The default visual when it is TrueColor of depth 15, 16, 24 or 30; else
// the screen's first TrueColor visual of those depths, 24 before 30, 16
// and 15; nothing when it has none.
std::optional<ScreenVisual> DrawableVisualOf(const xcb_screen_t& screen);

}  // namespace rt::x11
