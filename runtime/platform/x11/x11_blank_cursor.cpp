#include "runtime/platform/x11/x11_blank_cursor.h"

namespace rt::x11 {

xcb_cursor_t BlankCursor(xcb_connection_t* connection, xcb_drawable_t drawable) {
  // A new pixmap's bits are undefined: clear its one bit first.
  const xcb_pixmap_t bits = xcb_generate_id(connection);
  xcb_create_pixmap(connection, 1, bits, drawable, 1, 1);
  const xcb_gcontext_t gc = xcb_generate_id(connection);
  const uint32_t clear = 0;
  xcb_create_gc(connection, gc, bits, XCB_GC_FOREGROUND, &clear);
  const xcb_rectangle_t pixel{0, 0, 1, 1};
  xcb_poly_fill_rectangle(connection, bits, gc, 1, &pixel);
  const xcb_cursor_t cursor = xcb_generate_id(connection);
  xcb_create_cursor(connection, cursor, bits, bits, 0, 0, 0, 0, 0, 0, 0, 0);
  xcb_free_gc(connection, gc);
  xcb_free_pixmap(connection, bits);
  return cursor;
}

}  // namespace rt::x11
