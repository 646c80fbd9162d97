#include "runtime/platform/wayland/wayland_backend.h"

#include <cstdlib>

#include "runtime/platform/desktop/deadline_timers.h"
#include "runtime/platform/linux/displays.h"
#include "runtime/platform/linux/given_window.h"
#include "runtime/platform/wayland/wayland_connection.h"
#include "runtime/platform/wayland/wayland_event_loop.h"
#include "runtime/platform/wayland/wayland_window.h"

namespace rt::wayland {
namespace {

class WaylandBackend final : public native::Backend {
 public:
  explicit WaylandBackend(native::Backend& (*message_boxes)()) : message_boxes_(message_boxes) {}

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
  // Nobody could close a box under the rain, which covers every output: an
  // error goes to standard error alone.
  void ShowMessage(const std::string& text, native::MessageKind kind) override {
    if (kind == native::MessageKind::kError) return;
    message_boxes_().ShowMessage(text, kind);
  }
  [[noreturn]] void ExitProcess(int status) override { std::_Exit(status); }

 private:
  native::Backend& (*message_boxes_)();
};

}  // namespace

bool Serves() {
  static const bool serves = [] {
    // An X screen-saver daemon's window is drawn where the daemon wants it.
    if (GivenWindow() != 0) return false;
    const Connection* connection = Connection::Get();
    if (connection == nullptr || connection->compositor() == nullptr ||
        connection->shm() == nullptr)
      return false;
    if (connection->layer_shell() != nullptr) return true;
    // Without the layer shell, X covers the screen better where there is one.
    return connection->wm_base() != nullptr && !linux_program::HasXDisplay();
  }();
  return serves;
}

native::Backend& Backend(native::Backend& (*message_boxes)()) {
  static WaylandBackend backend(message_boxes);
  return backend;
}

}  // namespace rt::wayland
