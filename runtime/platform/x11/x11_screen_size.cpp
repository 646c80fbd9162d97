#include "runtime/platform/x11/x11_screen_size.h"

#include <xcb/randr.h>

#include <cstdlib>

namespace rt::x11 {
namespace {

uint8_t screen_change_event = 0;  // 0 until watched on a server with RandR

}  // namespace

void WatchScreenSize(xcb_connection_t* connection, xcb_window_t root) {
  const xcb_query_extension_reply_t* randr = xcb_get_extension_data(connection, &xcb_randr_id);
  if (randr == nullptr || randr->present == 0) return;
  // Screen change events come only to a client that said its version.
  std::free(xcb_randr_query_version_reply(connection, xcb_randr_query_version(connection, 1, 2),
                                          nullptr));
  screen_change_event = randr->first_event + XCB_RANDR_SCREEN_CHANGE_NOTIFY;
  xcb_randr_select_input(connection, root, XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE);
}

bool TakeScreenSize(const xcb_generic_event_t& event, xcb_screen_t& screen) {
  if (screen_change_event == 0 || (event.response_type & 0x7F) != screen_change_event) return false;
  const auto& change = reinterpret_cast<const xcb_randr_screen_change_notify_event_t&>(event);
  if (change.root != screen.root) return false;
  // The size is given unrotated.
  const bool turned =
      (change.rotation & (XCB_RANDR_ROTATION_ROTATE_90 | XCB_RANDR_ROTATION_ROTATE_270)) != 0;
  screen.width_in_pixels = turned ? change.height : change.width;
  screen.height_in_pixels = turned ? change.width : change.height;
  return true;
}

}  // namespace rt::x11
