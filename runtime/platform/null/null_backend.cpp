#include "runtime/platform/null/null_backend.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "runtime/platform/os_services.h"

namespace rt::null {
namespace {

int screen_width = 1920;
int screen_height = 1080;
std::string app_path = ".";
std::function<void()> do_events_hook;
int hide_count = 0;
std::vector<std::string> messages;
const NullControl* focused = nullptr;

class NullTimerSource;
std::vector<NullTimerSource*> timers;

class NullTimerSource : public native::TimerSource {
 public:
  explicit NullTimerSource(std::function<void()> on_tick) : on_tick_(std::move(on_tick)) {
    timers.push_back(this);
  }
  ~NullTimerSource() override { std::erase(timers, this); }
  void SetInterval(int milliseconds) override { interval_ = milliseconds; }
  void FireIfRunning() const {
    if (interval_ > 0) on_tick_();
  }

 private:
  std::function<void()> on_tick_;
  int interval_ = 0;
};

class NullWindow : public native::Window {
 public:
  NullWindow(int client_width, int client_height, native::WindowEvents& events)
      : width_(client_width), height_(client_height), events_(events) {}
  ~NullWindow() override {
    if (std::any_of(order_.begin(), order_.end(),
                    [](const NullControl* c) { return c == focused; })) {
      focused = nullptr;
    }
  }
  void SetVisible(bool visible) override {
    if (!visible) ++hide_count;
  }
  void FillScreen() override {
    width_ = screen_width;
    height_ = screen_height;
  }
  void MoveTo(int x, int y) override {
    x_ = x;
    y_ = y;
  }
  void TakeKeyboard() override { ++keyboard_takes_; }
  int OuterWidth() const override { return width_; }
  int OuterHeight() const override { return height_; }
  int ClientWidth() const override { return width_; }
  int ClientHeight() const override { return height_; }
  void Invalidate(const native::PixelRect&) override {}
  std::unique_ptr<native::Surface> CreateSurface(const FontDesign&) override {
    return std::make_unique<NullSurface>();
  }
  std::unique_ptr<native::ControlPeer> CreateControl(const native::ControlLook& look,
                                                     const native::PixelRect& bounds,
                                                     native::ControlPeer*,
                                                     native::ControlEvents& events) override {
    return std::make_unique<NullControl>(look, bounds, events);
  }
  void OrderControls(const std::vector<native::FocusStop>& order) override {
    order_.clear();
    for (const native::FocusStop& stop : order) {
      auto* control = static_cast<NullControl*>(stop.control);
      control->Order(stop.takes_focus, stop.starts_group);
      order_.push_back(control);
    }
  }

  native::WindowEvents& events() const { return events_; }
  native::PixelRect bounds() const { return {x_, y_, width_, height_}; }
  int keyboard_takes() const { return keyboard_takes_; }
  const std::vector<const NullControl*>& order() const { return order_; }

 private:
  int x_ = 0;
  int y_ = 0;
  int width_;
  int height_;
  int keyboard_takes_ = 0;
  native::WindowEvents& events_;
  std::vector<const NullControl*> order_;
};

}  // namespace

void NullControl::TakeFocus() { focused = this; }

const NullControl* Focused() { return focused; }

native::WindowEvents& EventsOf(const native::Window* window) {
  return static_cast<const NullWindow*>(window)->events();
}

native::PixelRect BoundsOf(const native::Window* window) {
  return static_cast<const NullWindow*>(window)->bounds();
}

int KeyboardTakesOf(const native::Window* window) {
  return static_cast<const NullWindow*>(window)->keyboard_takes();
}

std::vector<const NullControl*> ControlOrder(const native::Window* window) {
  return static_cast<const NullWindow*>(window)->order();
}

std::vector<std::string> TakeMessages() { return std::exchange(messages, {}); }

void NullSurface::Resize(int width, int height, int32_t) {
  width_ = width;
  height_ = height;
}

void NullSurface::Clear(int32_t) { lines_.clear(); }

int NullSurface::PrintLine(int y, const std::string& text, int32_t fore_color) {
  lines_.push_back({y, text, fore_color});
  return kLineHeight;
}

void SetScreenSize(int width, int height) {
  screen_width = width;
  screen_height = height;
}

void SetAppPath(const std::string& path) { app_path = path; }

void SetDoEventsHook(std::function<void()> hook) { do_events_hook = std::move(hook); }

void FireTimers() {
  const std::vector<NullTimerSource*> running = timers;
  for (const NullTimerSource* timer : running) timer->FireIfRunning();
}

int TakeHideCount() { return std::exchange(hide_count, 0); }

}  // namespace rt::null

namespace rt {

bool App::PrevInstance() { return false; }
std::string App::Path() { return null::app_path; }
std::string App::PathSeparator() { return "/"; }
std::string Command() { return ""; }

namespace null {
namespace {

class NullBackend final : public native::Backend {
 public:
  std::unique_ptr<native::Window> CreateFormWindow(const FormDesign&, int client_width,
                                                   int client_height,
                                                   native::WindowEvents& events) override {
    return std::make_unique<NullWindow>(client_width, client_height, events);
  }

  std::unique_ptr<native::TimerSource> CreateTimerSource(std::function<void()> on_tick) override {
    return std::make_unique<NullTimerSource>(std::move(on_tick));
  }

  // Time passes: the timers fall due.
  void WaitEvents() override {
    HandlePendingEvents();
    FireTimers();
  }

  void HandlePendingEvents() override {
    if (do_events_hook) do_events_hook();
  }

  native::DotsPerInch ScreenDpi() override { return {96, 96}; }
  // The screen less a panel at the bottom.
  native::PixelRect WorkArea() override { return {0, 0, screen_width, screen_height - 40}; }
  native::DoubleClickLimits DoubleClickSetting() override { return {500, 2, 2}; }

  void ShowMessage(const std::string& text, native::MessageKind) override {
    messages.push_back(text);
  }

  [[noreturn]] void ExitProcess(int status) override { throw ProgramEnded{status}; }
};

}  // namespace

native::Backend& Backend() {
  static NullBackend backend;
  return backend;
}

}  // namespace null
}  // namespace rt
