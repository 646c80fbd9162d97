#include "runtime/platform/x11/x11_backend.h"

#include <cstdlib>

#include "runtime/platform/desktop/deadline_timers.h"
#include "runtime/platform/x11/x11_connection.h"
#include "runtime/platform/x11/x11_event_loop.h"
#include "runtime/platform/x11/x11_window.h"

namespace rt::x11 {

namespace {

class X11Backend final : public native::Backend {
 public:
  std::unique_ptr<native::Window> CreateFormWindow(const FormDesign& design, int client_width,
                                                   int client_height,
                                                   native::WindowEvents& events) override {
    return std::make_unique<X11Window>(design, client_width, client_height, events);
  }

  std::unique_ptr<native::TimerSource> CreateTimerSource(std::function<void()> on_tick) override {
    return std::make_unique<desktop::DeadlineTimer>(std::move(on_tick));
  }

  void WaitEvents() override { x11::WaitEvents(); }
  void HandlePendingEvents() override { x11::DoEvents(); }

  // Qt on X reads the same resolution (Xft.dpi, else 96).
  native::DotsPerInch ScreenDpi() override {
    const int dpi = static_cast<int>(X11Connection::Get().DotsPerInch() + 0.5f);
    return {dpi, dpi};
  }

  native::PixelRect WorkArea() override {
    const xcb_screen_t* screen = X11Connection::Get().screen();
    return {0, 0, screen->width_in_pixels, screen->height_in_pixels};
  }

  // X keeps no double-click setting: the toolkits' usual 400 ms and 5 pixels.
  native::DoubleClickLimits DoubleClickSetting() override { return {400, 5, 5}; }

  // A run that never opened the display has nowhere to show a box; the
  // screen-saver daemon's covering windows would hide one that nobody could
  // close.
  bool HidesMessages() override { return !X11Connection::Made() || InGivenWindow(); }

  [[noreturn]] void ExitProcess(int status) override { std::_Exit(status); }
};

}  // namespace

native::Backend& Open() {
  static X11Backend backend;
  return backend;
}

}  // namespace rt::x11
