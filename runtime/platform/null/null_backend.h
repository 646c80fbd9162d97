// The null backend: plain state, no window system. It lets tests drive the
// portable forms layer and the program's forms directly: ending the process
// throws instead, timers fire on request, picture boxes record what was
// printed into them, and input goes in as the raw facts a window reports.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/platform/native.h"

namespace rt::null {

// Thrown where the process would end.
struct ProgramEnded {
  int status;
};

struct PrintedLine {
  int y;
  std::string text;
  int32_t color;
};

class NullSurface : public native::Surface {
 public:
  void Resize(int width, int height, int32_t back_color) override;
  void Clear(int32_t back_color) override;
  int PrintLine(int y, const std::string& text, int32_t fore_color) override;

  const std::vector<PrintedLine>& lines() const { return lines_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  std::vector<PrintedLine> lines_;
  int width_ = 0;
  int height_ = 0;
};

// Every printed line is this many pixels high.
constexpr int kLineHeight = 13;

// A windowed control: tests use it as the user would.
class NullControl : public native::ControlPeer {
 public:
  NullControl(const native::ControlLook& look, const native::PixelRect& bounds,
              native::ControlEvents& events)
      : look_(look), bounds_(bounds), events_(events) {}
  void SetChecked(bool checked) override { checked_ = checked; }
  void SetTabStop(bool tab_stop) override { tab_stop_ = tab_stop; }
  void TakeFocus() override;

  // As if the user pressed the button or picked the option.
  void UserClick() const { events_.Pressed(); }
  // As if the user pressed an arrow key on it: +1 right or down, -1 left or up.
  void UserArrow(int step) const { events_.Arrow(step); }
  const native::ControlLook& look() const { return look_; }
  const native::PixelRect& bounds() const { return bounds_; }
  bool checked() const { return checked_; }
  bool tab_stop() const { return tab_stop_; }
  bool takes_focus() const { return takes_focus_; }
  bool starts_group() const { return starts_group_; }
  void Order(bool takes_focus, bool starts_group) {
    takes_focus_ = takes_focus;
    starts_group_ = starts_group;
  }

 private:
  native::ControlLook look_;
  native::PixelRect bounds_;
  native::ControlEvents& events_;
  bool checked_ = false;
  bool tab_stop_ = false;
  bool takes_focus_ = false;
  bool starts_group_ = false;
};

// The control that has the focus, if any.
const NullControl* Focused();
// A form's window as the user would drive it: what it reports goes here.
native::WindowEvents& EventsOf(const native::Window* window);
// Where the window is on the screen, and its size.
native::PixelRect BoundsOf(const native::Window* window);
// How many times the window took the keyboard.
int KeyboardTakesOf(const native::Window* window);
// The form's controls in the order the window was given.
std::vector<const NullControl*> ControlOrder(const native::Window* window);

// The messages shown since the last call.
std::vector<std::string> TakeMessages();

// The screen that FillScreen fills, in pixels; 1920 x 1080 unless set.
void SetScreenSize(int width, int height);
// The program's folder; "." unless set.
void SetAppPath(const std::string& path);
// Called on every DoEvents, for tests that deliver input during long loops.
void SetDoEventsHook(std::function<void()> hook);
// Raises the event of every running timer once.
void FireTimers();
// How many times the window was hidden and shown again since the last call.
int TakeHideCount();

native::Backend& Backend();

}  // namespace rt::null
