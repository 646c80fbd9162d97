// The program's one connection to a Wayland compositor, made on first need
// when WAYLAND_DISPLAY names one, and the globals the backend binds: the
// shells, shared memory, the seat and the outputs as they come and go.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct zwlr_layer_shell_v1;
struct xdg_wm_base;

namespace rt::wayland {

struct Output {
  wl_output* output = nullptr;
  uint32_t name = 0;   // of the global
  int mode_width = 0;  // the current mode, in pixels
  int mode_height = 0;
  bool turned = false;  // a quarter turn: the mode's sides swap on screen
  int scale = 1;
  bool ready = false;  // its first description is complete

  int PixelWidth() const { return turned ? mode_height : mode_width; }
  int PixelHeight() const { return turned ? mode_width : mode_height; }
};

class Connection {
 public:
  // Null when WAYLAND_DISPLAY is unset or names no compositor.
  static Connection* Get();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  wl_display* display() const { return display_; }
  wl_compositor* compositor() const { return compositor_; }
  wl_shm* shm() const { return shm_; }
  // Null on a compositor without it.
  zwlr_layer_shell_v1* layer_shell() const { return layer_shell_; }
  xdg_wm_base* wm_base() const { return wm_base_; }
  const std::vector<std::unique_ptr<Output>>& outputs() const { return outputs_; }
  // Called when an output is ready, has changed, or is about to go.
  void OnOutputsChanged(std::function<void(const Output& output, bool gone)> changed) {
    outputs_changed_ = std::move(changed);
  }
  // Ends the program when the compositor has gone.
  void CheckAlive() const;
  void OutputReady(const Output& output);

 private:
  Connection(wl_display* display);
  static void Global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                     uint32_t version);
  static void GlobalRemove(void* data, wl_registry* registry, uint32_t name);
  void AddOutput(uint32_t name, uint32_t version);

  wl_display* display_;
  wl_registry* registry_ = nullptr;
  wl_compositor* compositor_ = nullptr;
  wl_shm* shm_ = nullptr;
  zwlr_layer_shell_v1* layer_shell_ = nullptr;
  xdg_wm_base* wm_base_ = nullptr;
  std::vector<std::unique_ptr<Output>> outputs_;
  std::function<void(const Output&, bool)> outputs_changed_;
};

}  // namespace rt::wayland
