#include "runtime/platform/wayland/wayland_output_view.h"

#include <errno.h>

#include <algorithm>
#include <cmath>

#include "layer-shell-client.h"
#include "runtime/platform/bench_probe.h"
#include "xdg-shell-client.h"

namespace rt::wayland {
namespace {

constexpr int kDamageBands = 8;

}  // namespace

OutputView::OutputView(ViewHost& host, const Output* output, int scale,
                       const native::PixelRect& place)
    : host_(host),
      output_(output),
      scale_(scale),
      place_(place),
      surface_(wl_compositor_create_surface(Connection::Get()->compositor())) {
  pixman_region32_init(&damage_);
  WatchInput(surface_, this);
  Connection* connection = Connection::Get();
  if (connection->layer_shell() != nullptr) {
    MakeLayerSurface(connection->layer_shell());
  } else {
    MakeToplevel(connection->wm_base());
  }
  // Drawn only once configured.
  wl_surface_commit(surface_);
}

OutputView::~OutputView() {
  UnwatchInput(surface_);
  if (frame_ != nullptr) wl_callback_destroy(frame_);
  if (layer_surface_ != nullptr) zwlr_layer_surface_v1_destroy(layer_surface_);
  if (toplevel_ != nullptr) xdg_toplevel_destroy(toplevel_);
  if (xdg_surface_ != nullptr) xdg_surface_destroy(xdg_surface_);
  wl_surface_destroy(surface_);
  pixman_region32_fini(&damage_);
}

void OutputView::MakeLayerSurface(zwlr_layer_shell_v1* shell) {
  static const zwlr_layer_surface_v1_listener listener = {
      [](void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width,
         uint32_t height) {
        zwlr_layer_surface_v1_ack_configure(layer, serial);
        static_cast<OutputView*>(data)->Configured(serial, static_cast<int>(width),
                                                   static_cast<int>(height));
      },
      // The output went: the window drops the view when the output's global goes.
      [](void* data, zwlr_layer_surface_v1*) {
        static_cast<OutputView*>(data)->configured_ = false;
      }};
  layer_surface_ = zwlr_layer_shell_v1_get_layer_surface(
      shell, surface_, output_ != nullptr ? output_->output : nullptr,
      ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, program_invocation_short_name);
  zwlr_layer_surface_v1_add_listener(layer_surface_, &listener, this);
  if (output_ != nullptr) {
    zwlr_layer_surface_v1_set_anchor(
        layer_surface_, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                            ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    // Over panels too, and not moved aside for their room.
    zwlr_layer_surface_v1_set_exclusive_zone(layer_surface_, -1);
  } else {
    zwlr_layer_surface_v1_set_size(layer_surface_, static_cast<uint32_t>(place_.width / scale_),
                                   static_cast<uint32_t>(place_.height / scale_));
  }
  zwlr_layer_surface_v1_set_keyboard_interactivity(
      layer_surface_, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
}

void OutputView::MakeToplevel(xdg_wm_base* base) {
  static const xdg_surface_listener surface_listener = {
      [](void* data, xdg_surface* surface, uint32_t serial) {
        xdg_surface_ack_configure(surface, serial);
        auto* self = static_cast<OutputView*>(data);
        self->Configured(serial, self->toplevel_width_, self->toplevel_height_);
      }};
  static const xdg_toplevel_listener toplevel_listener = {
      [](void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
        auto* self = static_cast<OutputView*>(data);
        self->toplevel_width_ = width;
        self->toplevel_height_ = height;
      },
      [](void* data, xdg_toplevel*) {
        static_cast<OutputView*>(data)->host_.events().CloseRequested();
      },
      [](void*, xdg_toplevel*, int32_t, int32_t) {}, [](void*, xdg_toplevel*, wl_array*) {}};
  xdg_surface_ = xdg_wm_base_get_xdg_surface(base, surface_);
  xdg_surface_add_listener(xdg_surface_, &surface_listener, this);
  toplevel_ = xdg_surface_get_toplevel(xdg_surface_);
  xdg_toplevel_add_listener(toplevel_, &toplevel_listener, this);
  xdg_toplevel_set_app_id(toplevel_, program_invocation_short_name);
  if (output_ != nullptr) xdg_toplevel_set_fullscreen(toplevel_, output_->output);
}

void OutputView::Configured(uint32_t, int width, int height) {
  bench::FirstMap();
  const bool first = !configured_;
  configured_ = true;
  // The compositor's size, on a surface that covers an output, is the output's.
  if (output_ != nullptr && width > 0 && height > 0 &&
      (width * scale_ != place_.width || height * scale_ != place_.height)) {
    place_.width = width * scale_;
    place_.height = height * scale_;
    host_.ViewSized();
  } else if (first) {
    Damage(place_);
  }
  Present();
}

void OutputView::Rescale(int scale, const native::PixelRect& place) {
  scale_ = scale;
  place_.width = place.width;
  place_.height = place.height;
}

void OutputView::MoveTo(int x, int y) {
  if (x == place_.x && y == place_.y) return;
  place_.x = x;
  place_.y = y;
  Damage(place_);
}

// Damage is kept in whole bands of the view's height. The rain's columns
// each have their own top and bottom, and a region of them splits into
// thousands of rectangles, each of which costs the compositor and the
// repaint a pass of its own; a few more pixels in a few bands cost far less.
void OutputView::Damage(const native::PixelRect& area) {
  const native::PixelRect shown = native::Intersection(area, place_);
  if (shown.width <= 0 || shown.height <= 0) return;
  const int band = std::max(1, place_.height / kDamageBands);
  const int top = (shown.y - place_.y) / band * band;
  const int bottom =
      std::min(place_.height, (shown.y + shown.height - place_.y + band - 1) / band * band);
  const native::PixelRect local{shown.x - place_.x, top, shown.width, bottom - top};
  pixman_region32_union_rect(&damage_, &damage_, local.x, local.y,
                             static_cast<unsigned>(local.width),
                             static_cast<unsigned>(local.height));
  buffers_.Stale(local);
}

void OutputView::Present() {
  if (!configured_ || frame_ != nullptr || !pixman_region32_not_empty(&damage_)) return;
  ShmBuffer* buffer = buffers_.Free(Connection::Get()->shm(), place_.width, place_.height);
  if (buffer == nullptr) return;  // both held: the next release or frame brings it
  if (pixman_region32_not_empty(&buffer->stale()))
    host_.PaintInto(buffer->image(), buffer->stale(), place_.x, place_.y);
  pixman_region32_clear(&buffer->stale());
  if (buffer_scale_ != scale_) {
    buffer_scale_ = scale_;
    wl_surface_set_buffer_scale(surface_, scale_);
  }
  wl_surface_attach(surface_, buffer->buffer(), 0, 0);
  int count = 0;
  const pixman_box32_t* changed = pixman_region32_rectangles(&damage_, &count);
  for (int i = 0; i < count; ++i) {
    wl_surface_damage_buffer(surface_, changed[i].x1, changed[i].y1, changed[i].x2 - changed[i].x1,
                             changed[i].y2 - changed[i].y1);
  }
  pixman_region32_clear(&damage_);
  static const wl_callback_listener listener = {[](void* data, wl_callback* callback, uint32_t) {
    auto* self = static_cast<OutputView*>(data);
    wl_callback_destroy(callback);
    self->frame_ = nullptr;
    bench::FirstFrame();
    self->FrameShown();
    self->Present();
  }};
  frame_ = wl_surface_frame(surface_);
  frame_asked_ = std::chrono::steady_clock::now();
  wl_callback_add_listener(frame_, &listener, this);
  wl_surface_commit(surface_);
  buffer->MarkBusy();
}

int OutputView::FormX(double x) const {
  return place_.x + static_cast<int>(std::lround(x * scale_));
}

int OutputView::FormY(double y) const {
  return place_.y + static_cast<int>(std::lround(y * scale_));
}

void OutputView::ButtonDown(native::PointerButton button, double x, double y,
                            native::Modifiers modifiers, uint32_t time) {
  host_.events().ButtonDown(button, FormX(x), FormY(y), modifiers, time);
}

void OutputView::ButtonUp(native::PointerButton button, double x, double y,
                          native::Modifiers modifiers) {
  host_.events().ButtonUp(button, FormX(x), FormY(y), modifiers);
}

void OutputView::PointerMoved(double x, double y, native::Modifiers modifiers) {
  host_.events().PointerMoved(FormX(x), FormY(y), modifiers);
}

void OutputView::KeyDown(const native::KeyStroke& stroke) { host_.events().KeyDown(stroke); }

// A lock must never be hidden, and a saver that no key can reach is of no
// use: the rain ends, and what took the keyboard is what shows.
void OutputView::KeyboardTaken() { host_.events().WindowGone(); }

// A layer surface that asks for the keyboard gets it as it is mapped, before
// its first frame, unless something the compositor ranks higher holds it:
// a lock that was there first.
void OutputView::FrameShown() {
  if (shown_) return;
  shown_ = true;
  if (layer_surface_ != nullptr && KeyboardHeldElsewhere()) KeyboardTaken();
}

}  // namespace rt::wayland
