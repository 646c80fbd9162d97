#include "runtime/platform/wayland/wayland_backend.h"

#include <cstdlib>

#include "runtime/platform/desktop/deadline_timers.h"
#include "runtime/platform/wayland/wayland_connection.h"
#include "runtime/platform/wayland/wayland_event_loop.h"
#include "runtime/platform/wayland/wayland_window.h"

namespace rt::wayland {
namespace {

class WaylandBackend final : public native::Backend {
 public:
  std::unique_ptr<native::Window> CreateFormWindow(const FormDesign& design, int client_width,
                                                   int client_height,
                                                   native::WindowEvents& events) override {
    return std::make_unique<WaylandWindow>(design, client_width, client_height, events);
  }
  std::unique_ptr<native::TimerSource> CreateTimerSource(std::function<void()> on_tick) override {
    return std::make_unique<desktop::DeadlineTimer>(std::move(on_tick));
  }
  void WaitEvents() override { wayland::WaitEvents(); }
  void HandlePendingEvents() override { wayland::DoEvents(); }
  native::DotsPerInch ScreenDpi() override { return {FormDotsPerInch(), FormDotsPerInch()}; }
  // The first output; a layer surface on the overlay layer covers panels.
  native::PixelRect WorkArea() override {
    for (const auto& output : Connection::Get()->outputs()) {
      if (output->ready) return PlaceOf(*output);
    }
    return {};
  }
  // Wayland keeps no double-click setting: the toolkits' usual 400 ms and 5 pixels.
  native::DoubleClickLimits DoubleClickSetting() override { return {400, 5, 5}; }
  // The rain covers every output on the overlay layer, above any box.
  bool HidesMessages() override { return true; }
  [[noreturn]] void ExitProcess(int status) override { std::_Exit(status); }
};

}  // namespace

Shells Compositor() {
  static const Shells shells = [] {
    const Connection* connection = Connection::Get();
    if (connection == nullptr || connection->compositor() == nullptr ||
        connection->shm() == nullptr)
      return Shells{};
    return Shells{.layer = connection->layer_shell() != nullptr,
                  .xdg = connection->wm_base() != nullptr};
  }();
  return shells;
}

native::Backend& Open() {
  static WaylandBackend backend;
  return backend;
}

}  // namespace rt::wayland
