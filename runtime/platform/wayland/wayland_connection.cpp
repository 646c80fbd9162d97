#include "runtime/platform/wayland/wayland_connection.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "layer-shell-client.h"
#include "runtime/platform/fatal_error.h"
#include "runtime/platform/wayland/wayland_seat.h"
#include "xdg-shell-client.h"

namespace rt::wayland {
namespace {

// The outputs' listeners, called from the constructor's round trips, want it.
Connection* made = nullptr;

void OutputGeometry(void* data, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t,
                    const char*, const char*, int32_t transform) {
  static_cast<Output*>(data)->turned = transform % 2 == 1;
}

void OutputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
  if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
  auto* output = static_cast<Output*>(data);
  output->mode_width = width;
  output->mode_height = height;
}

void OutputScale(void* data, wl_output*, int32_t factor) {
  static_cast<Output*>(data)->scale = std::max(factor, 1);
}

// A description complete: the output is ready, or has changed.
void OutputDone(void* data, wl_output*) {
  auto* output = static_cast<Output*>(data);
  output->ready = true;
  made->OutputReady(*output);
}

void OutputName(void*, wl_output*, const char*) {}
void OutputDescription(void*, wl_output*, const char*) {}

void Pong(void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }

const xdg_wm_base_listener kWmBaseListener = {Pong};

}  // namespace

Connection* Connection::Get() {
  static Connection* connection = []() -> Connection* {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (name == nullptr || *name == '\0') return nullptr;
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) return nullptr;
    return new Connection(display);  // lives as long as the process
  }();
  return connection;
}

Connection::Connection(wl_display* display) : display_(display) {
  made = this;
  static const wl_registry_listener listener = {Global, GlobalRemove};
  registry_ = wl_display_get_registry(display_);
  wl_registry_add_listener(registry_, &listener, this);
  // The globals, then what each output and the seat tell of themselves.
  wl_display_roundtrip(display_);
  wl_display_roundtrip(display_);
}

void Connection::Global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                        uint32_t version) {
  auto* self = static_cast<Connection*>(data);
  const auto bind = [&](const wl_interface* kind, uint32_t highest) {
    return wl_registry_bind(registry, name, kind, std::min(version, highest));
  };
  if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
    self->compositor_ = static_cast<wl_compositor*>(bind(&wl_compositor_interface, 4));
  } else if (std::strcmp(interface, wl_shm_interface.name) == 0) {
    self->shm_ = static_cast<wl_shm*>(bind(&wl_shm_interface, 1));
  } else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0) {
    self->layer_shell_ = static_cast<zwlr_layer_shell_v1*>(bind(&zwlr_layer_shell_v1_interface, 4));
  } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0) {
    self->wm_base_ = static_cast<xdg_wm_base*>(bind(&xdg_wm_base_interface, 2));
    xdg_wm_base_add_listener(self->wm_base_, &kWmBaseListener, nullptr);
  } else if (std::strcmp(interface, wl_seat_interface.name) == 0) {
    AddSeat(static_cast<wl_seat*>(bind(&wl_seat_interface, 7)));
  } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
    self->AddOutput(name, version);
  }
}

void Connection::AddOutput(uint32_t name, uint32_t version) {
  static const wl_output_listener listener = {OutputGeometry, OutputMode, OutputDone,
                                              OutputScale,    OutputName, OutputDescription};
  auto output = std::make_unique<Output>();
  output->name = name;
  output->output = static_cast<wl_output*>(
      wl_registry_bind(registry_, name, &wl_output_interface, std::min(version, 4u)));
  wl_output_add_listener(output->output, &listener, output.get());
  outputs_.push_back(std::move(output));
}

void Connection::OutputReady(const Output& output) {
  if (outputs_changed_) outputs_changed_(output, false);
}

void Connection::GlobalRemove(void* data, wl_registry*, uint32_t name) {
  auto* self = static_cast<Connection*>(data);
  const auto found = std::find_if(self->outputs_.begin(), self->outputs_.end(),
                                  [name](const auto& output) { return output->name == name; });
  if (found == self->outputs_.end()) return;
  if ((*found)->ready && self->outputs_changed_) self->outputs_changed_(**found, true);
  if (wl_output_get_version((*found)->output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
    wl_output_release((*found)->output);
  } else {
    wl_output_destroy((*found)->output);
  }
  self->outputs_.erase(found);
}

void Connection::CheckAlive() const {
  if (wl_display_get_error(display_) == 0) return;
  native::FailFatally("the connection to the Wayland compositor was lost");
}

}  // namespace rt::wayland
