// A form's window on one output: a surface on the overlay layer, anchored
// to every edge, that takes the keyboard (or, on a compositor without the
// layer shell, a full-screen toplevel). It shows its place of the form in
// buffers of the output's own pixels and sends only what changed.
#pragma once

#include <pixman.h>
#include <wayland-client.h>

#include <chrono>

#include "runtime/platform/native.h"
#include "runtime/platform/wayland/wayland_buffers.h"
#include "runtime/platform/wayland/wayland_connection.h"
#include "runtime/platform/wayland/wayland_seat.h"

struct zwlr_layer_surface_v1;
struct xdg_surface;
struct xdg_toplevel;

namespace rt::wayland {

class OutputView;

// The window that the views show.
class ViewHost {
 public:
  // Draws a region of the target anew; the target's top-left pixel is the
  // form's (origin_x, origin_y).
  virtual void PaintInto(pixman_image_t* target, const pixman_region32_t& region, int origin_x,
                         int origin_y) const = 0;
  virtual native::WindowEvents& events() = 0;
  // The compositor gave the view another size.
  virtual void ViewSized() = 0;

 protected:
  ~ViewHost() = default;
};

class OutputView : public SurfaceInput {
 public:
  // On the output, covering it, or with no output at the size of the place
  // where the compositor puts it. Scale: form pixels per surface unit.
  OutputView(ViewHost& host, const Output* output, int scale, const native::PixelRect& place);
  ~OutputView();
  OutputView(const OutputView&) = delete;
  OutputView& operator=(const OutputView&) = delete;

  const Output* output() const { return output_; }
  const native::PixelRect& place() const { return place_; }
  void MoveTo(int x, int y);
  // The output took another scale or size.
  void Rescale(int scale, const native::PixelRect& place);
  // The area (form pixels) is to be drawn again.
  void Damage(const native::PixelRect& area);
  // Sends what changed, once the compositor is ready for a frame.
  void Present();
  // Whether the compositor has been asked for a frame since before the time
  // and has not given it: nobody sees the output (off, or covered where the
  // compositor stops drawing what is covered).
  bool FrameAwaitedSince(std::chrono::steady_clock::time_point time) const {
    return frame_ != nullptr && frame_asked_ <= time;
  }

  void ButtonDown(native::PointerButton button, double x, double y, native::Modifiers modifiers,
                  uint32_t time) override;
  void ButtonUp(native::PointerButton button, double x, double y,
                native::Modifiers modifiers) override;
  void PointerMoved(double x, double y, native::Modifiers modifiers) override;
  void KeyDown(const native::KeyStroke& stroke) override;
  void KeyboardTaken() override;

 private:
  void MakeLayerSurface(zwlr_layer_shell_v1* shell);
  void MakeToplevel(xdg_wm_base* base);
  // The compositor's size for the surface (0 for ours), to answer with the serial.
  void Configured(uint32_t serial, int width, int height);
  // The compositor has shown a frame.
  void FrameShown();
  int FormX(double x) const;
  int FormY(double y) const;

  ViewHost& host_;
  const Output* output_;
  int scale_;
  int buffer_scale_ = 0;  // the scale the surface was last told
  native::PixelRect place_;
  wl_surface* surface_;
  zwlr_layer_surface_v1* layer_surface_ = nullptr;
  xdg_surface* xdg_surface_ = nullptr;
  xdg_toplevel* toplevel_ = nullptr;
  int toplevel_width_ = 0;  // of the last toplevel configure
  int toplevel_height_ = 0;
  bool configured_ = false;
  bool shown_ = false;            // the compositor has shown a frame of it
  wl_callback* frame_ = nullptr;  // the compositor has not yet asked for the next frame
  std::chrono::steady_clock::time_point frame_asked_;
  pixman_region32_t damage_;  // buffer pixels changed since the last commit
  BufferSet buffers_;
};

}  // namespace rt::wayland
