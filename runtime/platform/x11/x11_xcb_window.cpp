#include "runtime/platform/x11/x11_xcb_window.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "runtime/platform/desktop/pixel_color.h"
#include "runtime/platform/fatal_error.h"
#include "runtime/platform/linux/given_window.h"
#include "runtime/platform/x11/x11_assets.h"
#include "runtime/platform/x11/x11_blank_cursor.h"
#include "runtime/platform/x11/x11_connection.h"
#include "runtime/platform/x11/x11_icon.h"
#include "runtime/platform/x11/x11_screen_size.h"
#include "runtime/platform/x11/x11_visual.h"

namespace rt::x11 {
namespace {

// No input on a handed-over window: only what drawing into it needs.
constexpr uint32_t kHandedOverEvents =
    XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_VISIBILITY_CHANGE;
constexpr uint32_t kOwnEvents = kHandedOverEvents | XCB_EVENT_MASK_FOCUS_CHANGE |
                                XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_BUTTON_PRESS |
                                XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION;

void ChangeProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                    xcb_atom_t type, uint8_t format, size_t count, const void* data) {
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, type, format,
                      static_cast<uint32_t>(count), data);
}

[[noreturn]] void CannotDraw(bool handed_over) {
  native::FailFatally(
      handed_over ? "the window in XSCREENSAVER_WINDOW is not TrueColor of depth 15, 16, 24 or "
                    "30 with the rendering extension, which this program draws on"
                  : "the X screen has no TrueColor visual of depth 15, 16, 24 or 30 with the "
                    "rendering extension, which this program draws on");
}

// A window for input alone has no pixels to draw in.
bool InputOnly(xcb_connection_t* connection, xcb_window_t window) {
  xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
      connection, xcb_get_window_attributes(connection, window), nullptr);
  const bool input_only =
      attributes != nullptr && attributes->_class == XCB_WINDOW_CLASS_INPUT_ONLY;
  std::free(attributes);
  return input_only;
}

}  // namespace

XcbWindow::XcbWindow(const FormDesign& design, int client_width, int client_height)
    : connection_(X11Connection::Get().xcb()), width_(client_width), height_(client_height) {
  const xcb_window_t named = GivenWindow();
  xcb_get_geometry_reply_t* geometry =
      named == XCB_NONE
          ? nullptr
          : xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, named), nullptr);
  if (geometry != nullptr) {
    if (InputOnly(connection_, named))
      native::FailFatally(
          "XSCREENSAVER_WINDOW names an InputOnly window, which has no pixels to draw in");
    window_ = named;
    handed_over_ = true;
    width_ = geometry->width;
    height_ = geometry->height;
    const uint32_t events = kHandedOverEvents;
    xcb_change_window_attributes(connection_, window_, XCB_CW_EVENT_MASK, &events);
    std::free(geometry);
  } else if (named != XCB_NONE) {
    // The daemon's window is gone (or never was): a window of our own would
    // rain on a screen the daemon no longer covers.
    native::FailFatally("XSCREENSAVER_WINDOW names no window");
  } else {
    CreateOwn(design);
  }
  canvas_ = X11Canvas::For(connection_, window_, desktop::PixelOf(design.back_color));
  if (!canvas_) CannotDraw(handed_over_);
  // Our own window takes the back colour in its visual's pixels, known now.
  if (!handed_over_) {
    const uint32_t back = canvas_->back_pixel();
    xcb_change_window_attributes(connection_, window_, XCB_CW_BACK_PIXEL, &back);
  }
}

XcbWindow::~XcbWindow() {
  canvas_.reset();
  if (handed_over_) {
    const uint32_t none = 0;
    xcb_change_window_attributes(connection_, window_, XCB_CW_EVENT_MASK, &none);
  } else {
    xcb_destroy_window(connection_, window_);
    if (colormap_ != XCB_NONE) xcb_free_colormap(connection_, colormap_);
  }
  xcb_flush(connection_);
}

void XcbWindow::CreateOwn(const FormDesign& design) {
  const xcb_screen_t* screen = X11Connection::Get().screen();
  const std::optional<ScreenVisual> visual = DrawableVisualOf(*screen);
  if (!visual) CannotDraw(false);
  // A visual other than the default needs a colour map of its own, and a
  // border pixel, which would otherwise be copied from the root's.
  xcb_colormap_t colormap = screen->default_colormap;
  if (visual->id != screen->root_visual) {
    colormap_ = xcb_generate_id(connection_);
    xcb_create_colormap(connection_, XCB_COLORMAP_ALLOC_NONE, colormap_, screen->root, visual->id);
    colormap = colormap_;
  }
  // A borderless window goes past the window manager, as full-screen
  // savers' windows do. It shows no pointer either.
  const bool full_screen_saver = design.border_style == BorderStyle::kNone;
  const xcb_cursor_t cursor = full_screen_saver ? BlankCursor(connection_, screen->root) : XCB_NONE;
  window_ = xcb_generate_id(connection_);
  const uint32_t values[] = {0, full_screen_saver ? 1u : 0u, kOwnEvents, colormap, cursor};
  xcb_create_window(connection_, visual->depth, window_, screen->root, 0, 0,
                    static_cast<uint16_t>(std::max(width_, 1)),
                    static_cast<uint16_t>(std::max(height_, 1)), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                    visual->id,
                    XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK |
                        XCB_CW_COLORMAP | XCB_CW_CURSOR,
                    values);
  if (cursor != XCB_NONE) xcb_free_cursor(connection_, cursor);  // the window keeps it
  WatchScreenSize(connection_, screen->root);
  SetProperties(design);
}

void XcbWindow::SetProperties(const FormDesign& design) {
  X11Connection& x = X11Connection::Get();
  const std::string program = program_invocation_short_name;
  // Instance and class both the program's name, as toolkits set them.
  const std::string window_class = program + '\0' + program + '\0';
  ChangeProperty(connection_, window_, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, window_class.size(),
                 window_class.data());
  // WM_NAME is Latin-1; a caption beyond ASCII goes in _NET_WM_NAME alone.
  if (std::all_of(design.caption.begin(), design.caption.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    ChangeProperty(connection_, window_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                   design.caption.size(), design.caption.data());
  }
  const std::string title = design.caption.empty() ? program : design.caption;
  ChangeProperty(connection_, window_, x.Atom("_NET_WM_NAME"), x.Atom("UTF8_STRING"), 8,
                 title.size(), title.data());
  const xcb_atom_t protocols[] = {x.Atom("WM_DELETE_WINDOW")};
  ChangeProperty(connection_, window_, x.Atom("WM_PROTOCOLS"), XCB_ATOM_ATOM, 32, 1, protocols);
  const uint32_t pid = static_cast<uint32_t>(::getpid());
  ChangeProperty(connection_, window_, x.Atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1, &pid);
  if (!design.icon.empty()) {
    const std::vector<uint32_t> icon = IconCardinals(AssetBytes(design.icon));
    if (!icon.empty())
      ChangeProperty(connection_, window_, x.Atom("_NET_WM_ICON"), XCB_ATOM_CARDINAL, 32,
                     icon.size(), icon.data());
  }
}

void XcbWindow::SetVisible(bool visible) {
  visible_ = visible;
  if (handed_over_) return;  // the daemon's window stays as the daemon keeps it
  if (visible) {
    xcb_map_window(connection_, window_);
  } else {
    xcb_unmap_window(connection_, window_);
    mapped_ = false;
    wants_keyboard_ = false;
  }
}

void XcbWindow::FillScreen() {
  if (handed_over_) return;
  fills_screen_ = true;
  const xcb_screen_t* screen = X11Connection::Get().screen();
  width_ = screen->width_in_pixels;
  height_ = screen->height_in_pixels;
  const uint32_t values[] = {0, 0, static_cast<uint32_t>(width_), static_cast<uint32_t>(height_)};
  xcb_configure_window(connection_, window_,
                       XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                           XCB_CONFIG_WINDOW_HEIGHT,
                       values);
}

void XcbWindow::ScreenResized() {
  if (fills_screen_) FillScreen();
}

void XcbWindow::Configured(int width, int height) {
  width_ = width;
  height_ = height;
}

void XcbWindow::MoveTo(int x, int y) {
  if (handed_over_) return;
  fills_screen_ = false;
  const uint32_t values[] = {static_cast<uint32_t>(x), static_cast<uint32_t>(y)};
  xcb_configure_window(connection_, window_, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values);
}

void XcbWindow::TakeKeyboard() {
  // The daemon's window takes no input; an unmapped one can't be focused yet.
  wants_keyboard_ = !handed_over_;
  if (mapped_) FocusKeyboard();
}

void XcbWindow::Mapped() {
  mapped_ = true;
  if (wants_keyboard_) FocusKeyboard();
}

void XcbWindow::FocusKeyboard() {
  // The window may be unmapped again by the time the server sees this (the
  // rain hides to rebuild): the focus then fails, and is not missed.
  const xcb_void_cookie_t focus =
      xcb_set_input_focus_checked(connection_, XCB_INPUT_FOCUS_PARENT, window_, XCB_CURRENT_TIME);
  xcb_discard_reply(connection_, focus.sequence);
}

}  // namespace rt::x11
