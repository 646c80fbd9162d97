// The null backend: plain state, no window system. It lets tests drive the
// portable forms layer and the program's forms directly: End and a fatal
// error throw instead of ending the process, timers fire on request, and
// picture boxes record what was printed into them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/design.h"
#include "runtime/native.h"

namespace rt::null {

// Thrown by End.
struct ProgramEnded {};
// Thrown where an unhandled run-time error would end the program.
struct ProgramFailed {
  int number;
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

// A windowed control: tests press it as the user would.
class NullControl : public native::Control {
 public:
  explicit NullControl(std::function<void()> on_click) : on_click_(std::move(on_click)) {}
  void SetChecked(bool) override {}
  // As if the user pressed the button or picked the option.
  void UserClick() const { on_click_(); }

 private:
  std::function<void()> on_click_;
};

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

}  // namespace rt::null
