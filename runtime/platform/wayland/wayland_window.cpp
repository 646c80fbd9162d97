#include "runtime/platform/wayland/wayland_window.h"

#include <algorithm>

#include "runtime/platform/desktop/pixel_color.h"
#include "runtime/platform/fatal_error.h"
#include "runtime/platform/wayland/wayland_region_paint.h"
#include "runtime/platform/wayland/wayland_surface.h"

namespace rt::wayland {
namespace {

std::vector<WaylandWindow*>& Windows() {
  static std::vector<WaylandWindow*> windows;
  return windows;
}

}  // namespace

// Each output's surface has buffers at the output's own scale: a form pixel
// is a pixel of the output it falls on.
native::PixelRect PlaceOf(const Output& output) {
  return {0, 0, output.PixelWidth() / output.scale * output.scale,
          output.PixelHeight() / output.scale * output.scale};
}

int FormScale() {
  static const int scale = [] {
    int largest = 1;
    for (const auto& output : Connection::Get()->outputs())
      largest = std::max(largest, output->scale);
    return largest;
  }();
  return scale;
}

WaylandWindow::WaylandWindow(const FormDesign& design, int client_width, int client_height,
                             native::WindowEvents& events)
    : events_(events),
      back_pixel_(desktop::PixelOf(design.back_color)),
      width_(client_width),
      height_(client_height) {
  Windows().push_back(this);
  Connection::Get()->OnOutputsChanged(OutputChanged);
}

WaylandWindow::~WaylandWindow() {
  std::erase(Windows(), this);
  views_.clear();
  wl_display_flush(Connection::Get()->display());
}

// A hidden window keeps its surfaces, undrawn, until the program waits: the
// rain hides and shows again within one tick to rebuild its row, and
// surfaces made anew would lose the keyboard the compositor gave the first.
// A window shown gets its surfaces only when the program waits too: the
// rain is shown by a tick while it loads, before it fills the screen, and a
// surface of its first size would flash and take the keyboard.
void WaylandWindow::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (visible && !views_.empty()) Invalidate({0, 0, width_, height_});
}

void WaylandWindow::MakeViews() {
  if (!fills_screen_) {
    views_.push_back(std::make_unique<OutputView>(*this, nullptr, FormScale(),
                                                  native::PixelRect{0, 0, width_, height_}));
    return;
  }
  for (const auto& output : Connection::Get()->outputs()) {
    if (output->ready)
      views_.push_back(
          std::make_unique<OutputView>(*this, output.get(), output->scale, PlaceOf(*output)));
  }
  Layout();
}

void WaylandWindow::FillScreen() {
  fills_screen_ = true;
  if (!views_.empty()) {
    views_.clear();
    MakeViews();
    return;
  }
  width_ = height_ = 0;
  for (const auto& output : Connection::Get()->outputs()) {
    if (!output->ready) continue;
    const native::PixelRect place = PlaceOf(*output);
    width_ += place.width;
    height_ = std::max(height_, place.height);
  }
}

void WaylandWindow::Layout() {
  int x = 0;
  height_ = 0;
  for (const auto& view : views_) {
    view->MoveTo(x, 0);
    x += view->place().width;
    height_ = std::max(height_, view->place().height);
  }
  width_ = x;
}

void WaylandWindow::ViewSized() {
  Layout();
  Invalidate({0, 0, width_, height_});
}

void WaylandWindow::OutputChanged(const Output& output, bool gone) {
  for (WaylandWindow* window : Windows()) {
    if (!window->fills_screen_) continue;
    if (!window->visible_) {
      window->FillScreen();
      continue;
    }
    if (window->views_.empty()) continue;  // made when the program waits
    const auto view = std::find_if(window->views_.begin(), window->views_.end(),
                                   [&](const auto& view) { return view->output() == &output; });
    if (gone) {
      if (view != window->views_.end()) window->views_.erase(view);
    } else if (view != window->views_.end()) {
      (*view)->Rescale(output.scale, PlaceOf(output));
    } else {
      window->views_.push_back(
          std::make_unique<OutputView>(*window, &output, output.scale, PlaceOf(output)));
    }
    window->ViewSized();
  }
}

void WaylandWindow::Invalidate(const native::PixelRect& area) {
  for (const auto& view : views_) view->Damage(area);
}

std::unique_ptr<native::Surface> WaylandWindow::CreateSurface(const FontDesign& font) {
  return std::make_unique<PixmanSurface>(
      desktop::TextFont::For(font, static_cast<float>(FormDotsPerInch())));
}

std::unique_ptr<native::ControlPeer> WaylandWindow::CreateControl(const native::ControlLook&,
                                                                  const native::PixelRect&,
                                                                  native::ControlPeer*,
                                                                  native::ControlEvents&) {
  // The list never gives this backend such a form.
  native::FailFatally("a form of the Wayland backend can't hold windowed controls");
}

void WaylandWindow::PaintInto(pixman_image_t* target, const pixman_region32_t& region, int origin_x,
                              int origin_y) const {
  PaintRegion(target, region, origin_x, origin_y, back_pixel_, events_);
}

void WaylandWindow::PresentAll(bool going_idle) {
  for (WaylandWindow* window : Windows()) {
    if (!window->visible_) {
      if (going_idle) window->views_.clear();
      continue;
    }
    if (window->views_.empty() && going_idle) window->MakeViews();
    for (const auto& view : window->views_) view->Present();
  }
}

bool WaylandWindow::UnseenSince(std::chrono::steady_clock::time_point time) {
  bool any = false;
  for (const WaylandWindow* window : Windows()) {
    if (!window->visible_) continue;
    for (const auto& view : window->views_) {
      if (!view->FrameAwaitedSince(time)) return false;
      any = true;
    }
  }
  return any;
}

}  // namespace rt::wayland
