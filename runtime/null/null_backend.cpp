#include "runtime/null/null_backend.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "runtime/design.h"
#include "runtime/form.h"
#include "runtime/program.h"

namespace rt::null {
namespace {

int screen_width = 1920;
int screen_height = 1080;
std::string app_path = ".";
std::function<void()> do_events_hook;
int hide_count = 0;
std::vector<std::string> messages;

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
  explicit NullWindow(const FormDesign& design)
      : width_(Screen::PixelsX(design.client_width)),
        height_(Screen::PixelsY(design.client_height)) {}
  void SetVisible(bool visible) override {
    if (!visible) ++hide_count;
  }
  void FillScreen() override {
    width_ = screen_width;
    height_ = screen_height;
  }
  int OuterWidth() const override { return width_; }
  int OuterHeight() const override { return height_; }
  void Invalidate(const native::PixelRect&) override {}
  std::unique_ptr<native::Surface> CreateSurface(const FontDesign&) override {
    return std::make_unique<NullSurface>();
  }
  std::unique_ptr<native::Control> CreateControl(native::ControlKind, const ControlDesign&,
                                                 native::Control*,
                                                 std::function<void()> on_click) override {
    return std::make_unique<NullControl>(std::move(on_click));
  }
  void ControlsCreated() override {}

 private:
  int width_;
  int height_;
};

}  // namespace

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

int ThunRTMain(int, char**, void (*main_procedure)()) {
  main_procedure();
  return 0;
}

void End() { throw null::ProgramEnded{}; }

void DoEvents() {
  if (null::do_events_hook) null::do_events_hook();
}

bool App::PrevInstance() { return false; }
std::string App::Path() { return null::app_path; }
std::string App::PathSeparator() { return "/"; }
std::string Command() { return ""; }
void MsgBox(const std::string& prompt) { null::messages.push_back(prompt); }
float Screen::TwipsPerPixelX() { return 15; }
float Screen::TwipsPerPixelY() { return 15; }

namespace native {

std::unique_ptr<Window> CreateFormWindow(Form&, const FormDesign& design) {
  return std::make_unique<null::NullWindow>(design);
}

std::unique_ptr<TimerSource> CreateTimerSource(std::function<void()> on_tick) {
  return std::make_unique<null::NullTimerSource>(std::move(on_tick));
}

void QuitEventLoop() {}

void FatalError(int number) { throw null::ProgramFailed{number}; }

}  // namespace native
}  // namespace rt
